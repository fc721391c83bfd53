// A 32 x 32 box that draws one entry of the shared picture list.
#pragma once

#include <QWidget>

namespace qrn {

class PictureBox : public QWidget {
public:
    explicit PictureBox(const QString& name, QWidget* parent = nullptr);
    // 0 (or an index beyond the list) draws nothing.
    void setIndex(int index);
    int index() const { return index_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int index_ = 0;
};

}  // namespace qrn
