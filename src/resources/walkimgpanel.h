// The walk image panel: the eight frame pictures (two each for north, east,
// south and west), chosen with the image chooser, and their animation.
#pragma once

#include <array>

#include "resources/respanel.h"

class QLabel;
class QTimer;

namespace qrn {

class WalkImgPanel : public ResPanel {
    Q_OBJECT
public:
    explicit WalkImgPanel(QWidget* parent = nullptr);

    // walkimgset1..8: chooses the picture of frame 1..8.
    void chooseFrame(int frame);
    // One tick of the animation (every 500 ms while the panel is open).
    void animate();
    int animationStep() const { return step_; }
    int shownFrame() const { return shownFrame_; }
    bool animating() const;
    QLabel* frameBox(int frame) const { return pics_[static_cast<std::size_t>(frame - 1)]; }
    QLabel* walkingBox() const { return movepic_; }

    void panelShown() override;
    void panelHiding() override;

protected:
    void showDetails() override;

private:
    // Picture index of a frame of the current walk image, 0 when none.
    int pictureOf(int frame) const;

    std::array<QLabel*, kWalkFrames> pics_{};
    QLabel* movepic_;
    QTimer* timer_;
    int step_ = 16;
    int shownFrame_ = 0;
};

}  // namespace qrn
