#include "resources/respanel.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <functional>

#include "services/editorcontext.h"
#include "services/imeset.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"

namespace qrn {

namespace {

// Re-selects the current entry's line when a list is entered with the keyboard.
class ListEntryFilter : public QObject {
public:
    ListEntryFilter(QObject* parent, std::function<void()> onEnter) : QObject(parent), onEnter_(std::move(onEnter)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) onEnter_();
        return false;
    }

private:
    std::function<void()> onEnter_;
};

}  // namespace

ResPanel::ResPanel(ResKind kind, const QString& prefix, QWidget* parent) : QWidget(parent), kind_(kind) {
    setObjectName(prefix + QStringLiteral("panel"));
    list_ = new QListWidget(this);
    list_->setObjectName(prefix + QStringLiteral("list"));
    name_ = new ShortStringEdit(32, this);
    name_->setObjectName(prefix + QStringLiteral("name"));
    imesetOnEnter(name_);
    ok_ = new QPushButton(QStringLiteral("OK(&Y)"), this);
    ok_->setObjectName(QStringLiteral("okbtn"));
    delete_ = new QPushButton(QStringLiteral("削除"), this);
    delete_->setObjectName(QStringLiteral("deletebtn"));
    reset_ = new QPushButton(QStringLiteral("初期化"), this);
    reset_->setObjectName(QStringLiteral("resetbtn"));
    for (QPushButton* b : {ok_, delete_, reset_}) b->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &ResPanel::okClicked);
    connect(delete_, &QPushButton::clicked, this, &ResPanel::deleteClicked);
    connect(reset_, &QPushButton::clicked, this, &ResPanel::resetClicked);
    connect(name_, &QLineEdit::textEdited, this, [this] {
        if (current_ < 1 || current_ > count()) return;
        setResourceName(scenario(), kind_, current_, name_->bytes());
        rewriteLine(current_);
    });
    wireList(list_, 1);
}

Scenario& ResPanel::scenario() const { return editor().scenario; }

void ResPanel::arrange(QWidget* details) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    auto* nameLabel = new QLabel(QStringLiteral("名前(&N)"), this);
    nameLabel->setBuddy(name_);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(name_, 1, 0);
    grid->addWidget(list_, 2, 0);
    grid->addWidget(details, 0, 1, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reset_);
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
}

void ResPanel::wireList(QListWidget* list, int firstNumber) {
    connect(list, &QListWidget::currentRowChanged, this, [this, firstNumber](int row) {
        if (quiet_ || row < 0) return;
        current_ = firstNumber + row;
        fillName();
        showDetails();
    });
    connect(list, &QListWidget::itemDoubleClicked, this, &ResPanel::okClicked);
    list->installEventFilter(new ListEntryFilter(list, [this, list, firstNumber] {
        const int row = current_ - firstNumber;
        if (row >= 0 && row < list->count() && list->currentRow() != row) selectRow(list, row);
    }));
}

QString ResPanel::lineText(int number) const {
    QString name = fromCp932(resourceName(editor().scenario, kind_, number));
    // A name taken from a comment's first line may hold its line break.
    name.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QString::number(number) + QStringLiteral("：") + name;
}

void ResPanel::makeList() {
    quiet_ = true;
    list_->clear();
    for (int n = 1; n <= count(); ++n) list_->addItem(lineText(n));
    quiet_ = false;
}

void ResPanel::rewriteLine(int number) {
    if (QListWidgetItem* item = list_->item(number - 1)) item->setText(lineText(number));
}

void ResPanel::selectRow(QListWidget* list, int row) {
    const bool was = quiet_;
    quiet_ = true;
    list->setCurrentRow(row);
    if (QListWidgetItem* item = list->item(row)) list->scrollToItem(item);
    quiet_ = was;
}

bool ResPanel::lineSelected() const { return list_->currentRow() >= 0 && current_ >= 1; }

void ResPanel::fillName() {
    const bool was = quiet_;
    quiet_ = true;
    name_->setBytes(resourceName(editor().scenario, kind_, current_));
    quiet_ = was;
}

void ResPanel::showCurrent() {
    if (current_ < 1 || current_ > count()) current_ = 1;
    selectRow(list_, current_ - 1);
    fillName();
    showDetails();
}

}  // namespace qrn
