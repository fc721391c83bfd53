#include "services/userfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "scenario/joinfiles.h"

namespace qrn {

namespace {

QString slashed(const QString& folder) { return folder.endsWith(u'/') ? folder : folder + u'/'; }

// A folder that exists, as an absolute path without the final "/".
QString existingFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() ? info.absoluteFilePath() : QString();
}

bool writableFolder(const QString& folder) {
    return usableOutputFolder(QFile::encodeName(folder).toStdString()).has_value();
}

}  // namespace

QString defaultResourceFolder() {
    // The editor's own data folder; its name does not follow the application
    // name, which is still the splash's while the settings are read.
    return slashed(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
           QStringLiteral("QUORANTEL/resources/");
}

QString defaultJoinFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath();
    return slashed(documents) + QStringLiteral("QUORANTEL/");
}

QString starterResourceFolder() {
    const QString relative = QStringLiteral("quorantel/resources");
    // Installed: PREFIX/bin/quorantel and PREFIX/share/quorantel/resources.
    QString found = existingFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") + relative);
    if (found.isEmpty())
        found = existingFolder(
            QStandardPaths::locate(QStandardPaths::GenericDataLocation, relative, QStandardPaths::LocateDirectory));
#ifdef QRN_BUILT_STARTER_FOLDER
    // Run from the build tree (the demo generator writes the set there).
    if (found.isEmpty()) found = existingFolder(QStringLiteral(QRN_BUILT_STARTER_FOLDER));
#endif
    return found.isEmpty() ? QString() : slashed(found);
}

bool fillResourceFolderOnce(const QString& folder, const QString& starter) {
    const QString target = QDir::cleanPath(folder);
    if (target.isEmpty()) return false;
    if (QFileInfo(target).exists()) return QFileInfo(target).isDir();
    const QDir source(starter);
    if (starter.isEmpty() || !source.exists()) return QDir().mkpath(target);
    const QString filling = target + QStringLiteral(".filling");
    QDir(filling).removeRecursively();  // left by an interrupted start
    if (!QDir().mkpath(filling)) return false;
    const auto entries = source.entryInfoList(QDir::Files | QDir::NoSymLinks | QDir::Readable, QDir::Name);
    for (const QFileInfo& file : entries) {
        const QString copy = filling + u'/' + file.fileName();
        if (!QFile::copy(file.absoluteFilePath(), copy)) continue;  // the rest are still worth having
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    if (QDir().rename(filling, target)) return true;
    QDir(filling).removeRecursively();
    return QFileInfo(target).isDir();
}

bool joinFolderUsable(const QString& folder) {
    if (folder.isEmpty()) return false;
    if (QFileInfo(folder).exists()) return writableFolder(folder);
    if (QDir::cleanPath(folder) != QDir::cleanPath(defaultJoinFolder())) return false;
    // The default is made by the first join: what counts is the folder it goes in.
    QString above = QDir::cleanPath(folder);
    while (!QFileInfo(above).exists()) {
        const QString up = QFileInfo(above).path();
        if (up == above) return false;
        above = up;
    }
    return writableFolder(above);
}

bool makeJoinFolder(const QString& folder) {
    if (QFileInfo(folder).isDir()) return true;
    if (QDir::cleanPath(folder) != QDir::cleanPath(defaultJoinFolder())) return false;
    return QDir().mkpath(folder);
}

}  // namespace qrn
