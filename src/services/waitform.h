// The wait window shown while a long operation runs. Create it on the stack
// (or with new) for the operation, call makehelplabel, destroy it when done.
#pragma once

#include <QWidget>

class QLabel;

namespace qrn {

class Twaitform : public QWidget {
    Q_OBJECT
public:
    explicit Twaitform(QWidget* parent = nullptr);
    // Puts the text into the label, shows the window and paints it at once.
    void makehelplabel(const QString& text);
    QString text() const;

private:
    QLabel* helplabel_;
};

}  // namespace qrn
