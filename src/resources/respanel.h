// One panel of the resource window: the entry list, the name box, the
// "OK(&Y)", "削除" and "初期化" buttons and the kind's details. Every edit is
// written into the scenario at once.
#pragma once

#include <QWidget>

#include "scenario/resourcerules.h"

class QListWidget;
class QPushButton;

namespace qrn {

class ShortStringEdit;
struct Scenario;

class ResPanel : public QWidget {
    Q_OBJECT
public:
    // `prefix` names the controls: "bgm" gives bgmlist and bgmname.
    ResPanel(ResKind kind, const QString& prefix, QWidget* parent = nullptr);

    ResKind kind() const { return kind_; }
    int count() const { return resourceCount(kind_); }
    // currentResource of the kind: the entry shown, -1 after a reset of all.
    int current() const { return current_; }
    void setCurrent(int number) { current_ = number; }

    // Rewrites every line of the list from the scenario.
    virtual void makeList();
    // Selects the current entry's line and shows the entry.
    virtual void showCurrent();
    // Rewrites one list line.
    virtual void rewriteLine(int number);
    // True when a line of the list is selected (delete acts only then).
    virtual bool lineSelected() const;
    // The window opens or hides this panel.
    virtual void panelShown() {}
    virtual void panelHiding() {}

    QListWidget* list() const { return list_; }
    ShortStringEdit* nameBox() const { return name_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* resetButton() const { return reset_; }

signals:
    void okClicked();      // close with OK
    void deleteClicked();  // 削除
    void resetClicked();   // 初期化

protected:
    // Fills the kind's details for the current entry.
    virtual void showDetails() {}
    // Arranges the common controls: list and name box on the left, `details`
    // on the right, the buttons below it.
    void arrange(QWidget* details);
    // "n：name".
    QString lineText(int number) const;
    // Selects a line without counting it as a choice of the author.
    void selectRow(QListWidget* list, int row);
    // A list of this panel: choosing a line shows that entry, double-click is OK.
    void wireList(QListWidget* list, int firstNumber);
    void fillName();
    Scenario& scenario() const;

    bool quiet_ = false;  // true while the panel itself changes its controls

private:
    ResKind kind_;
    int current_ = 1;
    QListWidget* list_ = nullptr;
    ShortStringEdit* name_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* reset_ = nullptr;
};

}  // namespace qrn
