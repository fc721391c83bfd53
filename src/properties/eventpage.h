// The event page control of the property editor: name and images, battle,
// the comments before and after, the jump, prologue and epilogue, the start
// conditions, what the hero gains or loses, and the six flags.
#pragma once

#include <optional>
#include <QTabWidget>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace qrn {

class PictureBox;
class ShortStringEdit;
class Tparamedit;
struct EventDef;

class EventPage : public QTabWidget {
    Q_OBJECT
public:
    EventPage(Tparamedit& owner, QWidget* parent);

    // Applies the rules that tie the settings together, then shows the event.
    void eventini();
    // Applies the rendering rules and shows every setting.
    void eventview();

    // The six flag boxes, told apart by their tag.
    void evcheck1Click(QCheckBox* box);
    void evactionClick(int action);

    void evfilenamesetClick();
    void evendfilenamesetClick();
    void evendfilenamedelClick();
    void evenemysetClick();
    void evenemydelClick();
    void evstartcommentsetClick();
    void evstartcommentdelClick();
    void evendcommentsetClick();
    void evendcommentdelClick();
    void evlinksetClick();
    void evlinkdelClick();
    void evprologuesetClick();
    void evprologuedelClick();
    void evprologuebmpsetClick();
    void evprologuebmpdelClick();
    void evprologuebmpviewClick();
    void evprologuebgmsetClick();
    void evprologuebgmdelClick();
    void evprologuebgmplayClick();
    void evepiloguesetClick();
    void evepiloguedelClick();
    void evepiloguebmpsetClick();
    void evepiloguebmpdelClick();
    void evepiloguebmpviewClick();
    void evepiloguebgmsetClick();
    void evepiloguebgmdelClick();
    void evepiloguebgmplayClick();
    void evstartitemsetClick();
    void evstartitemdelClick();
    void evshowitemsetClick();
    void evshowitemdelClick();
    void evshoweventsetClick();
    void evshoweventdelClick();
    void evgetitemsetClick();
    void evgetitemdelClick();
    void evputitemsetClick();
    void evputitemdelClick();
    void evgetmagicsetClick();
    void evgetmagicdelClick();

    ShortStringEdit* eventname() const { return eventname_; }
    QCheckBox* flagBox(int tag) const;
    QRadioButton* actionButton(int action) const;
    QLabel* label(const char* name) const;
    QPushButton* button(const char* name) const;
    QListWidget* list(const char* name) const;

private:
    int number() const;
    EventDef& event() const;
    QString words() const;
    void eventnameChange();
    void setPicture(bool second);
    void setFullScreenImage(bool epilogue);
    void showLarge(bool epilogue);
    std::optional<short> takeComment(const char* prompt, int current);
    bool takeBgm(const char* prompt, unsigned char& reference);
    void takeSlots(bool events, const char* prompt, unsigned char (&slotArray)[10]);
    void showSlots(QListWidget* list, const unsigned char (&slotArray)[10], bool events);

    Tparamedit& owner_;
    bool rendering_ = false;
    ShortStringEdit* eventname_;
    QLabel* evfilename_;
    PictureBox* evfilenamepic_;
    QLabel* evendfilename_;
    PictureBox* evendfilenamepic_;
    QLabel* evenemy_;
    PictureBox* evenemypic_;
    QLabel* evstartcomment_;
    QLabel* evendcomment_;
    QLabel* evlink_;
    QLabel* evlocatex_;
    QLabel* evlocatey_;
    QLabel* evprologue_;
    QLabel* evprologuebmp_;
    QLabel* evprologuebgm_;
    QLabel* evepilogue_;
    QLabel* evepiloguebmp_;
    QLabel* evepiloguebgm_;
    QLabel* evstartitem_;
    PictureBox* evstartitempic_;
    QLabel* evgetmagic_;
    QListWidget* evshowitem_;
    QListWidget* evshowevent_;
    QListWidget* evgetitem_;
    QListWidget* evputitem_;
    QButtonGroup* evaction_;
    QList<QCheckBox*> flags_;
    // Controls the rules open and close.
    QList<QWidget*> startCommentControls_;
    QList<QWidget*> afterEndControls_;
    QList<QWidget*> prologueBgmControls_;
    QList<QWidget*> epilogueBgmControls_;
    QList<QWidget*> startItemControls_;
};

}  // namespace qrn
