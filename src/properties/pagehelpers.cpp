#include "properties/pagehelpers.h"

#include "services/editorcontext.h"
#include "services/textconv.h"
#include "scenario/text.h"
#include "properties/paramedit.h"
#include "scenario/maplayers.h"
#include "scenario/tablenames.h"

namespace qrn {

namespace {

QString nameOr(NamedTable table, int number, const QString& none) {
    const auto name = tableName(editor().scenario, table, number);
    return name ? fromCp932(*name) : none;
}

}  // namespace

QString itemRefName(int n, const QString& none) { return nameOr(NamedTable::Item, n, none); }
QString eventRefName(int n, const QString& none) { return nameOr(NamedTable::Event, n, none); }
QString soundRefName(int n, const QString& none) { return nameOr(NamedTable::Sound, n, none); }
QString enemyGroupRefName(int n, const QString& none) {
    return nameOr(NamedTable::EnemyGroup, n, none);
}
QString walkImageRefName(int n, const QString& none) {
    return nameOr(NamedTable::WalkImage, n, none);
}
QString fieldRefName(int n, const QString& none) { return nameOr(NamedTable::Field, n, none); }

QString commentRefName(int n, const QString& none) { return nameOr(NamedTable::Comment, n, none); }
QString bgmRefName(int n, const QString& none) { return nameOr(NamedTable::Bgm, n, none); }
QString magicRefName(int n, const QString& none) { return nameOr(NamedTable::Magic, n, none); }
QString poisonRefName(int n, const QString& none) { return nameOr(NamedTable::Poison, n, none); }

QString fileRefName(const ShortString255& file, const QString& none) {
    return file.empty() ? none : fromCp932(file.view());
}

int itemPictureIndex(int n) { return pictureIndex(editor().side.pictures, kItem, n); }
int eventPictureIndex(int n) { return pictureIndex(editor().side.pictures, kEvent, n); }

bool storeImageFile(ShortString255& slot, const QString& file) {
    const std::optional<std::string> bytes = utf8ToCp932(file.toStdString());
    if (!bytes || bytes->empty() || bytes->size() > static_cast<std::size_t>(ShortString255::capacity)) return false;
    slot.assignRaw(*bytes);
    return true;
}

std::optional<ChosenImage> chooseObjectImage(Tparamedit& owner, bool transparent, ShortString255& file,
                                             std::int32_t* index) {
    ParameditHooks& hooks = owner.hooks();
    if (!hooks.chooseImage) return std::nullopt;
    const std::optional<QString> chosen = hooks.chooseImage(transparent);
    if (!chosen || chosen->isEmpty() || !storeImageFile(file, *chosen)) return std::nullopt;
    const bool defaultTransparent = editor().state.defaultTransparent;
    const std::uint32_t defaultColour = editor().state.defaultTransparentColour;
    if (index) *index = hooks.addimg ? hooks.addimg(*chosen, defaultTransparent, defaultColour) : 0;
    return ChosenImage{static_cast<u8>(defaultTransparent ? 1 : 0), static_cast<i32>(defaultColour)};
}

bool takeResource(ResourceKind kind, const QString& suffix, u8& reference, int count) {
    ResourceChooser* chooser = editor().resourceChooser;
    if (!chooser) return false;
    const ResourceChoice c = chooser->chooseResource(kind, suffix, reference);
    if (!c.accepted) return false;
    reference = static_cast<u8>(c.entry >= 1 && c.entry <= count ? c.entry : 0);
    return true;
}

std::optional<int> chosenResource(ResourceKind kind, const QString& suffix, int current, int count) {
    ResourceChooser* chooser = editor().resourceChooser;
    if (!chooser) return std::nullopt;
    const ResourceChoice c = chooser->chooseResource(kind, suffix, current);
    if (!c.accepted || c.entry < 1 || c.entry > count) return std::nullopt;
    return c.entry;
}

void takeItem(Tparamedit& owner, const QString& caption, u8& reference) {
    if (!owner.hooks().pickItems) return;
    const std::optional<int> n = lowestChosen(owner.hooks().pickItems(caption, {}));
    if (n && *n >= 1 && *n <= kItemCount) reference = static_cast<u8>(*n);
}

void takeEvent(Tparamedit& owner, const QString& caption, u8& reference) {
    if (!owner.hooks().pickEvents) return;
    const std::optional<int> n = lowestChosen(owner.hooks().pickEvents(caption, {}));
    if (n && *n >= 1 && *n <= kEventCount) reference = static_cast<u8>(*n);
}

}  // namespace qrn
