// The event picker: existing events, the chosen events, and three pages of
// information about the event under the cursor.
#pragma once

#include <array>

#include "pickers/pickerdialog.h"

class QLabel;
class QPlainTextEdit;
class QTabWidget;

namespace qrn {

class PictureBox;

class Teventlist : public PickerDialog {
    Q_OBJECT
public:
    explicit Teventlist(QWidget* parent = nullptr);

    void makeeventlist(const QString& caption, const std::vector<int>& chosen);
    void eventlistpagechangebtnClick();

    QTabWidget* eventcontrol() const { return info_; }
    QPlainTextEdit* evmemo() const { return memo_; }
    QLabel* evgetitem(int slot) const { return getItem_[static_cast<std::size_t>(slot)]; }
    QLabel* evputitem(int slot) const { return putItem_[static_cast<std::size_t>(slot)]; }
    QLabel* evshowitem(int slot) const { return showItem_[static_cast<std::size_t>(slot)]; }
    QLabel* evshowevent(int slot) const { return showEvent_[static_cast<std::size_t>(slot)]; }

protected:
    std::vector<std::vector<int>> candidatePages() const override;
    QString nameOf(int number) const override;
    void showSummary(int number) override;
    int activeCandidatePage() const override { return 0; }

private:
    QTabWidget* info_;
    QPlainTextEdit* memo_;
    PictureBox* before_;
    PictureBox* after_;
    std::array<QLabel*, 10> getItem_{}, putItem_{}, showItem_{}, showEvent_{};
};

}  // namespace qrn
