// The magic picker: magics by kind page, the chosen magics, and a summary of
// the magic under the cursor. It can leave out what the hero already has and
// can be view-only.
#pragma once

#include "pickers/pickerdialog.h"

class QPlainTextEdit;
class QTabWidget;

namespace qrn {

class Tmagicselectlist : public PickerDialog {
    Q_OBJECT
public:
    explicit Tmagicselectlist(QWidget* parent = nullptr);

    // mode 0 offers every magic; 1 leaves out the hero's and the level
    // table's magics; 2 does the same and only shows.
    void makemagiclist(const QString& caption, const std::vector<int>& chosen, int mode);
    void magicpagechangebtnClick();

    QTabWidget* magicpagecontrol() const { return pages_; }
    QPlainTextEdit* mgmemo() const { return memo_; }
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
    PickSet excluded_;
    static int lastPage_;
};

}  // namespace qrn
