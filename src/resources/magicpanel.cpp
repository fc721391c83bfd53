#include "resources/magicpanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "services/editorcontext.h"
#include "services/imeset.h"
#include "services/options.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "properties/numericedit.h"
#include "properties/pagehelpers.h"
#include "resources/magicedit.h"
#include "scenario/magicrules.h"
#include "scenario/resets.h"

namespace qrn {

namespace {

const char* const kValueCaptions[] = {"ダメージ", "攻撃力ｱｯﾌﾟ", "攻撃力ﾀﾞｳﾝ", "防御力ｱｯﾌﾟ",
                                      "防御力ﾀﾞｳﾝ", "素早さｱｯﾌﾟ", "素早さﾀﾞｳﾝ"};
const char* const kValueNames[] = {"mgdamage", "mgupstr", "mgdownstr", "mgupdef", "mgdowndef", "mgupdex", "mgdowndex"};

QRadioButton* radio(const QString& name, const QString& text, QButtonGroup* group, int id, QWidget* parent) {
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(name);
    group->addButton(r, id);
    return r;
}

// Shows a value without running the box's rule, greyed when empty.
void showValue(NumericEdit* box, const QString& text) {
    box->showText(text);
    shadeWhenEmpty(box, text.isEmpty());
}

}  // namespace

MagicPanel::MagicPanel(Tmagicedit& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("magicpanel"));
    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("MAGICLIST"));
    list_->setFixedWidth(150);
    top->addWidget(list_);

    auto* right = new QVBoxLayout;
    top->addLayout(right);
    auto* common = new QGridLayout;
    right->addLayout(common);
    auto* nameLabel = new QLabel(QStringLiteral("魔法名称(&N)"), this);
    name_ = new ShortStringEdit(32, this);
    name_->setObjectName(QStringLiteral("magicname"));
    nameLabel->setBuddy(name_);
    common->addWidget(nameLabel, 0, 0);
    common->addWidget(name_, 0, 1, 1, 3);
    auto* mpLabel = new QLabel(QStringLiteral("魔力消費(&D)"), this);
    downmp_ = new NumericEdit(numericedits::mgdownmp(), this);
    downmp_->setObjectName(QStringLiteral("mgdownmp"));
    downmp_->setMaxLength(5);
    mpLabel->setBuddy(downmp_);
    common->addWidget(mpLabel, 1, 0);
    common->addWidget(downmp_, 1, 1);
    auto* successLabel = new QLabel(QStringLiteral("魔法成功率(&S)"), this);
    successEdit_ = new NumericEdit(numericedits::mgsuccess(), this);
    successEdit_->setObjectName(QStringLiteral("mgsuccessedit"));
    successEdit_->setMaxLength(3);
    success_ = upDownButtons(QStringLiteral("mgsuccess"), 0, 100, this);
    successLabel->setBuddy(successEdit_);
    common->addWidget(successLabel, 2, 0);
    common->addWidget(successEdit_, 2, 1);
    common->addWidget(success_, 2, 2);

    auto* typeBox = new QGroupBox(QStringLiteral("種別  (&R)"), this);
    typeBox->setObjectName(QStringLiteral("mgtypebox"));
    type_ = new QButtonGroup(this);
    type_->setObjectName(QStringLiteral("mgtype"));
    auto* typeLayout = new QHBoxLayout(typeBox);
    const char* const types[] = {"移動", "ｽﾃｰﾀｽ", "単体", "全体"};
    for (int i = 0; i < 4; ++i)
        typeLayout->addWidget(radio(QStringLiteral("mgtype%1").arg(i), QString::fromUtf8(types[i]), type_, i, typeBox));
    right->addWidget(typeBox);

    auto* soundGrid = new QGridLayout;
    right->addLayout(soundGrid);
    sound_ = addRefRow(soundGrid, 0, QStringLiteral("mgsound"), QStringLiteral("効果音  (&U)"), QStringLiteral("♪"), this);

    // movement
    movePanel_ = new QGroupBox(QStringLiteral("移動効果"), this);
    movePanel_->setObjectName(QStringLiteral("movepanel"));
    move_ = new QButtonGroup(this);
    move_->setObjectName(QStringLiteral("mgmove"));
    auto* moveLayout = new QHBoxLayout(movePanel_);
    moveLayout->addWidget(radio(QStringLiteral("mgwarp"), QStringLiteral("ﾜｰﾌﾟ"), move_, 0, movePanel_));
    moveLayout->addWidget(radio(QStringLiteral("mgescape"), QStringLiteral("ｴｽｹｰﾌﾟ"), move_, 1, movePanel_));
    right->addWidget(movePanel_);

    // status
    state_ = new QGroupBox(this);
    state_->setObjectName(QStringLiteral("statepanel"));
    auto* stateGrid = new QGridLayout(state_);
    auto* healLabel = new QLabel(QStringLiteral("回復(&H)"), state_);
    healing_ = new NumericEdit(numericedits::mghealing(), state_);
    healing_->setObjectName(QStringLiteral("mghealing"));
    healing_->setMaxLength(5);
    healLabel->setBuddy(healing_);
    usebattle_ = new QCheckBox(QStringLiteral("戦闘中の使用(&B)"), state_);
    usebattle_->setObjectName(QStringLiteral("mgusebattle"));
    stateGrid->addWidget(healLabel, 0, 0);
    stateGrid->addWidget(healing_, 0, 1);
    stateGrid->addWidget(usebattle_, 0, 2, 1, 2);
    antipoison_ = addRefRow(stateGrid, 1, QStringLiteral("mgantipoison"), QStringLiteral("解毒    (&A)"), {}, state_);
    right->addWidget(state_);

    // battle
    battle_ = new QGroupBox(this);
    battle_->setObjectName(QStringLiteral("battlepanel"));
    auto* battleGrid = new QGridLayout(battle_);
    battleGrid->setVerticalSpacing(1);
    targetHeading_ = new QWidget(battle_);
    auto* headingLayout = new QHBoxLayout(targetHeading_);
    headingLayout->setContentsMargins(0, 0, 0, 0);
    headingLayout->addWidget(new QLabel(QStringLiteral("自分   相手"), targetHeading_));
    headingLayout->addWidget(new QLabel(QStringLiteral("対象"), targetHeading_));
    battleGrid->addWidget(targetHeading_, 0, 2);
    for (int i = 0; i < 7; ++i) {
        const auto k = static_cast<std::size_t>(i);
        battleGrid->addWidget(new QLabel(QString::fromUtf8(kValueCaptions[i]), battle_), i + 1, 0);
        values_[k] = new NumericEdit(i == 0 ? numericedits::mgvalue() : numericedits::mgvalue(), battle_);
        values_[k]->setObjectName(QString::fromLatin1(kValueNames[i]));
        values_[k]->setMaxLength(5);
        battleGrid->addWidget(values_[k], i + 1, 1);
        targetBoxes_[k] = new QWidget(battle_);
        auto* tl = new QHBoxLayout(targetBoxes_[k]);
        tl->setContentsMargins(0, 0, 0, 0);
        targets_[k] = new QButtonGroup(this);
        targets_[k]->setObjectName(QString::fromLatin1(kValueNames[i]) + QStringLiteral("tome"));
        tl->addWidget(radio(QString::fromLatin1(kValueNames[i]) + QStringLiteral("self"), {}, targets_[k], 1,
                            targetBoxes_[k]));
        tl->addWidget(radio(QString::fromLatin1(kValueNames[i]) + QStringLiteral("other"), {}, targets_[k], 0,
                            targetBoxes_[k]));
        battleGrid->addWidget(targetBoxes_[k], i + 1, 2);
    }
    sleep_ = new QCheckBox(QStringLiteral("催眠(&C)"), battle_);
    sleep_->setObjectName(QStringLiteral("mgsleep"));
    silence_ = new QCheckBox(QStringLiteral("魔法封印(&L)"), battle_);
    silence_->setObjectName(QStringLiteral("mgsilence"));
    battleGrid->addWidget(sleep_, 8, 0);
    battleGrid->addWidget(silence_, 8, 1);
    right->addWidget(battle_);
    right->addStretch();

    auto* buttons = new QHBoxLayout;
    right->addLayout(buttons);
    auto button = [this, buttons](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    QPushButton* del = button("magicdel", "削除");
    QPushButton* erase = button("magicerace", "初期化");
    QPushButton* close = button("mgclose", "閉じる(&C)");

    // wiring
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_ && row >= 0) selectMagic(row + 1);
    });
    imesetOnEnter(name_);
    connect(name_, &QLineEdit::textChanged, this, [this] {
        if (showing_) return;
        edited().name.assign(name_->bytes());
        rewriteRow(current_);
    });
    downmp_->store = [this](std::int64_t v) { edited().mgdownmp = static_cast<u16>(v); };
    successEdit_->stored = [this] { return QString::number(magic().mgsuccess); };
    successEdit_->store = [this](std::int64_t v) {
        edited().mgsuccess = static_cast<u8>(v);
        const QSignalBlocker b(success_);
        success_->setValue(static_cast<int>(v));
    };
    connect(success_, &QSpinBox::valueChanged, this, [this](int v) {
        if (showing_) return;
        edited().mgsuccess = static_cast<u8>(v);
        successEdit_->showText(QString::number(v));
    });
    connect(type_, &QButtonGroup::idClicked, this, [this](int id) { mgtypeClick(id); });
    connect(move_, &QButtonGroup::idClicked, this, [this](int id) { mgmoveClick(id == 0); });
    connect(sound_.set, &QPushButton::clicked, this, &MagicPanel::mgsoundsetClick);
    connect(sound_.del, &QPushButton::clicked, this, &MagicPanel::mgsounddelClick);
    connect(sound_.extra, &QPushButton::clicked, this, &MagicPanel::mgsoundplayClick);
    connect(antipoison_.set, &QPushButton::clicked, this, &MagicPanel::mgantipoisonsetClick);
    connect(antipoison_.del, &QPushButton::clicked, this, &MagicPanel::mgantipoisondelClick);
    healing_->store = [this](std::int64_t v) { edited().mghealing = static_cast<i32>(v); };
    connect(healing_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (showing_) return;
        // An emptied box stores 0, which the box shows as empty.
        if (t.isEmpty()) edited().mghealing = 0;
        // The text now in the box: a non-number has already been emptied by
        // the box's own rule while this handler still sees what was typed.
        shadeWhenEmpty(healing_, healing_->text().isEmpty());
    });
    for (int i = 0; i < 7; ++i) {
        NumericEdit* box = values_[static_cast<std::size_t>(i)];
        box->store = [this, i](std::int64_t v) { storeValue(i, v); };
        connect(box, &QLineEdit::textChanged, this, [this, i, box](const QString& t) {
            if (showing_) return;
            if (t.isEmpty()) storeValue(i, 0);
            shadeWhenEmpty(box, box->text().isEmpty());
        });
        connect(targets_[static_cast<std::size_t>(i)], &QButtonGroup::idClicked, this, [this, i](int id) {
            setMagicTargetFlag(edited(), i, static_cast<u8>(id));
        });
    }
    connect(usebattle_, &QCheckBox::toggled, this, [this](bool on) {
        if (showing_) return;
        magic().mgusebattle = on ? 1 : 0;
        magicview();
    });
    connect(sleep_, &QCheckBox::toggled, this, [this](bool on) {
        if (!showing_) edited().mgsleep = on ? 1 : 0;
    });
    connect(silence_, &QCheckBox::toggled, this, [this](bool on) {
        if (!showing_) edited().mgsilence = on ? 1 : 0;
    });
    connect(del, &QPushButton::clicked, this, &MagicPanel::magicdelClick);
    connect(erase, &QPushButton::clicked, this, &MagicPanel::magiceraceClick);
    connect(close, &QPushButton::clicked, this, &MagicPanel::mgcloseClick);
}

MagicDef& MagicPanel::magic() { return editor().scenario.magic(current_); }

MagicDef& MagicPanel::edited() {
    MagicDef& m = magic();
    markMagicEdited(m);
    return m;
}

QString MagicPanel::words() {
    const QString name = fromCp932(magic().name.view());
    return name.isEmpty() ? QStringLiteral("この魔法") : name;
}

void MagicPanel::storeValue(int index, std::int64_t v) { setMagicBattleValue(edited(), index, static_cast<u16>(v)); }

void MagicPanel::rewriteRow(int n) {
    if (QListWidgetItem* item = list_->item(n - 1))
        item->setText(QString::number(n) + QStringLiteral("：") + fromCp932(editor().scenario.magic(n).name.view()));
}

void MagicPanel::makemagiclist() {
    current_ = remembered_ >= 1 && remembered_ <= kMagicCount ? remembered_ : 1;
    rebuild();
}

void MagicPanel::rebuild() {
    showing_ = true;
    list_->clear();
    for (int n = 1; n <= kMagicCount; ++n) list_->addItem(QString());
    for (int n = 1; n <= kMagicCount; ++n) rewriteRow(n);
    list_->setCurrentRow(current_ - 1);
    showing_ = false;
    magicview();
}

void MagicPanel::selectMagic(int n) {
    if (n < 1 || n > kMagicCount) return;
    current_ = n;
    if (list_->currentRow() != n - 1) {
        showing_ = true;
        list_->setCurrentRow(n - 1);
        showing_ = false;
    }
    magicview();
}

void MagicPanel::magicview() {
    showing_ = true;
    MagicDef& m = magic();
    const MagicLook look = settleMagic(m);
    movePanel_->setVisible(look.move);
    state_->setVisible(look.status);
    battle_->setVisible(look.battle);
    targetHeading_->setVisible(look.targets);
    for (QWidget* w : targetBoxes_) w->setVisible(look.targets);

    name_->setBytes(m.name.view());
    successEdit_->showText(QString::number(m.mgsuccess));
    success_->setValue(m.mgsuccess);
    sound_.show(soundRefName(m.mgsound, QStringLiteral("ﾃﾞﾌｫﾙﾄ")), m.mgsound != 0);
    type_->button(static_cast<int>(look.kind))->setChecked(true);
    usebattle_->setChecked(m.mgusebattle != 0);
    antipoison_.show(poisonRefName(m.mgantipoison), m.mgantipoison != 0);
    silence_->setChecked(m.mgsilence != 0);
    sleep_->setChecked(m.mgsleep != 0);
    move_->setExclusive(false);
    for (QAbstractButton* b : move_->buttons()) b->setChecked(false);
    move_->setExclusive(true);
    if (m.warpMagic) move_->button(0)->setChecked(true);
    else if (m.escapeMagic) move_->button(1)->setChecked(true);
    downmp_->showText(QString::number(m.mgdownmp));
    const i32 healing = m.mghealing;
    showValue(healing_, healing >= 1 ? QString::number(healing) : healing == -1 ? QStringLiteral("全") : QString());
    for (int i = 0; i < 7; ++i) {
        const u16 v = magicBattleValue(m, i);
        showValue(values_[static_cast<std::size_t>(i)], v ? QString::number(v) : QString());
        targets_[static_cast<std::size_t>(i)]->button(magicTargetFlag(m, i) ? 1 : 0)->setChecked(true);
    }
    showing_ = false;
}

void MagicPanel::mgtypeClick(int kind) {
    if (kind < 0 || kind > 3) return;
    chooseMagicType(magic(), static_cast<MagicKind>(kind));
    magicview();
}

void MagicPanel::mgmoveClick(bool warp) {
    chooseMagicMove(magic(), warp);
    magicview();
}

void MagicPanel::mgsoundsetClick() {
    const std::optional<int> n = chooseResourceEntry(
        ResourceKind::Sound, QStringLiteral("：") + words() + QStringLiteral("を使用する時の効果音を一つ選択"),
        magic().mgsound, 0, kSoundCount);
    if (n) edited().mgsound = static_cast<u8>(*n);
    magicview();
}

void MagicPanel::mgsounddelClick() {
    edited().mgsound = 0;
    magicview();
}

void MagicPanel::mgsoundplayClick() { playSound(magic().mgsound); }

void MagicPanel::mgantipoisonsetClick() {
    const std::optional<int> n = chooseResourceEntry(
        ResourceKind::Poison, QStringLiteral("：") + words() + QStringLiteral("で解毒出来る特殊攻撃を一つ選択"),
        magic().mgantipoison, 1, kPoisonCount);
    if (n && editor().scenario.poison(*n).podamage != 0) edited().mgantipoison = static_cast<u8>(*n);
    magicview();
}

void MagicPanel::mgantipoisondelClick() {
    edited().mgantipoison = 0;
    magicview();
}

void MagicPanel::magicdelClick() {
    if (list_->currentRow() < 0) return;
    EditorContext& ctx = editor();
    if (ctx.options && ctx.options->tellmsg && ctx.messages &&
        !ctx.messages->confirm(this, QStringLiteral("この魔法を削除します。よろしいですか？")))
        return;
    magicinitialize(ctx.scenario, current_, true);
    rebuild();
}

void MagicPanel::magiceraceClick() {
    EditorContext& ctx = editor();
    if (!ctx.messages || !ctx.messages->confirm(this, QStringLiteral("魔法を全て初期化します。本当によろしいですか？")))
        return;
    magicinitialize(ctx.scenario, -1, true);
    owner_.reject();
}

void MagicPanel::mgcloseClick() {
    if (current_ > 0) remembered_ = current_;
    owner_.accept();
}

}  // namespace qrn
