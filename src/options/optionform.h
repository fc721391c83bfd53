// The options dialog: how the map reacts to dragging, hints, confirmations,
// grid lines, the input method, which tool windows stay on top, the resource
// folder, the join's output folder and the scenario runner. Every choice
// changes the options at once; made for one modal use.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace qrn {

class Options;

class Toptionform : public QDialog {
    Q_OBJECT
public:
    explicit Toptionform(Options& options, QWidget* parent = nullptr);

    // True when the resource search folder differs from the one it had when
    // the dialog was shown (the image view then reads the folder again).
    bool searchFolderChanged() const;

    // The choice of an on/off option as two radio buttons: first = on.
    struct Choice {
        QGroupBox* group;
        QRadioButton* first;
        QRadioButton* second;
    };
    QTabWidget* pages() const { return pages_; }
    const Choice& RadioGroup(int n) const { return groups_[n - 1]; }  // 1..6
    QCheckBox* CheckBox1() const { return CheckBox1_; }
    QCheckBox* CheckBox2() const { return CheckBox2_; }
    QCheckBox* CheckBox3() const { return CheckBox3_; }
    QCheckBox* autoimebox() const { return autoimebox_; }
    QLabel* runnerspathlabel() const { return runnerspathlabel_; }
    QPushButton* playerserchbtn() const { return playerserchbtn_; }
    QLabel* serchlabel() const { return serchlabel_; }
    QPushButton* serchdir() const { return serchdir_; }
    QLabel* dirlabel() const { return dirlabel_; }
    QPushButton* dirlist() const { return dirlist_; }

    // "参照(&S)": the runner program, any executable file.
    void playerserchbtnClick();
    // Asks for the resource search folder / the join's output folder.
    void serchdirClick();
    void dirlistClick();

    // The desktop's folder dialog; tests replace it. Empty means cancelled.
    std::function<QString(QWidget* parent, const QString& title, const QString& start)> chooseFolder;

private:
    void FormShow();
    void showRunnerPath();
    Choice makeChoice(const QString& name, const QString& title, const QString& first, const QString& second,
                      bool Options::*setting);
    QCheckBox* makeCheck(const QString& name, const QString& caption, const QString& hint, bool Options::*setting);

    Options& options_;
    QString shownSearchFolder_;
    QTabWidget* pages_;
    Choice groups_[6];
    QCheckBox* CheckBox1_;
    QCheckBox* CheckBox2_;
    QCheckBox* CheckBox3_;
    QCheckBox* autoimebox_;
    QLabel* runnerspathlabel_;
    QPushButton* playerserchbtn_;
    QLabel* serchlabel_;
    QPushButton* serchdir_;
    QLabel* dirlabel_;
    QPushButton* dirlist_;
};

}  // namespace qrn
