// The walk preview's shortest way across a maximal scenario, against a plain
// breadth-first search over the same cells in the same run.
//   op=walk_to_maximal   100 fields of 60 x 50 (all 300,000 cells), each a
//                        serpentine of walls with a stair in its far corner
//                        down to the next field; characters, items and
//                        examined events scattered; the way from field 1's
//                        first cell to field 100's far corner (goal 200 ms)
#include <cstdio>
#include <memory>
#include <vector>

#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario/walk.h"

#include "bench_util.h"

using namespace qrn;

namespace {

constexpr int kWidth = 60, kHeight = 50;
constexpr int kGrass = 1, kWall = 2;

// Walls on every fourth column, open at the bottom and the top in turn.
bool isWall(int x, int y) { return x % 4 == 3 && (x / 4 % 2 == 0 ? y != kHeight - 1 : y != 0); }

void build(Scenario& s) {
    EditorSideData side{};
    alldatainitialize(s, side, 1);
    createFirstField(s, "bench", "", "first", kWidth, kHeight);
    for (int f = 2; f <= kFieldCount; ++f) placeNewField(s, f, kWidth, kHeight);
    s.placeImageFiles[kGrass - 1].assign("grass.bmp");
    s.placeImageFiles[kWall - 1].assign("wall.bmp");
    s.place(kWall).plmove = 0;
    s.eventImageFiles[0].assign("sign.bmp");
    s.itemImageFiles[0].assign("coin.bmp");
    s.charaImageFiles[0].assign("man.bmp");
    for (int f = 1; f <= kFieldCount; ++f) {
        const int first = s.field(f).firstCell;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                Cell& c = s.cell(first + y * kWidth + x);
                c.place = isWall(x, y) ? kWall : kGrass;
                if (isWall(x, y)) continue;
                if (x % 4 == 1 && y % 10 == 5) c.chara = 1;
                else if ((x + y) % 13 == 0) c.item = 1;
                else if ((x * 7 + y) % 29 == 0) c.event = 1;
            }
        if (f < kFieldCount) {
            s.enterImageFiles[f - 1].assign("stairs.bmp");
            s.enter(f).jumpField = static_cast<u8>(f + 1);
            s.enter(f).jumpPosition = 1;
            Cell& corner = s.cell(first + kWidth * kHeight - 1);
            corner.enter = static_cast<u8>(f);
            corner.chara = 0;
        }
    }
    s.hero.startField = 1;
    s.hero.startPosition = 1;
}

// The baseline: breadth-first over the cell numbers, a cell passable by its
// terrain and free of characters, a building's jump followed; parents kept
// so the way can be read back.
int plainSearch(const Scenario& s, int from, int to) {
    std::vector<int> parent(static_cast<std::size_t>(kCellCount) + 1, 0);
    std::vector<int> queue;
    queue.reserve(kCellCount);
    queue.push_back(from);
    parent[static_cast<std::size_t>(from)] = from;
    bool open[kPlaceCount + 1] = {};
    for (int n = 1; n <= kPlaceCount; ++n) open[n] = s.places[n - 1].plmove != 0;
    constexpr int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const int c = queue[head];
        const int field = (c - 1) / (kWidth * kHeight) + 1;
        const int first = s.field(field).firstCell;
        const int x = (c - first) % kWidth, y = (c - first) / kWidth;
        for (int d = 0; d < 4; ++d) {
            const int nx = x + dx[d], ny = y + dy[d];
            if (nx < 0 || ny < 0 || nx >= kWidth || ny >= kHeight) continue;
            int n = first + ny * kWidth + nx;
            const Cell& cell = s.cells[n - 1];
            if (!open[cell.place] || cell.chara) continue;
            if (cell.enter) n = cellOf(s, s.enters[cell.enter - 1].jumpField, s.enters[cell.enter - 1].jumpPosition);
            if (parent[static_cast<std::size_t>(n)]) continue;
            parent[static_cast<std::size_t>(n)] = c;
            if (n == to) {
                int length = 0;
                for (int k = to; k != from; k = parent[static_cast<std::size_t>(k)]) ++length;
                return length;
            }
            queue.push_back(n);
        }
    }
    return -1;
}

}  // namespace

int main() {
    constexpr int kRuns = 11;
    auto owned = std::make_unique<Scenario>();
    Scenario& s = *owned;
    build(s);
    const WalkState start = *startWalk(s);
    std::size_t length = 0;
    int plainLength = 0;
    const double walk = bench::medianOfRuns(kRuns, [&](int) {
        const auto way = findWalkPath(s, start, kFieldCount, kWidth - 1, kHeight - 1);
        length = way ? way->size() : 0;
    });
    const double plain = bench::medianOfRuns(kRuns, [&](int) {
        plainLength = plainSearch(s, 1, kCellCount);
    });
    std::printf("op=walk_to_maximal median_ms=%.3f ratio=%.2f goal_ms=200 length=%zu plain_length=%d\n", walk,
                plain > 0 ? walk / plain : 0.0, length, plainLength);
    return length > 0 && static_cast<int>(length) == plainLength ? 0 : 1;
}
