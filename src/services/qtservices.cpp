#include "services/qtservices.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

namespace qrn {

namespace {

const QString kTitle = QStringLiteral("QUORANTEL");

QString runFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title, const QString& filter,
                      const QString& defaultSuffix) {
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

bool QtMessageService::confirm(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, kTitle, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

void QtMessageService::information(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kTitle, text);
}

void QtMessageService::warning(QWidget* parent, const QString& text) { QMessageBox::warning(parent, kTitle, text); }

bool QtMessageService::warningInRun(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, kTitle, text, QMessageBox::Ok, parent);
    auto* stop = new QCheckBox(QStringLiteral("以降の警告を表示しない"), &box);
    box.setCheckBox(stop);
    box.exec();
    return stop->isChecked();
}

void QtMessageService::error(QWidget* parent, const QString& text) { QMessageBox::critical(parent, kTitle, text); }

QString QtFileDialogService::openFile(QWidget* parent, const QString& title, const QString& filter,
                                      const QString& defaultSuffix) {
    return runFileDialog(parent, QFileDialog::AcceptOpen, title, filter, defaultSuffix);
}

QString QtFileDialogService::saveFile(QWidget* parent, const QString& title, const QString& filter,
                                      const QString& defaultSuffix) {
    return runFileDialog(parent, QFileDialog::AcceptSave, title, filter, defaultSuffix);
}

bool QtProcessLauncher::startDetached(const QString& program) {
    // The program itself, no shell and no arguments.
    return QProcess::startDetached(program, QStringList());
}

}  // namespace qrn
