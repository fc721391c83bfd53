// The scenario check window: the findings of the last check, sortable by
// every column and filtered by severity and text. A double-click leads to
// the finding's place; "再チェック" runs the check again.
#pragma once

#include <QMainWindow>
#include <vector>

#include "scenario/scenariocheck.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace qrn {

class CheckFilterModel;

class Tscenariocheck : public QMainWindow {
    Q_OBJECT
public:
    explicit Tscenariocheck(QWidget* parent = nullptr);

    // Checks the editor's scenario (with the files of the resource folder,
    // when one is set) and lists the findings.
    void recheck();
    // Goes to the place of the finding in `row` of the table as shown.
    void openRow(int row);

    const std::vector<CheckFinding>& findings() const { return findings_; }
    QTableView* list() const { return list_; }
    QComboBox* severityFilter() const { return severity_; }
    QLineEdit* textFilter() const { return text_; }
    QPushButton* recheckButton() const { return recheck_; }
    QLabel* summary() const { return summary_; }

signals:
    // The map shows `field` with the cursor on (col, row).
    void moveMapCursor(int field, int col, int row);
    // The property editor opens on object `number` of `layer` (1 terrain .. 5 character).
    void openObject(int layer, int number);
    // The resource list of `kind` opens on `number`; magics, the hero and
    // the scenario settings open their page.
    void openResource(ResKind kind, int number);
    void openHero();
    // A finding in the level-up table: its level, 2..50.
    void openLevel(int level);
    void openSettings();

private:
    std::vector<CheckFinding> findings_;
    QStandardItemModel* model_;
    CheckFilterModel* filter_;
    QTableView* list_;
    QComboBox* severity_;
    QLineEdit* text_;
    QPushButton* recheck_;
    QLabel* summary_;
};

}  // namespace qrn
