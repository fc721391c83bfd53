// The join name dialog: one edit box for the name of the runner files.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qrn {

class Tfilenameenter : public QDialog {
    Q_OBJECT
public:
    explicit Tfilenameenter(QWidget* parent = nullptr);

    QLineEdit* filenameedit() const { return filenameedit_; }
    QPushButton* okButton() const { return okbtn_; }
    // The entered name without its extension.
    QString joinName() const;
    // A name the join can write: not empty, without a folder part, and one
    // that cp932 can hold.
    static bool acceptable(const QString& text);

private:
    void filenameeditChange();

    QLineEdit* filenameedit_;
    QPushButton* okbtn_;
    QPushButton* cancelbtn_;
};

}  // namespace qrn
