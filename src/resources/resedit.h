// The resource lists: comments, enemy groups, special attacks, walk images,
// music and sound effects.
#pragma once

#include <QDialog>

namespace qrn {

class Tresedit : public QDialog {
    Q_OBJECT
public:
    enum Kind { Comment, EnemyGroup, Poison, WalkImage, Bgm, Sound };
    explicit Tresedit(QWidget* parent = nullptr);
    // Shows the list of one kind modally with no preselected entry.
    void openList(Kind kind);
};

}  // namespace qrn
