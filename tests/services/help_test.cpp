// The built-in help: every window's help context has its page, F1 opens it.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
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
