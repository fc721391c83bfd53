// Small pieces every object page uses: the 32 x 32 picture box, names of
// referenced things for display, and the image chooser protocol.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <algorithm>
#include <optional>
#include <vector>

#include "services/choosers.h"
#include "services/editorcontext.h"
#include "properties/paramedit.h"
#include "pickers/picturebox.h"
#include "scenario/scenario.h"

class QHBoxLayout;
class QVBoxLayout;

namespace qrn {

class Tparamedit;


// Display names of references; `none` for 0 or a number outside the table.
QString itemRefName(int number, const QString& none = QStringLiteral("-"));
QString eventRefName(int number, const QString& none = QStringLiteral("-"));
QString soundRefName(int number, const QString& none = QStringLiteral("-"));
QString enemyGroupRefName(int number, const QString& none = QStringLiteral("-"));
QString walkImageRefName(int number, const QString& none = QStringLiteral("-"));
QString fieldRefName(int number, const QString& none = QStringLiteral("-"));
QString fileRefName(const ShortString255& file, const QString& none = QStringLiteral("-"));
QString commentRefName(int number, const QString& none = QStringLiteral("-"));
QString bgmRefName(int number, const QString& none = QStringLiteral("-"));
QString magicRefName(int number, const QString& none = QStringLiteral("-"));
QString poisonRefName(int number, const QString& none = QStringLiteral("-"));
// Picture index of an item's first picture (0 when out of range).
int itemPictureIndex(int number);
int eventPictureIndex(int number);

// The one value a single-value setting takes from a picker's result.
inline std::optional<int> lowestChosen(const std::optional<std::vector<int>>& chosen) {
    if (!chosen || chosen->empty()) return std::nullopt;
    return *std::min_element(chosen->begin(), chosen->end());
}

// A resource list's choice into a byte reference: Cancel (or no chooser)
// keeps it and returns false; a choice below 1 or beyond `count` clears it.
bool takeResource(ResourceKind kind, const QString& captionSuffix, u8& reference, int count);
// A resource list's choice for a setting that takes only a chosen entry: the
// entry within 1..count, or nothing on Cancel, without a chooser, or for an
// unused entry.
std::optional<int> chosenResource(ResourceKind kind, const QString& captionSuffix, int current, int count);
// The lowest-numbered item / event the picker returns into a reference;
// Cancel or an empty choice keeps it.
void takeItem(Tparamedit& owner, const QString& caption, u8& reference);
void takeEvent(Tparamedit& owner, const QString& caption, u8& reference);

// Stores a chosen image file name; false (nothing stored) when the name does
// not fit the slot or holds characters the scenario cannot store.
bool storeImageFile(ShortString255& slot, const QString& file);

// The transparency a newly chosen picture takes: the editor's default.
struct ChosenImage {
    u8 transparent;
    i32 colour;
};

// The image chooser for one picture of an object, offering `transparent`
// as the current setting: the chosen file goes into `file` and the
// picture's index into `*index` when there is one, and the picture's
// transparency is returned for the record. Nothing when the author cancels
// or the name does not fit; nothing is changed then.
std::optional<ChosenImage> chooseObjectImage(Tparamedit& owner, bool transparent, ShortString255& file,
                                             std::int32_t* index);

// The same for the first picture of an object, storing its transparency and
// repainting the views that draw the layer. False when nothing was chosen.
template <typename Def>
bool chooseFirstPicture(Tparamedit& owner, int layer, Def& def, ShortString255& file, std::int32_t* index) {
    const std::optional<ChosenImage> chosen = chooseObjectImage(owner, def.imageTransparent != 0, file, index);
    if (!chosen) return false;
    def.imageTransparent = chosen->transparent;
    def.imageColour = chosen->colour;
    if (owner.hooks().picturesChanged) owner.hooks().picturesChanged(layer);
    return true;
}

// Either of the two pictures of a terrain, a building or an event.
template <typename Def>
bool chooseObjectPicture(Tparamedit& owner, int layer, Def& def, bool second, ShortString255& slot,
                         std::int32_t& index) {
    if (!second) return chooseFirstPicture(owner, layer, def, slot, &index);
    const std::optional<ChosenImage> chosen = chooseObjectImage(owner, def.image2Transparent != 0, slot, &index);
    if (!chosen) return false;
    def.image2Transparent = chosen->transparent;
    def.image2Colour = chosen->colour;
    return true;
}

}  // namespace qrn
