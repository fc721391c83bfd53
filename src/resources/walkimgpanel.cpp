#include "resources/walkimgpanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "services/editorcontext.h"
#include "services/textconv.h"

namespace qrn {

WalkImgPanel::WalkImgPanel(QWidget* parent) : ResPanel(ResKind::WalkImage, QStringLiteral("walkimg"), parent) {
    auto* details = new QWidget(this);
    auto* grid = new QGridLayout(details);
    static const char* const kDirections[4] = {"北", "東", "南", "西"};
    static const char* const kArrows[4] = {"↑", "→", "↓", "←"};
    for (int d = 0; d < 4; ++d) {
        grid->addWidget(new QLabel(QString::fromUtf8(kDirections[d]), details), d, 0);
        for (int k = 0; k < 2; ++k) {
            const int frame = d * 2 + k + 1;
            auto* pic = new QLabel(details);
            pic->setObjectName(QStringLiteral("walkimgpic%1").arg(frame));
            pic->setFixedSize(34, 34);
            pic->setFrameShape(QFrame::Box);
            auto* set = new QPushButton(QString::fromUtf8(kArrows[d]), details);
            set->setObjectName(QStringLiteral("walkimgset%1").arg(frame));
            set->setProperty("tag", frame);
            set->setAutoDefault(false);
            set->setFixedWidth(28);
            connect(set, &QPushButton::clicked, this, [this, frame] { chooseFrame(frame); });
            grid->addWidget(pic, d, 1 + k * 2);
            grid->addWidget(set, d, 2 + k * 2);
            pics_[static_cast<std::size_t>(frame - 1)] = pic;
        }
    }
    movepic_ = new QLabel(details);
    movepic_->setObjectName(QStringLiteral("walkimgmovepic"));
    movepic_->setFixedSize(34, 34);
    movepic_->setFrameShape(QFrame::Box);
    grid->addWidget(movepic_, 0, 5, 2, 1);
    grid->setRowStretch(4, 1);
    timer_ = new QTimer(this);
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &WalkImgPanel::animate);
    arrange(details);
}

int WalkImgPanel::pictureOf(int frame) const {
    const int n = current();
    if (n < 1 || n > kWalkImgCount || frame < 1 || frame > kWalkFrames) return 0;
    const EditorContext& ed = editor();
    const int index = ed.side.pictures.walk[n][frame];
    return index >= 1 && index < ed.imageList.count() ? index : 0;
}

void WalkImgPanel::showDetails() {
    const EditorContext& ed = editor();
    for (int f = 1; f <= kWalkFrames; ++f) {
        const int index = pictureOf(f);
        frameBox(f)->setPixmap(index ? ed.imageList.pixmap(index) : QPixmap());
    }
}

void WalkImgPanel::chooseFrame(int frame) {
    EditorContext& ed = editor();
    const int n = current();
    if (!ed.imageChooser || n < 1 || n > kWalkImgCount || frame < 1 || frame > kWalkFrames) return;
    WalkImgDef& w = ed.scenario.walkImg(n);
    if (!ed.imageChooser->chooseImage(w.imageTransparent != 0)) return;
    const QString file = ed.imageChooser->chosenImageFile();
    if (file.isEmpty()) return;
    ed.scenario.walkImageFiles[n - 1][frame - 1].assign(toCp932(file));
    w.imageTransparent = ed.state.defaultTransparent ? 1 : 0;
    w.imageColour = static_cast<i32>(ed.state.defaultTransparentColour);
    const int index = ed.addimg(file, ed.state.defaultTransparent, ed.state.defaultTransparentColour);
    ed.side.pictures.walk[n][frame] = static_cast<std::int16_t>(index);
    showDetails();
}

void WalkImgPanel::animate() {
    std::array<bool, kWalkFrames> pictured{};
    for (int f = 1; f <= kWalkFrames; ++f) pictured[static_cast<std::size_t>(f - 1)] = pictureOf(f) != 0;
    const WalkStep w = nextWalkStep(step_, pictured);
    step_ = w.step;
    if (std::none_of(pictured.begin(), pictured.end(), [](bool p) { return p; })) {
        // Nothing to walk with: no frame of an entry shown before stays.
        shownFrame_ = 0;
        movepic_->clear();
        return;
    }
    if (w.frame == 0) return;  // the empty tick
    shownFrame_ = w.frame;
    movepic_->setPixmap(editor().imageList.pixmap(pictureOf(w.frame)));
}

bool WalkImgPanel::animating() const { return timer_->isActive(); }

void WalkImgPanel::panelShown() {
    step_ = 16;
    shownFrame_ = 0;
    movepic_->clear();
    timer_->start();
}

void WalkImgPanel::panelHiding() { timer_->stop(); }

}  // namespace qrn
