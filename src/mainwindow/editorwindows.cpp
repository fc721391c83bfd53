#include "mainwindow/editorwindows.h"

namespace qrn {

EditorWindows& editorWindows() {
    static EditorWindows windows;
    return windows;
}

}  // namespace qrn
