#include "resources/levelauto.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>

#include "services/editorcontext.h"
#include "services/options.h"
#include "properties/numericedit.h"
#include "resources/levellist.h"
#include "scenario/resets.h"

namespace qrn {

namespace {

QPushButton* autoButton(const char* name, const char* text, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

Tlevelauto::Tlevelauto(Tlevellist& owner) : QWidget(&owner, Qt::Tool), owner_(owner), random_(std::random_device{}()) {
    setObjectName(QStringLiteral("levelauto"));
    setWindowTitle(QStringLiteral("ﾚﾍﾞﾙｱｯﾌﾟ自動設定"));
    state_.baseExperience = editor().scenario.level(1).experience;
    state_.rate = 12000;
    state_.range = kAutoAll;
    auto* top = new QVBoxLayout(this);

    auto* rangeBox = new QGroupBox(QStringLiteral("設定範囲"), this);
    rangeBox->setToolTip(QStringLiteral("自動設定をする範囲"));
    auto* rangeLayout = new QGridLayout(rangeBox);
    range_ = new QButtonGroup(this);
    const char* const ranges[] = {"ﾚﾍﾞﾙ 2～10", "ﾚﾍﾞﾙ 11～20", "ﾚﾍﾞﾙ 21～30", "ﾚﾍﾞﾙ 31～40", "ﾚﾍﾞﾙ 41～50", "全部"};
    for (int i = 0; i < kAutoRanges; ++i) {
        auto* r = new QRadioButton(QString::fromUtf8(ranges[i]), rangeBox);
        r->setObjectName(QStringLiteral("atrange%1").arg(i));
        range_->addButton(r, i);
        rangeLayout->addWidget(r, i / 2, i % 2);
    }
    top->addWidget(rangeBox);

    auto* baseRow = new QHBoxLayout;
    auto* baseLabel = new QLabel(QStringLiteral("基準経験値(&B)："), this);
    base_ = new NumericEdit(numericedits::atexperience(), this);
    base_->setObjectName(QStringLiteral("atexperienceedit"));
    base_->setMaxLength(10);
    base_->setToolTip(QStringLiteral("経験値設定の基本値"));
    baseLabel->setBuddy(base_);
    baseRow->addWidget(baseLabel);
    baseRow->addWidget(base_);
    top->addLayout(baseRow);
    auto* plusRow = new QHBoxLayout;
    auto* plusLabel = new QLabel(QStringLiteral("経験値増加幅(&P)"), this);
    plusbar_ = new QSlider(Qt::Horizontal, this);
    plusbar_->setObjectName(QStringLiteral("atplusbar"));
    plusbar_->setRange(100, 200);
    plusbar_->setToolTip(QStringLiteral("経験値の増加率"));
    plusLabel->setBuddy(plusbar_);
    pluslabel_ = new QLabel(this);
    pluslabel_->setObjectName(QStringLiteral("atpluslabel"));
    plusRow->addWidget(plusLabel);
    plusRow->addWidget(plusbar_);
    plusRow->addWidget(pluslabel_);
    top->addLayout(plusRow);

    auto* bounds = new QGroupBox(QStringLiteral("能力増加幅"), this);
    auto* bg = new QGridLayout(bounds);
    bg->addWidget(new QLabel(QStringLiteral("下限"), bounds), 0, 1);
    bg->addWidget(new QLabel(QStringLiteral("上限"), bounds), 0, 2);
    const struct { const char* caption; const char* name; int stat; } rows[] = {
        {"体力", "atpower", StatPower}, {"魔力", "atmp", StatMp},
        {"筋力", "atstrength", StatStrength}, {"素早さ", "atdextality", StatDextality}};
    int row = 1;
    for (const auto& r : rows) {
        bg->addWidget(new QLabel(QString::fromUtf8(r.caption), bounds), row, 0);
        auto make = [&](const char* end) {
            auto* box = new NumericEdit(numericedits::atbound(), bounds);
            box->setObjectName(QString::fromLatin1(r.name) + QString::fromLatin1(end));
            box->setMaxLength(5);
            box->setText(QStringLiteral("0"));
            return box;
        };
        lower_[static_cast<std::size_t>(r.stat)] = make("low");
        upper_[static_cast<std::size_t>(r.stat)] = make("high");
        bg->addWidget(lower_[static_cast<std::size_t>(r.stat)], row, 1);
        bg->addWidget(upper_[static_cast<std::size_t>(r.stat)], row, 2);
        ++row;
    }
    top->addWidget(bounds);

    auto* buttons = new QHBoxLayout;
    QPushButton* run = autoButton("atrun", "実行(&R)", this);
    QPushButton* reset = autoButton("atreset", "初期化", this);
    QPushButton* close = autoButton("atclose", "閉じる(&C)", this);
    QPushButton* minimize = autoButton("atminimize", "最小化(&S)", this);
    QPushButton* focus = autoButton("atfocus", "(&W)", this);
    for (QPushButton* b : {run, reset, close, minimize, focus}) buttons->addWidget(b);
    top->addLayout(buttons);

    base_->store = [this](std::int64_t v) {
        state_.baseExperience = v;
        editor().scenario.level(autoBaseLevel(state_.range) - 1).experience =
            experienceFromText(std::to_string(v));
        owner_.refreshColumn(1);
        owner_.refreshColumn(8);
    };
    connect(range_, &QButtonGroup::idClicked, this, &Tlevelauto::rangeClick);
    connect(plusbar_, &QSlider::valueChanged, this, &Tlevelauto::atplusbarChange);
    connect(run, &QPushButton::clicked, this, &Tlevelauto::atrunClick);
    connect(reset, &QPushButton::clicked, this, &Tlevelauto::atresetClick);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(minimize, &QPushButton::clicked, this, &QWidget::showMinimized);
    connect(focus, &QPushButton::clicked, this, [this] {
        owner_.activateWindow();
        owner_.levelgrid()->setFocus();
    });
    showState();
}

void Tlevelauto::showEvent(QShowEvent* event) {
    showState();
    QWidget::showEvent(event);
}

void Tlevelauto::hideEvent(QHideEvent* event) {
    owner_.showAutoPreview(nullptr);
    QWidget::hideEvent(event);
}

void Tlevelauto::showState() {
    base_->showText(QString::number(state_.baseExperience));
    const QSignalBlocker block(plusbar_);
    plusbar_->setValue(static_cast<int>(state_.rate / 100));
    pluslabel_->setText(QString::number(static_cast<double>(state_.rate) / 10000.0, 'f', 2) + QStringLiteral("倍"));
    range_->button(state_.range)->setChecked(true);
    // While open, the owner's chart shows what a run would make of the experience.
    if (isVisible()) owner_.showAutoPreview(&state_);
}

void Tlevelauto::rangeClick(int range) {
    if (range < 0 || range >= kAutoRanges) return;
    state_.range = range;
    state_.baseExperience = editor().scenario.level(autoBaseLevel(range) - 1).experience;
    showState();
}

void Tlevelauto::atplusbarChange(int position) {
    state_.rate = static_cast<std::int64_t>(position) * 100;
    showState();
}

void Tlevelauto::atrunClick() {
    EditorContext& ctx = editor();
    if (ctx.options && ctx.options->tellmsg && ctx.messages) {
        hide();
        if (!ctx.messages->confirm(&owner_, QStringLiteral("ﾚﾍﾞﾙｱｯﾌﾟﾊﾟﾗﾒｰﾀの自動設定を実行します。よろしいですか？")))
            return;
        show();
    }
    // Every bound box must hold a number; one that does not becomes "0".
    bool complete = true;
    for (int k = 0; k < kLevelStats; ++k) {
        for (NumericEdit* box : {lower_[static_cast<std::size_t>(k)], upper_[static_cast<std::size_t>(k)]}) {
            bool ok = false;
            box->text().toLongLong(&ok);
            if (!ok) {
                box->setText(QStringLiteral("0"));
                complete = false;
            }
        }
    }
    if (!complete) return;
    for (int k = 0; k < kLevelStats; ++k)
        state_.bounds[static_cast<std::size_t>(k)] = {lower_[static_cast<std::size_t>(k)]->text().toLongLong(),
                                                      upper_[static_cast<std::size_t>(k)]->text().toLongLong()};
    state_.bounds = correctedBounds(state_.bounds);
    for (int k = 0; k < kLevelStats; ++k) {
        lower_[static_cast<std::size_t>(k)]->showText(QString::number(state_.bounds[static_cast<std::size_t>(k)].lower));
        upper_[static_cast<std::size_t>(k)]->showText(QString::number(state_.bounds[static_cast<std::size_t>(k)].upper));
    }
    levelAuto(ctx.scenario, state_, [this](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(random_);
    });
    owner_.makelevellist();
}

void Tlevelauto::atresetClick() {
    EditorContext& ctx = editor();
    hide();
    if (!ctx.messages || !ctx.messages->confirm(&owner_, QStringLiteral("ﾚﾍﾞﾙｱｯﾌﾟﾊﾟﾗﾒｰﾀを初期化します。よろしいですか？")))
        return;
    show();
    levelinitialize(ctx.scenario);
    owner_.makelevellist();
}

}  // namespace qrn
