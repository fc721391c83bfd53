// The result window of the chip search: names the field, position and
// object of the last hit and searches the next one. It stays on top and
// keeps where the search stands until the next search replaces it.
#pragma once

#include <QMainWindow>
#include <functional>

#include "scenario/chipsearch.h"

class QLabel;
class QPushButton;

namespace qrn {

class Tchipserch;

class Tserchresult : public QMainWindow {
    Q_OBJECT
public:
    explicit Tserchresult(QWidget* parent = nullptr);

    // The palette's chip search for object `number` of palette layer `layer`
    // (1 place .. 5 chara): asks for range and start, then searches.
    void chipSearch(int layer, int number);
    // Starts a search for `object` on search layer `layer` (0 place .. 4 chara).
    void setserch(int object, int layer, bool fromTop, bool allFields);
    // Finds the next hit: moves the map there and shows it here, or tells
    // the end and hides the window.
    void getstart();

    const SearchState& searchState() const { return state_; }
    QLabel* fieldname() const { return fieldname_; }
    QLabel* xylabel() const { return xylabel_; }
    QLabel* chipname() const { return chipname_; }
    QPushButton* serchresultok() const { return serchresultok_; }
    QPushButton* serchresultclose() const { return serchresultclose_; }

    // How the search dialog is run; tests replace it to answer without a
    // human. Returns true when the dialog ended with OK.
    std::function<bool(Tchipserch&)> runSearchDialog;

signals:
    // The map's cursor goes to (col, row) of `field`, which becomes the
    // current field first when it is not.
    void moveMapCursor(int field, int col, int row);
    void focusMap();
    void focusPalette();

private:
    SearchState state_;
    QLabel* fieldname_;
    QLabel* xylabel_;
    QLabel* chipname_;
    QPushButton* serchresultok_;
    QPushButton* serchresultclose_;
};

}  // namespace qrn
