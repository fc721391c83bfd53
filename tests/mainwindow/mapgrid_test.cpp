// The map grid: painting cells, the pen, keys, right-drag scrolling,
// property mode and the range tools.
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "services/editorcontext.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/mapgrid.h"
#include "services/options.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/maplayers.h"

namespace qrn {
namespace {

const QRgb kGreen = qRgb(0, 200, 0);
const QRgb kRed = qRgb(230, 0, 0);
const QRgb kBlue = qRgb(0, 0, 220);

QImage solidChip(QRgb colour) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A white chip (the transparent colour) with a coloured square in the middle.
QImage keyedChip(QRgb colour) {
    QImage image = solidChip(qRgb(255, 255, 255));
    QPainter(&image).fillRect(QRect(8, 8, 16, 16), QColor(colour));
    return image;
}

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons, modifiers);
    QCoreApplication::sendEvent(target, &event);
}

void sendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(target, &press);
}

// Field 1 of 20 x 10 (or the given size) shown in a map grid; objects 1..3
// of every layer are in use.
class MapGridTest : public ::testing::Test {
protected:
    void SetUp() override { setUpField(20, 10, QSize(400, 300)); }

    void setUpField(int width, int height, const QSize& widgetSize) {
        EditorContext& ctx = editor();
        if (!savedOnce_) saved_ = {ctx.options, editorWindows().palette, editorWindows().paramedit, editorWindows().randomform};
        savedOnce_ = true;
        ctx.options = nullptr;
        editorWindows().palette = nullptr;
        editorWindows().paramedit = nullptr;
        editorWindows().randomform = nullptr;
        alldatainitialize(ctx.scenario, ctx.side, 7);
        createFirstField(ctx.scenario, "", "", "", width, height);
        ctx.state = EditorState{};
        ctx.drawing = DrawingState{};
        ctx.imageList.reset();
        for (int layer = kPlace; layer <= kChara; ++layer) {
            for (int n = 1; n <= 3; ++n) {
                firstImageFile(ctx.scenario, layer, n)->assign("chip.bmp");
                const bool masked = layer != kPlace;
                const QRgb colour = layer == kPlace ? kGreen : layer == kChara ? kRed : kBlue;
                *pictureSlot(ctx.side.pictures, layer, n) =
                    ctx.imageList.add(masked ? keyedChip(colour) : solidChip(colour), masked, 0xFFFFFF);
            }
        }
        for (auto& column : ctx.cellIndexMap) column.fill(0);
        for (int row = 0; row < height; ++row)
            for (int col = 0; col < width; ++col)
                ctx.cellIndexMap[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] = 1 + row * width + col;
        grid_ = std::make_unique<MapGrid>();
        grid_->resize(widgetSize);
        grid_->setFieldSize(width, height);
        grid_->show();
        QApplication::processEvents();
    }

    void TearDown() override {
        grid_.reset();
        EditorContext& ctx = editor();
        ctx.options = saved_.options;
        editorWindows().palette = saved_.palette;
        editorWindows().paramedit = saved_.paramedit;
        editorWindows().randomform = saved_.randomform;
    }

    Cell& cell(int col, int row) {
        return editor().scenario.cell(editor().cellIndexMap[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]);
    }
    void click(int col, int row) {
        const QPoint pos = grid_->cellRect(col, row).center();
        sendMouse(grid_->viewport(), QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
        sendMouse(grid_->viewport(), QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
    }
    void targets(std::initializer_list<int> layers) {
        editor().drawing.drawTarget.fill(false);
        for (int layer : layers) editor().drawing.drawTarget[static_cast<std::size_t>(layer)] = true;
    }
    std::vector<Cell> snapshot() {
        const Scenario& s = editor().scenario;
        return std::vector<Cell>(s.cells, s.cells + 200);
    }
    QRgb pixel(const QPoint& pos) { return grid_->viewport()->grab().toImage().pixel(pos) | 0xFF000000u; }

    struct Saved {
        Options* options;
        Tpalette* palette;
        Tparamedit* paramedit;
        Trandomform* randomform;
    } saved_{};
    bool savedOnce_ = false;
    std::unique_ptr<MapGrid> grid_;
};

bool sameCell(const Cell& a, const Cell& b) { return std::memcmp(&a, &b, sizeof(Cell)) == 0; }

TEST_F(MapGridTest, CellsAreComposedInLayerOrderWithMasksAndStretched) {
    cell(1, 1).place = 1;
    cell(1, 1).chara = 1;
    cell(2, 1).place = 1;
    cell(2, 1).event = 2;
    cell(2, 1).chara = 2;
    grid_->setCursorCell(5, 5);
    grid_->repaintAll();
    QRect r = grid_->cellRect(1, 1);
    EXPECT_EQ(pixel(r.center()), kRed);                        // chara over place
    EXPECT_EQ(pixel(r.topLeft() + QPoint(2, 2)), kGreen);      // chara's white is masked out
    cell(1, 1).chara = 0;  // changed as the pen changes it: only this cell repainted
    grid_->repaintCell(1, 1);
    EXPECT_EQ(pixel(r.center()), kGreen);
    cell(1, 1).chara = 1;
    r = grid_->cellRect(2, 1);
    EXPECT_EQ(pixel(r.center()), kRed);                        // chara covers event
    editor().state.layerVisible[kChara] = false;
    grid_->repaintAll();
    EXPECT_EQ(pixel(r.center()), kBlue);                       // hidden layers are not drawn
    EXPECT_EQ(pixel(grid_->cellRect(5, 5).topLeft()), qRgb(255, 0, 0));  // the frame of the cursor cell

    editor().state.layerVisible[kChara] = true;
    grid_->setCellSize(16);
    grid_->repaintAll();
    r = grid_->cellRect(1, 1);
    EXPECT_EQ(r.size(), QSize(16, 16));
    EXPECT_EQ(pixel(r.topLeft() + QPoint(8, 8)), kRed);        // shrunk from 32 to 16
    EXPECT_EQ(pixel(r.topLeft() + QPoint(1, 1)), kGreen);
}

TEST_F(MapGridTest, DamagedCellReferencesPaintAndShowNothing) {
    cell(0, 0).enter = 255;   // beyond the 250 buildings
    cell(0, 0).place = 9999;  // beyond the 400 terrains
    editor().cellIndexMap[1][0] = kCellCount + 5;  // beyond the cell store
    editor().state.drawMode = 0;
    grid_->repaintAll();
    grid_->viewport()->grab();
    click(0, 0);
    EXPECT_EQ(editor().state.propertyLayer, 1);
    click(1, 0);
    EXPECT_EQ(editor().state.cursorCol, 1);
}

TEST_F(MapGridTest, PropertyModeStepsThroughTheLayersOfACellAndWraps) {
    EditorState& state = editor().state;
    state.drawMode = 0;
    cell(2, 3).place = 1;
    cell(2, 3).event = 2;
    cell(2, 3).chara = 3;
    std::vector<int> layers;
    for (int i = 0; i < 4; ++i) {
        click(2, 3);
        layers.push_back(state.propertyLayer);
    }
    EXPECT_EQ(layers, (std::vector<int>{kEvent, kChara, kPlace, kEvent}));
    EXPECT_EQ(editor().drawing.currentObject[kEvent], 2);
    EXPECT_EQ(editor().drawing.currentObject[kChara], 3);

    cell(4, 4).place = 2;  // only a place object: shown every time
    for (int i = 0; i < 2; ++i) {
        click(4, 4);
        EXPECT_EQ(state.propertyLayer, kPlace);
    }
    sendKey(grid_.get(), Qt::Key_Return);
    EXPECT_EQ(state.propertyLayer, kPlace);
    click(6, 6);  // an empty cell shows nothing
    EXPECT_EQ(state.propertyLayer, kPlace);
    EXPECT_EQ(editor().drawing.currentObject[kPlace], 2);
}

TEST_F(MapGridTest, PenWritesEveryTargetLayerAndDragPaintsEveryCellPassed) {
    DrawingState& drawing = editor().drawing;
    targets({kPlace, kEvent, kItem});
    drawing.currentObject[kPlace] = 2;
    drawing.currentObject[kEvent] = 3;
    drawing.currentObject[kItem] = 9;  // not in use: skipped
    cell(1, 1).enter = 1;
    cell(1, 1).chara = 2;
    cell(1, 1).item = 3;
    click(1, 1);
    EXPECT_EQ(+cell(1, 1).place, 2);
    EXPECT_EQ(+cell(1, 1).event, 3);
    EXPECT_EQ(+cell(1, 1).enter, 1);
    EXPECT_EQ(+cell(1, 1).chara, 2);
    EXPECT_EQ(+cell(1, 1).item, 3);

    QWidget* view = grid_->viewport();
    sendMouse(view, QEvent::MouseButtonPress, grid_->cellRect(3, 2).center(), Qt::LeftButton, Qt::LeftButton);
    for (QPoint p : {QPoint(4, 2), QPoint(5, 2), QPoint(5, 3)})
        sendMouse(view, QEvent::MouseMove, grid_->cellRect(p.x(), p.y()).center(), Qt::NoButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, grid_->cellRect(5, 3).center(), Qt::LeftButton, Qt::NoButton);
    for (QPoint p : {QPoint(3, 2), QPoint(4, 2), QPoint(5, 2), QPoint(5, 3)}) EXPECT_EQ(+cell(p.x(), p.y()).place, 2);
    EXPECT_EQ(+cell(4, 3).place, 0);
    // Moving without the button pressed paints nothing.
    sendMouse(view, QEvent::MouseMove, grid_->cellRect(8, 8).center(), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(+cell(8, 8).place, 0);
}

TEST_F(MapGridTest, NavigationKeysMoveWithoutPaintingAndEnterPaints) {
    editor().drawing.currentObject[kPlace] = 1;
    const auto before = snapshot();
    for (int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_End, Qt::Key_Home, Qt::Key_PageDown, Qt::Key_Right})
        sendKey(grid_.get(), key);
    const auto after = snapshot();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin(), sameCell));
    EXPECT_EQ(editor().state.cursorCol, 1);
    EXPECT_EQ(editor().state.cursorRow, 9);
    EXPECT_FALSE(editor().state.skipNextDraw);
    sendKey(grid_.get(), Qt::Key_Return);
    EXPECT_EQ(+cell(1, 9).place, 1);

    // A key that cannot move the cursor does not swallow the next click.
    sendKey(grid_.get(), Qt::Key_Home);
    sendKey(grid_.get(), Qt::Key_Left);
    editor().drawing.currentObject[kPlace] = 2;
    click(0, 9);
    EXPECT_EQ(+cell(0, 9).place, 2);
}

TEST_F(MapGridTest, DeleteAndDoubleClickClearTheTargetLayers) {
    targets({kPlace, kChara});
    editor().drawing.currentObject[kChara] = 2;
    cell(3, 3).enter = 1;
    QWidget* view = grid_->viewport();
    const QPoint pos = grid_->cellRect(3, 3).center();
    sendMouse(view, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(+cell(3, 3).chara, 2);  // the first click paints
    sendMouse(view, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(+cell(3, 3).place, 0);
    EXPECT_EQ(+cell(3, 3).chara, 0);
    EXPECT_EQ(+cell(3, 3).enter, 1);

    click(4, 4);
    EXPECT_EQ(+cell(4, 4).place, 1);
    sendKey(grid_.get(), Qt::Key_Delete);
    EXPECT_EQ(+cell(4, 4).place, 0);
    editor().state.drawMode = 0;  // property mode: Delete does nothing
    cell(4, 4).place = 1;
    sendKey(grid_.get(), Qt::Key_Delete);
    EXPECT_EQ(+cell(4, 4).place, 1);
}

TEST_F(MapGridTest, SpaceMakesTheNextLayerTheOnlyTarget) {
    const auto& target = editor().drawing.drawTarget;
    const auto only = [&](int layer) {
        for (int l = kPlace; l <= kChara; ++l)
            if (target[static_cast<std::size_t>(l)] != (l == layer)) return false;
        return true;
    };
    targets({kPlace, kItem});
    sendKey(grid_.get(), Qt::Key_Space);
    EXPECT_TRUE(only(kEnter));
    targets({kEvent, kChara});
    sendKey(grid_.get(), Qt::Key_Space);
    EXPECT_TRUE(only(kItem));
    targets({kChara});
    sendKey(grid_.get(), Qt::Key_Space);
    EXPECT_TRUE(only(kPlace));
    targets({});
    sendKey(grid_.get(), Qt::Key_Space);
    EXPECT_TRUE(only(kPlace));
}

TEST_F(MapGridTest, RightDragScrollsOneCellPerEventByTheComingOption) {
    setUpField(120, 120, QSize(300, 300));
    Options options;
    editor().options = &options;
    QMenu popup;
    grid_->setPopupMenu(&popup);
    QScrollBar* h = grid_->horizontalScrollBar();
    QScrollBar* v = grid_->verticalScrollBar();
    h->setValue(10);
    v->setValue(10);
    QWidget* view = grid_->viewport();
    const auto drag = [&](QPoint from, std::initializer_list<QPoint> path) {
        sendMouse(view, QEvent::MouseButtonPress, from, Qt::RightButton, Qt::RightButton);
        for (QPoint p : path) sendMouse(view, QEvent::MouseMove, p, Qt::NoButton, Qt::RightButton);
        sendMouse(view, QEvent::MouseButtonRelease, *(path.end() - 1), Qt::RightButton, Qt::NoButton);
    };
    options.coming = true;
    drag({100, 100}, {{110, 100}, {115, 102}, {130, 101}});  // right: the map follows the mouse
    EXPECT_EQ(h->value(), 7);
    EXPECT_EQ(v->value(), 10);
    drag({100, 100}, {{101, 120}});  // down
    EXPECT_EQ(v->value(), 9);
    EXPECT_FALSE(popup.isVisible());

    options.coming = false;
    drag({100, 100}, {{110, 100}, {120, 100}});
    EXPECT_EQ(h->value(), 9);
    drag({100, 100}, {{100, 100}});  // no movement: nothing scrolls
    EXPECT_EQ(h->value(), 9);
    EXPECT_TRUE(popup.isVisible());  // a right click without dragging opens the menu
    popup.hide();
}

TEST_F(MapGridTest, FillAndEraseChangeExactlyTheSelectedRectangle) {
    EditorState& state = editor().state;
    state.drawMode = 2;
    grid_->setRangeSelection(true);
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 20; ++col) cell(col, row).place = (col + row) % 2 ? 3 : 0;
    targets({kPlace, kEnter});
    editor().drawing.currentObject[kPlace] = 1;
    editor().drawing.currentObject[kEnter] = 2;
    const auto before = snapshot();
    grid_->setSelection(QRect(3, 2, 3, 2));
    sendKey(grid_.get(), Qt::Key_Return);  // Enter fills in range mode
    const auto after = snapshot();
    int changed = 0;
    for (int row = 0; row < 10; ++row) {
        for (int col = 0; col < 20; ++col) {
            const std::size_t i = static_cast<std::size_t>(row * 20 + col);
            const bool inside = col >= 3 && col <= 5 && row >= 2 && row <= 3;
            if (!sameCell(before[i], after[i])) ++changed;
            if (inside) {
                EXPECT_EQ(+after[i].place, 1);
                EXPECT_EQ(+after[i].enter, 2);
            }
        }
    }
    EXPECT_EQ(changed, 6);

    targets({kEnter});
    grid_->eracebtnClick();
    EXPECT_EQ(+cell(4, 2).enter, 0);
    EXPECT_EQ(+cell(4, 2).place, 1);

    grid_->allselectbtnClick();
    EXPECT_EQ(grid_->selection(), QRect(0, 0, 20, 10));
}

TEST_F(MapGridTest, RangeModeDragSelectsWithoutPainting) {
    editor().state.drawMode = 2;
    grid_->setRangeSelection(true);
    int moves = 0;
    QObject::connect(grid_.get(), &MapGrid::cursorMoved, [&](int, int) { ++moves; });
    const auto before = snapshot();
    QWidget* view = grid_->viewport();
    sendMouse(view, QEvent::MouseButtonPress, grid_->cellRect(6, 4).center(), Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, grid_->cellRect(4, 5).center(), Qt::NoButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, grid_->cellRect(2, 6).center(), Qt::NoButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, grid_->cellRect(2, 6).center(), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(grid_->selection(), QRect(QPoint(2, 4), QPoint(6, 6)));
    EXPECT_EQ(moves, 3);
    EXPECT_EQ(editor().state.cursorCol, 2);
    const auto after = snapshot();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin(), sameCell));
    // Leaving range mode collapses the selection onto the cursor.
    grid_->setRangeSelection(false);
    EXPECT_EQ(grid_->selection(), QRect(2, 6, 1, 1));
}

TEST_F(MapGridTest, RandomToolsWithRatio100MatchFillAndErase) {
    editor().state.drawMode = 2;
    grid_->setRangeSelection(true);
    int ratio = 100;
    int asked = 0;
    grid_->setRatioProvider([&](Trandomform::Role) { ++asked; return ratio; });
    targets({kPlace, kChara});
    editor().drawing.currentObject[kPlace] = 2;
    editor().drawing.currentObject[kChara] = 1;
    grid_->setSelection(QRect(2, 1, 6, 4));
    grid_->brushbtnClick();
    const auto filled = snapshot();
    grid_->eracebtnClick();
    const auto erased = snapshot();
    grid_->randombrushbtnClick();
    auto now = snapshot();
    EXPECT_TRUE(std::equal(filled.begin(), filled.end(), now.begin(), sameCell));
    grid_->randomeracebtnClick();
    now = snapshot();
    EXPECT_TRUE(std::equal(erased.begin(), erased.end(), now.begin(), sameCell));
    EXPECT_EQ(asked, 2);

    // Ratio 0, a cancelled dialog (-1) and values above 100 change nothing.
    for (int r : {0, -1, 101}) {
        ratio = r;
        grid_->randombrushbtnClick();
        now = snapshot();
        EXPECT_TRUE(std::equal(erased.begin(), erased.end(), now.begin(), sameCell));
    }

    // A ratio of 50 paints some cells but not all.
    ratio = 50;
    grid_->seedRandom(1);
    grid_->allselectbtnClick();
    grid_->randombrushbtnClick();
    int painted = 0;
    for (int i = 0; i < 200; ++i) painted += editor().scenario.cell(i + 1).place == 2;
    EXPECT_GT(painted, 50);
    EXPECT_LT(painted, 150);
}

}  // namespace
}  // namespace qrn
