// The random ratio dialog of the random draw and random erase tools.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>
#include <optional>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace qrn {

// Keeps a window's placement in the settings store under
// FormLocate/<formName> (TFormSave): show state, flags, normal rectangle,
// maximised and minimised positions.
class FormSave {
public:
    FormSave(QWidget* form, QString formName) : form_(form), formName_(std::move(formName)) {}
    // Reads the placement and places the form; marks it as restored.
    void restorePlacement();
    // Writes the form's placement, only after restorePlacement has run.
    void savePlacement();
    bool restored() const { return restored_; }
    // Whether the store held a placement for the form.
    bool stored() const { return stored_; }

private:
    QString key(const char* value) const;

    QWidget* form_;
    QString formName_;
    bool restored_ = false;
    bool stored_ = false;
};

class Trandomform : public QDialog {
    Q_OBJECT
public:
    enum Role { Draw, Erase };
    explicit Trandomform(QWidget* parent = nullptr);
    ~Trandomform() override;
    // -1 when cancelled or empty, else the ratio 0..100. Unless a placement
    // is stored, the dialog opens at `near` (the selection it is about).
    int askratio(Role role, std::optional<QPoint> near = std::nullopt);

    // The remembered ratio of a role (settings random/draw, random/erase).
    static int rememberedRatio(Role role);

    QLineEdit* peredit() const { return peredit_; }
    QPushButton* okbtn() const { return okbtn_; }
    QPushButton* cancelbtn() const { return cancelbtn_; }
    // The up-down pair: `next` adds 1, otherwise subtracts 1.
    void upClick(bool next);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void pereditChange(const QString& text);
    void setTextUnchecked(const QString& text);

    Role role_ = Draw;
    std::optional<QPoint> near_;
    bool checking_ = false;
    QLineEdit* peredit_;
    QToolButton* downbtn_;
    QToolButton* upbtn_;
    QPushButton* okbtn_;
    QPushButton* cancelbtn_;
    FormSave formSave_;
};

}  // namespace qrn
