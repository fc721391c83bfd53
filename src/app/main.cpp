// quorantel [--resources DIR] [FILE.snr] | --help | --version
#include <QAction>
#include <QApplication>
#include <QProxyStyle>
#include <QScreen>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <string_view>

#include "services/appsetup.h"
#include "services/windowfit.h"
#include "services/editorcontext.h"
#include "mainwindow/editorwindows.h"
#include "services/helpviewer.h"
#include "mainwindow/maker.h"
#include "services/options.h"
#include "services/sdlmedia.h"
#include "services/splashform.h"
#include "mainwindow/startup.h"

namespace {

// Hints appear after 200 ms.
class HintTimingStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) return 200;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// QRN_SCREENSHOT=file.png saves a picture of the screen once the scenario is
// open; QRN_QUIT_AFTER_START=1 ends the program right after start (timing).
void afterStart(qrn::Tmaker* maker) {
    const QString shot = qEnvironmentVariable("QRN_SCREENSHOT");
    if (!shot.isEmpty()) {
        // QRN_SCREENSHOT_TOOLS=1 opens the palette and the field manager too.
        if (qEnvironmentVariableIsSet("QRN_SCREENSHOT_TOOLS"))
            for (const char* command : {"palettemenu", "fieldmanmenu"})
                if (QAction* action = maker->command(QString::fromLatin1(command))) action->trigger();
        QTimer::singleShot(1500, maker, [shot, maker] {
            QScreen* screen = maker->screen();
            QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
            if (picture.isNull() || picture.width() < 10) picture = maker->grab();
            picture.save(shot);
            QCoreApplication::exit(0);
        });
    } else if (qEnvironmentVariableIsSet("QRN_QUIT_AFTER_START")) {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
}

}  // namespace

const char* const kUsage =
    "usage: quorantel [--resources DIR] [FILE.snr]\n"
    "  FILE.snr         the scenario to open\n"
    "  --resources DIR  the folder of pictures and sounds (kept for later runs)\n"
    "  --help           this text\n"
    "  --version        the version\n";

// --help and --version are answered before the window system is touched,
// so they work without a display. Returns the exit code, or -1 to go on.
int answerWithoutWindows(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("quorantel %s\n", QRN_VERSION);
            return 0;
        }
    }
    return -1;
}

int main(int argc, char** argv) {
    // A save past the file size limit fails with EFBIG and is reported; the
    // signal would end the editor and lose the author's work.
    std::signal(SIGXFSZ, SIG_IGN);
    if (const int code = answerWithoutWindows(argc, argv); code >= 0) return code;
    QApplication app(argc, argv);
    qrn::setUpApplication(app);
    qrn::installWindowFitting(app);
    const qrn::CommandLine commandLine = qrn::parseCommandLine(QCoreApplication::arguments());
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "quorantel: %s\n%s", qPrintable(commandLine.error), kUsage);
        return 2;
    }
    app.setStyle(new HintTimingStyle);

    auto* splash = new qrn::Tsplashform;
    splash->showNow();

    static qrn::Options options;
    static qrn::SdlMediaService media;
    qrn::EditorContext& ed = qrn::editor();
    ed.options = &options;
    ed.media = &media;
    qrn::createWindows();

    qrn::HelpViewer::installF1(&app);
    qrn::Tmaker* maker = qrn::editorWindows().maker;
    maker->show();
    splash->handOverTo(maker, [commandLine, maker] {
        qrn::finishStart(commandLine);
        afterStart(maker);
    });
    const int result = app.exec();
    qrn::destroyWindows();
    return result;
}
