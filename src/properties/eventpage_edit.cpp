// What the controls of the event page change.
#include <QCheckBox>

#include "services/editorcontext.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/eventpage.h"
#include "properties/pagehelpers.h"
#include "properties/paramedit.h"
#include "scenario/eventrules.h"

namespace qrn {

void EventPage::eventnameChange() {
    if (rendering_) return;
    event().name.assign(eventname_->bytes());
    owner_.setObjectCaption(kEvent, eventname_->text());
    if (owner_.hooks().namesChanged) owner_.hooks().namesChanged(kEvent);
}

void EventPage::evcheck1Click(QCheckBox* box) {
    if (u8* flag = eventFlag(event(), box->property("tag").toInt())) *flag = box->isChecked() ? 1 : 0;
    eventini();
}

void EventPage::evactionClick(int action) {
    if (action < 0 || action > 2) return;
    event().evaction = static_cast<u8>(action);
    eventview();
}

// ---- images --------------------------------------------------------------------

void EventPage::setPicture(bool second) {
    const int n = number();
    Scenario& s = editor().scenario;
    ShortString255& slot = second ? s.eventImage2Files[n - 1] : s.eventImageFiles[n - 1];
    std::int32_t& index = editor().side.pictures.event[second ? kEventCount + n : n];
    if (chooseObjectPicture(owner_, kEvent, event(), second, slot, index)) eventview();
}

void EventPage::evfilenamesetClick() { setPicture(false); }
void EventPage::evendfilenamesetClick() { setPicture(true); }

void EventPage::evendfilenamedelClick() {
    editor().scenario.eventImage2Files[number() - 1].clear();
    editor().side.pictures.event[kEventCount + number()] = 0;
    eventview();
}

void EventPage::setFullScreenImage(bool epilogue) {
    ParameditHooks& hooks = owner_.hooks();
    if (!hooks.chooseImage) return;
    EventDef& e = event();
    const std::optional<QString> file = hooks.chooseImage(e.imageTransparent != 0);
    if (!file || file->isEmpty()) return;
    if (!storeImageFile(epilogue ? e.evepiloguebmp : e.evprologuebmp, *file)) return;
    eventini();
}

void EventPage::showLarge(bool epilogue) {
    const ShortString255& file = epilogue ? event().evepiloguebmp : event().evprologuebmp;
    if (file.empty() || !owner_.hooks().viewImage) return;
    owner_.hooks().viewImage(fromCp932(file.view()), owner_.pos());
}

void EventPage::evprologuebmpsetClick() { setFullScreenImage(false); }
void EventPage::evepiloguebmpsetClick() { setFullScreenImage(true); }
void EventPage::evprologuebmpviewClick() { showLarge(false); }
void EventPage::evepiloguebmpviewClick() { showLarge(true); }

void EventPage::evprologuebmpdelClick() {
    event().evprologuebmp.clear();
    eventini();
}

void EventPage::evepiloguebmpdelClick() {
    event().evepiloguebmp.clear();
    eventini();
}

// ---- resources -----------------------------------------------------------------

std::optional<short> EventPage::takeComment(const char* prompt, int current) {
    // The comment references sit unaligned in the packed record, so the
    // caller stores the choice itself rather than handing out a reference.
    const std::optional<int> n = chosenResource(
        ResourceKind::Comment, QStringLiteral("：") + words() + QString::fromUtf8(prompt), current, kCommentCount);
    if (!n) return std::nullopt;
    return static_cast<short>(*n);
}

bool EventPage::takeBgm(const char* prompt, unsigned char& reference) {
    const std::optional<int> n = chosenResource(ResourceKind::Bgm, QStringLiteral("：") + words() + QString::fromUtf8(prompt),
                                                reference, kBgmCount);
    if (n) reference = static_cast<u8>(*n);
    return n.has_value();
}

void EventPage::evenemysetClick() {
    const std::optional<int> n =
        chosenResource(ResourceKind::EnemyGroup, QStringLiteral("：") + words() + QStringLiteral("で出現する敵グループを一つ選択"),
                       event().evenemy, kEnemyTypeCount);
    if (!n) return;
    event().evenemy = static_cast<u8>(*n);
    eventini();
}

void EventPage::evenemydelClick() {
    event().evenemy = 0;
    eventini();
}

void EventPage::evstartcommentsetClick() {
    if (const std::optional<short> n = takeComment("が発生する前のｺﾒﾝﾄを一つ選択", event().evstartcomment)) {
        event().evstartcomment = *n;
        eventview();
    }
}

void EventPage::evstartcommentdelClick() {
    event().evstartcomment = 0;
    eventview();
}

void EventPage::evendcommentsetClick() {
    if (const std::optional<short> n = takeComment("が発生後のｺﾒﾝﾄを一つ選択", event().evendcomment)) {
        event().evendcomment = *n;
        eventview();
    }
}

void EventPage::evendcommentdelClick() {
    event().evendcomment = 0;
    eventview();
}

void EventPage::evprologuesetClick() {
    if (const std::optional<short> n = takeComment("のﾌﾟﾛﾛｰｸﾞｺﾒﾝﾄを一つ選択", event().evprologue)) {
        event().evprologue = *n;
        eventini();
    }
}

void EventPage::evprologuedelClick() {
    event().evprologue = 0;
    eventini();
}

void EventPage::evepiloguesetClick() {
    if (const std::optional<short> n = takeComment("のｴﾋﾟﾛｰｸﾞｺﾒﾝﾄを一つ選択", event().evepilogue)) {
        event().evepilogue = *n;
        eventini();
    }
}

void EventPage::evepiloguedelClick() {
    event().evepilogue = 0;
    eventini();
}

void EventPage::evprologuebgmsetClick() {
    if (takeBgm("のﾌﾟﾛﾛｰｸﾞBGMを一つ選択", event().evprologuebgm)) eventview();
}

void EventPage::evprologuebgmdelClick() {
    event().evprologuebgm = 0;
    eventview();
}

void EventPage::evepiloguebgmsetClick() {
    if (takeBgm("のｴﾋﾟﾛｰｸﾞBGMを一つ選択", event().evepiloguebgm)) eventview();
}

void EventPage::evepiloguebgmdelClick() {
    event().evepiloguebgm = 0;
    eventview();
}

void EventPage::evprologuebgmplayClick() { owner_.playMusic(event().evprologuebgm); }
void EventPage::evepiloguebgmplayClick() { owner_.playMusic(event().evepiloguebgm); }

// ---- jump ----------------------------------------------------------------------

void EventPage::evlinksetClick() {
    ParameditHooks& hooks = owner_.hooks();
    if (!hooks.pickLocation) return;
    EventDef& e = event();
    const std::optional<PickedLocation> picked = hooks.pickLocation(
        QStringLiteral("：") + words() + QStringLiteral("終了後ｼﾞｬﾝﾌﾟするﾌｨｰﾙﾄﾞと座標を選択"), e.jumpField, e.jumpPosition);
    if (!picked || picked->field < 1 || picked->field > kFieldCount || picked->position <= 0) return;
    e.jumpField = static_cast<u8>(picked->field);
    e.jumpPosition = picked->position;
    eventview();
    if (hooks.jumpsChanged) hooks.jumpsChanged();  // the field manager's jump list
}

void EventPage::evlinkdelClick() {
    event().jumpField = 0;
    event().jumpPosition = 0;
    eventview();
    if (owner_.hooks().jumpsChanged) owner_.hooks().jumpsChanged();
}

// ---- conditions and what changes hands -----------------------------------------

void EventPage::evstartitemsetClick() {
    ParameditHooks& hooks = owner_.hooks();
    if (!hooks.pickItems) return;
    const std::optional<int> n =
        lowestChosen(hooks.pickItems(words() + QStringLiteral("を開始するｱｲﾃﾑを一つ選択"), {}));
    if (n && *n >= 1 && *n <= kItemCount) event().evstartitem = *n;
    eventview();
}

void EventPage::evstartitemdelClick() {
    event().evstartitem = 0;
    eventview();
}

void EventPage::takeSlots(bool events, const char* prompt, unsigned char (&slotArray)[10]) {
    ParameditHooks& hooks = owner_.hooks();
    const auto& pick = events ? hooks.pickEvents : hooks.pickItems;
    if (!pick) return;
    const int last = events ? kEventCount : kItemCount;
    const std::optional<std::vector<int>> chosen =
        pick(words() + QString::fromUtf8(prompt), validSlotEntries(slotArray, last));
    if (!chosen) return;
    fillEventSlots(slotArray, *chosen, last);
    eventview();
}

void EventPage::evshowitemsetClick() { takeSlots(false, "の発生に必要なｱｲﾃﾑを１０個まで選択", event().evshowitem); }
void EventPage::evshoweventsetClick() { takeSlots(true, "の発生に必要なｲﾍﾞﾝﾄを１０個まで選択", event().evshowevent); }
void EventPage::evgetitemsetClick() { takeSlots(false, "で獲得出来るｱｲﾃﾑを１０個まで選択", event().evgetitem); }
void EventPage::evputitemsetClick() { takeSlots(false, "で消失するｱｲﾃﾑを１０個まで選択", event().evputitem); }

namespace {
void clearSlots(unsigned char (&slotArray)[10]) { fillEventSlots(slotArray, {}, 0); }
}  // namespace

void EventPage::evshowitemdelClick() {
    clearSlots(event().evshowitem);
    eventview();
}

void EventPage::evshoweventdelClick() {
    clearSlots(event().evshowevent);
    eventview();
}

void EventPage::evgetitemdelClick() {
    clearSlots(event().evgetitem);
    eventview();
}

void EventPage::evputitemdelClick() {
    clearSlots(event().evputitem);
    eventview();
}

void EventPage::evgetmagicsetClick() {
    ParameditHooks& hooks = owner_.hooks();
    if (hooks.pickMagics) {
        const std::optional<int> n =
            lowestChosen(hooks.pickMagics(words() + QStringLiteral("で修得する魔法を一つ選択"), {}));
        if (n && *n >= 1 && *n <= kMagicCount) event().evgetmagic = static_cast<u8>(*n);
    }
    eventview();
}

void EventPage::evgetmagicdelClick() {
    event().evgetmagic = 0;
    eventview();
}

}  // namespace qrn
