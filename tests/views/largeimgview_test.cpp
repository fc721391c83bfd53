// The enlarged-image window asks the window system for a title and a close
// button only.
#include <gtest/gtest.h>

#include "views/chipview.h"
#include "views/largeimgview.h"

namespace qrn {
namespace {

TEST(LargeImgViewFrame, HasNoMinimiseOrMaximiseButton) {
    Tchipview owner;
    Tlargeimgview view(&owner);
    view.makelargeimg(QString(), 0, 0);
    view.show();
    const Qt::WindowFlags flags = view.windowFlags();
    // Without CustomizeWindowHint the window system adds every button.
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    view.hide();
}

}  // namespace
}  // namespace qrn
