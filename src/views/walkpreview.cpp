#include "views/walkpreview.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/services.h"
#include "views/walkwords.h"

namespace qrn {

namespace {

constexpr int kPageLines = 4;

const Scenario& scenario() { return editor().scenario; }

}  // namespace

// ---- the view -----------------------------------------------------------------

WalkView::WalkView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("walkview"));
    setFixedSize(kColumns * kCell, kRows * kCell);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WalkView::setMessage(const QStringList& lines) {
    message_ = lines;
    update();
}

void WalkView::forgetPictures() {
    renderer_.reset();
    chips_ = ChipImages{};
    pictureCount_ = -1;
    update();
}

QImage WalkView::renderImage() {
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    draw(painter);
    return image;
}

const QImage& WalkView::cellTile(int cellNumber) {
    const EditorContext& ed = editor();
    const int count = ed.imageList.count();
    if (!renderer_ || count != pictureCount_) {
        // The picture list grew or was loaded afresh: every chip is taken again.
        chips_ = ChipImages{};
        chips_.chips.resize(static_cast<std::size_t>(count));
        chips_.blank = ed.imageList.blankChip().toImage();
        renderer_ = std::make_unique<FieldRenderer>(chips_, ed.side.pictures);
        pictureCount_ = count;
    }
    const CellLook look = composeWalkCell(ed.scenario, *walk_, cellNumber, ed.side.pictures, kAllLayers, count);
    for (int i = 0; i < look.count; ++i) {
        const auto index = static_cast<std::size_t>(look.pictures[static_cast<std::size_t>(i)]);
        if (chips_.chips[index].isNull()) chips_.chips[index] = ed.imageList.pixmap(static_cast<int>(index)).toImage();
    }
    return renderer_->tile(look);
}

void WalkView::drawHero(QPainter& painter, const QRect& rect) {
    const EditorContext& ed = editor();
    const int picture = heroPicture(ed.scenario, *walk_, ed.side.pictures, ed.imageList.count());
    if (picture >= 0) {
        painter.drawPixmap(rect.topLeft(), ed.imageList.pixmap(picture));
        return;
    }
    // The plain marker: a disc with a point toward the way the hero faces.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(QColor(0xe0, 0x30, 0x30));
    painter.drawEllipse(rect.adjusted(6, 6, -6, -6));
    const QPointF c = QRectF(rect).center();
    static const QPointF tips[4] = {{0, -14}, {14, 0}, {0, 14}, {-14, 0}};
    const QPointF tip = tips[static_cast<int>(walk_->direction)];
    const QPointF side(tip.y() / 3, -tip.x() / 3);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF{c + tip, c + tip / 2 + side, c + tip / 2 - side});
    painter.restore();
}

void WalkView::draw(QPainter& painter) {
    painter.fillRect(rect(), Qt::black);
    if (walk_) {
        const Scenario& s = scenario();
        // The hero stands in the middle; what lies beyond the field is black.
        const int left = walk_->x - kColumns / 2, top = walk_->y - kRows / 2;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                const int cell = walkCell(s, walk_->field, left + c, top + r);
                if (cell != 0) painter.drawImage(c * kCell, r * kCell, cellTile(cell));
            }
        drawHero(painter, QRect((kColumns / 2) * kCell, (kRows / 2) * kCell, kCell, kCell));
    }
    if (message_.isEmpty()) return;
    const QFontMetrics metrics(font());
    const int line = metrics.lineSpacing();
    const QRect box(6, height() - 6 - (kPageLines * line + 16), width() - 12, kPageLines * line + 16);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(QColor(0, 0, 64, 230));
    painter.drawRect(box);
    painter.setFont(font());
    for (int i = 0; i < message_.size() && i < kPageLines; ++i)
        painter.drawText(box.left() + 10, box.top() + 8 + metrics.ascent() + i * line,
                         metrics.elidedText(message_[i], Qt::ElideRight, box.width() - 20));
}

void WalkView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    draw(painter);
}

void WalkView::keyPressEvent(QKeyEvent* event) { emit keyPressed(event); }

// ---- the window ---------------------------------------------------------------

Twalkpreview::Twalkpreview(QWidget* parent)
    : QMainWindow(parent, Qt::Tool),
      view_(new WalkView),
      note_(new QLabel(QStringLiteral("プレビューです。戦闘・店・ダメージは知らせるだけで、実際には行いません。"))),
      status_(new QLabel),
      log_(new QPlainTextEdit),
      examineButton_(new QPushButton(QStringLiteral("調べる"))),
      itemButton_(new QPushButton(QStringLiteral("アイテム(&I)"))),
      restartButton_(new QPushButton(QStringLiteral("最初から(&R)"))),
      itemMenu_(new QMenu(this)) {
    setObjectName(QStringLiteral("walkpreview"));
    setWindowTitle(QStringLiteral("試し歩き"));
    note_->setWordWrap(true);
    status_->setObjectName(QStringLiteral("walkstatus"));
    status_->setWordWrap(true);
    log_->setObjectName(QStringLiteral("walklog"));
    log_->setReadOnly(true);
    log_->setMaximumBlockCount(500);
    log_->setFocusPolicy(Qt::NoFocus);
    log_->setFixedHeight(QFontMetrics(log_->font()).lineSpacing() * 5 + 12);
    examineButton_->setToolTip(QStringLiteral("Space または Enter"));
    // The keys stay with the view: the buttons are for the mouse.
    for (QPushButton* b : {examineButton_, itemButton_, restartButton_}) b->setFocusPolicy(Qt::NoFocus);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(examineButton_);
    buttons->addWidget(itemButton_);
    buttons->addWidget(restartButton_);
    buttons->addStretch(1);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(note_);
    layout->addWidget(view_, 0, Qt::AlignHCenter);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    layout->addWidget(log_);
    setCentralWidget(central);

    connect(view_, &WalkView::keyPressed, this, &Twalkpreview::handleKey);
    connect(examineButton_, &QPushButton::clicked, this, &Twalkpreview::examine);
    connect(itemButton_, &QPushButton::clicked, this, &Twalkpreview::openItemMenu);
    connect(restartButton_, &QPushButton::clicked, this, [this] {
        if (fromHero_) startAtHero();
        else startAt(startField_, startCol_, startRow_);
    });
    refresh();
}

bool Twalkpreview::startAtHero() {
    fromHero_ = true;
    return begin(startWalk(scenario()),
                 QStringLiteral("主人公のスタート地点が、歩けるフィールドの中にありません。\n"
                                "「主人公設定」でスタート地点を決めてから試し歩きしてください。"));
}

bool Twalkpreview::startAt(int field, int col, int row) {
    fromHero_ = false;
    startField_ = field;
    startCol_ = col;
    startRow_ = row;
    return begin(startWalkAt(scenario(), field, col, row),
                 QStringLiteral("カーソルのセルが、歩けるフィールドの中にありません。"));
}

bool Twalkpreview::begin(std::optional<WalkState> walk, const QString& refusal) {
    pages_.clear();
    view_->setMessage({});
    if (!walk) {
        stop(refusal);
        // Asked for by the author: said in a message too. After a reload the
        // open window says it in its box alone.
        if (MessageService* m = editor().messages; m && !quietRefusal_)
            m->warning(isVisible() ? this : parentWidget(), refusal);
        return false;
    }
    walk_ = std::move(walk);
    view_->setWalk(&*walk_);
    view_->forgetPictures();
    log_->appendPlainText(QStringLiteral("― ") + walkFieldName(scenario(), walk_->field) + QStringLiteral("の ") +
                          walkCellText(walk_->x, walk_->y) + QStringLiteral(" から歩きはじめます"));
    refresh();
    return true;
}

void Twalkpreview::stop(const QString& why) {
    walk_.reset();
    view_->setWalk(nullptr);
    pages_.clear();
    view_->setMessage(why.split(u'\n'));
    log_->appendPlainText(QString(why).replace(u'\n', QStringLiteral("　")));
    refresh();
}

void Twalkpreview::step(WalkDirection direction) {
    if (!walk_ || !view_->message().isEmpty()) return;
    report(stepWalk(scenario(), *walk_, direction));
}

void Twalkpreview::examine() {
    if (!view_->message().isEmpty()) {
        showNextPage();
        return;
    }
    if (walk_) report(examineWalk(scenario(), *walk_));
}

void Twalkpreview::useItem(int item) {
    if (!walk_ || !view_->message().isEmpty()) return;
    log_->appendPlainText(walkItemName(scenario(), item) + QStringLiteral("を使いました"));
    report(useWalkItem(scenario(), *walk_, item));
}

void Twalkpreview::openItemMenu() {
    itemMenu_->clear();
    if (!walk_ || walk_->ended || !view_->message().isEmpty()) return;
    if (walk_->items.empty()) {
        itemMenu_->addAction(QStringLiteral("（持ち物はありません）"))->setEnabled(false);
    } else {
        int shown = 0;
        for (const int item : walk_->items) {
            const QString prefix = ++shown <= 9 ? QStringLiteral("&%1 ").arg(shown) : QString();
            connect(itemMenu_->addAction(prefix + walkItemName(scenario(), item)), &QAction::triggered, this,
                    [this, item] { useItem(item); });
        }
    }
    itemMenu_->popup(view_->mapToGlobal(QPoint(view_->width() / 2, view_->height() / 2)));
}

void Twalkpreview::report(const WalkOutcomes& outcomes) {
    const Scenario& s = scenario();
    for (const WalkOutcome& o : outcomes) {
        const WalkAnnouncement a = announceOutcome(s, o);
        if (!a.log.isEmpty()) log_->appendPlainText(a.log);
        for (int i = 0; i < a.page.size(); i += kPageLines) pages_ << a.page.mid(i, kPageLines);
    }
    if (view_->message().isEmpty()) showNextPage();
    refresh();
}

void Twalkpreview::showNextPage() { view_->setMessage(pages_.isEmpty() ? QStringList{} : pages_.takeFirst()); }

void Twalkpreview::refresh() {
    const Scenario& s = scenario();
    if (!walk_) {
        status_->setText(QStringLiteral("歩いていません"));
    } else {
        QStringList names;
        for (const int item : walk_->items) names << walkItemName(s, item);
        QString text = walkFieldName(s, walk_->field) + QStringLiteral("　") + walkCellText(walk_->x, walk_->y) +
                       QStringLiteral("　歩数：") + QString::number(walk_->steps) + QStringLiteral("　持ち物：") +
                       (names.isEmpty() ? QStringLiteral("なし") : names.join(QStringLiteral("、")));
        if (walk_->ended) text += QStringLiteral("　（エンディング）");
        status_->setText(text);
    }
    itemButton_->setEnabled(walk_.has_value() && !walk_->ended);
    examineButton_->setEnabled(walk_.has_value() || !view_->message().isEmpty());
    view_->update();
}

void Twalkpreview::scenarioChanged() {
    if (!walk_) return;
    const Scenario& s = scenario();
    if (walkCell(s, walk_->field, walk_->x, walk_->y) == 0) {
        stop(QStringLiteral("フィールド") + u'「' + walkFieldName(s, walk_->field) + u'」' +
             QStringLiteral("のこのセルは歩けなくなりました。\n試し歩きを止めます（最初から(R)で歩き直せます）。"));
        return;
    }
    view_->forgetPictures();
    refresh();
}

void Twalkpreview::scenarioReplaced() {
    log_->clear();
    if (!isVisible()) {
        walk_.reset();
        view_->setWalk(nullptr);
        pages_.clear();
        view_->setMessage({});
        refresh();
        return;
    }
    // The same kind of start, in the scenario now open.
    quietRefusal_ = true;
    if (fromHero_) startAtHero();
    else startAt(startField_, startCol_, startRow_);
    quietRefusal_ = false;
}

void Twalkpreview::handleKey(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up: step(WalkDirection::North); break;
        case Qt::Key_Right: step(WalkDirection::East); break;
        case Qt::Key_Down: step(WalkDirection::South); break;
        case Qt::Key_Left: step(WalkDirection::West); break;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter: examine(); break;
        case Qt::Key_I: openItemMenu(); break;
        case Qt::Key_R: restartButton_->click(); break;
        case Qt::Key_Escape: hide(); break;
        default: event->ignore(); return;
    }
    event->accept();
}

void Twalkpreview::keyPressEvent(QKeyEvent* event) {
    handleKey(event);
    if (!event->isAccepted()) QMainWindow::keyPressEvent(event);
}

void Twalkpreview::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    view_->setFocus();
}

}  // namespace qrn
