// The main window's commands, one row each: the action's name, caption, hint
// and key, the menu and tool bar place, and what it does. The menus, the tool
// bar, the pop-up menu and the enabled states are all built from this table,
// so adding or wiring a command is one row in makercommands.cpp.
#pragma once

#include <QRgb>
#include <span>

namespace qrn {

class Tmaker;

// Where a command is listed; the menus appear on the menu bar in this order.
enum class MakerMenu { None, File, Edit, View, Field, Data, Tool, Help, Popup };

// Commands that belong together and are found by their tag.
enum class MakerGroup {
    None,
    DrawMode,   // tag 1 property, 2 draw, 3 range; checked exclusively
    ChipSize,   // tag 1..3; checked exclusively
    LayerView,  // tag = layer (1 place .. 5 chara)
    ToolBar,    // the tool bar on/off entry
};

enum MakerCommandFlag : unsigned {
    kSeparatorBefore = 1u << 0,  // a separator before it in its menu
    kCheckable = 1u << 1,
    kChecked = 1u << 2,          // checked at start
    kAlwaysEnabled = 1u << 3,    // works before the first scenario exists
    kRangeTool = 1u << 4,        // enabled only in range mode
};

struct MakerCommand {
    const char* name = nullptr;     // the action's object name ("newfilemenu")
    const char* caption = nullptr;  // the menu text
    const char* hint = nullptr;     // tool tip, or none
    const char* key = nullptr;      // shortcut, or none
    MakerMenu menu = MakerMenu::None;
    unsigned flags = 0;
    MakerGroup group = MakerGroup::None;
    int tag = 0;
    // Tool bar: the button's name, its glyph and colour and its place; the
    // hundreds of `bar` number the button groups, separated on the tool bar.
    const char* button = nullptr;
    const char* glyph = nullptr;
    QRgb colour = 0;
    int bar = 0;  // 0: not on the tool bar
    void (*run)(Tmaker&) = nullptr;  // none: the command does nothing yet
};

}  // namespace qrn
