// The cursor keys shared by the map and the palette grids.
#include <gtest/gtest.h>

#include "services/gridnavigation.h"

namespace qrn {
namespace {

TEST(GridNavigationTest, KeysMoveTheCursorInsideTheGrid) {
    struct Row {
        int key;
        bool ctrl;
        QPoint from;
        std::optional<QPoint> to;
    };
    // A grid of 10 x 20 with pages of 6 rows.
    const std::vector<Row> rows{
        {Qt::Key_Left, false, {0, 3}, QPoint(0, 3)},    // stays at the edge
        {Qt::Key_Right, false, {8, 3}, QPoint(9, 3)},
        {Qt::Key_Down, false, {2, 19}, QPoint(2, 19)},
        {Qt::Key_Up, false, {2, 1}, QPoint(2, 0)},
        {Qt::Key_PageDown, false, {2, 16}, QPoint(2, 19)},
        {Qt::Key_PageUp, false, {2, 8}, QPoint(2, 2)},
        {Qt::Key_Home, false, {5, 7}, QPoint(0, 7)},
        {Qt::Key_Home, true, {5, 7}, QPoint(0, 0)},
        {Qt::Key_End, false, {5, 7}, QPoint(9, 7)},
        {Qt::Key_End, true, {5, 7}, QPoint(9, 19)},
        {Qt::Key_A, false, {5, 7}, std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "key " << r.key << " ctrl " << r.ctrl);
        EXPECT_EQ(gridKeyMove(r.key, r.ctrl, r.from, 10, 20, 6), r.to);
    }
    // An empty grid keeps the cursor at 0,0.
    EXPECT_EQ(gridKeyMove(Qt::Key_End, true, {0, 0}, 0, 0, 1), QPoint(0, 0));
}

}  // namespace
}  // namespace qrn
