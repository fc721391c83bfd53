// Everything the editor's windows share: the one scenario, the editing state,
// the picture list, the persisted options, the platform services and the
// windows themselves. There is one context for the whole run.
#pragma once

#include <QString>
#include <array>
#include <memory>

#include "services/choosers.h"
#include "services/editorstate.h"
#include "render/picturelist.h"
#include "services/services.h"
#include "scenario/celledit.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"

namespace qrn {

class Options;  // persisted settings (editor/options.h)
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

struct EditorContext {
    Scenario& scenario = theScenario();
    EditorSideData side;  // picture index tables, pristine copies, join name
    EditorState state;
    DrawingState drawing;
    PictureList imageList;  // ImageList1
    // (column, row) -> cell number of the field on the map (CellIndexMap).
    CellIndexMap cellIndexMap{};
    Options* options = nullptr;

    MessageService* messages = nullptr;
    FileDialogService* files = nullptr;
    MediaService* media = nullptr;
    ProcessLauncher* launcher = nullptr;
    ResourceChooser* resourceChooser = nullptr;  // the resource lists

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

    // Full path of a resource file: the search folder followed by the name.
    QString resourcePath(const QString& name) const;
};

EditorContext& editor();

}  // namespace qrn
