// The file chooser of the music and sound lists: the files of one folder that
// match a mask (whatever the case of their names), with a preview. Created
// for one use and destroyed afterwards.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;

namespace qrn {

class Tfileselectform : public QDialog {
    Q_OBJECT
public:
    // `folder` ends with "/"; `mask` like "*.MID".
    Tfileselectform(const QString& caption, const QString& mask, const QString& folder, QWidget* parent = nullptr);

    // Shows the chooser modally; the chosen file name without its folder, or
    // an empty text when cancelled or ended without a selection.
    static QString selectFile(QWidget* parent, const QString& caption, const QString& mask);

    QString selectedFile() const;
    QListWidget* fileList() const { return filelistbox_; }
    // "(&P)": plays the selected file.
    void preview();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QString mask_;
    QString folder_;
    QLabel* dirlabel_;
    QListWidget* filelistbox_;
    QLineEdit* fileedit_;
};

// The file names of `folder` that match `mask` regardless of case, sorted
// without regard to case; hidden files and folders are left out.
QStringList filesMatching(const QString& folder, const QString& mask);

}  // namespace qrn
