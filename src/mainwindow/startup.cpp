#include "mainwindow/startup.h"
#include "mainwindow/editorwindows.h"

#include <QDir>
#include <QFileInfo>

#include "services/editorcontext.h"
#include "mainwindow/edithistory.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapgrid.h"
#include "services/options.h"
#include "services/userfolders.h"
#include "mainwindow/randomform.h"
#include "mainwindow/recoverykeeper.h"
#include "fields/fieldman.h"
#include "properties/paramedit.h"
#include "resources/magicedit.h"
#include "resources/resedit.h"
#include "views/chipview.h"
#include "views/minimap.h"
#include "views/palette.h"
#include "views/palette_widgets.h"
#include "views/scenariocheck.h"
#include "views/serchresult.h"
#include "views/walkpreview.h"

namespace qrn {

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine result;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--resources")) {
            if (i + 1 >= arguments.size()) {
                result.error = QStringLiteral("--resources needs a folder");
                return result;
            }
            result.resources = arguments[++i];
        } else if (arg.startsWith(QLatin1String("--resources="))) {
            result.resources = arg.mid(12);
        } else if (arg.startsWith(QLatin1String("--"))) {
            result.error = QStringLiteral("unknown option ") + arg;
            return result;
        } else if (result.file.isEmpty()) {
            result.file = arg;
        } else {
            result.error = QStringLiteral("only one scenario file can be opened");
            return result;
        }
    }
    return result;
}

namespace {

// What the property editor asks of the palette, the map, the image view and
// the field manager.
void connectParamedit() {
    ParameditHooks& h = editorWindows().paramedit->hooks();
    h.chooseImage = [](bool preset) -> std::optional<QString> {
        ImageChooser* chooser = editor().imageChooser;
        if (!chooser || !chooser->chooseImage(preset)) return std::nullopt;
        return chooser->chosenImageFile();
    };
    h.addimg = [](const QString& file, bool transparent, unsigned colour) {
        return editor().addimg(file, transparent, colour);
    };
    h.namesChanged = [](int layer) {
        Tpalette* palette = editorWindows().palette;
        if (!palette) return;
        switch (layer) {
        case kPlace: palette->plinvalid(); break;
        case kEnter: palette->eninvalid(); break;
        case kEvent: palette->evinvalid(); break;
        case kItem: palette->itinvalid(); break;
        case kChara: palette->chinvalid(); break;
        default: break;
        }
    };
    h.picturesChanged = [](int) {
        if (editorWindows().palette) editorWindows().palette->allgridfillrect();
        if (editorWindows().maker && editorWindows().maker->mapgrid()) editorWindows().maker->mapgrid()->repaintAll();
    };
    h.jumpsChanged = [] {
        Tfieldman* fieldman = editorWindows().fieldman;
        if (fieldman && fieldman->isVisible()) {
            fieldman->makefieldman();
            fieldman->update();
        }
    };
    h.paletteKeyTarget = []() -> QWidget* {
        EditorContext& ctx = editor();
        Tpalette* palette = editorWindows().palette;
        if (!palette || !palette->isVisible()) return nullptr;
        const int layer = palette->activeLayer();
        const bool names = ctx.options && ctx.options->palettelistview;
        return names ? static_cast<QWidget*>(palette->list(layer)) : static_cast<QWidget*>(palette->grid(layer));
    };
    h.mapKeyTarget = []() -> QWidget* {
        Tmaker* maker = editorWindows().maker;
        return maker ? maker->mapgrid() : nullptr;
    };
}

// Where a double-click on a finding of the scenario check leads.
void connectScenarioCheck() {
    Tscenariocheck* check = editorWindows().scenariocheck;
    QObject::connect(check, &Tscenariocheck::moveMapCursor, editorWindows().maker, [](int field, int col, int row) {
        Tmaker* maker = editorWindows().maker;
        maker->jumpToCell(field, col, row);
        maker->activateWindow();
    });
    QObject::connect(check, &Tscenariocheck::openObject, editorWindows().paramedit,
                     [](int layer, int number) { editorWindows().paramedit->openOn(layer, number, false); });
    QObject::connect(check, &Tscenariocheck::openResource, editorWindows().resedit, [](ResKind kind, int number) {
        if (kind == ResKind::Magic) {
            editorWindows().magicedit->openPage(Tmagicedit::Magic);
            return;
        }
        editorWindows().resedit->makeList(static_cast<Tresedit::Kind>(kind), QString(), number);
        editorWindows().resedit->exec();
    });
    QObject::connect(check, &Tscenariocheck::openHero, editorWindows().magicedit,
                     [] { editorWindows().magicedit->openPage(Tmagicedit::Hero); });
    QObject::connect(check, &Tscenariocheck::openLevel, editorWindows().maker, [](int level) { editorWindows().maker->openLevelList(level); });
    QObject::connect(check, &Tscenariocheck::openSettings, editorWindows().magicedit,
                     [] { editorWindows().magicedit->openPage(Tmagicedit::Scenario); });
}

// What the tool windows ask of each other and of the main window.
void connectToolWindows() {
    Tmaker* maker = editorWindows().maker;
    Tserchresult* results = editorWindows().serchresult;
    editorWindows().palette->chipSearch = [results](int layer, int number) { results->chipSearch(layer, number); };
    QObject::connect(results, &Tserchresult::moveMapCursor, maker, &Tmaker::jumpToCell);
    QObject::connect(results, &Tserchresult::focusMap, maker, [maker] {
        maker->activateWindow();
        maker->mapgrid()->setFocus();
    });
    QObject::connect(editorWindows().minimap, &Tminimap::moveMapCursor, maker, &Tmaker::jumpToCell);
    Tpalette* palette = editorWindows().palette;
    QObject::connect(results, &Tserchresult::focusPalette, palette, [palette] {
        Tmaker::showToolWindow(palette);
        palette->activateWindow();
    });
    connectScenarioCheck();
    // The walk preview follows the scenario as it is edited and opened.
    Twalkpreview* walk = editorWindows().walkpreview;
    QObject::connect(&editHistory(), &EditHistory::changed, walk, &Twalkpreview::scenarioChanged);
    QObject::connect(&editHistory(), &EditHistory::replaced, walk, &Twalkpreview::scenarioReplaced);
}

}  // namespace

QStringList createWindows() {
    EditorContext& ed = editor();
    EditorWindows& w = editorWindows();
    QStringList order;
    auto note = [&order](QObject* window) { order << QString::fromLatin1(window->metaObject()->className()); };
    w.maker = new Tmaker;
    setMainWindowHooks(w.maker);
    note(w.maker);
    QWidget* owner = w.maker;
    w.minimap = new Tminimap(owner);
    note(w.minimap);
    w.palette = new Tpalette(owner);
    note(w.palette);
    w.chipview = new Tchipview(owner);
    ed.imageChooser = w.chipview;
    note(w.chipview);
    w.paramedit = new Tparamedit(owner);
    note(w.paramedit);
    connectParamedit();
    w.resedit = new Tresedit(owner);
    ed.resourceChooser = w.resedit;
    note(w.resedit);
    w.fieldman = new Tfieldman(owner);
    note(w.fieldman);
    w.serchresult = new Tserchresult(owner);
    note(w.serchresult);
    w.magicedit = new Tmagicedit(owner);
    note(w.magicedit);
    w.randomform = new Trandomform(owner);
    note(w.randomform);
    w.scenariocheck = new Tscenariocheck(owner);  // beyond the windows of the start-up order
    w.walkpreview = new Twalkpreview(owner);
    connectToolWindows();
    return order;
}

void destroyWindows() {
    EditorContext& ed = editor();
    Tmaker* maker = editorWindows().maker;
    editorWindows() = EditorWindows{};
    ed.resourceChooser = nullptr;
    ed.imageChooser = nullptr;
    setMainWindowHooks(nullptr);
    delete maker;  // owns the tool windows
}

void finishStart(const CommandLine& commandLine) {
    EditorContext& ed = editor();
    if (!editorWindows().maker) return;
    editorWindows().maker->readregistry();
    // A first start shows the palette and the field manager beside the main
    // window; later starts leave them to the author.
    if (ed.options && !ed.options->mainform.stored)
        for (QWidget* tool : std::initializer_list<QWidget*>{editorWindows().palette, editorWindows().fieldman})
            if (tool) tool->show();
    if (!commandLine.resources.isEmpty() && ed.options)
        ed.options->serchpath = withTrailingSlash(QDir(commandLine.resources).absolutePath());
    // A first start on the default resource folder gets the starter set.
    if (ed.options && ed.options->serchpath == defaultResourceFolder())
        fillResourceFolderOnce(ed.options->serchpath, starterResourceFolder());
    // Work left by an editor that died comes first; a refused one is gone.
    if (RecoveryKeeper::offerRestore(*editorWindows().maker)) return;
    if (!commandLine.file.isEmpty()) editorWindows().maker->openFile(commandLine.file);
}

}  // namespace qrn
