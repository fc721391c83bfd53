// Creating the first field of a new scenario and laying out a field's cells.
#pragma once

#include <string_view>

#include "scenario.h"

namespace qrn {

// Gives the cells of a field their columns and rows, row by row, and stores
// the field's size. The cells' entries are left as they are.
void layoutFieldCells(Scenario& s, int field, int firstCell, int width, int height);

// What a new scenario's creation writes after the whole reset: field 1 of
// width x height from cell 1, title, designer and field name (cp932 bytes;
// an empty title or field name gives "無題"), each cut to 32 bytes.
void createFirstField(Scenario& s, std::string_view title, std::string_view designer,
                      std::string_view fieldName, int width, int height);

// Writes the texts of the creation dialog: title and field name ("無題" when
// empty), designer as given. Used for a new scenario and a new field alike.
void applyCreationTexts(Scenario& s, int field, std::string_view title, std::string_view designer,
                        std::string_view fieldName);

}  // namespace qrn
