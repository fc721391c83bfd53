// The real platform services: message boxes, file dialogs and the process
// launcher on Qt. Tests install fakes in their place.
#pragma once

#include "services/services.h"

namespace qrn {

class QtMessageService : public MessageService {
public:
    bool confirm(QWidget* parent, const QString& text) override;
    void information(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
    bool warningInRun(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
};

class QtFileDialogService : public FileDialogService {
public:
    QString openFile(QWidget* parent, const QString& title, const QString& filter,
                     const QString& defaultSuffix) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& filter,
                     const QString& defaultSuffix) override;
};

class QtProcessLauncher : public ProcessLauncher {
public:
    bool startDetached(const QString& program) override;
};

}  // namespace qrn
