// One undo history over byte areas that are edited in place (the scenario
// record and the editor's picture index tables). The history keeps a shadow
// copy of every area; committing compares each area with its shadow and turns
// the changed byte ranges into one step. Nothing that edits the areas needs to
// know about the history.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qrn {

// One changed stretch of an area.
struct ChangedRange {
    std::uint32_t area = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
};

// Appends to `out` the ranges where `live` and `shadow` (same size) differ.
// Changes closer together than `joinGap` bytes are reported as one range.
void diffBytes(std::span<const unsigned char> live, std::span<const unsigned char> shadow, std::uint32_t area,
               std::vector<ChangedRange>& out, std::size_t joinGap = 32);

class UndoHistory {
public:
    static constexpr std::size_t kDefaultMaxBytes = 64u << 20;
    static constexpr std::size_t kDefaultMaxSteps = 500;

    UndoHistory() = default;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Watches these areas from now on: the shadows are taken, the history is
    // emptied and the present state counts as saved.
    void track(std::vector<std::span<unsigned char>> areas);
    // Empties the history and takes new shadows (after new and open); the
    // present state counts as saved.
    void reset();
    // The bounds; steps beyond them are dropped, oldest first. Applied now.
    void setLimits(std::size_t maxBytes, std::size_t maxSteps);

    // Turns what changed since the last step into a new step named `label`
    // and drops the steps that could be redone. Returns false, changing
    // nothing, when the areas equal their shadows.
    bool commit(const std::string& label);
    // Undo and redo first commit pending changes (named `pendingLabel`), then
    // restore the areas. Each returns the ranges written (empty: nothing to do).
    std::vector<ChangedRange> undo(const std::string& pendingLabel = {});
    std::vector<ChangedRange> redo(const std::string& pendingLabel = {});

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    std::string undoLabel() const { return canUndo() ? steps_[position_ - 1].label : std::string(); }
    std::string redoLabel() const { return canRedo() ? steps_[position_].label : std::string(); }
    std::size_t stepCount() const { return steps_.size(); }
    std::size_t byteCount() const { return bytes_; }

    // The present (committed) state is what was last opened or saved.
    void markSaved();
    // The present state was never saved (a restored scenario): modified
    // until the next save.
    void markUnsaved() { saved_ = -1; }
    // True while the committed state differs from the saved one by at least
    // one step (a state left by undo then redone counts as unchanged).
    bool modified() const;
    // True when the areas hold changes not yet committed.
    bool pending() const;

private:
    struct Step {
        std::string label;
        std::vector<ChangedRange> ranges;
        // The ranges' old bytes XOR their new bytes, one range after another,
        // with runs of unchanged bytes left out: applied to either state it
        // gives the other, so undo and redo share it.
        std::unique_ptr<unsigned char[]> delta;
        std::size_t deltaSize = 0;
        std::size_t size() const { return deltaSize + ranges.size() * sizeof(ChangedRange) + sizeof(Step); }
    };
    std::vector<ChangedRange> apply(const Step& step);
    void enforceLimits();

    std::vector<std::span<unsigned char>> areas_;
    std::vector<std::vector<unsigned char>> shadows_;
    std::deque<Step> steps_;
    std::size_t position_ = 0;   // steps_[0, position_) are done
    std::uint64_t dropped_ = 0;  // steps dropped from the front so far
    // Absolute step count (dropped_ + position) of the saved state; -1 when
    // that state can no longer be reached.
    std::int64_t saved_ = 0;
    std::size_t bytes_ = 0;
    std::vector<unsigned char> scratch_;  // a step being encoded
    std::size_t maxBytes_ = kDefaultMaxBytes;
    std::size_t maxSteps_ = kDefaultMaxSteps;
};

}  // namespace qrn
