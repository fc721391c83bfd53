// The level-up window: levels 2..50 as a grid of experience and increases
// with their running totals, and the magic learned at each level.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class QPushButton;
class QSplitter;
class QTableWidget;
class QTableWidgetItem;

namespace qrn {

class LevelChart;
class Tlevelauto;
struct LevelAutoSettings;

class Tlevellist : public QDialog {
    Q_OBJECT
public:
    explicit Tlevellist(QWidget* parent = nullptr);
    ~Tlevellist() override;

    // Fills every column from the table.
    void makelevellist();
    // Refreshes one column (0..13) of every row, and the chart's line or
    // magic marks drawn from it while the chart is open.
    void refreshColumn(int column);
    // Redraws every line and mark of the chart.
    void refreshChart();
    // Opens or closes the chart beside the grid.
    void setChartOpen(bool open);
    bool chartOpen() const;
    // Draws the experience the automatic setting would give with *settings,
    // again after every change of the table, until called with nullptr.
    void showAutoPreview(const LevelAutoSettings* settings);

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
    LevelChart* levelchart() const { return chart_; }
    QSplitter* chartSplitter() const { return split_; }
    QPushButton* chartButton() const { return chartButton_; }
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
    void restoreLayout();
    void saveLayout();

    QTableWidget* grid_;
    QSplitter* split_;
    LevelChart* chart_;
    QPushButton* chartButton_;
    const LevelAutoSettings* preview_ = nullptr;
    Tlevelauto* auto_ = nullptr;
    bool filling_ = false;
    bool scrolledRight_ = false;
};

}  // namespace qrn
