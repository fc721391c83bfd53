// The BGM and sound effect panels: the file of an entry, chosen from the
// resource folder, played and stopped; a BGM also has its loop flag.
#pragma once

#include "resources/respanel.h"

class QCheckBox;
class QLabel;

namespace qrn {

class MediaPanel : public ResPanel {
    Q_OBJECT
public:
    // kind: ResKind::Bgm or ResKind::Sound.
    MediaPanel(ResKind kind, QWidget* parent = nullptr);

    // "ﾌｧｲﾙ  (&F)": chooses the entry's file with the file chooser.
    void chooseFile();
    // Stores a chosen file name: the entry's file and, from it, its name.
    void setFile(const QString& fileName);
    void play();
    void stop();

    QLabel* fileLabel() const { return filename_; }
    QPushButton* playButton() const { return play_; }
    QCheckBox* loopBox() const { return loop_; }

protected:
    void showDetails() override;

private:
    bool isBgm() const { return kind() == ResKind::Bgm; }
    ShortString255* fileSlot() const;

    QLabel* filename_;
    QPushButton* play_;
    QPushButton* stop_;
    QPushButton* file_;
    QCheckBox* loop_ = nullptr;
};

}  // namespace qrn
