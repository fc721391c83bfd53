// The character page control of the property editor: name, picture, default
// comment and kind; talk music and appearance; the comments that depend on
// items held and events cleared; the healer's price, the merchant's goods and
// everything an enemy fights with. The kind decides which pages are open.
#pragma once

#include <QTabWidget>
#include <array>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qrn {

class NumericEdit;
class PictureBox;
class ShortStringEdit;
class Tparamedit;
struct CharaDef;

class CharaPage : public QTabWidget {
    Q_OBJECT
public:
    CharaPage(Tparamedit& owner, QWidget* parent);

    // Applies the kind rules to the pages and controls, then shows the character.
    void cheditini();
    // Shows every setting of the character.
    void charaview();
    // The author picks another kind: it is stored and the other kinds' settings cleared.
    void chcharatypeClick(int radio);

    void chfilenamesetClick();
    void chcommentsetClick();
    void chcommentdelClick();
    void chsalesetClick();
    void chsaledelClick();
    void chtalkbgmsetClick();
    void chtalkbgmdelClick();
    void chtalkbgmplayClick();
    void chshowitemsetClick();
    void chshowitemdelClick();
    void chshoweventsetClick();
    void chshoweventdelClick();
    void chendhideClick();
    void chwantitemsetClick(int tag);
    void chwantitemdelClick(int tag);
    void cheventcommentsetClick(int tag);
    void cheventcommentdelClick(int tag);
    void chantimagicClick();
    void chitemsetClick();
    void chitemdelClick();
    void chbossimgsetClick();
    void chbossimgdelClick();
    void chbossimgviewClick();
    void chmagicsetClick();
    void chmagicdelClick();
    void chpoisonsetClick();
    void chpoisondelClick();
    void chbattlebgmsetClick();
    void chbattlebgmdelClick();
    void chbattlebgmplayClick();
    void chbattlesoundsetClick();
    void chbattlesounddelClick();
    void chbattlesoundplayClick();

    ShortStringEdit* charaname() const { return charaname_; }
    QRadioButton* kindRadio(int radio) const { return kindRadios_[static_cast<std::size_t>(radio)]; }
    NumericEdit* chhealmoney() const { return chhealmoney_; }
    QListWidget* chsale() const { return chsale_; }
    NumericEdit* chpower() const { return chpower_; }
    // Attack, defence, speed, money, experience by tag 1..5.
    NumericEdit* chstatus(int tag) const { return status_[static_cast<std::size_t>(tag - 1)]; }
    NumericEdit* chitemputedit() const { return chitemputedit_; }
    QSpinBox* chitemput() const { return chitemput_; }
    NumericEdit* chmagicuseedit() const { return chmagicuseedit_; }
    NumericEdit* chpoisonuseedit() const { return chpoisonuseedit_; }
    QListWidget* chmagic() const { return chmagic_; }
    QListWidget* chpoison() const { return chpoison_; }

private:
    struct CommentRow {
        QLabel* subject;  // the item or event
        QLabel* comment;
        PictureBox* pic;
    };

    int number() const;
    CharaDef& chara() const;
    QString words() const;          // the name or "このｷｬﾗｸﾀｰ"
    QString shortWords() const;     // the name or "このｷｬﾗｸﾀ"
    void buildGeneral();
    void buildSpecial();
    void buildComments();
    void buildEnemyGeneral();
    void buildEnemySpecial();
    void charanameChange();
    void chsaleini();
    void chenemystatusini();
    void chmagicini();
    void chpoisonini();
    void commentPair(bool events, int tag);

    Tparamedit& owner_;
    bool rendering_ = false;
    ShortStringEdit* charaname_ = nullptr;
    QLabel* chfilename_ = nullptr;
    PictureBox* chfilenamepic_ = nullptr;
    QLabel* chcomment_ = nullptr;
    QButtonGroup* chcharatype_ = nullptr;
    std::array<QRadioButton*, 4> kindRadios_{};
    QLabel* healLabel_ = nullptr;
    NumericEdit* chhealmoney_ = nullptr;
    QPushButton* chsaleset_ = nullptr;
    QPushButton* chsaledel_ = nullptr;
    QListWidget* chsale_ = nullptr;
    QLabel* chtalkbgm_ = nullptr;
    QLabel* chshowitem_ = nullptr;
    PictureBox* chshowitempic_ = nullptr;
    QLabel* chshowevent_ = nullptr;
    PictureBox* chshoweventpic_ = nullptr;
    QCheckBox* chendhide_ = nullptr;
    std::array<CommentRow, 5> itemRows_{};
    std::array<CommentRow, 5> eventRows_{};
    QCheckBox* chantimagic_ = nullptr;
    NumericEdit* chpower_ = nullptr;
    std::array<NumericEdit*, 5> status_{};
    QLabel* chitem_ = nullptr;
    PictureBox* chitempic_ = nullptr;
    QLabel* dropLabel_ = nullptr;
    NumericEdit* chitemputedit_ = nullptr;
    QSpinBox* chitemput_ = nullptr;
    QLabel* chbossimg_ = nullptr;
    QListWidget* chmagic_ = nullptr;
    NumericEdit* chmagicuseedit_ = nullptr;
    QSpinBox* chmagicuse_ = nullptr;
    QListWidget* chpoison_ = nullptr;
    NumericEdit* chpoisonuseedit_ = nullptr;
    QSpinBox* chpoisonuse_ = nullptr;
    QLabel* chbattlebgm_ = nullptr;
    QLabel* chbattlesound_ = nullptr;
};

}  // namespace qrn
