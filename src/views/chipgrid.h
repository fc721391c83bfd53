// The image view's chip grid (DrawGrid1): 15 x 60 cells of 32 x 32 pixels,
// painted from the file table, with a red frame around the selected cell.
#pragma once

#include <QWidget>
#include <functional>

namespace qrn {

class ChipTable;

class ChipGrid : public QWidget {
public:
    static constexpr int kPitch = 33;  // 32 pixel cell + 1 pixel line

    ChipGrid(const ChipTable& table, QWidget* parent = nullptr);

    int current() const { return current_; }
    // Moves the selection frame without calling onSelect.
    void setCurrent(int index);
    // Pixel rectangle of an entry (index = row * 15 + column).
    static QRect cellRect(int index);

    std::function<void(int)> onSelect;    // the author picked a cell
    std::function<void()> onActivate;     // double-click

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int indexAt(const QPoint& pos) const;
    void pick(int index);

    const ChipTable& table_;
    int current_ = 0;
};

}  // namespace qrn
