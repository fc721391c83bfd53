#include "mainwindow/startup.h"

#include <QDir>
#include <QFileInfo>

#include "services/editorcontext.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapgrid.h"
#include "services/options.h"
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
void connectParamedit(EditorContext& ed) {
    ParameditHooks& h = ed.paramedit->hooks();
    h.chooseImage = [](bool preset) -> std::optional<QString> {
        Tchipview* chooser = editor().chipview;
        if (!chooser || !chooser->chooseImage(preset)) return std::nullopt;
        return chooser->chosenImageFile();
    };
    h.addimg = [](const QString& file, bool transparent, unsigned colour) {
        return editor().palette ? editor().palette->addimg(file, transparent, colour) : 0;
    };
    h.namesChanged = [](int layer) {
        Tpalette* palette = editor().palette;
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
        EditorContext& ctx = editor();
        if (ctx.palette) ctx.palette->allgridfillrect();
        if (ctx.maker && ctx.maker->mapgrid()) ctx.maker->mapgrid()->repaintAll();
    };
    h.jumpsChanged = [] {
        Tfieldman* fieldman = editor().fieldman;
        if (fieldman && fieldman->isVisible()) {
            fieldman->makefieldman();
            fieldman->update();
        }
    };
    h.paletteKeyTarget = []() -> QWidget* {
        EditorContext& ctx = editor();
        Tpalette* palette = ctx.palette;
        if (!palette || !palette->isVisible()) return nullptr;
        const int layer = palette->activeLayer();
        const bool names = ctx.options && ctx.options->palettelistview;
        return names ? static_cast<QWidget*>(palette->list(layer)) : static_cast<QWidget*>(palette->grid(layer));
    };
    h.mapKeyTarget = []() -> QWidget* {
        Tmaker* maker = editor().maker;
        return maker ? maker->mapgrid() : nullptr;
    };
}

// Where a double-click on a finding of the scenario check leads.
void connectScenarioCheck(EditorContext& ed) {
    Tscenariocheck* check = ed.scenariocheck;
    QObject::connect(check, &Tscenariocheck::moveMapCursor, ed.maker, [](int field, int col, int row) {
        Tmaker* maker = editor().maker;
        maker->jumpToCell(field, col, row);
        maker->activateWindow();
    });
    QObject::connect(check, &Tscenariocheck::openObject, ed.paramedit,
                     [](int layer, int number) { editor().paramedit->openOn(layer, number, false); });
    QObject::connect(check, &Tscenariocheck::openResource, ed.resedit, [](ResKind kind, int number) {
        EditorContext& ctx = editor();
        if (kind == ResKind::Magic) {
            ctx.magicedit->openPage(Tmagicedit::Magic);
            return;
        }
        ctx.resedit->makeList(static_cast<Tresedit::Kind>(kind), QString(), number);
        ctx.resedit->exec();
    });
    QObject::connect(check, &Tscenariocheck::openHero, ed.magicedit,
                     [] { editor().magicedit->openPage(Tmagicedit::Hero); });
    QObject::connect(check, &Tscenariocheck::openLevel, ed.maker, [](int level) { editor().maker->openLevelList(level); });
    QObject::connect(check, &Tscenariocheck::openSettings, ed.magicedit,
                     [] { editor().magicedit->openPage(Tmagicedit::Scenario); });
}

// What the tool windows ask of each other and of the main window.
void connectToolWindows() {
    EditorContext& ed = editor();
    Tmaker* maker = ed.maker;
    Tserchresult* results = ed.serchresult;
    ed.palette->chipSearch = [results](int layer, int number) { results->chipSearch(layer, number); };
    QObject::connect(results, &Tserchresult::moveMapCursor, maker, &Tmaker::jumpToCell);
    QObject::connect(results, &Tserchresult::focusMap, maker, [maker] {
        maker->activateWindow();
        maker->mapgrid()->setFocus();
    });
    QObject::connect(ed.minimap, &Tminimap::moveMapCursor, maker, &Tmaker::jumpToCell);
    Tpalette* palette = ed.palette;
    QObject::connect(results, &Tserchresult::focusPalette, palette, [palette] {
        Tmaker::showToolWindow(palette);
        palette->activateWindow();
    });
    connectScenarioCheck(ed);
}

}  // namespace

QStringList createWindows() {
    EditorContext& ed = editor();
    QStringList order;
    auto note = [&order](QObject* window) { order << QString::fromLatin1(window->metaObject()->className()); };
    ed.maker = new Tmaker;
    setMainWindowHooks(ed.maker);
    note(ed.maker);
    QWidget* owner = ed.maker;
    ed.minimap = new Tminimap(owner);
    note(ed.minimap);
    ed.palette = new Tpalette(owner);
    note(ed.palette);
    ed.chipview = new Tchipview(owner);
    note(ed.chipview);
    ed.paramedit = new Tparamedit(owner);
    note(ed.paramedit);
    connectParamedit(ed);
    ed.resedit = new Tresedit(owner);
    ed.resourceChooser = ed.resedit;
    note(ed.resedit);
    ed.fieldman = new Tfieldman(owner);
    note(ed.fieldman);
    ed.serchresult = new Tserchresult(owner);
    note(ed.serchresult);
    ed.magicedit = new Tmagicedit(owner);
    note(ed.magicedit);
    ed.randomform = new Trandomform(owner);
    note(ed.randomform);
    ed.scenariocheck = new Tscenariocheck(owner);  // beyond the windows of the start-up order
    connectToolWindows();
    return order;
}

void destroyWindows() {
    EditorContext& ed = editor();
    Tmaker* maker = ed.maker;
    ed.minimap = nullptr;
    ed.palette = nullptr;
    ed.chipview = nullptr;
    ed.paramedit = nullptr;
    ed.resedit = nullptr;
    ed.resourceChooser = nullptr;
    ed.fieldman = nullptr;
    ed.serchresult = nullptr;
    ed.magicedit = nullptr;
    ed.randomform = nullptr;
    ed.scenariocheck = nullptr;
    ed.maker = nullptr;
    setMainWindowHooks(nullptr);
    delete maker;  // owns the tool windows
}

void finishStart(const CommandLine& commandLine) {
    EditorContext& ed = editor();
    if (!ed.maker) return;
    ed.maker->readregistry();
    if (!commandLine.resources.isEmpty() && ed.options)
        ed.options->serchpath = withTrailingSlash(QDir(commandLine.resources).absolutePath());
    // Work left by an editor that died comes first; a refused one is gone.
    if (RecoveryKeeper::offerRestore(*ed.maker)) return;
    if (!commandLine.file.isEmpty()) ed.maker->openFile(commandLine.file);
}

}  // namespace qrn
