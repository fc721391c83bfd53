// The enemy group panel: the enemies that may join, the group's members and
// an information panel about the chosen enemy.
#pragma once

#include <vector>

#include "resources/respanel.h"

class QLabel;
class QListWidget;

namespace qrn {

class EnemyTypePanel : public ResPanel {
    Q_OBJECT
public:
    explicit EnemyTypePanel(QWidget* parent = nullptr);

    void makeList() override;
    // "(&F)   >>": the selected candidate joins the group's first empty slot.
    void addMember();
    // "<<  (&D)": the selected member leaves; the others close the gap.
    void removeMember();
    // enbossimgview: the chosen enemy's battle image, enlarged.
    void showBossImage();

    QListWidget* candidates() const { return enemycharalist_; }
    QListWidget* members() const { return enemyslist_; }
    // The chara the information panel shows, 0 when none.
    int shownChara() const { return shownChara_; }
    QLabel* infoLabel(const char* name) const;
    QPushButton* bossButton() const { return enbossimgview_; }

protected:
    void showDetails() override;

private:
    void makeMembers();
    void showChara(int chara);

    std::vector<int> candidateCharas_;
    QListWidget* enemycharalist_;
    QListWidget* enemyslist_;
    QLabel* picture_;
    QPushButton* enbossimgview_;
    int shownChara_ = 0;
};

}  // namespace qrn
