// What the item, event and magic pickers share: a chosen list, candidate
// lists (one per kind page), the add and remove moves with their highlight
// rule, and the result in ascending order.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "scenario/pickerrules.h"

class QListWidget;
class QListWidgetItem;
class QHBoxLayout;
class QPushButton;

namespace qrn {

class PickerDialog : public QDialog {
    Q_OBJECT
public:
    // The chosen numbers in ascending order (read after OK).
    std::vector<int> result() const { return result_; }
    // The object whose summary is shown, 0 for none.
    int cursorNumber() const { return cursor_; }

    QListWidget* sellist() const { return sellist_; }
    QListWidget* candidateList(int page) const { return candidates_[static_cast<std::size_t>(page)]; }
    // Number each line of a candidate list stands for.
    const std::vector<int>& pageNumbers(int page) const { return pageNumbers_[static_cast<std::size_t>(page)]; }
    QPushButton* sendButton() const { return send_; }
    QPushButton* delButton() const { return del_; }
    QPushButton* okButton() const { return ok_; }

    // Moves the highlighted line of the active candidate list to the chosen list.
    void sendClick();
    // Moves the highlighted chosen line back.
    void delClick();

protected:
    PickerDialog(QWidget* parent, int last);

    // The candidate numbers by page, for the current chosen set.
    virtual std::vector<std::vector<int>> candidatePages() const = 0;
    virtual QString nameOf(int number) const = 0;
    // Shows the summary and pictures of `number` (0: none).
    virtual void showSummary(int number) = 0;
    // Page whose candidate list the add button acts on.
    virtual int activeCandidatePage() const = 0;

    // Starts an opening: caption, chosen set, no cursor, lists and summary built.
    void open(const QString& caption, const std::vector<int>& chosen);
    void makeLists();
    QListWidget* addCandidateList(const QString& name, QWidget* parent);
    void buildButtons(const QString& sendHint, const QString& chosenHint);
    void setCursor(int number);

    PickSet chosen_;
    int last_;
    QListWidget* sellist_ = nullptr;
    QPushButton* send_ = nullptr;
    QPushButton* del_ = nullptr;
    // OK and Cancel side by side at the right, one width.
    QHBoxLayout* okCancelRow();

    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;

private:
    void candidateClicked(int page, QListWidgetItem* item);
    void chosenClicked(QListWidgetItem* item);
    void fillLists();

    int cursor_ = 0;
    bool rebuilding_ = false;  // the lists are refilled: their highlight moves are no author's
    std::vector<int> result_;
    std::vector<QListWidget*> candidates_;
    std::vector<std::vector<int>> pageNumbers_;
};

}  // namespace qrn
