#include "resources/enemytypepanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "services/editorcontext.h"
#include "services/textconv.h"
#include "views/largeimgview.h"

namespace qrn {

namespace {

const char* const kInfo[] = {"enemyname", "enemypower", "enemyattack", "enemydefence", "enemydextality",
                             "enemymoney", "enemyexperience", "enemyitem", "enemymagic", "enemypoison"};
const char* const kInfoCaptions[] = {"名前", "体力", "攻撃力", "防御力", "素早さ", "所持金", "経験値", "ｱｲﾃﾑ", "魔法", "特殊攻撃"};

QString charaLine(int number, int chara) {
    return QString::number(number) + QStringLiteral("：") + fromCp932(editor().scenario.chara(chara).name.view());
}

}  // namespace

EnemyTypePanel::EnemyTypePanel(QWidget* parent) : ResPanel(ResKind::EnemyGroup, QStringLiteral("enemytype"), parent) {
    auto* details = new QWidget(this);
    auto* grid = new QGridLayout(details);
    grid->setContentsMargins(0, 0, 0, 0);
    enemycharalist_ = new QListWidget(details);
    enemycharalist_->setObjectName(QStringLiteral("enemycharalist"));
    enemyslist_ = new QListWidget(details);
    enemyslist_->setObjectName(QStringLiteral("enemyslist"));
    enemyslist_->setToolTip(QStringLiteral("同時に出現する敵集団"));
    auto* candidatesLabel = new QLabel(QStringLiteral("選択(&S)"), details);
    candidatesLabel->setBuddy(enemycharalist_);
    auto* membersLabel = new QLabel(QStringLiteral("選択済み(&P)"), details);
    membersLabel->setBuddy(enemyslist_);
    auto* add = new QPushButton(QStringLiteral("(&F)   >>"), details);
    add->setObjectName(QStringLiteral("enemyaddbtn"));
    auto* remove = new QPushButton(QStringLiteral("<<  (&D)"), details);
    remove->setObjectName(QStringLiteral("enemydelbtn"));
    grid->addWidget(candidatesLabel, 0, 0);
    grid->addWidget(enemycharalist_, 1, 0, 3, 1);
    grid->addWidget(add, 1, 1);
    grid->addWidget(remove, 2, 1);
    grid->addWidget(membersLabel, 0, 2);
    grid->addWidget(enemyslist_, 1, 2, 3, 1);

    auto* info = new QWidget(details);
    info->setObjectName(QStringLiteral("enemyinfopanel"));
    auto* form = new QGridLayout(info);
    picture_ = new QLabel(info);
    picture_->setObjectName(QStringLiteral("enemypic"));
    picture_->setFixedSize(34, 34);
    picture_->setFrameShape(QFrame::Box);
    form->addWidget(picture_, 0, 0);
    enbossimgview_ = new QPushButton(QStringLiteral("戦闘画像"), info);
    enbossimgview_->setObjectName(QStringLiteral("enbossimgview"));
    form->addWidget(enbossimgview_, 0, 1);
    for (int i = 0; i < 10; ++i) {
        auto* value = new QLabel(info);
        value->setObjectName(QString::fromLatin1(kInfo[i]));
        value->setWordWrap(true);
        form->addWidget(new QLabel(QString::fromUtf8(kInfoCaptions[i]), info), i + 1, 0);
        form->addWidget(value, i + 1, 1);
    }
    grid->addWidget(info, 0, 3, 4, 1);
    for (QPushButton* b : {add, remove, enbossimgview_}) b->setAutoDefault(false);

    connect(add, &QPushButton::clicked, this, &EnemyTypePanel::addMember);
    connect(remove, &QPushButton::clicked, this, &EnemyTypePanel::removeMember);
    connect(enemycharalist_, &QListWidget::itemDoubleClicked, this, &EnemyTypePanel::addMember);
    connect(enemyslist_, &QListWidget::itemDoubleClicked, this, &EnemyTypePanel::removeMember);
    connect(enbossimgview_, &QPushButton::clicked, this, &EnemyTypePanel::showBossImage);
    connect(enemycharalist_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (quiet_) return;
        showChara(row >= 0 && row < static_cast<int>(candidateCharas_.size())
                      ? candidateCharas_[static_cast<std::size_t>(row)] : 0);
    });
    connect(enemyslist_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (quiet_) return;
        const QListWidgetItem* item = enemyslist_->item(row);
        showChara(item ? item->data(Qt::UserRole + 1).toInt() : 0);
    });
    arrange(details);
    showChara(0);
}

QLabel* EnemyTypePanel::infoLabel(const char* name) const {
    return findChild<QLabel*>(QString::fromLatin1(name));
}

void EnemyTypePanel::makeList() {
    ResPanel::makeList();
    const bool was = quiet_;
    quiet_ = true;
    candidateCharas_ = enemyCandidates(editor().scenario);
    enemycharalist_->clear();
    int k = 1;
    for (const int chara : candidateCharas_) enemycharalist_->addItem(charaLine(k++, chara));
    quiet_ = was;
}

void EnemyTypePanel::makeMembers() {
    const bool was = quiet_;
    quiet_ = true;
    enemyslist_->clear();
    const int n = current();
    if (n >= 1 && n <= count()) {
        const EnemyTypeDef& g = editor().scenario.enemyType(n);
        for (int slot = 1; slot <= 5; ++slot) {
            const int chara = g.members[slot - 1];
            if (chara == 0) continue;
            const bool valid = chara <= kCharaCount;
            auto* item = new QListWidgetItem(valid ? charaLine(slot, chara) : QString::number(slot) + QStringLiteral("："));
            item->setData(Qt::UserRole, slot);
            item->setData(Qt::UserRole + 1, valid ? chara : 0);
            enemyslist_->addItem(item);
        }
    }
    quiet_ = was;
    // The first member is selected after each change.
    if (enemyslist_->count() > 0) {
        enemyslist_->setCurrentRow(0);
    } else {
        showChara(0);
    }
}

void EnemyTypePanel::showDetails() { makeMembers(); }

void EnemyTypePanel::addMember() {
    const int row = enemycharalist_->currentRow();
    const int n = current();
    if (row < 0 || row >= static_cast<int>(candidateCharas_.size()) || n < 1 || n > count()) return;
    if (addEnemyMember(editor().scenario.enemyType(n), candidateCharas_[static_cast<std::size_t>(row)]) == 0) return;
    makeMembers();
}

void EnemyTypePanel::removeMember() {
    const QListWidgetItem* item = enemyslist_->currentItem();
    const int n = current();
    if (!item || n < 1 || n > count()) return;
    if (!removeEnemyMember(editor().scenario.enemyType(n), item->data(Qt::UserRole).toInt())) return;
    makeMembers();
}

void EnemyTypePanel::showChara(int chara) {
    shownChara_ = chara >= 1 && chara <= kCharaCount ? chara : 0;
    const EditorContext& ed = editor();
    QStringList values;
    if (shownChara_) {
        Scenario& s = editor().scenario;
        const CharaDef& c = s.chara(shownChara_);
        auto names = [&s](const u8* refs, auto name) {
            QStringList out;
            for (int i = 0; i < 5; ++i)
                if (refs[i] >= 1 && refs[i] <= kMagicCount) out << fromCp932(name(s, refs[i]));
            return out.join(QStringLiteral("、"));
        };
        values << fromCp932(c.name.view()) << QString::number(c.chpower) << QString::number(c.chattack)
               << QString::number(c.chdefence) << QString::number(c.chdextality) << QString::number(c.chmoney)
               << QString::number(c.chexperience)
               << (c.chitem >= 1 && c.chitem <= kItemCount ? fromCp932(s.item(c.chitem).name.view()) : QStringLiteral("-"))
               << names(c.chmagic, [](Scenario& sc, int k) { return sc.magic(k).name.view(); })
               << names(c.chpoison, [](Scenario& sc, int k) { return sc.poison(k).name.view(); });
    }
    for (int i = 0; i < 10; ++i) infoLabel(kInfo[i])->setText(values.value(i));
    const int index = shownChara_ ? ed.side.pictures.charaItem[shownChara_] : 0;
    picture_->setPixmap(index >= 1 && index < ed.imageList.count() ? ed.imageList.pixmap(index) : QPixmap());
    enbossimgview_->setEnabled(shownChara_ && !ed.scenario.chara(shownChara_).chbossimg.empty());
}

void EnemyTypePanel::showBossImage() {
    if (!shownChara_) return;
    const ShortString255& file = editor().scenario.chara(shownChara_).chbossimg;
    if (file.empty()) return;
    const QPoint at = mapToGlobal(QPoint(0, 0));
    Tlargeimgview::showLarge(this, fromCp932(file.view()), at.x(), at.y());
}

}  // namespace qrn
