// Everything the editor's windows share: the one scenario, the editing state,
// the picture list, the persisted options and the platform services. The
// windows themselves are the main window's (mainwindow/editorwindows.h); a
// window reaches another only through the choosers and the main-window
// hooks. There is one context for the whole run.
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

class Options;  // persisted settings (services/options.h)
class ResourceFolder;
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
    ImageChooser* imageChooser = nullptr;        // the image view

    // Full path of a resource file: the file the search folder holds under
    // that name (in any case), or the folder followed by the name.
    QString resourcePath(const QString& name) const;
    // The picture of resource file `name`, read once and decoded from memory
    // (null when it cannot be read); `path` gets its path as resourcePath.
    QImage readPicture(const QString& name, QString* path = nullptr) const;
    // Registers the picture of resource file `name` in the picture list and
    // returns its index (a blank entry when it cannot be read).
    int addimg(const QString& name, bool useTransparent, unsigned transparentColour);

private:
    // The search folder's listing, kept while the folder and its entries stay the same.
    ResourceFolder& resources() const;
    mutable std::shared_ptr<ResourceFolder> resources_;
};

EditorContext& editor();

}  // namespace qrn
