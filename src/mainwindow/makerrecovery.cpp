// The main window's side of undo and crash recovery.
#include "mainwindow/edithistory.h"
#include "mainwindow/maker.h"

namespace qrn {

bool Tmaker::openRecovered(const QString& recoveryPath, const QString& sourcePath) {
    if (!openFile(recoveryPath)) return false;
    // The work belongs to the file it came from; an overwrite goes there.
    openFileName_ = sourcePath;
    saveFileName_ = sourcePath;
    editHistory().markUnsaved();
    return true;
}

}  // namespace qrn
