// The scenario settings panel of the settings window: name, author,
// password, currency, selling ratio, the title screen, the start and ending
// sequences and the scenario-wide music and sounds.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "resources/settingparts.h"
#include "scenario/scenario.h"

class QLabel;
class QSpinBox;
class QTabWidget;

namespace qrn {

class NumericEdit;
class PictureBox;
class ShortStringEdit;
class Tmagicedit;

class ScenarioPanel : public QWidget {
    Q_OBJECT
public:
    ScenarioPanel(Tmagicedit& owner, QWidget* parent);

    // Opens on the first page.
    void makescenariolist();
    // Shows every page from the data.
    void scenarioview();
    void scpagechangebtnClick();
    void passwordsetClick();
    void passworddelClick();
    void scenariolistcloseClick();

    // One reference setting of the pages.
    struct Reference {
        enum Kind { Bitmap, Bgm, Sound, Comment, WalkImage } kind;
        QString name;
        RefRow row;
        ShortString255* (*file)(Scenario&) = nullptr;  // bitmaps
        std::function<int()> get;                       // numbers
        std::function<void(int)> set;
        QString suffix;
        bool quoteDefault = false;
    };
    // The reference setting named `name` (its label's object name), or null.
    const Reference* reference(const QString& name) const;
    void referenceSetClick(const QString& name);
    void referenceDelClick(const QString& name);
    void referenceExtraClick(const QString& name);

    QTabWidget* scenariocontrol() const { return pages_; }
    ShortStringEdit* scenarioname() const { return name_; }
    ShortStringEdit* scdesigner() const { return designer_; }
    ShortStringEdit* scdoller() const { return doller_; }
    QLabel* scplaypassword() const { return password_; }
    QLabel* lengthlabel() const { return length_; }
    NumericEdit* scsalebyedit() const { return salebyEdit_; }
    QSpinBox* scsaleby() const { return saleby_; }
    PictureBox* scwalkimgpic() const { return walkPic_; }

private:
    void addReference(Reference r, QGridLayout* grid, int row, QWidget* page, const QString& caption);
    void showReference(const Reference& r);
    QString heading(const Reference& r) const;

    Tmagicedit& owner_;
    bool showing_ = false;
    QTabWidget* pages_;
    ShortStringEdit* name_;
    ShortStringEdit* designer_;
    ShortStringEdit* doller_;
    QLabel* password_;
    QLabel* length_;
    NumericEdit* salebyEdit_;
    QSpinBox* saleby_;
    PictureBox* walkPic_;
    std::vector<Reference> refs_;
};

}  // namespace qrn
