// The comment panel: five pages of 100 comments, the text box with its
// commands, large-text mode, find, replace and the whole search over all
// 500 comments.
#pragma once

#include <QPointer>
#include <array>

#include "resources/respanel.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QTabWidget;
class QToolBar;

namespace qrn {

class CommentFindDialog;
class CommentTextEdit;

class CommentPanel : public ResPanel {
    Q_OBJECT
public:
    explicit CommentPanel(QWidget* parent = nullptr);

    // Puts the "編集(&E)" menu into the window's menu bar.
    void buildMenu(QMenuBar* bar);

    void makeList() override;
    void showCurrent() override;
    void rewriteLine(int number) override;
    bool lineSelected() const override;
    void panelHiding() override;

    // 検索: the next match in the current comment from the caret. False and
    // "文字列はもうありません。" when there is none.
    bool findNext(const QString& text, bool matchCase, bool wholeWord);
    // 置換: replaces the selection when it is the search text, then finds the next.
    bool replaceOne(const QString& text, const QString& replacement, bool matchCase, bool wholeWord);
    // すべて置換 in the current comment (asks first while confirmations are on).
    int replaceAll(const QString& text, const QString& replacement, bool matchCase, bool wholeWord);
    // 全体検索: on from the caret through the following comments up to 500.
    bool wholeSearchNext(const QString& text, bool matchCase, bool wholeWord);

    // 拡大／縮小, ﾂｰﾙﾊﾞｰ表示, (&W) and (&S).
    void toggleLargeMode();
    bool largeMode() const { return large_; }
    void toggleToolBar();
    void nextPage();
    void switchFocus();

    CommentTextEdit* textBox() const { return commentview_; }
    QTabWidget* pages() const { return commentControl_; }
    QListWidget* pageList(int page) const { return lists_[static_cast<std::size_t>(page)]; }
    QLabel* stateLabel() const { return richstate_; }
    QToolBar* toolBar() const { return cmtoolpanel_; }
    QAction* command(const QString& name) const;
    CommentFindDialog* findDialog() const;

protected:
    void showDetails() override;

private:
    void buildCommands();
    void layoutControls();
    void textEdited();
    void pageChanged(int page);
    void refreshState();
    void openFinder(int mode);
    void selectBytes(std::size_t offset, std::size_t length);
    void nothingMore();

    QTabWidget* commentControl_;
    std::array<QListWidget*, 5> lists_{};
    CommentTextEdit* commentview_;
    QLabel* richstate_;
    QToolBar* cmtoolpanel_;
    QPushButton* cmpagechange_;
    QPushButton* focuschanged_;
    QPushButton* commentviewbigbtn_;
    QMenu* popup_;
    QList<QAction*> commands_;
    QAction* toolBarAct_ = nullptr;
    QPointer<CommentFindDialog> finder_;
    bool large_ = false;
};

}  // namespace qrn
