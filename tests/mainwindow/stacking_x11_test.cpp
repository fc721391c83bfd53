// Under a real X server (ctest runs this under xvfb-run): a modal window
// opened while the palette and the property editor stay on top is the top
// window, and no tool window is "above" every window.
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "properties/paramedit.h"
#include "services/options.h"
#include "views/palette.h"
#include "../editor_fakes.h"

namespace qrn::test {
namespace {

class StackingX11 : public EditorFixture {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server";
        EditorFixture::SetUp();
    }
};

void settle() {
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST_F(StackingX11, ModalWindowIsAboveToolWindowsThatStayOnTop) {
    for (const bool onTop : {true, false}) {
        SCOPED_TRACE(onTop ? "stay on top" : "ordinary windows");
        createWindows();
        Tmaker* maker = editorWindows().maker;
        maker->readregistry();
        options.paletteFront = onTop;
        options.parameditFront = onTop;
        maker->formset();
        maker->setGeometry(40, 40, 900, 700);
        maker->show();
        QWidget* tools[] = {editorWindows().palette, editorWindows().paramedit};
        for (QWidget* tool : tools) {
            Tmaker::showToolWindow(tool);
            tool->move(maker->geometry().center() - QPoint(tool->width() / 2, tool->height() / 2));
        }
        settle();
        for (QWidget* tool : tools) {
            EXPECT_FALSE(tool->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << tool->objectName().toStdString();
            ASSERT_TRUE(tool->windowHandle());
            // On top of the main window through the window manager's own rule
            // for transient windows, not above every window.
            EXPECT_EQ(tool->windowHandle()->transientParent() == maker->windowHandle(), onTop);
        }

        QWidget* topAtCentre = nullptr;
        bool modalSeen = false;
        bool questionOnTop = false;
        {
            QMessageBox question(QMessageBox::Question, QStringLiteral("確認"), QStringLiteral("上書き保存しますか？"),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, maker);
            QTimer::singleShot(300, &question, [&] {
                settle();
                modalSeen = QApplication::activeModalWidget() == &question;
                topAtCentre = QApplication::topLevelAt(question.geometry().center());
                questionOnTop = topAtCentre == &question;
                question.reject();
            });
            question.exec();
        }
        EXPECT_TRUE(modalSeen);
        EXPECT_TRUE(questionOnTop) << (topAtCentre ? topAtCentre->metaObject()->className() : "nothing");
        destroyWindows();
    }
}

}  // namespace
}  // namespace qrn::test
