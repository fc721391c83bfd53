// The built-in help: every window's help context has its page, F1 opens it.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include "services/helpviewer.h"
#include "services/splashform.h"
#include "services/waitform.h"

namespace qrn {
namespace {

TEST(HelpTest, EveryHelpContextOpensItsOwnPage) {
    HelpViewer* viewer = HelpViewer::instance();
    const std::pair<int, const char*> topics[] = {{35000, "main.html"},     {120000, "palette.html"},
                                                  {118000, "chipview.html"}, {62000, "fieldman.html"},
                                                  {11000, "mapcreater.html"}, {117000, "options.html"},
                                                  {65000, "paramedit.html"},  {145000, "paramedit.html"},
                                                  {160300, "pickers.html"},
                                                  {123000, "chipserch.html"},
                                                  {35100, "join.html"}};
    for (const auto& [context, page] : topics) {
        viewer->showTopic(context);
        EXPECT_EQ(viewer->currentPage(), QString::fromLatin1(page)) << context;
    }
    viewer->showTopic(424242);
    EXPECT_EQ(viewer->currentPage(), QStringLiteral("index.html"));
    // A window without a topic of its own still gets the contents.
    QWidget plain;
    EXPECT_EQ(HelpViewer::pageOf(HelpViewer::helpContextOf(&plain)), QStringLiteral("index.html"));
    HelpViewer::closeViewer();
}

// The getting-started page: linked from the contents, found by the search,
// and every picture it shows is in the manual.
TEST(HelpTest, GettingStartedIsLinkedFoundAndWhole) {
    HelpViewer* viewer = HelpViewer::instance();
    viewer->showContents();
    auto* browser = viewer->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toHtml().contains(QStringLiteral("はじめてのシナリオ")));
    QFile index(QStringLiteral(":/help/index.html"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    EXPECT_TRUE(index.readAll().contains("href=\"firststeps.html\""));
    viewer->showSearch(QStringLiteral("はじめて"));
    auto* topics = viewer->findChild<QListWidget*>();
    ASSERT_NE(topics, nullptr);
    ASSERT_GE(topics->count(), 1);
    EXPECT_EQ(topics->item(0)->data(Qt::UserRole).toString(), QStringLiteral("firststeps.html"));

    viewer->showPage(QStringLiteral("firststeps.html"));
    EXPECT_EQ(viewer->currentPage(), QStringLiteral("firststeps.html"));
    QFile page(QStringLiteral(":/help/firststeps.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    EXPECT_GE(text.count(QStringLiteral("<h2>")), 10);
    const QRegularExpression picture(QStringLiteral("<img src=\"([^\"]+)\""));
    int pictures = 0;
    for (auto it = picture.globalMatch(text); it.hasNext(); ++pictures) {
        const QString file = it.next().captured(1);
        EXPECT_FALSE(QImage(QStringLiteral(":/help/") + file).isNull()) << file.toStdString();
    }
    EXPECT_GE(pictures, 5);
    HelpViewer::closeViewer();
}

TEST(HelpTest, F1OpensTheTopicOfTheWindowItIsPressedIn) {
    HelpViewer::installF1(qApp);
    QWidget window;
    window.setProperty("helpContext", 117000);
    auto* box = new QLineEdit(&window);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    EXPECT_EQ(HelpViewer::instance()->currentPage(), QStringLiteral("options.html"));
    EXPECT_TRUE(HelpViewer::instance()->isVisible());
    HelpViewer::closeViewer();
}

TEST(WaitformTest, ShowsItsTextAtOnce) {
    Twaitform wait;
    wait.makehelplabel(QStringLiteral("ﾌｨｰﾙﾄﾞｻｲｽﾞを変更中..."));
    EXPECT_TRUE(wait.isVisible());
    EXPECT_EQ(wait.windowTitle(), QStringLiteral("QUORANTEL"));
    EXPECT_EQ(wait.size(), QSize(280, 28));
    EXPECT_EQ(wait.text(), QStringLiteral("ﾌｨｰﾙﾄﾞｻｲｽﾞを変更中..."));
}

TEST(SplashTest, HandsOverOnceAndCloses) {
    QWidget mainWindow;
    auto* splash = new Tsplashform;
    QPointer<Tsplashform> alive(splash);
    splash->showNow();
    EXPECT_EQ(splash->size(), QSize(343, 129));
    int handovers = 0;
    splash->handOverTo(&mainWindow, [&handovers] { ++handovers; });
    EXPECT_EQ(handovers, 0);  // not before the event loop runs
    mainWindow.show();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(handovers, 1);
    EXPECT_TRUE(alive.isNull());
}

}  // namespace
}  // namespace qrn
