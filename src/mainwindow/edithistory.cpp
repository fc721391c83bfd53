#include "mainwindow/edithistory.h"
#include "mainwindow/editorwindows.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>
#include <QThread>
#include <QToolButton>
#include <algorithm>

#include "services/editorcontext.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/recoverykeeper.h"
#include "fields/fieldman.h"
#include "properties/paramedit.h"
#include "scenario/fieldops.h"
#include "views/minimap.h"
#include "views/palette.h"

namespace qrn {

namespace {

// A menu or button text without its accelerator: "塗りつぶし(&F)" -> "塗りつぶし",
// "回復  (H)" -> "回復".
QString plainText(QString text) {
    static const QRegularExpression accelerator(QStringLiteral("\\s*\\(&?[0-9A-Za-z]\\)$"));
    text.remove(accelerator);
    text.remove(u'&');
    return text.trimmed();
}

// Where the cells sit in the record: steps inside them only need the map.
bool onlyCells(const std::vector<ChangedRange>& ranges, const Scenario& s) {
    const auto first = static_cast<std::size_t>(reinterpret_cast<const unsigned char*>(&s.cell(1)) - s.bytes());
    const std::size_t end = first + sizeof(Cell) * kCellCount;
    return std::all_of(ranges.begin(), ranges.end(),
                       [&](const ChangedRange& r) { return r.area == 0 && r.offset >= first && r.offset + r.length <= end; });
}

const QString kUndo = QStringLiteral("元に戻す");
const QString kRedo = QStringLiteral("やり直し");

}  // namespace

EditHistory& EditHistory::instance() {
    static EditHistory* history = new EditHistory;
    return *history;
}

EditHistory::EditHistory() {
    EditorContext& ed = editor();
    history_.track({{ed.scenario.bytes(), static_cast<std::size_t>(kRecordSize)},
                    {reinterpret_cast<unsigned char*>(&ed.side.pictures), sizeof ed.side.pictures}});
    recovery_ = new RecoveryKeeper(this);
}

void EditHistory::install() {
    if (installed_ || !qApp) return;
    installed_ = true;
    qApp->installEventFilter(this);
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &EditHistory::idle);
    recovery_->start();
}

void EditHistory::attach(Tmaker& maker) {
    install();
    for (const char* name : {"undomenu", "redomenu"})
        if (QAction* a = maker.command(QString::fromLatin1(name))) a->setShortcutContext(Qt::ApplicationShortcut);
    if (QAction* redo = maker.command(QStringLiteral("redomenu")))
        redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
}

void EditHistory::reset() {
    history_.reset();
    label_.clear();
    recovery_->discard();
    emit replaced();
    afterChange();
}

void EditHistory::markSaved() {
    // Whatever was typed before the save belongs to the saved state.
    commitNow(label_);
    history_.markSaved();
    recovery_->discard();
    afterChange();
}

void EditHistory::markUnsaved() {
    history_.markUnsaved();
    afterChange();
}

void EditHistory::closing() { recovery_->discard(); }

bool EditHistory::commitNow(const QString& label) {
    const bool made = history_.commit((label.isEmpty() ? QStringLiteral("編集") : label).toStdString());
    label_.clear();
    if (made) afterChange();
    return made;
}

void EditHistory::undo() {
    if (editor().state.noScenarioYet) return;
    const auto ranges = history_.undo((label_.isEmpty() ? QStringLiteral("編集") : label_).toStdString());
    label_.clear();
    if (!ranges.empty()) rerender(ranges);
    afterChange();
}

void EditHistory::redo() {
    if (editor().state.noScenarioYet) return;
    const auto ranges = history_.redo((label_.isEmpty() ? QStringLiteral("編集") : label_).toStdString());
    label_.clear();
    if (!ranges.empty()) rerender(ranges);
    afterChange();
}

QString EditHistory::undoText() const {
    if (!history_.canUndo()) return kUndo + QStringLiteral("(&U)");
    return kUndo + u'（' + QString::fromStdString(history_.undoLabel()) + QStringLiteral("）(&U)");
}

QString EditHistory::redoText() const {
    if (!history_.canRedo()) return kRedo + QStringLiteral("(&Y)");
    return kRedo + u'（' + QString::fromStdString(history_.redoLabel()) + QStringLiteral("）(&Y)");
}

void EditHistory::afterChange() {
    if (Tmaker* maker = editorWindows().maker) {
        if (QAction* a = maker->command(QStringLiteral("undomenu"))) {
            a->setText(undoText());
            a->setEnabled(history_.canUndo());
        }
        if (QAction* a = maker->command(QStringLiteral("redomenu"))) {
            a->setText(redoText());
            a->setEnabled(history_.canRedo());
        }
        if (shownModified_ != history_.modified() && !editor().state.noScenarioYet) maker->captionchange();
    }
    shownModified_ = history_.modified();
    emit changed();
}

// Every window shows the record again. The current field stays when it is
// still in use, and the cursor is kept inside it.
void EditHistory::rerender(const std::vector<ChangedRange>& ranges) {
    EditorContext& ed = editor();
    Tmaker* maker = editorWindows().maker;
    if (!maker) return;
    const Scenario& s = ed.scenario;
    int field = ed.state.currentField;
    if (!fieldInUse(s, field)) {
        while (field > 1 && !fieldInUse(s, field)) --field;
        field = std::max(field, 1);
    }
    if (field >= 1 && field <= kFieldCount && fieldInUse(s, field)) {
        const int width = std::clamp<int>(+s.field(field).width, 1, kMaxFieldSide);
        const int height = std::clamp<int>(+s.field(field).height, 1, kMaxFieldSide);
        const bool same = field == ed.state.currentField;
        const int col = same ? ed.state.cursorCol : ed.state.fieldCursor[field][0];
        const int row = same ? ed.state.cursorRow : ed.state.fieldCursor[field][1];
        ed.state.fieldCursor[field] = {std::clamp(col, 0, width - 1), std::clamp(row, 0, height - 1)};
    }
    const bool sameField = field == ed.state.currentField;
    const QRect range = maker->mapgrid() ? maker->mapgrid()->selection() : QRect();
    ed.state.currentField = static_cast<std::uint8_t>(field);
    maker->fieldonchange();
    // The range the author had selected stays while it still fits the field.
    if (MapGrid* grid = maker->mapgrid();
        grid && sameField && range.isValid() && QRect(0, 0, grid->columns(), grid->rows()).contains(range))
        grid->setSelection(range);
    if (onlyCells(ranges, s)) return;
    if (editorWindows().palette) editorWindows().palette->allgridfillrect();
    if (editorWindows().fieldman && editorWindows().fieldman->isVisible()) editorWindows().fieldman->makefieldman();
    if (Tparamedit* p = editorWindows().paramedit; p && p->isVisible()) {
        const int layer = p->shownLayer();
        if (layer) p->openOn(layer, p->currentObject(layer), p->openedFromPalette());
    }
}

// ---- where an action ends ----------------------------------------------------

bool EditHistory::isTextBox(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (auto* line = qobject_cast<const QLineEdit*>(w)) return !line->isReadOnly();
        if (auto* text = qobject_cast<const QTextEdit*>(w)) return !text->isReadOnly();
        if (auto* plain = qobject_cast<const QPlainTextEdit*>(w)) return !plain->isReadOnly();
        if (auto* spin = qobject_cast<const QAbstractSpinBox*>(w)) return !spin->isReadOnly();
        if (w->isWindow()) break;
    }
    return false;
}

QString EditHistory::labelFor(QWidget* w) {
    for (QWidget* p = w; p; p = p->parentWidget()) {
        // Moving through a menu names nothing: the entry that is chosen names
        // the step (noteCommand).
        if (qobject_cast<QMenu*>(p) || qobject_cast<QMenuBar*>(p)) return {};
        if (auto* tool = qobject_cast<QToolButton*>(p); tool && tool->defaultAction())
            return plainText(tool->defaultAction()->text());
        if (auto* button = qobject_cast<QAbstractButton*>(p); button && !button->text().isEmpty())
            return plainText(button->text());
        if (qobject_cast<MapGrid*>(p)) return QStringLiteral("描画");
        if (p->isWindow()) break;
    }
    QWidget* window = w ? w->window() : nullptr;
    if (!window || window == editorWindows().maker) return QStringLiteral("編集");
    return plainText(window->windowTitle());
}

void EditHistory::noteCommand(QAction* action) {
    if (!action || action->menu() || action->isSeparator() || !action->isEnabled()) return;
    const QString label = plainText(action->text());
    if (label.startsWith(kUndo) || label.startsWith(kRedo)) return;
    // The command chosen outranks whatever the moves through the menus named.
    label_ = label;
    boundary_ = true;
}

void EditHistory::noteBoundary(const QString& label) {
    // Undo and redo close the action under way themselves, under its own name.
    const bool ours = label.startsWith(kUndo) || label.startsWith(kRedo);
    if (label_.isEmpty() && !ours) label_ = label;
    boundary_ = true;
}

// Called whenever the event loop is about to wait: every handler of the
// action has returned by then, even one that let events through part way
// (a wait window painting itself) without waiting.
void EditHistory::idle() {
    if (!boundary_) return;
    if (editor().state.noScenarioYet) {
        boundary_ = false;
        label_.clear();
        return;
    }
    // Still inside the action: a stroke with the button down, a modal dialog
    // or a pop-up menu whose result is not yet applied.
    if (heldButtons_ != 0 || QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        QThread::currentThread()->loopLevel() > 1)
        return;
    boundary_ = false;
    commitNow(label_);
}

bool EditHistory::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (watched->isWidgetType()) heldButtons_ = int(static_cast<QMouseEvent*>(event)->buttons());
        break;
    case QEvent::MouseButtonRelease:
        if (watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            auto* mouse = static_cast<QMouseEvent*>(event);
            heldButtons_ = int(mouse->buttons());
            if (auto* menu = qobject_cast<QMenu*>(w)) noteCommand(menu->actionAt(mouse->position().toPoint()));
            // Clicks inside a text box belong to the typing; leaving the box ends it.
            if (!isTextBox(w)) noteBoundary(labelFor(w));
        }
        break;
    case QEvent::KeyPress:
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) noteCommand(menu->activeAction());
        }
        break;
    case QEvent::KeyRelease:
        if (watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (!isTextBox(QApplication::focusWidget()) && !isTextBox(w)) noteBoundary(labelFor(w));
        }
        break;
    case QEvent::FocusOut:
        if (watched->isWidgetType() && isTextBox(static_cast<QWidget*>(watched))) {
            auto* box = static_cast<QWidget*>(watched);
            // Left by the author (a click elsewhere, Tab, another window): the
            // typing is closed now, before the click that took the focus acts,
            // so the two do not become one step.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::OtherFocusReason && !editor().state.noScenarioYet && !QApplication::activeModalWidget())
                commitNow(labelFor(box));
            else
                noteBoundary(labelFor(box));
        }
        break;
    case QEvent::Hide:
        if (watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow() && (w->isModal() || qobject_cast<QDialog*>(w)) && !qobject_cast<QMenu*>(w))
                noteBoundary(plainText(w->windowTitle()));
        }
        break;
    case QEvent::Shortcut:
        if (auto* action = qobject_cast<QAction*>(watched)) noteBoundary(plainText(action->text()));
        break;
    case QEvent::Wheel:
    case QEvent::Drop:
        if (watched->isWidgetType()) noteBoundary(labelFor(static_cast<QWidget*>(watched)));
        break;
    default: break;
    }
    return false;
}

}  // namespace qrn
