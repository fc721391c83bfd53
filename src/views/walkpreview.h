// The walk preview "試し歩き": the hero walked over the fields by the
// scenario's rules (scenario/walk.h), the field drawn around the hero with
// every layer, what each step caused in a message box and a log, and a
// status line. It only reads the scenario; the other windows stay usable
// while it is open.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>

#include "render/fieldrenderer.h"
#include "scenario/walk.h"

class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace qrn {

// The field around the hero, cell by cell, with the message box over its
// bottom. Draws what it is given; the window owns the walk.
class WalkView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 15;
    static constexpr int kRows = 11;
    static constexpr int kCell = 32;

    explicit WalkView(QWidget* parent = nullptr);

    // The walk to draw, or none (a black view).
    void setWalk(const WalkState* walk) { walk_ = walk; }
    // The page the message box shows; empty closes the box.
    void setMessage(const QStringList& lines);
    const QStringList& message() const { return message_; }
    // Forgets every drawn cell (pictures or the picture list changed).
    void forgetPictures();
    // The view drawn into an image, as a repaint draws it.
    QImage renderImage();

signals:
    void keyPressed(QKeyEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void draw(QPainter& painter);
    const QImage& cellTile(int cellNumber);
    void drawHero(QPainter& painter, const QRect& rect);

    const WalkState* walk_ = nullptr;
    QStringList message_;
    ChipImages chips_;
    std::unique_ptr<FieldRenderer> renderer_;
    int pictureCount_ = -1;
};

class Twalkpreview : public QMainWindow {
    Q_OBJECT
public:
    explicit Twalkpreview(QWidget* parent = nullptr);

    // Starts at the hero's start; false, with a message, when the start lies
    // outside a field that can be walked.
    bool startAtHero();
    // Starts at a cell (0-based) with the hero's starting items; false, with
    // a message, when the cell lies outside a field that can be walked.
    bool startAt(int field, int col, int row);

    // The inputs, as the keys give them.
    void step(WalkDirection direction);
    void examine();  // closes the message box when it is open
    void useItem(int item);
    // The item menu at the view (the items carried).
    void openItemMenu();

    // The scenario changed: the view is drawn again, or the walk stops when
    // its cell can no longer be walked.
    void scenarioChanged();
    // Another scenario was opened or made: the walk starts again.
    void scenarioReplaced();

    const std::optional<WalkState>& walk() const { return walk_; }
    WalkView* view() const { return view_; }
    QLabel* statusLine() const { return status_; }
    QPlainTextEdit* log() const { return log_; }
    QMenu* itemMenu() const { return itemMenu_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool begin(std::optional<WalkState> walk, const QString& refusal);
    void stop(const QString& why);
    void report(const WalkOutcomes& outcomes);
    void showNextPage();
    void refresh();
    void handleKey(QKeyEvent* event);

    std::optional<WalkState> walk_;
    bool fromHero_ = true;  // how the walk started, for 最初から
    bool quietRefusal_ = false;  // a refused start goes without a message window
    int startField_ = 0, startCol_ = 0, startRow_ = 0;
    QList<QStringList> pages_;  // pages of the message box still to show
    WalkView* view_;
    QLabel* note_;
    QLabel* status_;
    QPlainTextEdit* log_;
    QPushButton* examineButton_;
    QPushButton* itemButton_;
    QPushButton* restartButton_;
    QMenu* itemMenu_;
};

}  // namespace qrn
