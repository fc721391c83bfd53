// What the program tells the window system before its first window, and
// the language of Qt's stock dialogs.
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "services/appsetup.h"
#include "services/keycaption.h"

namespace qrn::test {
namespace {

TEST(ApplicationSetUp, ClassIconAndJapaneseStockDialogs) {
    setUpApplication(*qApp);
    EXPECT_EQ(QCoreApplication::applicationName(), "quorantel");  // the window class
    EXPECT_EQ(QGuiApplication::desktopFileName(), "quorantel");
    EXPECT_FALSE(QApplication::windowIcon().pixmap(32, 32).isNull());

    // The test environment's language (C) has no translation of its own.
    EXPECT_EQ(installQtTranslation(*qApp), "ja");
    QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "キャンセル");
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    QStringList captions;
    for (QLabel* label : files.findChildren<QLabel*>()) captions << label->text();
    EXPECT_FALSE(captions.contains("Look in:")) << captions.join('|').toStdString();
    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    for (QPushButton* button : colours.findChildren<QPushButton*>()) EXPECT_NE(button->text(), "Cancel");
}

TEST(KeyCaption, ShowsTheLetterNotTheAmpersandAndRunsItsKeyOnce) {
    QWidget window;
    int pressed = 0;
    auto* caption = new KeyCaption("ﾍﾟｰｼﾞ切替(&W)", &window, [&pressed] { ++pressed; });
    auto* named = new KeyCaption("対象(&T)", &window);  // the window holds this key
    window.show();
    EXPECT_GE(caption->minimumSizeHint().width(), caption->fontMetrics().horizontalAdvance("ﾍﾟｰｼﾞ切替(W)"));
    EXPECT_LT(caption->sizeHint().width(), caption->fontMetrics().horizontalAdvance("ﾍﾟｰｼﾞ切替(&W)"));
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_W, Qt::AltModifier);
    EXPECT_EQ(pressed, 1);
    EXPECT_TRUE(named->findChildren<QObject*>().isEmpty());  // no shortcut of its own
}

}  // namespace
}  // namespace qrn::test
