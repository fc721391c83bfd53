#include "pickers/pickerdialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

namespace qrn {

PickerDialog::PickerDialog(QWidget* parent, int last) : QDialog(parent), last_(last) {
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(13);
    setFont(f);
}

QListWidget* PickerDialog::addCandidateList(const QString& name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    const int page = static_cast<int>(candidates_.size());
    candidates_.push_back(list);
    pageNumbers_.emplace_back();
    connect(list, &QListWidget::itemClicked, this, [this, page](QListWidgetItem* item) { candidateClicked(page, item); });
    // A move of the highlight with the keys shows that entry, as a click does.
    connect(list, &QListWidget::currentItemChanged, this, [this, page](QListWidgetItem* item) {
        if (!rebuilding_ && item) candidateClicked(page, item);
    });
    connect(list, &QListWidget::itemDoubleClicked, this, [this, list](QListWidgetItem* item) {
        list->setCurrentItem(item);
        sendClick();
    });
    return list;
}

void PickerDialog::buildButtons(const QString& sendHint, const QString& chosenHint) {
    sellist_ = new QListWidget(this);
    sellist_->setObjectName(QStringLiteral("sellist"));
    sellist_->setToolTip(chosenHint);
    connect(sellist_, &QListWidget::itemClicked, this, &PickerDialog::chosenClicked);
    connect(sellist_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (!rebuilding_ && item) chosenClicked(item);
    });
    connect(sellist_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        sellist_->setCurrentItem(item);
        delClick();
    });
    send_ = new QPushButton(QStringLiteral("(&S)  >>>"), this);
    send_->setToolTip(sendHint);
    del_ = new QPushButton(QStringLiteral("<<<  (D)"), this);
    del_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_D));
    del_->setToolTip(QStringLiteral("選択を解除する"));
    ok_ = new QPushButton(QStringLiteral("OK(&Y)"), this);
    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&N)"), this);
    connect(send_, &QPushButton::clicked, this, &PickerDialog::sendClick);
    connect(del_, &QPushButton::clicked, this, &PickerDialog::delClick);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void PickerDialog::open(const QString& caption, const std::vector<int>& chosen) {
    setWindowTitle(caption);
    chosen_ = pickSetOf(chosen, last_);
    cursor_ = 0;
    makeLists();
    showSummary(0);
}

void PickerDialog::makeLists() {
    const bool was = rebuilding_;
    rebuilding_ = true;
    fillLists();
    rebuilding_ = was;
}

void PickerDialog::fillLists() {
    result_ = chosenNumbers(chosen_, last_);
    sellist_->clear();
    int position = 0;
    for (int n : result_) sellist_->addItem(QString::number(++position) + QStringLiteral("：") + nameOf(n));
    const std::vector<std::vector<int>> pages = candidatePages();
    for (std::size_t p = 0; p < candidates_.size(); ++p) {
        QListWidget* list = candidates_[p];
        list->clear();
        pageNumbers_[p] = p < pages.size() ? pages[p] : std::vector<int>{};
        position = 0;
        for (int n : pageNumbers_[p]) list->addItem(QString::number(++position) + QStringLiteral("：") + nameOf(n));
    }
}

void PickerDialog::setCursor(int number) {
    cursor_ = number;
    showSummary(number);
}

void PickerDialog::candidateClicked(int page, QListWidgetItem* item) {
    const int row = candidates_[static_cast<std::size_t>(page)]->row(item);
    const std::vector<int>& numbers = pageNumbers_[static_cast<std::size_t>(page)];
    if (row >= 0 && row < static_cast<int>(numbers.size())) setCursor(numbers[static_cast<std::size_t>(row)]);
}

void PickerDialog::chosenClicked(QListWidgetItem* item) {
    const int row = sellist_->row(item);
    if (row >= 0 && row < static_cast<int>(result_.size())) setCursor(result_[static_cast<std::size_t>(row)]);
}

void PickerDialog::sendClick() {
    if (!send_->isEnabled()) return;
    const int page = activeCandidatePage();
    if (page < 0 || page >= static_cast<int>(candidates_.size())) return;
    QListWidget* list = candidates_[static_cast<std::size_t>(page)];
    const int row = list->currentRow();
    const std::vector<int>& numbers = pageNumbers_[static_cast<std::size_t>(page)];
    if (row < 0 || row >= static_cast<int>(numbers.size()) || !list->currentItem()->isSelected()) return;
    chosen_.set(static_cast<std::size_t>(numbers[static_cast<std::size_t>(row)]));
    makeLists();
    const int kept = keptHighlight(row, list->count());
    if (kept < 0) {
        setCursor(0);
        return;
    }
    list->setCurrentRow(kept);
    setCursor(pageNumbers_[static_cast<std::size_t>(page)][static_cast<std::size_t>(kept)]);
}

void PickerDialog::delClick() {
    const int row = sellist_->currentRow();
    if (row < 0 || row >= static_cast<int>(result_.size()) || !sellist_->currentItem()->isSelected()) return;
    chosen_.reset(static_cast<std::size_t>(result_[static_cast<std::size_t>(row)]));
    makeLists();
    const int kept = keptHighlight(row, sellist_->count());
    if (kept < 0) {
        setCursor(0);
        return;
    }
    sellist_->setCurrentRow(kept);
    setCursor(result_[static_cast<std::size_t>(kept)]);
}

QHBoxLayout* PickerDialog::okCancelRow() {
    const int width = std::max(ok_->sizeHint().width(), cancel_->sizeHint().width());
    for (QPushButton* b : {ok_, cancel_}) b->setMinimumWidth(width);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok_);
    row->addWidget(cancel_);
    return row;
}

}  // namespace qrn
