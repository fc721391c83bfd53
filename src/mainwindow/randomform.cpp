#include "mainwindow/randomform.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QToolButton>
#include <algorithm>

#include "services/options.h"

namespace qrn {

namespace {

constexpr int kDefaultRatio = 35;
const QString kRandomSection = QStringLiteral("random");

QString roleKey(Trandomform::Role role) {
    return role == Trandomform::Draw ? QStringLiteral("draw") : QStringLiteral("erase");
}

// Show states as the placement records them.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

}  // namespace

// ---- window placement ------------------------------------------------------------

QString FormSave::key(const char* value) const {
    return QStringLiteral("FormLocate/") + formName_ + u'/' + QLatin1String(value);
}

void FormSave::restorePlacement() {
    restored_ = true;
    QSettings* store = settingsStore();
    if (!store) return;
    // Client rectangles, as savePlacement writes them: a frame written and a
    // client restored would move the dialog up by its title bar every run.
    const QRect own = form_->geometry();
    const QString section = QStringLiteral("FormLocate/") + formName_;
    stored_ = store->contains(section + QStringLiteral("/RLeft"));
    if (!stored_) {
        // Never placed: beside the main window, at the foot of the screen,
        // rather than over the map.
        if (QWidget* owner = form_->parentWidget()) {
            QWidget* main = owner->window();
            const QRect area = main->screen() ? main->screen()->availableGeometry() : QRect();
            if (area.isValid()) form_->setGeometry(besideMainWindow(area, main->geometry(), form_->size(), area.height()));
        }
        return;
    }
    const int left = readIntSetting(*store, section, "RLeft", own.left());
    const int top = readIntSetting(*store, section, "RTop", own.top());
    const int right = readIntSetting(*store, section, "RRight", own.left() + own.width());
    const int bottom = readIntSetting(*store, section, "RBottom", own.top() + own.height());
    const int showCmd = readIntSetting(*store, section, "Showcmd", 5);
    // A placement whose title bar no screen shows (another monitor setup, a
    // damaged file) would lose the dialog: keep the platform's position then.
    const qint64 width = qint64(right) - left;
    const qint64 height = qint64(bottom) - top;
    constexpr qint64 kMaxSide = 100000;
    if (width > 0 && height > 0 && width < kMaxSide && height < kMaxSide) {
        const QRect normal(left, top, int(width), int(height));
        if (titleBarOnScreen(normal)) form_->setGeometry(QRect(normal.topLeft(), form_->size()));
    }
    if (showCmd == kShowMaximized) form_->setWindowState(form_->windowState() | Qt::WindowMaximized);
}

void FormSave::savePlacement() {
    if (!restored_) return;
    QSettings* store = settingsStore();
    if (!store) return;
    const QRect normal = form_->isMaximized() || form_->isMinimized() ? form_->normalGeometry() : form_->geometry();
    const int showCmd = form_->isMaximized() ? kShowMaximized : form_->isMinimized() ? kShowMinimized : kShowNormal;
    const auto write = [&](const char* name, int value) { store->setValue(key(name), QString::number(value)); };
    write("Showcmd", showCmd);
    write("Flags", 0);
    write("RLeft", normal.left());
    write("RTop", normal.top());
    write("RRight", normal.left() + normal.width());
    write("RBottom", normal.top() + normal.height());
    write("AX", 0);
    write("AY", 0);
    write("IX", 0);
    write("IY", 0);
}

// ---- the dialog ------------------------------------------------------------------

Trandomform::Trandomform(QWidget* parent)
    : QDialog(parent, Qt::Tool), formSave_(this, QStringLiteral("randomform")) {
    setWindowTitle(QStringLiteral("ランダム割合"));
    setObjectName(QStringLiteral("randomform"));

    peredit_ = new QLineEdit(QStringLiteral("50"), this);
    peredit_->setObjectName(QStringLiteral("peredit"));
    peredit_->setMaxLength(3);
    peredit_->setAlignment(Qt::AlignRight);
    peredit_->setToolTip(QStringLiteral("この割合でランダムにドロウorイレース"));
    peredit_->setFixedWidth(40);

    // The horizontal up-down pair: left subtracts one, right adds one.
    downbtn_ = new QToolButton(this);
    downbtn_->setArrowType(Qt::LeftArrow);
    downbtn_->setAutoRepeat(true);
    upbtn_ = new QToolButton(this);
    upbtn_->setObjectName(QStringLiteral("up"));
    upbtn_->setArrowType(Qt::RightArrow);
    upbtn_->setAutoRepeat(true);

    okbtn_ = new QPushButton(QStringLiteral("OK"), this);
    okbtn_->setObjectName(QStringLiteral("okbtn"));
    okbtn_->setDefault(true);
    cancelbtn_ = new QPushButton(QStringLiteral("中止"), this);
    cancelbtn_->setObjectName(QStringLiteral("cancelbtn"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);
    row->addWidget(peredit_);
    row->addWidget(downbtn_);
    row->addWidget(upbtn_);
    row->addWidget(okbtn_);
    row->addWidget(cancelbtn_);
    setMinimumWidth(182);
    setFixedHeight(sizeHint().height());

    connect(peredit_, &QLineEdit::textChanged, this, &Trandomform::pereditChange);
    connect(upbtn_, &QToolButton::clicked, this, [this] { upClick(true); });
    connect(downbtn_, &QToolButton::clicked, this, [this] { upClick(false); });
    connect(okbtn_, &QPushButton::clicked, this, [this] {
        if (!peredit_->text().isEmpty()) accept();
    });
    connect(cancelbtn_, &QPushButton::clicked, this, &QDialog::reject);
}

Trandomform::~Trandomform() { formSave_.savePlacement(); }

int Trandomform::rememberedRatio(Role role) {
    QSettings* store = settingsStore();
    return store ? readIntSetting(*store, kRandomSection, roleKey(role), kDefaultRatio) : kDefaultRatio;
}

int Trandomform::askratio(Role role, std::optional<QPoint> near) {
    role_ = role;
    near_ = near;
    const int result = exec();
    const QString text = peredit_->text();
    if (result != QDialog::Accepted || text.isEmpty()) return -1;
    return text.toInt();
}

void Trandomform::showEvent(QShowEvent* event) {
    if (!formSave_.restored()) formSave_.restorePlacement();
    if (near_ && !formSave_.stored()) move(*near_);  // kept on the screen as it is shown
    setTextUnchecked(QString::number(std::clamp(rememberedRatio(role_), 0, 100)));
    QDialog::showEvent(event);
    peredit_->setFocus();
    peredit_->selectAll();
}

void Trandomform::hideEvent(QHideEvent* event) {
    // OK and cancel alike remember a ratio that was typed.
    const QString text = peredit_->text();
    if (!text.isEmpty()) {
        if (QSettings* store = settingsStore()) store->setValue(kRandomSection + u'/' + roleKey(role_), text);
    }
    QDialog::hideEvent(event);
}

void Trandomform::setTextUnchecked(const QString& text) {
    checking_ = true;
    peredit_->setText(text);
    checking_ = false;
}

void Trandomform::pereditChange(const QString& text) {
    if (checking_ || text.isEmpty()) return;
    bool ok = false;
    const int value = text.toInt(&ok);
    const QString corrected = ok ? QString::number(std::clamp(value, 0, 100)) : QString();
    if (corrected != text) setTextUnchecked(corrected);
}

void Trandomform::upClick(bool next) {
    const QString text = peredit_->text();
    if (text.isEmpty()) {
        setTextUnchecked(QStringLiteral("1"));
        return;
    }
    const int value = std::clamp(text.toInt() + (next ? 1 : -1), 0, 100);
    setTextUnchecked(QString::number(value));
}

}  // namespace qrn
