// The resource lists: comments, enemy groups, special attacks, walk images,
// music and sound effects. One window, one panel per kind, shown modally on
// one kind at a time; also the chooser of a resource entry.
#pragma once

#include <QDialog>
#include <array>

#include "services/choosers.h"

class QMenuBar;

namespace qrn {

class ResPanel;
class CommentPanel;

class Tresedit : public QDialog, public ResourceChooser {
    Q_OBJECT
public:
    enum Kind { Comment, EnemyGroup, Poison, WalkImage, Bgm, Sound };
    explicit Tresedit(QWidget* parent = nullptr);

    // Shows the list of one kind modally with no preselected entry.
    void openList(Kind kind);
    // Shows the list modally as a chooser; see ResourceChooser.
    ResourceChoice chooseResource(ResourceKind kind, const QString& captionSuffix, int preselected) override;

    // Prepares the window for a kind (caption suffix, preselected entry or 0);
    // the caller then shows it.
    void makecommentlist(const QString& suffix, int preselected) { makeList(Comment, suffix, preselected); }
    void makeenemytypelist(const QString& suffix, int preselected) { makeList(EnemyGroup, suffix, preselected); }
    void makepoisonlist(const QString& suffix, int preselected) { makeList(Poison, suffix, preselected); }
    void makewalkimglist(const QString& suffix, int preselected) { makeList(WalkImage, suffix, preselected); }
    void makebgmlist(const QString& suffix, int preselected) { makeList(Bgm, suffix, preselected); }
    void makesoundlist(const QString& suffix, int preselected) { makeList(Sound, suffix, preselected); }
    void makeList(Kind kind, const QString& suffix, int preselected);

    Kind shownKind() const { return shown_; }
    int currentResource(Kind kind) const;
    int rememberedResource(Kind kind) const { return remembered_[kind]; }
    ResPanel* panel(Kind kind) const { return panels_[kind]; }
    QMenuBar* menuBar() const { return resmenu_; }

    // 削除 and 初期化 of the shown kind, with their questions.
    void deleteCurrent();
    void resetAll();

    // Every closing (OK, Escape, the close box, a reset of all) ends here.
    void done(int result) override;

private:
    std::array<ResPanel*, 6> panels_{};
    std::array<int, 6> remembered_{1, 1, 1, 1, 1, 1};
    Kind shown_ = Comment;
    QMenuBar* resmenu_ = nullptr;
    CommentPanel* comments_ = nullptr;
};

}  // namespace qrn
