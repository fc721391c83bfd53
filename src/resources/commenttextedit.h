// The text box of the comment panel: plain text whose every state can be
// stored in a comment. Typing, pasting or input-method text that cp932
// cannot hold, or that would no longer fit in the comment's four lines, is
// refused before it reaches the box. Line breaks are stored as CR LF.
#pragma once

#include <QPlainTextEdit>
#include <string>
#include <string_view>

namespace qrn {

// The stored bytes of a text as the box shows it, and back.
std::string toStoredComment(const QString& shown);
QString toShownComment(std::string_view stored);

class CommentTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CommentTextEdit(QWidget* parent = nullptr);

    // True when replacing characters [from, to) of the text with `inserted`
    // leaves a text that can be stored.
    bool accepts(int from, int to, const QString& inserted) const;
    // Byte offset in the stored text of a position of the box, and back.
    std::size_t byteOffsetOf(int position) const;
    int positionOf(std::string_view stored, std::size_t byteOffset) const;

signals:
    // A key was handled (the insert / overwrite state may have changed).
    void keyHandled();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};

}  // namespace qrn
