// Showing a character on its pages and the handlers of the page controls.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>

#include "services/choosers.h"
#include "services/editorcontext.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/charapage.h"
#include "properties/numericedit.h"
#include "properties/pagehelpers.h"
#include "properties/pagerows.h"
#include "properties/paramedit.h"
#include "scenario/chararules.h"
#include "scenario/maplayers.h"

namespace qrn {

namespace {

// A resource list's choice within first..count into a reference; anything
// else (Cancel, an unused entry, a damaged number) keeps it.
template <typename Ref>
bool chooseInto(ResourceKind kind, const QString& caption, Ref& reference, int first, int count) {
    ResourceChooser* chooser = editor().resourceChooser;
    if (!chooser) return false;
    const ResourceChoice c = chooser->chooseResource(kind, caption, reference);
    if (!c.accepted || c.entry < first || c.entry > count) return false;
    reference = static_cast<Ref>(c.entry);
    return true;
}

QString numberOrEmpty(int value) { return value == 0 ? QString() : QString::number(value); }

}  // namespace

int CharaPage::number() const { return owner_.currentObject(kChara); }

CharaDef& CharaPage::chara() const { return editor().scenario.chara(number()); }

QString CharaPage::words() const { return Tparamedit::objectWords(kChara, fromCp932(chara().name.view())); }

QString CharaPage::shortWords() const {
    const QString name = fromCp932(chara().name.view());
    return name.isEmpty() ? QStringLiteral("このｷｬﾗｸﾀ") : name;
}

// ---- showing -------------------------------------------------------------------

void CharaPage::cheditini() {
    const CharaDef& c = chara();
    const int kind = charaKind(c.chcharatype);
    const std::vector<int> pages = charaPages(kind);
    const auto open = [&](int page) { return std::find(pages.begin(), pages.end(), page) != pages.end(); };
    // A page the kind does not have gives way to the first page.
    if (!open(currentIndex())) setCurrentIndex(0);
    for (int page = 0; page < count(); ++page) setTabVisible(page, open(page));
    chsaleset_->setEnabled(kind == kCharaMerchant);
    chsaledel_->setEnabled(kind == kCharaMerchant);
    const bool healer = kind == kCharaHealer;
    healLabel_->setEnabled(healer);
    openNumericBox(chhealmoney_, healer);
    const bool drop = kind == kCharaEnemy && c.chitem != 0;
    dropLabel_->setEnabled(drop);
    openNumericBox(chitemputedit_, drop);
    chitemput_->setEnabled(drop);
    {
        const QSignalBlocker block(chcharatype_);
        kindRadios_[static_cast<std::size_t>(charaRadioOfKind(kind))]->setChecked(true);
    }
    charaview();
}

void CharaPage::charaview() {
    EditorContext& ctx = editor();
    const int n = number();
    const CharaDef& c = chara();
    rendering_ = true;
    {
        const QSignalBlocker nameBlock(charaname_);
        if (charaname_->bytes() != c.name.str()) charaname_->setBytes(c.name.view());
    }
    owner_.setObjectCaption(kChara, fromCp932(c.name.view()));
    chfilename_->setText(fileRefName(ctx.scenario.charaImageFiles[n - 1], QString()));
    chfilenamepic_->setIndex(pictureIndex(ctx.side.pictures, kChara, n));
    chcomment_->setText(commentRefName(c.chcomment));
    chhealmoney_->showText(numberOrEmpty(c.chhealmoney));
    chsaleini();
    chtalkbgm_->setText(bgmRefName(c.chtalkbgm, QStringLiteral("-")));
    chshowitem_->setText(itemRefName(c.chshowitem));
    chshowitempic_->setIndex(itemPictureIndex(c.chshowitem));
    chshowevent_->setText(eventRefName(c.chshowevent));
    chshoweventpic_->setIndex(eventPictureIndex(c.chshowevent));
    {
        const QSignalBlocker block(chendhide_);
        chendhide_->setChecked(c.chendhide != 0);
    }
    for (std::size_t i = 0; i < 5; ++i) {
        itemRows_[i].subject->setText(itemRefName(c.chwantitem[i]));
        itemRows_[i].comment->setText(commentRefName(c.chitemcomment[i]));
        itemRows_[i].pic->setIndex(itemPictureIndex(c.chwantitem[i]));
        eventRows_[i].subject->setText(eventRefName(c.chwantevent[i]));
        eventRows_[i].comment->setText(commentRefName(c.cheventcomment[i]));
        eventRows_[i].pic->setIndex(eventPictureIndex(c.chwantevent[i]));
    }
    {
        const QSignalBlocker block(chantimagic_);
        chantimagic_->setChecked(c.chantimagic != 0);
    }
    chenemystatusini();
    chitem_->setText(itemRefName(c.chitem));
    chitempic_->setIndex(itemPictureIndex(c.chitem));
    chitemputedit_->showText(QString::number(c.chitemput));
    chitemput_->setValue(c.chitemput);
    chbossimg_->setText(fileRefName(c.chbossimg));
    chmagicini();
    chmagicuseedit_->showText(QString::number(c.chmagicuse));
    chmagicuse_->setValue(c.chmagicuse);
    chpoisonini();
    chpoisonuseedit_->showText(QString::number(c.chpoisonuse));
    chpoisonuse_->setValue(c.chpoisonuse);
    chbattlebgm_->setText(bgmRefName(c.chbattlebgm, QStringLiteral("ﾃﾞﾌｫﾙﾄ")));
    chbattlesound_->setText(soundRefName(c.chbattlesound, QStringLiteral("ﾃﾞﾌｫﾙﾄ")));
    rendering_ = false;
}

void CharaPage::chsaleini() {
    const Scenario& s = editor().scenario;
    chsale_->clear();
    for (int item : charaSaleItems(chara()))
        chsale_->addItem(QString::number(s.items[item - 1].itmoney) + QStringLiteral("／") + itemRefName(item));
}

void CharaPage::chenemystatusini() {
    const CharaDef& c = chara();
    chpower_->showText(QString::number(c.chpower == 0 ? 1 : c.chpower));
    const u16 values[] = {c.chattack, c.chdefence, c.chdextality, c.chmoney, c.chexperience};
    for (std::size_t i = 0; i < 5; ++i) status_[i]->showText(QString::number(values[i]));
}

void CharaPage::chmagicini() {
    const Scenario& s = editor().scenario;
    chmagic_->clear();
    for (int m : charaMagics(chara())) chmagic_->addItem(fromCp932(s.magics[m - 1].name.view()));
}

void CharaPage::chpoisonini() {
    const Scenario& s = editor().scenario;
    chpoison_->clear();
    for (int p : charaPoisons(chara())) chpoison_->addItem(fromCp932(s.poisons[p - 1].name.view()));
}

// ---- general ---------------------------------------------------------------------

void CharaPage::charanameChange() {
    if (rendering_) return;
    chara().name.assign(charaname_->bytes());
    owner_.setObjectCaption(kChara, charaname_->text());
    if (owner_.hooks().namesChanged) owner_.hooks().namesChanged(kChara);
}

void CharaPage::chcharatypeClick(int radio) {
    const int kind = charaKindOfRadio(radio);
    if (kind < 0) return;
    setCharaKind(chara(), kind);
    cheditini();
}

void CharaPage::chfilenamesetClick() {
    EditorContext& ctx = editor();
    const int n = number();
    std::int32_t* index = pictureSlot(ctx.side.pictures, kChara, n);
    if (chooseFirstPicture(owner_, kChara, chara(), ctx.scenario.charaImageFiles[n - 1], index))
        charaview();
}

void CharaPage::chcommentsetClick() {
    i16 comment = chara().chcomment;
    if (chooseInto(ResourceKind::Comment, QStringLiteral("：") + words() + QStringLiteral("のｺﾒﾝﾄを一つ選択"), comment, 1,
                   kCommentCount)) {
        chara().chcomment = comment;
        charaview();
    }
}

void CharaPage::chcommentdelClick() {
    chara().chcomment = 0;
    charaview();
}

void CharaPage::chsalesetClick() {
    CharaDef& c = chara();
    if (charaKind(c.chcharatype) != kCharaMerchant || !owner_.hooks().pickItems) return;
    const std::optional<std::vector<int>> chosen =
        owner_.hooks().pickItems(shortWords() + QStringLiteral("が販売しているｱｲﾃﾑを選択"), charaSaleItems(c));
    if (!chosen) return;
    setCharaSale(c, editor().scenario, *chosen);
    charaview();
}

void CharaPage::chsaledelClick() {
    crbuyerini(chara());
    charaview();
}

// ---- special ----------------------------------------------------------------------

void CharaPage::chtalkbgmsetClick() {
    if (chooseInto(ResourceKind::Bgm, QStringLiteral("：") + words() + QStringLiteral("と会話中のBGMを一つ選択"),
                   chara().chtalkbgm, 0, kBgmCount))
        charaview();
}

void CharaPage::chtalkbgmdelClick() {
    if (MediaService* media = editor().media) media->mediastop();
    chara().chtalkbgm = 0;
    charaview();
}

void CharaPage::chtalkbgmplayClick() { owner_.playMusic(chara().chtalkbgm); }

void CharaPage::chshowitemsetClick() {
    takeItem(owner_, shortWords() + QStringLiteral("が出現する為に必要なｱｲﾃﾑを一つ選択"), chara().chshowitem);
    charaview();
}

void CharaPage::chshowitemdelClick() {
    chara().chshowitem = 0;
    charaview();
}

void CharaPage::chshoweventsetClick() {
    takeEvent(owner_, words() + QStringLiteral("が出現する為に必要なｲﾍﾞﾝﾄを一つ選択"), chara().chshowevent);
    charaview();
}

void CharaPage::chshoweventdelClick() {
    chara().chshowevent = 0;
    charaview();
}

void CharaPage::chendhideClick() { chara().chendhide = chendhide_->isChecked() ? 1 : 0; }

// ---- item and event comments ----------------------------------------------------------

void CharaPage::commentPair(bool events, int tag) {
    if (tag < 1 || tag > 5) return;
    const auto i = static_cast<std::size_t>(tag - 1);
    CharaDef& c = chara();
    i16 comment = events ? c.cheventcomment[i] : c.chitemcomment[i];
    const QString prompt = events ? QStringLiteral("のｲﾍﾞﾝﾄｺﾒﾝﾄを一つ選択") : QStringLiteral("のｱｲﾃﾑｺﾒﾝﾄを一つ選択");
    if (!chooseInto(ResourceKind::Comment, QStringLiteral("：") + words() + prompt, comment, 1, kCommentCount)) return;
    ParameditHooks& hooks = owner_.hooks();
    const auto& pick = events ? hooks.pickEvents : hooks.pickItems;
    if (!pick) return;
    const std::optional<int> subject =
        lowestChosen(pick(events ? QStringLiteral("このｺﾒﾝﾄの発言に必要なｲﾍﾞﾝﾄを一つ選択")
                                 : QStringLiteral("このｺﾒﾝﾄの発言に必要なｱｲﾃﾑを一つ選択"),
                          {}));
    if (!subject || *subject < 1 || *subject > (events ? kEventCount : kItemCount)) return;
    if (events) {
        c.chwantevent[i] = static_cast<u8>(*subject);
        c.cheventcomment[i] = comment;
    } else {
        c.chwantitem[i] = static_cast<u8>(*subject);
        c.chitemcomment[i] = comment;
    }
    charaview();
}

void CharaPage::chwantitemsetClick(int tag) { commentPair(false, tag); }
void CharaPage::cheventcommentsetClick(int tag) { commentPair(true, tag); }

void CharaPage::chwantitemdelClick(int tag) {
    if (tag < 1 || tag > 5) return;
    chara().chwantitem[tag - 1] = 0;
    chara().chitemcomment[tag - 1] = 0;
    charaview();
}

void CharaPage::cheventcommentdelClick(int tag) {
    if (tag < 1 || tag > 5) return;
    chara().chwantevent[tag - 1] = 0;
    chara().cheventcomment[tag - 1] = 0;
    charaview();
}

// ---- enemy -------------------------------------------------------------------------

void CharaPage::chantimagicClick() { chara().chantimagic = chantimagic_->isChecked() ? 1 : 0; }

void CharaPage::chitemsetClick() {
    takeItem(owner_, shortWords() + QStringLiteral("との戦闘終了後、獲得出来るｱｲﾃﾑを一つ選択"), chara().chitem);
    cheditini();
}

void CharaPage::chitemdelClick() {
    chara().chitem = 0;
    chara().chitemput = 0;
    cheditini();
}

void CharaPage::chbossimgsetClick() {
    ParameditHooks& hooks = owner_.hooks();
    if (!hooks.chooseImage) return;
    const std::optional<QString> file = hooks.chooseImage(chara().imageTransparent != 0);
    if (!file || file->isEmpty()) return;
    if (storeImageFile(chara().chbossimg, *file)) charaview();
}

void CharaPage::chbossimgdelClick() {
    chara().chbossimg.clear();
    charaview();
}

void CharaPage::chbossimgviewClick() {
    const ShortString255& file = chara().chbossimg;
    if (file.empty() || !owner_.hooks().viewImage) return;
    owner_.hooks().viewImage(fromCp932(file.view()), owner_.pos());  // the editor's top-left corner
}

void CharaPage::chmagicsetClick() {
    CharaDef& c = chara();
    if (!owner_.hooks().pickMagics) return;
    const std::optional<std::vector<int>> chosen =
        owner_.hooks().pickMagics(words() + QStringLiteral("の使用する魔法を５つまで選択"), charaMagics(c));
    if (!chosen) return;
    setCharaMagics(c, *chosen);
    charaview();
}

void CharaPage::chmagicdelClick() {
    setCharaMagics(chara(), {});
    charaview();
}

void CharaPage::chpoisonsetClick() {
    ResourceChooser* chooser = editor().resourceChooser;
    if (!chooser) return;
    const ResourceChoice choice = chooser->chooseResource(
        ResourceKind::Poison, QStringLiteral("：") + words() + QStringLiteral("の使用する特殊攻撃を選択"), 0);
    if (choice.accepted && addCharaPoison(chara(), choice.entry)) charaview();
}

void CharaPage::chpoisondelClick() {
    std::fill(std::begin(chara().chpoison), std::end(chara().chpoison), u8{0});
    charaview();
}

void CharaPage::chbattlebgmsetClick() {
    if (chooseInto(ResourceKind::Bgm, QStringLiteral("：") + words() + QStringLiteral("と戦闘中のBGMを一つ選択"),
                   chara().chbattlebgm, 0, kBgmCount))
        charaview();
}

void CharaPage::chbattlebgmdelClick() {
    if (MediaService* media = editor().media) media->mediastop();
    chara().chbattlebgm = 0;
    charaview();
}

void CharaPage::chbattlebgmplayClick() { owner_.playMusic(chara().chbattlebgm); }

void CharaPage::chbattlesoundsetClick() {
    if (chooseInto(ResourceKind::Sound,
                   QStringLiteral("：") + shortWords() + QStringLiteral("が打撃を与えた時の効果音を一つ選択"),
                   chara().chbattlesound, 0, kSoundCount))
        charaview();
}

void CharaPage::chbattlesounddelClick() {
    chara().chbattlesound = 0;
    charaview();
}

void CharaPage::chbattlesoundplayClick() { owner_.playSound(chara().chbattlesound); }

}  // namespace qrn
