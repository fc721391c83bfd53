// The image view of the resource folder, also the modal image chooser.
#pragma once

#include <QMainWindow>

namespace qrn {

class Tchipview : public QMainWindow {
    Q_OBJECT
public:
    explicit Tchipview(QWidget* parent = nullptr);
    // Rebuilds the file table from the resource search folder.
    void readbmp();
    // Chooser mode: presets the transparency switch, shows the view modally
    // with "ｲﾒｰｼﾞを選択"; true on OK. The result is chosenImageFile() with
    // editor().state.defaultTransparent / defaultTransparentColour.
    bool chooseImage(bool presetTransparent);
    QString chosenImageFile() const;
};

}  // namespace qrn
