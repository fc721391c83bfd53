#include "mainwindow/recoverykeeper.h"
#include "mainwindow/editorwindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <cerrno>
#include <csignal>

#include "mainwindow/edithistory.h"
#include "services/editorcontext.h"
#include "mainwindow/maker.h"
#include "services/textconv.h"
#include "scenario/recoveryfile.h"

namespace qrn {

namespace {

const QString kPrefix = QStringLiteral("recovery-");
const QString kSuffix = QStringLiteral(".snr");

// The process that wrote a recovery file, from its name; 0 when not one of ours.
qint64 writerOf(const QString& fileName) {
    if (!fileName.startsWith(kPrefix) || !fileName.endsWith(kSuffix)) return 0;
    bool ok = false;
    const qint64 pid = fileName.mid(kPrefix.size(), fileName.size() - kPrefix.size() - kSuffix.size()).toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

bool running(qint64 pid) {
    if (pid == QCoreApplication::applicationPid()) return true;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(QObject* parent) : QObject(parent) {}

void RecoveryKeeper::start() {
    if (timer_) return;
    timer_ = new QTimer(this);
    timer_->setInterval(kIntervalMs);
    connect(timer_, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
    timer_->start();
}

QString RecoveryKeeper::folder() {
    // Only an absolute XDG_STATE_HOME counts; a relative one is ignored.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/Quorantel");
}

QString RecoveryKeeper::ownFile() {
    return folder() + u'/' + kPrefix + QString::number(QCoreApplication::applicationPid()) + kSuffix;
}

bool RecoveryKeeper::writeNow() {
    EditorContext& ed = editor();
    EditHistory& history = editHistory();
    if (ed.state.noScenarioYet || !(history.modified() || history.pending())) return false;
    if (!QDir().mkpath(folder())) return false;
    const QString source = editorWindows().maker ? editorWindows().maker->saveFileName() : QString();
    return writeRecoveryFile(QFile::encodeName(ownFile()).toStdString(), ed.scenario,
                             QFile::encodeName(source).toStdString(), QDateTime::currentSecsSinceEpoch())
        .ok;
}

void RecoveryKeeper::discard() { QFile::remove(ownFile()); }

std::optional<RecoveryKeeper::Leftover> RecoveryKeeper::findLeftover() {
    std::optional<Leftover> newest;
    const QDir dir(folder());
    for (const QFileInfo& entry : dir.entryInfoList({kPrefix + u'*' + kSuffix}, QDir::Files)) {
        const qint64 pid = writerOf(entry.fileName());
        if (!pid || running(pid)) continue;
        const auto info = readRecoveryInfo(QFile::encodeName(entry.absoluteFilePath()).toStdString());
        if (!info) continue;
        Leftover found{entry.absoluteFilePath(), QFile::decodeName(QByteArray::fromStdString(info->sourcePath)),
                       fromCp932(info->scenarioName), QDateTime::fromSecsSinceEpoch(info->writtenAt)};
        if (!newest || found.writtenAt > newest->writtenAt) newest = found;
    }
    return newest;
}

bool RecoveryKeeper::offerRestore(Tmaker& maker) {
    const auto found = findLeftover();
    if (!found) return false;
    EditorContext& ed = editor();
    const QString name = found->scenarioName.isEmpty() ? QStringLiteral("無題") : found->scenarioName;
    const QString from = found->sourcePath.isEmpty() ? QStringLiteral("（未保存の新規シナリオ）") : found->sourcePath;
    const QString text = QStringLiteral("前回、保存されずに終了したシナリオの作業が残っています。\n\n") +
                         QStringLiteral("シナリオ：") + name + u'\n' + QStringLiteral("記録した時刻：") +
                         found->writtenAt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) + u'\n' +
                         QStringLiteral("元のファイル：") + from + QStringLiteral("\n\n復元しますか？");
    if (!ed.messages->confirm(&maker, text)) {
        QFile::remove(found->path);
        return false;
    }
    if (!maker.openRecovered(found->path, found->sourcePath)) return false;
    // Kept under this editor's name before the old file goes.
    editHistory().recovery().writeNow();
    QFile::remove(found->path);
    return true;
}

}  // namespace qrn
