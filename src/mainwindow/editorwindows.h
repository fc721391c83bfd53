// The editor's windows, which the main window creates at start-up and owns.
// Only the main window's layer knows them all: a tool window asks another
// window for something through the interfaces in services/ (image chooser,
// resource chooser, main-window hooks) that the main window implements.
#pragma once

namespace qrn {

class Tmaker;
class Tminimap;
class Tpalette;
class Tchipview;
class Tparamedit;
class Tresedit;
class Tfieldman;
class Tserchresult;
class Tmagicedit;
class Trandomform;
class Tscenariocheck;
class Twalkpreview;

struct EditorWindows {
    Tmaker* maker = nullptr;
    Tminimap* minimap = nullptr;
    Tpalette* palette = nullptr;
    Tchipview* chipview = nullptr;
    Tparamedit* paramedit = nullptr;
    Tresedit* resedit = nullptr;
    Tfieldman* fieldman = nullptr;
    Tserchresult* serchresult = nullptr;
    Tmagicedit* magicedit = nullptr;
    Trandomform* randomform = nullptr;
    Tscenariocheck* scenariocheck = nullptr;
    Twalkpreview* walkpreview = nullptr;
};

EditorWindows& editorWindows();

}  // namespace qrn
