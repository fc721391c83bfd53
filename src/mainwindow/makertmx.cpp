// The main window's tile map commands: the current field out to a TMX map
// with its tilesets, and such a map's layers back into the current field.
#include <QFile>

#include "services/editorcontext.h"
#include "render/fieldrenderer.h"
#include "mainwindow/maker.h"
#include "services/services.h"
#include "render/tmxfile.h"
#include "scenario/tmxmapping.h"

namespace qrn {

namespace {

const QString kTmxFilter = QStringLiteral("タイルマップ  *.tmx (*.tmx)");

}  // namespace

void Tmaker::exporttmxmenuClick() {
    EditorContext& ed = editor();
    const QString path = ed.files->saveFile(this, QStringLiteral("タイルマップに名前を付けて保存"), kTmxFilter,
                                            QStringLiteral("tmx"));
    if (path.isEmpty()) return;
    const ChipImages images = chipImagesOf(ed.imageList);
    const TmxFileResult r = writeTmxMap(ed.scenario, ed.state.currentField, images, ed.side.pictures, path);
    if (!r.ok) ed.messages->warning(this, r.error);
}

void Tmaker::importtmxmenuClick() {
    EditorContext& ed = editor();
    const QString path =
        ed.files->openFile(this, QStringLiteral("タイルマップを読み込む"), kTmxFilter, QStringLiteral("tmx"));
    if (path.isEmpty()) return;
    TmxMapData map;
    const TmxFileResult read = readTmxMap(path, map);
    if (!read.ok) {
        ed.messages->warning(this, read.error);
        return;
    }
    const TmxImportResult r = importTmxLayers(ed.scenario, ed.state.currentField, map);
    if (r.status != TmxImportStatus::Done) {
        ed.messages->warning(this, QString::fromStdString(tmxImportMessage(r)));
        return;
    }
    fieldonchange();
}

}  // namespace qrn
