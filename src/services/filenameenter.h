// The join name dialog: one edit box for the name of the runner files, and
// the folder they go into with a button to choose another.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qrn {

class Tfilenameenter : public QDialog {
    Q_OBJECT
public:
    explicit Tfilenameenter(QWidget* parent = nullptr);

    QLineEdit* filenameedit() const { return filenameedit_; }
    QPushButton* okButton() const { return okbtn_; }
    QPushButton* folderButton() const { return folderbtn_; }
    QLabel* folderLabel() const { return folderlabel_; }
    // The entered name without its extension.
    QString joinName() const;
    // A name the join can write: not empty, without a folder part, and one
    // that cp932 can hold.
    static bool acceptable(const QString& text);

    // The output folder shown (ends with "/"), at first the options' one; OK
    // is refused while the join could not write into it.
    void setOutputFolder(const QString& folder);
    QString outputFolder() const { return folder_; }

    // Asks for a folder (a folder dialog; tests answer it themselves).
    std::function<QString(QWidget*, const QString& title, const QString& start)> chooseFolder;

private:
    void filenameeditChange();
    void folderbtnClick();

    QLineEdit* filenameedit_;
    QLabel* folderlabel_;
    QLabel* folderproblem_;
    QPushButton* folderbtn_;
    QPushButton* okbtn_;
    QPushButton* cancelbtn_;
    QString folder_;
};

}  // namespace qrn
