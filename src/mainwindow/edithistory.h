// The editor's one undo history: it watches the application's events for the
// end of each action the author takes (a mouse button released, a key
// released outside a text box, a text box left, a modal dialog closed, a
// shortcut used) and then closes a step from whatever changed in the scenario
// and the picture index tables. No window has undo code of its own.
#pragma once

#include <QObject>
#include <QString>

#include "scenario/undohistory.h"

class QAction;
class QWidget;

namespace qrn {

class RecoveryKeeper;

class EditHistory : public QObject {
    Q_OBJECT
public:
    // The history of editor().scenario and editor().side.pictures.
    static EditHistory& instance();

    // Starts watching the application's events and the recovery timer
    // (once; later calls do nothing).
    void install();
    // Installs, and gives the main window's undo and redo commands their
    // second key and their reach into every window of the editor.
    void attach(class Tmaker& maker);
    UndoHistory& model() { return history_; }
    RecoveryKeeper& recovery() { return *recovery_; }

    // After new and open: an empty history, the scenario counts as saved and
    // the recovery file goes.
    void reset();
    // After a save: the present state counts as saved; the recovery file goes.
    void markSaved();
    // For a restored scenario: unsaved until the next save.
    void markUnsaved();
    // The editor is closing normally: the recovery file goes.
    void closing();
    // A step differs from what was last opened or saved.
    bool modified() const { return history_.modified(); }
    // Changed but not yet closed into a step (a text box still being typed in).
    bool pending() const { return history_.pending(); }

    // Closes the present action into a step now; true when something changed.
    bool commitNow(const QString& label = {});
    // Undo and redo of whole steps, then every window re-renders.
    void undo();
    void redo();

    // The menu texts naming the step that would be undone and redone.
    QString undoText() const;
    QString redoText() const;

signals:
    // The history moved: steps, texts or the saved mark may differ.
    void changed();
    // Another scenario was made or opened (before the changed() of the reset).
    void replaced();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EditHistory();
    void noteBoundary(const QString& label);
    // A menu entry chosen: it names the action under way.
    void noteCommand(QAction* action);
    void idle();
    void rerender(const std::vector<ChangedRange>& ranges);
    void afterChange();
    static bool isTextBox(const QWidget* w);
    static QString labelFor(QWidget* w);

    UndoHistory history_;
    RecoveryKeeper* recovery_ = nullptr;
    QString label_;  // names the action under way: the first boundary since the last step
    bool boundary_ = false;  // an action may have ended; closed when the loop next waits
    bool installed_ = false;
    int heldButtons_ = 0;
    bool shownModified_ = false;
};

inline EditHistory& editHistory() { return EditHistory::instance(); }

}  // namespace qrn
