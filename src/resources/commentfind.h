// The find and replace dialogs of the comment panel (modeless).
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qrn {

class CommentFindDialog : public QDialog {
    Q_OBJECT
public:
    enum Mode { Find, WholeSearch, Replace };
    CommentFindDialog(Mode mode, QWidget* parent);

    Mode mode() const { return mode_; }
    QString findText() const;
    QString replaceText() const;
    bool matchCase() const;
    bool wholeWord() const;
    void setFindText(const QString& text);
    void setChoices(bool matchCase, bool wholeWord);

signals:
    void findNext();
    void replaceOne();
    void replaceAll();

private:
    Mode mode_;
    QLineEdit* find_;
    QLineEdit* replace_ = nullptr;
    QCheckBox* wholeWord_;
    QCheckBox* matchCase_;
};

}  // namespace qrn
