// The settings file with arbitrary contents: every value the editor reads,
// then the window placements applied to a window as the editor does at start.
#include <QApplication>
#include <QSettings>
#include <QWidget>
#include <cstdlib>

#include "services/editorstate.h"
#include "services/options.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qrn;
    const std::string path = fuzz::writeScratch("Positions.ini", data, size);
    QSettings store(QString::fromStdString(path), QSettings::IniFormat);
    Options options;
    EditorState state;
    readOptions(store, options, state);
    if (state.chipSize < 1 || state.chipSize > 3) std::abort();
    if (!options.compiledfileout.endsWith(u'/') || !options.serchpath.endsWith(u'/')) std::abort();
    static QWidget* window = new QWidget;
    for (const Placement* p : {&options.mainform, &options.allmap, &options.palette, &options.chipview, &options.param})
        applyPlacement(window, *p);
    return 0;
}
