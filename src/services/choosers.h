// Narrow interfaces through which one window asks another for a choice,
// so that windows need not know each other (tests replace them with fakes).
#pragma once

#include <QString>

namespace qrn {

enum class ResourceKind { Comment, EnemyGroup, Poison, WalkImage, Bgm, Sound };

// What a resource list hands back when used as a chooser.
struct ResourceChoice {
    bool accepted = false;  // closed with OK; a cancelled chooser changes nothing
    int entry = -1;         // the chosen entry, or -1 when the chosen entry is unused
};

// The resource lists as a chooser: shows the list of `kind` modally with
// `captionSuffix` after its caption and `preselected` current (0 or below:
// the entry shown last). A caller leaves its reference alone unless the
// choice was accepted; an accepted entry below 1 clears the reference.
class ResourceChooser {
public:
    virtual ~ResourceChooser() = default;
    virtual ResourceChoice chooseResource(ResourceKind kind, const QString& captionSuffix,
                                          int preselected) = 0;
};

// The image view as a chooser: shows the resource folder's bitmaps modally
// with "transparent" preset; true when the author chose a file, which
// chosenImageFile() then names (relative to the resource folder) and
// whose transparency the chooser leaves in the editing state.
class ImageChooser {
public:
    virtual ~ImageChooser() = default;
    virtual bool chooseImage(bool presetTransparent) = 0;
    virtual QString chosenImageFile() const = 0;
};

}  // namespace qrn
