#include "resources/resedit.h"

#include <QListWidget>
#include <QMenuBar>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/options.h"
#include "resources/commentpanel.h"
#include "resources/enemytypepanel.h"
#include "resources/mediapanel.h"
#include "resources/poisonpanel.h"
#include "resources/walkimgpanel.h"
#include "scenario/resets.h"

namespace qrn {

static_assert(int(Tresedit::Sound) == int(ResourceKind::Sound) && int(Tresedit::Comment) == int(ResourceKind::Comment));
static_assert(int(Tresedit::Sound) == int(ResKind::Sound) && int(Tresedit::WalkImage) == int(ResKind::WalkImage));

namespace {

struct KindText {
    const char* caption;
    int width, height;
    const char* deleteQuestion;
    const char* resetQuestion;
    void (*reset)(Scenario&, int, bool);
};

const KindText kKinds[6] = {
    {"コメント編集", 617, 437, "このコメントを削除します。よろしいですか？",
     "コメントを全て初期化します。本当によろしいですか？", commentinitialize},
    {"敵ｸﾞﾙｰﾌﾟ編集", 621, 405, "この敵グループを削除します。よろしいですか？",
     "敵グループを全て初期化します。本当によろしいですか？", enemytypeinitialize},
    {"特殊攻撃編集", 409, 425, "この特殊攻撃を削除します。よろしいですか？",
     "特殊攻撃を全て初期化します。本当によろしいですか？", poisoninitialize},
    {"ウォークイメージ編集", 462, 275, "このウォークイメージを削除します。よろしいですか？",
     "ウォークイメージを全て初期化します。本当によろしいですか？", walkimginitialize},
    {"BGM編集", 441, 398, "このBGMを削除します。よろしいですか？", "ＢＧＭを全て初期化します。本当によろしいですか？",
     bgminitialize},
    {"効果音編集", 441, 398, "この効果音を削除します。よろしいですか？",
     "効果音を全て初期化します。本当によろしいですか？", soundinitialize},
};

bool askAlways(QWidget* parent, const char* question) {
    MessageService* m = editor().messages;
    return !m || m->confirm(parent, QString::fromUtf8(question));
}

bool askUnlessQuiet(QWidget* parent, const char* question) {
    const Options* o = editor().options;
    if (o && !o->tellmsg) return true;
    return askAlways(parent, question);
}

}  // namespace

Tresedit::Tresedit(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("resedit"));
    setProperty("helpContext", 53000);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    resmenu_ = new QMenuBar(this);
    resmenu_->setObjectName(QStringLiteral("resmenu"));
    layout->setMenuBar(resmenu_);

    comments_ = new CommentPanel(this);
    comments_->buildMenu(resmenu_);
    panels_[Comment] = comments_;
    panels_[EnemyGroup] = new EnemyTypePanel(this);
    panels_[Poison] = new PoisonPanel(this);
    panels_[WalkImage] = new WalkImgPanel(this);
    panels_[Bgm] = new MediaPanel(ResKind::Bgm, this);
    panels_[Sound] = new MediaPanel(ResKind::Sound, this);
    for (ResPanel* p : panels_) {
        layout->addWidget(p);
        p->hide();
        connect(p, &ResPanel::okClicked, this, &QDialog::accept);
        connect(p, &ResPanel::deleteClicked, this, &Tresedit::deleteCurrent);
        connect(p, &ResPanel::resetClicked, this, &Tresedit::resetAll);
    }
}

int Tresedit::currentResource(Kind kind) const { return panels_[kind]->current(); }

void Tresedit::makeList(Kind kind, const QString& suffix, int preselected) {
    for (ResPanel* p : panels_) {
        p->hide();
        p->setEnabled(false);
    }
    resmenu_->setVisible(kind == Comment);
    shown_ = kind;
    const KindText& k = kKinds[kind];
    setWindowTitle(QString::fromUtf8(k.caption) + suffix);
    ResPanel* p = panels_[kind];
    p->setEnabled(true);
    p->show();
    if (kind != Comment) fillEmptyNames(editor().scenario, p->kind());
    p->makeList();
    p->setCurrent(preselected >= 1 && preselected <= p->count() ? preselected : remembered_[kind]);
    p->showCurrent();
    p->panelShown();
    // The comment list's client area is below its menu bar.
    layout()->activate();
    resize(k.width, k.height + (kind == Comment ? resmenu_->sizeHint().height() : 0));
}

void Tresedit::openList(Kind kind) {
    makeList(kind, QString(), 0);
    exec();
}

ResourceChoice Tresedit::chooseResource(ResourceKind kind, const QString& captionSuffix, int preselected) {
    const Kind k = static_cast<Kind>(kind);
    makeList(k, captionSuffix, preselected);
    if (exec() != QDialog::Accepted) return {false, -1};
    return {true, currentResource(k)};
}

void Tresedit::deleteCurrent() {
    ResPanel* p = panels_[shown_];
    const int n = p->current();
    if (!p->lineSelected() || n < 1 || n > p->count()) return;
    if (!askUnlessQuiet(this, kKinds[shown_].deleteQuestion)) return;
    EditorContext& ed = editor();
    kKinds[shown_].reset(ed.scenario, n, false);
    if (shown_ == WalkImage) runimginitialize(ed.side.pictures, n);
    p->rewriteLine(n);
    p->showCurrent();
}

void Tresedit::resetAll() {
    if (!askAlways(this, kKinds[shown_].resetQuestion)) return;
    EditorContext& ed = editor();
    kKinds[shown_].reset(ed.scenario, -1, true);
    if (shown_ == WalkImage) runimginitialize(ed.side.pictures, -1);
    panels_[shown_]->setCurrent(-1);
    done(QDialog::Rejected);
}

void Tresedit::done(int result) {
    for (ResPanel* p : panels_) p->panelHiding();
    EditorContext& ed = editor();
    ed.state.musicLoop = false;
    if (ed.media) ed.media->mediastop();
    ResPanel* p = panels_[shown_];
    fillEmptyNames(ed.scenario, p->kind());
    const int n = p->current();
    if (n >= 1 && n <= p->count()) {
        remembered_[shown_] = n;
        if (resourceUnused(ed.scenario, p->kind(), n)) p->setCurrent(-1);
    }
    QDialog::done(result);
}

}  // namespace qrn
