#include "fieldlayout.h"

#include "text.h"

namespace qrn {

void layoutFieldCells(Scenario& s, int field, int firstCell, int width, int height) {
    // A field that would not fit the slot table, the 120 x 120 limit or the
    // cell store is refused here rather than written past the record.
    if (field < 1 || field > kFieldCount || width < 1 || height < 1 || width > kMaxFieldSide ||
        height > kMaxFieldSide || firstCell < 1 || firstCell - 1 > kCellCount - width * height)
        return;
    FieldDef& f = s.field(field);
    f.firstCell = firstCell;
    f.cellCount = static_cast<i16>(width * height);
    f.width = width;
    f.height = height;
    for (int n = 0; n < width * height; ++n) {
        Cell& c = s.cell(firstCell + n);
        c.col = static_cast<u8>(n % width);
        c.row = static_cast<u8>(n / width);
    }
}

void applyCreationTexts(Scenario& s, int field, std::string_view title, std::string_view designer,
                        std::string_view fieldName) {
    if (field < 1 || field > kFieldCount) return;
    static const std::string untitled = cp932Literal("無題");
    s.settings.scenarioname.assign(title.empty() ? std::string_view(untitled) : title);
    s.settings.scdesigner.assign(designer);
    s.field(field).name.assign(fieldName.empty() ? std::string_view(untitled) : fieldName);
}

void createFirstField(Scenario& s, std::string_view title, std::string_view designer,
                      std::string_view fieldName, int width, int height) {
    layoutFieldCells(s, 1, 1, width, height);
    applyCreationTexts(s, 1, title, designer, fieldName);
}

}  // namespace qrn
