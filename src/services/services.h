// Platform services behind small interfaces, so tests can replace them.
#pragma once

#include <QString>

class QWidget;

namespace qrn {

// Modal message boxes. confirm() returns true for OK.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    virtual void information(QWidget* parent, const QString& text) = 0;
    virtual void warning(QWidget* parent, const QString& text) = 0;
    virtual void error(QWidget* parent, const QString& text) = 0;
    // One warning of a run of many (a picture per object while a scenario
    // loads), offering "以降の警告を表示しない". True when the author ticked it:
    // the rest of the run goes without warnings.
    virtual bool warningInRun(QWidget* parent, const QString& text) {
        warning(parent, text);
        return false;
    }
};

// File dialogs. An empty result means cancelled.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    virtual QString openFile(QWidget* parent, const QString& title, const QString& filter,
                             const QString& defaultSuffix) = 0;
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& filter,
                             const QString& defaultSuffix) = 0;
};

// Music and sound effects; paths are full paths.
class MediaService {
public:
    virtual ~MediaService() = default;
    virtual void mediaplay(const QString& path, bool loop) = 0;
    virtual void mediastop() = 0;
    virtual void soundplay(const QString& path) = 0;
};

// Starts another program, detached, without arguments.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    virtual bool startDetached(const QString& program) = 0;
};

}  // namespace qrn
