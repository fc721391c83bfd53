// The level-up window: levels 2..50 as a grid of experience and increases
// with their running totals, and the magic learned at each level.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace qrn {

class Tlevelauto;

class Tlevellist : public QDialog {
    Q_OBJECT
public:
    explicit Tlevellist(QWidget* parent = nullptr);
    ~Tlevellist() override;

    // Fills every column from the table.
    void makelevellist();
    // Refreshes one column (0..13) of every row.
    void refreshColumn(int column);

    // The commands for level L (2..50).
    void lvmagicsetClick(int level);
    void lvmagicdelClick(int level);
    void lvmagicviewClick(int level);
    void allautoClick();
    void setrightClick();
    // Level of the grid's current row (2 when none).
    int currentLevel() const;

    // Takes an edited cell's text as the author's edit would.
    void takeCell(int row, int column, const QString& text);

    QTableWidget* levelgrid() const { return grid_; }
    Tlevelauto* levelauto() const { return auto_; }

    // The magic picker (real by default; tests replace it).
    std::function<std::optional<std::vector<int>>(const QString& caption, const std::vector<int>& chosen, int mode)>
        pickMagics;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void hideAuto();
    void cellClicked(int row, int column);

    QTableWidget* grid_;
    Tlevelauto* auto_ = nullptr;
    bool filling_ = false;
    bool scrolledRight_ = false;
};

}  // namespace qrn
