// The palette: choosing the object of each layer and the draw targets.
#pragma once

#include <QMainWindow>

namespace qrn {

class Tpalette : public QMainWindow {
    Q_OBJECT
public:
    explicit Tpalette(QWidget* parent = nullptr);

    // Loads serchpath + fileName into the picture list; returns its index.
    int addimg(const QString& fileName, bool useTransparent, unsigned transparentColour);
    void plinvalid();
    void eninvalid();
    void evinvalid();
    void itinvalid();
    void chinvalid();
    void allgridfillrect();
    void alldrawpicrefresh();
    // Property mode of the map: make `number` the current object of `layer`
    // (1..5), activate its page and move both cursors to it.
    void selectFromMap(int layer, int number);
};

}  // namespace qrn
