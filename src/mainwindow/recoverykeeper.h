// Crash recovery: while the scenario has unsaved changes it is written every
// minute to a recovery file in the user's state folder; at start a file left
// by an editor that is no longer running is offered back.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <optional>

class QTimer;

namespace qrn {

class Tmaker;

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 60 * 1000;

    explicit RecoveryKeeper(QObject* parent = nullptr);
    void start();

    // $XDG_STATE_HOME/Quorantel (or ~/.local/state/Quorantel).
    static QString folder();
    // This editor's own file; one per running editor, named by its process.
    static QString ownFile();

    // Writes the present scenario when there are unsaved changes; true when
    // written. `source` is the file the work came from.
    bool writeNow();
    // Removes this editor's file.
    void discard();

    struct Leftover {
        QString path;
        QString sourcePath;
        QString scenarioName;
        QDateTime writtenAt;
    };
    // The newest complete recovery file of an editor no longer running.
    static std::optional<Leftover> findLeftover();
    // Offers the newest leftover to the author; restoring opens it as an
    // unsaved scenario. A refused one is removed. True when restored.
    static bool offerRestore(Tmaker& maker);

private:
    QTimer* timer_ = nullptr;
};

}  // namespace qrn
