// The item picker: items by kind page, the chosen items, and a summary of
// the item under the cursor.
#pragma once

#include "pickers/pickerdialog.h"

class QPlainTextEdit;
class QTabWidget;

namespace qrn {

class PictureBox;

class Titemlist : public PickerDialog {
    Q_OBJECT
public:
    explicit Titemlist(QWidget* parent = nullptr);

    // kindMode 5 shows every kind page (the last used is active); 0..4 show
    // only the page of that kind.
    void makeitemlist(const QString& caption, const std::vector<int>& chosen, int kindMode);
    void itempagechangebtnClick();

    QTabWidget* itempagecontrol() const { return pages_; }
    QPlainTextEdit* itmemo() const { return memo_; }
    static int lastPage() { return lastPage_; }

protected:
    std::vector<std::vector<int>> candidatePages() const override;
    QString nameOf(int number) const override;
    void showSummary(int number) override;
    int activeCandidatePage() const override;
    void hideEvent(QHideEvent* event) override;

private:
    QTabWidget* pages_;
    QPlainTextEdit* memo_;
    PictureBox* picture_;
    static int lastPage_;
};

}  // namespace qrn
