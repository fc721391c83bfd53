// Draws the pictures of the getting-started help page: the editor on a fresh
// account going through a first scenario, one window saved per step as a
// small PNG. Run by tools/firststeps_shots.sh under a virtual screen.
//   firststeps_shots OUTDIR
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/startup.h"
#include "properties/paramedit.h"
#include "scenario/maplayers.h"
#include "services/editorcontext.h"
#include "services/filenameenter.h"
#include "services/options.h"
#include "services/textconv.h"
#include "views/chiptable.h"
#include "views/chipview.h"
#include "views/palette.h"

using namespace qrn;

namespace {

QString g_out;
bool g_failed = false;

// Every question answered yes, nothing shown: the pictures are of the windows.
class QuietMessages : public MessageService {
public:
    bool confirm(QWidget*, const QString&) override { return true; }
    void information(QWidget*, const QString&) override {}
    void warning(QWidget*, const QString& text) override { std::fprintf(stderr, "warning: %s\n", qPrintable(text)); }
    void error(QWidget*, const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        g_failed = true;
    }
};

void settle() {
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

// Saves the window with at most 256 colours: the pages stay small.
void shoot(QWidget* window, const char* name) {
    settle();
    const QImage picture = window->grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    const QString path = g_out + u'/' + QString::fromLatin1(name);
    if (!picture.save(path, "PNG", 0)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        g_failed = true;
    }
}

int entryOf(const Tchipview& chooser, const QString& file) {
    for (int i = 0; i < chooser.table().fileCount(); ++i)
        if (chooser.table().entry(i).fileName == file) return i;
    std::fprintf(stderr, "%s is not in the resource folder\n", qPrintable(file));
    g_failed = true;
    return 0;
}

// Double-clicks an empty palette cell and picks `file` in the image view.
void registerChip(int layer, int number, const QString& file, const char* shot = nullptr) {
    Tpalette* palette = editorWindows().palette;
    Tchipview* chooser = editorWindows().chipview;
    editor().drawing.currentObject[static_cast<std::size_t>(layer)] = number;
    QTimer::singleShot(0, chooser, [chooser, layer, file, shot] {
        chooser->selectEntry(entryOf(*chooser, file), false);
        // The starter figures stand on magenta.
        if (layer != kPlace) chooser->setTransparentColour(0xFF00FF);
        if (shot) shoot(chooser, shot);
        chooser->finishChooser(true);
    });
    palette->gridDblClick(layer, number, false);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: firststeps_shots OUTDIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);
    QCoreApplication::setApplicationName(QStringLiteral("QUORANTEL"));

    static Options options;
    static QuietMessages messages;
    EditorContext& ed = editor();
    ed.options = &options;
    ed.messages = &messages;
    createWindows();
    Tmaker* maker = editorWindows().maker;
    maker->show();
    finishStart({});  // a first start: the starter pictures in the resource folder

    // 1. A new scenario.
    maker->runCreationDialog = [](Tmapcreater& dialog) {
        dialog.crname()->setText(QStringLiteral("はじめての冒険"));
        dialog.crdesigner()->setText(QStringLiteral("わたし"));
        dialog.crfield()->setText(QStringLiteral("ミルトの村"));
        dialog.show();
        shoot(&dialog, "new.png");
        return true;
    };
    maker->command(QStringLiteral("newfilemenu"))->trigger();
    maker->command(QStringLiteral("palettemenu"))->trigger();
    shoot(editorWindows().palette, "palette.png");

    // 2. Chips from the starter pictures.
    registerChip(kPlace, 1, QStringLiteral("grass.bmp"), "chooser.png");
    registerChip(kPlace, 2, QStringLiteral("water.bmp"));
    registerChip(kEnter, 1, QStringLiteral("house.bmp"));
    registerChip(kChara, 1, QStringLiteral("villager.bmp"));

    // 3. Grass everywhere, a river, the house and the villager.
    Scenario& s = ed.scenario;
    for (int col = 0; col < kMaxFieldSide; ++col)
        for (int row = 0; row < kMaxFieldSide; ++row) {
            const int n = ed.cellIndexMap[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
            if (n <= 0) continue;
            s.cell(n).place = col == 7 || (col == 8 && row > 4) ? 2 : 1;
            if (col == 3 && row == 2) s.cell(n).enter = 1;
            if (col == 4 && row == 5) s.cell(n).chara = 1;
        }
    maker->mapgrid()->repaintAll();
    maker->resize(720, 440);
    shoot(maker, "map.png");

    // 4. Water that cannot be crossed.
    editorWindows().paramedit->openOn(kPlace, 2, true);
    settle();
    for (QCheckBox* box : editorWindows().paramedit->findChildren<QCheckBox*>())
        if (box->text() == QStringLiteral("通過可能(&R)") && box->isVisible() && box->isChecked()) box->click();
    shoot(editorWindows().paramedit, "water.png");

    // 11. The join's name and folder.
    {
        Tfilenameenter dialog(maker);
        dialog.filenameedit()->setText(QStringLiteral("FIRST"));
        dialog.show();
        shoot(&dialog, "join.png");
    }
    destroyWindows();
    return g_failed ? 1 : 0;
}
