// What the controls of the item page change.
#include <QCheckBox>

#include "services/editorcontext.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/itempage.h"
#include "properties/pagehelpers.h"
#include "properties/paramedit.h"
#include "scenario/itemrules.h"
#include "scenario/pickerrules.h"
#include "scenario/maplayers.h"

namespace qrn {

void ItemPage::itemnameChange() {
    if (rendering_) return;
    item().name.assign(itemname_->bytes());
    owner_.setObjectCaption(kItem, itemname_->text());
    if (owner_.hooks().namesChanged) owner_.hooks().namesChanged(kItem);
}

void ItemPage::itgroupClick(int kind) {
    // Clicking the kind shown keeps the values and only puts damaged flags right.
    if (!setItemKind(item(), kind)) return;
    itemini();
}

void ItemPage::itspecialClick() {
    setItemSpecial(item(), itspecial_->isChecked());
    itemini();
}

void ItemPage::itusetypeClick(QCheckBox* box) {
    (box->property("tag").toInt() == 1 ? item().itbattleuse : item().itfielduse) = box->isChecked() ? 1 : 0;
}

void ItemPage::itshowserchClick() { item().itshowserch = itshowserch_->isChecked() ? 1 : 0; }

void ItemPage::itfilenamesetClick() {
    EditorContext& ctx = editor();
    const int n = number();
    std::int32_t* index = pictureSlot(ctx.side.pictures, kItem, n);
    if (chooseFirstPicture(owner_, kItem, item(), ctx.scenario.itemImageFiles[n - 1], index))
        itemview();
}

void ItemPage::itmagicsetClick() {
    ParameditHooks& hooks = owner_.hooks();
    if (!hooks.pickMagics) return;
    const std::optional<int> n =
        lowestChosen(hooks.pickMagics(words() + QStringLiteral("が発動する魔法を一つ選択"), {}));
    if (!n || *n < 1 || *n > kMagicCount) return;
    item().itmagic = static_cast<u8>(*n);
    itemview();
}

void ItemPage::itmagicdelClick() {
    item().itmagic = 0;
    itemview();
}

void ItemPage::itantipoisonsetClick() {
    ItemDef& it = item();
    const bool general = itemKind(it) == kItemGeneral;
    const QString suffix = QStringLiteral("：") + words() + QStringLiteral("で") +
                           (general ? QStringLiteral("解毒") : QStringLiteral("無力化")) +
                           QStringLiteral("出来る特殊攻撃を一つ選択");
    const std::optional<int> n = chosenResource(ResourceKind::Poison, suffix, it.itantipoison, kPoisonCount);
    if (!n || !itemTakesSpecialAttack(editor().scenario, it, *n)) return;
    it.itantipoison = static_cast<u8>(*n);
    itemview();
}

void ItemPage::itantipoisondelClick() {
    item().itantipoison = 0;
    itemview();
}

void ItemPage::itcommentsetClick() {
    const std::optional<int> n = chosenResource(
        ResourceKind::Comment, QStringLiteral("：") + words() + QStringLiteral("を使用時のｺﾒﾝﾄを一つ選択"),
        item().itcomment, kCommentCount);
    if (!n) return;
    item().itcomment = static_cast<i16>(*n);
    itemview();
}

void ItemPage::itcommentdelClick() {
    item().itcomment = 0;
    itemview();
}

void ItemPage::itsoundsetClick() {
    const std::optional<int> n = chosenResource(
        ResourceKind::Sound, QStringLiteral("：") + words() + QStringLiteral("を使用時の効果音を一つ選択"), item().itsound,
        kSoundCount);
    if (!n) return;
    item().itsound = static_cast<u8>(*n);
    itemview();
}

void ItemPage::itsounddelClick() {
    item().itsound = 0;
    itemview();
}

void ItemPage::itsoundplayClick() { owner_.playSound(item().itsound); }

void ItemPage::itattacksoundsetClick() {
    const std::optional<int> n = chosenResource(
        ResourceKind::Sound, QStringLiteral("：") + words() + QStringLiteral("で打撃を与えた時の効果音を一つ選択"),
        item().itattacksound, kSoundCount);
    if (!n) return;
    item().itattacksound = static_cast<u8>(*n);
    itemview();
}

void ItemPage::itattacksounddelClick() {
    item().itattacksound = 0;
    itemview();
}

void ItemPage::itattacksoundplayClick() { owner_.playSound(item().itattacksound); }

void ItemPage::itfindbgmsetClick() {
    const std::optional<int> n = chosenResource(
        ResourceKind::Bgm, QStringLiteral("：") + words() + QStringLiteral("を発見した時のBGMを一つ選択"), item().itfindbgm,
        kBgmCount);
    if (!n) return;
    item().itfindbgm = static_cast<u8>(*n);
    itemview();
}

void ItemPage::itfindbgmdelClick() {
    item().itfindbgm = 0;
    itemview();
}

void ItemPage::itfindbgmplayClick() { owner_.playMusic(item().itfindbgm); }

}  // namespace qrn
