// A one-line text box bound to a fixed-size cp932 text slot of the scenario.
// It holds at most `capacity` cp932 bytes (a full-width character takes two)
// and refuses any character cp932 cannot hold, so what it shows is exactly
// what can be stored.
#pragma once

#include <QLineEdit>
#include <string>
#include <string_view>

namespace qrn {

class ShortStringEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ShortStringEdit(int capacity = 32, QWidget* parent = nullptr);

    int capacity() const { return capacity_; }
    // Shows stored bytes; bytes beyond the capacity or not valid cp932 are
    // shown cut (at a character boundary) or replaced, as a damaged file may hold them.
    void setBytes(std::string_view cp932);
    // The box's text as cp932 bytes (always fits the capacity).
    std::string bytes() const;

private:
    int capacity_;
};

}  // namespace qrn
