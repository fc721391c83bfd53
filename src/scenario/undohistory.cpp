#include "undohistory.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace qrn {

namespace {

inline std::uint64_t load64(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void putCount(std::vector<unsigned char>& out, std::size_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<unsigned char>(v | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<unsigned char>(v));
}

std::size_t getCount(const unsigned char*& p) {
    std::size_t v = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char b = *p++;
        v |= static_cast<std::size_t>(b & 0x7f) << shift;
        if (!(b & 0x80)) return v;
    }
}

// Appends the XOR of `before` and `after` (n bytes) as runs: a count of equal
// bytes to skip, a count of differing bytes, then their XOR. A changed range
// of a fill is mostly untouched bytes between cells, which cost nothing here.
void encodeDelta(const unsigned char* before, const unsigned char* after, std::size_t n,
                 std::vector<unsigned char>& out) {
    std::size_t i = 0;
    while (i < n) {
        std::size_t z = i;
        while (z + 8 <= n && load64(before + z) == load64(after + z)) z += 8;
        while (z < n && before[z] == after[z]) ++z;
        if (z >= n) break;
        // A literal run ends at four equal bytes in a row.
        std::size_t e = z, last = z, equal = 0;
        for (; e < n; ++e) {
            if (before[e] != after[e]) {
                last = e;
                equal = 0;
            } else if (++equal == 4) {
                break;
            }
        }
        putCount(out, z - i);
        putCount(out, last + 1 - z);
        for (std::size_t k = z; k <= last; ++k) out.push_back(before[k] ^ after[k]);
        i = last + 1;
    }
    putCount(out, 0);
    putCount(out, 0);  // the end of the range
}

// XORs one encoded range into `bytes`; returns the position after it.
const unsigned char* applyDelta(unsigned char* bytes, const unsigned char* p) {
    std::size_t at = 0;
    for (;;) {
        const std::size_t skip = getCount(p);
        const std::size_t length = getCount(p);
        if (length == 0) return p;
        at += skip;
        for (std::size_t k = 0; k < length; ++k) bytes[at + k] ^= p[k];
        p += length;
        at += length;
    }
}

}  // namespace

void diffBytes(std::span<const unsigned char> live, std::span<const unsigned char> shadow, std::uint32_t area,
               std::vector<ChangedRange>& out, std::size_t joinGap) {
    const std::size_t n = std::min(live.size(), shadow.size());
    const unsigned char* a = live.data();
    const unsigned char* b = shadow.data();
    bool open = false;
    std::size_t start = 0, end = 0;
    auto add = [&](std::size_t s, std::size_t e) {
        if (open && s <= end + joinGap) {
            end = e;
            return;
        }
        if (open) out.push_back({area, start, end - start});
        open = true;
        start = s;
        end = e;
    };
    // Whole chunks are compared with memcmp (the fast path for the untouched
    // bulk of the record); only differing chunks are looked at closely.
    constexpr std::size_t kChunk = 2048;
    for (std::size_t pos = 0; pos < n; pos += kChunk) {
        const std::size_t stop = std::min(pos + kChunk, n);
        if (std::memcmp(a + pos, b + pos, stop - pos) == 0) continue;
        // Word by word; the first and last differing byte of a word come from
        // its lowest and highest differing bits (the record is little-endian).
        std::size_t i = pos;
        for (; i + 8 <= stop; i += 8) {
            const std::uint64_t x = load64(a + i) ^ load64(b + i);
            if (x == 0) continue;
            add(i + static_cast<std::size_t>(std::countr_zero(x) / 8),
                i + 8 - static_cast<std::size_t>(std::countl_zero(x) / 8));
        }
        for (; i < stop; ++i)
            if (a[i] != b[i]) add(i, i + 1);
    }
    if (open) out.push_back({area, start, end - start});
}

void UndoHistory::track(std::vector<std::span<unsigned char>> areas) {
    areas_ = std::move(areas);
    reset();
}

void UndoHistory::reset() {
    shadows_.resize(areas_.size());
    for (std::size_t i = 0; i < areas_.size(); ++i) shadows_[i].assign(areas_[i].begin(), areas_[i].end());
    steps_.clear();
    position_ = 0;
    dropped_ = 0;
    saved_ = 0;
    bytes_ = 0;
}

void UndoHistory::setLimits(std::size_t maxBytes, std::size_t maxSteps) {
    maxBytes_ = maxBytes;
    maxSteps_ = std::max<std::size_t>(maxSteps, 1);
    enforceLimits();
}

void UndoHistory::enforceLimits() {
    while (!steps_.empty() && (steps_.size() > maxSteps_ || (bytes_ > maxBytes_ && steps_.size() > 1))) {
        if (position_ > 0) {
            // The oldest step goes; the state before it can no longer be reached.
            bytes_ -= steps_.front().size();
            steps_.pop_front();
            ++dropped_;
            --position_;
        } else {
            bytes_ -= steps_.back().size();
            steps_.pop_back();
            if (saved_ > static_cast<std::int64_t>(dropped_ + steps_.size())) saved_ = -1;
        }
    }
}

bool UndoHistory::commit(const std::string& label) {
    Step step;
    for (std::size_t i = 0; i < areas_.size(); ++i)
        diffBytes(areas_[i], shadows_[i], static_cast<std::uint32_t>(i), step.ranges);
    if (step.ranges.empty()) return false;
    scratch_.clear();
    for (const ChangedRange& r : step.ranges) {
        unsigned char* shadow = shadows_[r.area].data() + r.offset;
        const unsigned char* live = areas_[r.area].data() + r.offset;
        encodeDelta(shadow, live, r.length, scratch_);
        std::memcpy(shadow, live, r.length);
    }
    step.label = label;
    step.deltaSize = scratch_.size();
    step.delta = std::make_unique_for_overwrite<unsigned char[]>(step.deltaSize);
    std::memcpy(step.delta.get(), scratch_.data(), step.deltaSize);
    // A new step ends every redo; a saved state among them is lost.
    if (position_ < steps_.size()) {
        for (std::size_t i = position_; i < steps_.size(); ++i) bytes_ -= steps_[i].size();
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
        if (saved_ > static_cast<std::int64_t>(dropped_ + position_)) saved_ = -1;
    }
    bytes_ += step.size();
    steps_.push_back(std::move(step));
    ++position_;
    enforceLimits();
    return true;
}

// The areas equal their shadows here (pending changes were committed first).
std::vector<ChangedRange> UndoHistory::apply(const Step& step) {
    const unsigned char* p = step.delta.get();
    for (const ChangedRange& r : step.ranges) {
        unsigned char* live = areas_[r.area].data() + r.offset;
        p = applyDelta(live, p);
        std::memcpy(shadows_[r.area].data() + r.offset, live, r.length);
    }
    return step.ranges;
}

std::vector<ChangedRange> UndoHistory::undo(const std::string& pendingLabel) {
    commit(pendingLabel);
    if (!canUndo()) return {};
    --position_;
    return apply(steps_[position_]);
}

std::vector<ChangedRange> UndoHistory::redo(const std::string& pendingLabel) {
    // Pending changes become a step of their own, which ends the redo.
    commit(pendingLabel);
    if (!canRedo()) return {};
    ++position_;
    return apply(steps_[position_ - 1]);
}

void UndoHistory::markSaved() { saved_ = static_cast<std::int64_t>(dropped_ + position_); }

bool UndoHistory::modified() const { return saved_ != static_cast<std::int64_t>(dropped_ + position_); }

bool UndoHistory::pending() const {
    for (std::size_t i = 0; i < areas_.size(); ++i)
        if (std::memcmp(areas_[i].data(), shadows_[i].data(), areas_[i].size()) != 0) return true;
    return false;
}

}  // namespace qrn
