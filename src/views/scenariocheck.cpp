#include "views/scenariocheck.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/options.h"
#include "scenario/joinfiles.h"

namespace qrn {

namespace {

enum Column { SeverityColumn, PlaceColumn, MessageColumn };
constexpr int kFindingRole = Qt::UserRole + 1;  // index into the findings, on the first column
constexpr int kSortRole = Qt::UserRole + 2;

// A sort key for a place that keeps numbers in their order (field 2 before 10).
QString placeKey(const CheckPlace& p) {
    return QString::asprintf("%d %03d %05d %03d %03d %03d", p.kind, p.table, p.number, p.field, p.row, p.col);
}

}  // namespace

// Rows of the chosen severity whose place or message holds the text.
class CheckFilterModel : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    int severity = -1;  // -1 all, else a CheckSeverity
    QString text;
    void refilter() { invalidateFilter(); }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const QAbstractItemModel* m = sourceModel();
        if (severity >= 0 && m->index(row, SeverityColumn, parent).data(kSortRole).toInt() != severity) return false;
        if (text.isEmpty()) return true;
        return m->index(row, PlaceColumn, parent).data().toString().contains(text, Qt::CaseInsensitive) ||
               m->index(row, MessageColumn, parent).data().toString().contains(text, Qt::CaseInsensitive);
    }
};

Tscenariocheck::Tscenariocheck(QWidget* parent)
    : QMainWindow(parent, Qt::Tool),
      model_(new QStandardItemModel(0, 3, this)),
      filter_(new CheckFilterModel(this)),
      list_(new QTableView),
      severity_(new QComboBox),
      text_(new QLineEdit),
      recheck_(new QPushButton(QStringLiteral("再チェック(&R)"))),
      summary_(new QLabel) {
    setObjectName(QStringLiteral("scenariocheck"));
    setWindowTitle(QStringLiteral("シナリオチェック"));
    model_->setHorizontalHeaderLabels({QStringLiteral("重要度"), QStringLiteral("場所"), QStringLiteral("内容")});
    filter_->setSourceModel(model_);
    filter_->setSortRole(kSortRole);
    list_->setObjectName(QStringLiteral("checklist"));
    list_->setModel(filter_);
    list_->setSortingEnabled(true);
    list_->sortByColumn(SeverityColumn, Qt::AscendingOrder);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    severity_->addItems({QStringLiteral("すべて"), QStringLiteral("エラー"), QStringLiteral("警告")});
    text_->setPlaceholderText(QStringLiteral("絞り込み"));

    auto* top = new QHBoxLayout;
    top->addWidget(severity_);
    top->addWidget(text_, 1);
    top->addWidget(recheck_);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(top);
    layout->addWidget(list_, 1);
    layout->addWidget(summary_);
    setCentralWidget(central);
    resize(640, 360);

    connect(recheck_, &QPushButton::clicked, this, &Tscenariocheck::recheck);
    connect(severity_, &QComboBox::currentIndexChanged, this, [this](int i) {
        filter_->severity = i - 1;
        filter_->refilter();
    });
    connect(text_, &QLineEdit::textChanged, this, [this](const QString& t) {
        filter_->text = t;
        filter_->refilter();
    });
    connect(list_, &QTableView::doubleClicked, this, [this](const QModelIndex& i) { openRow(i.row()); });
}

void Tscenariocheck::recheck() {
    EditorContext& ed = editor();
    const QString folder = ed.options ? ed.options->serchpath : QString();
    if (folder.isEmpty()) {
        findings_ = checkScenario(ed.scenario);
    } else {
        ResourceFolder resources(folder.toStdString());
        findings_ = checkScenario(ed.scenario, &resources);
    }
    model_->removeRows(0, model_->rowCount());
    for (std::size_t i = 0; i < findings_.size(); ++i) {
        const CheckFinding& f = findings_[i];
        auto* sev = new QStandardItem(QString::fromUtf8(severityName(f.severity)));
        sev->setData(static_cast<int>(f.severity), kSortRole);
        sev->setData(static_cast<int>(i), kFindingRole);
        auto* place = new QStandardItem(QString::fromStdString(describePlace(ed.scenario, f.place)));
        place->setData(placeKey(f.place), kSortRole);
        auto* message = new QStandardItem(QString::fromStdString(f.message));
        message->setData(message->text(), kSortRole);
        model_->appendRow({sev, place, message});
    }
    const int errors = errorCount(findings_);
    summary_->setText(QStringLiteral("エラー %1 件、警告 %2 件")
                          .arg(errors)
                          .arg(static_cast<int>(findings_.size()) - errors));
    list_->resizeColumnToContents(SeverityColumn);
    list_->resizeColumnToContents(PlaceColumn);
}

void Tscenariocheck::openRow(int row) {
    const QModelIndex shown = filter_->index(row, SeverityColumn);
    if (!shown.isValid()) return;
    const int i = shown.data(kFindingRole).toInt();
    if (i < 0 || i >= static_cast<int>(findings_.size())) return;
    const CheckPlace& p = findings_[static_cast<std::size_t>(i)].place;
    switch (p.kind) {
        case CheckPlace::Cell: emit moveMapCursor(p.field, p.col, p.row); break;
        case CheckPlace::Field: emit moveMapCursor(p.number, 0, 0); break;
        case CheckPlace::Object: emit openObject(p.table, p.number); break;
        case CheckPlace::Resource: emit openResource(static_cast<ResKind>(p.table), p.number); break;
        case CheckPlace::Hero: emit openHero(); break;
        case CheckPlace::Level: emit openLevel(p.number + 1); break;
        case CheckPlace::Settings: emit openSettings(); break;
        case CheckPlace::None: break;
    }
}

}  // namespace qrn
