// Speed of the comment whole search: 500 comments of 1,000 cp932 bytes each,
// a search text that only comment 500 holds, searched from comment 1 with the
// find dialog's default choices. The ratio is against a plain byte search
// (memmem) over the same bytes, measured in the same run.
#include <string.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "scenario/commenttext.h"
#include "scenario/resets.h"
#include "scenario/text.h"

#include "bench_util.h"

using namespace qrn;

int main() {
    constexpr int kRuns = 201;
    auto s = std::make_unique<Scenario>();
    EditorSideData side;
    alldatainitialize(*s, side, 42);

    // Filler of hiragana and half-width letters, so the kanji search text
    // occurs nowhere but where it is put.
    std::vector<std::string> pieces;
    for (const char* p : {"あ", "い", "う", "え", "お", "か", "き", "く", "の", "を", "ん", "、", "。"})
        pieces.push_back(cp932Literal(p));
    for (char c = 'a'; c <= 'z'; ++c) pieces.emplace_back(1, c);
    std::mt19937 rng(5);
    const std::string needle = cp932Literal("秘密の鍵");
    std::string all;  // every comment's bytes, one after another, for the baseline
    for (int n = 1; n <= kCommentCount; ++n) {
        // As much as four lines hold: about 1,000 bytes.
        const std::string tail = n == kCommentCount ? needle : std::string();
        std::string text;
        for (int misses = 0; misses < 8;) {
            const std::string& p = pieces[rng() % pieces.size()];
            if (commentTextFits(text + p + tail)) {
                text += p;
            } else {
                ++misses;
            }
        }
        text += tail;
        if (!setCommentText(s->comment(n), text)) {
            std::fprintf(stderr, "comment %d does not fit\n", n);
            return 1;
        }
        all += commentText(s->comment(n));
    }

    const TextFinder finder(needle, false, false);
    std::vector<double> search, baseline;
    int found = 0;
    const void* plain = nullptr;
    for (int run = 0; run < kRuns; ++run) {
        search.push_back(bench::millis([&] {
            const auto hit = wholeSearch(*s, finder, 1, 0);
            found = hit ? hit->comment : 0;
        }));
        baseline.push_back(bench::millis([&] { plain = memmem(all.data(), all.size(), needle.data(), needle.size()); }));
    }
    if (found != kCommentCount || !plain) {
        std::fprintf(stderr, "search text not found where it was put (%d)\n", found);
        return 1;
    }
    const double ms = bench::median(search);
    const double base = bench::median(baseline);
    std::printf("op=whole_search_500 median_ms=%.4f ratio=%.2f bytes=%zu baseline_ms=%.4f\n", ms,
                base > 0 ? ms / base : 0.0, all.size(), base);
    return 0;
}
