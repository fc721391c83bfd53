#include "undohistory.h"

#include <algorithm>
#include <cstring>

namespace qrn {

namespace {

inline std::uint64_t load64(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
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
    constexpr std::size_t kChunk = 512;
    for (std::size_t pos = 0; pos < n; pos += kChunk) {
        const std::size_t stop = std::min(pos + kChunk, n);
        if (std::memcmp(a + pos, b + pos, stop - pos) == 0) continue;
        std::size_t i = pos;
        while (i < stop) {
            while (i + 8 <= stop && load64(a + i) == load64(b + i)) i += 8;
            while (i < stop && a[i] == b[i]) ++i;
            if (i >= stop) break;
            const std::size_t s = i;
            while (i < stop && a[i] != b[i]) ++i;
            add(s, i);
        }
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
    std::size_t total = 0;
    for (const ChangedRange& r : step.ranges) total += r.length;
    step.label = label;
    step.before.resize(total);
    step.after.resize(total);
    std::size_t at = 0;
    for (const ChangedRange& r : step.ranges) {
        unsigned char* shadow = shadows_[r.area].data() + r.offset;
        const unsigned char* live = areas_[r.area].data() + r.offset;
        std::memcpy(step.before.data() + at, shadow, r.length);
        std::memcpy(step.after.data() + at, live, r.length);
        std::memcpy(shadow, live, r.length);
        at += r.length;
    }
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

std::vector<ChangedRange> UndoHistory::apply(const Step& step, bool forward) {
    const std::vector<unsigned char>& data = forward ? step.after : step.before;
    std::size_t at = 0;
    for (const ChangedRange& r : step.ranges) {
        std::memcpy(areas_[r.area].data() + r.offset, data.data() + at, r.length);
        std::memcpy(shadows_[r.area].data() + r.offset, data.data() + at, r.length);
        at += r.length;
    }
    return step.ranges;
}

std::vector<ChangedRange> UndoHistory::undo(const std::string& pendingLabel) {
    commit(pendingLabel);
    if (!canUndo()) return {};
    --position_;
    return apply(steps_[position_], false);
}

std::vector<ChangedRange> UndoHistory::redo(const std::string& pendingLabel) {
    // Pending changes become a step of their own, which ends the redo.
    commit(pendingLabel);
    if (!canRedo()) return {};
    ++position_;
    return apply(steps_[position_ - 1], true);
}

void UndoHistory::markSaved() { saved_ = static_cast<std::int64_t>(dropped_ + position_); }

bool UndoHistory::modified() const { return saved_ != static_cast<std::int64_t>(dropped_ + position_); }

bool UndoHistory::pending() const {
    for (std::size_t i = 0; i < areas_.size(); ++i)
        if (std::memcmp(areas_[i].data(), shadows_[i].data(), areas_[i].size()) != 0) return true;
    return false;
}

}  // namespace qrn
