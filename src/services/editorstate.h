// Editing state shared by the main window and the tool windows.
#pragma once

#include <QRect>
#include <array>
#include <cstdint>

#include "scenario/maplayers.h"

namespace qrn {

struct EditorState {
    std::uint8_t currentField = 1;
    int cursorCol = 0;
    int cursorRow = 0;
    std::array<std::array<int, 2>, 101> fieldCursor{};  // [1..100] = {col, row}
    int drawMode = 1;       // 0 property, 1 draw (pen), 2 range selection
    int propertyLayer = 1;  // 1..5, see Layer
    // Visible layers indexed by Layer (index 0 unused).
    std::array<bool, 6> layerVisible{false, true, true, true, true, true};
    int chipSize = 1;  // 1 = 32 px, 2 = 24 px, 3 = 16 px
    bool noScenarioYet = true;
    bool newFieldMode = false;
    int createWidth = 10;
    int createHeight = 10;
    bool rightDrag = false;
    bool rightDragMoved = false;
    int lastMouseX = 0;
    int lastMouseY = 0;
    bool skipNextDraw = false;
    bool musicLoop = false;
    bool defaultTransparent = true;
    std::uint32_t defaultTransparentColour = 0xFFFFFF;  // 0x00BBGGRR
    QRect chipRect{0, 0, 32, 32};
};

// The palette's choice of objects and of the layers the map tools act on.
struct DrawingState {
    std::array<int, 6> currentObject{0, 1, 1, 1, 1, 1};                // by Layer
    std::array<bool, 6> drawTarget{false, true, false, false, false, false};  // by Layer
    bool copyMode = false;
    int copySource = 1;
};

// Cell size in pixels of a chip size 1..3.
inline int chipPixels(int chipSize) { return chipSize == 2 ? 24 : chipSize == 3 ? 16 : 32; }

}  // namespace qrn
