// The rules tying terrain and building settings together, compared on whole
// records: what must be cleared is cleared and nothing else moves.
#include <gtest/gtest.h>

#include <cstring>

#include "scenario/objectrules.h"

namespace qrn {
namespace {

template <typename T>
bool same(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

PlaceDef fullPlace() {
    PlaceDef p;
    std::memset(&p, 0, sizeof p);
    p.name.assign("mountain");
    p.plmove = 1;
    p.plwantitem = 4;
    p.plwalkimg = 2;
    p.plenemytype = 7;
    p.plwondering = 30;
    p.plhealing = 5;
    p.pldamage = 255;
    p.plrecover = 9;
    p.plsound = 3;
    p.plshowitem = 11;
    p.plshowevent = 12;
    p.imageTransparent = 1;
    p.image2Transparent = 1;
    p.imageColour = 0x123456;
    p.image2Colour = 0x654321;
    return p;
}

ShortString255 file(const char* name) {
    ShortString255 f;
    std::memset(&f, 0, sizeof f);
    f.assign(name);
    return f;
}

TEST(PlaceRules, ImpassableClearsEveryPassingSettingAndPassableSetsOnlyTheFlag) {
    PlaceDef p = fullPlace();
    setPlacePassable(p, false);
    PlaceDef expected = fullPlace();
    expected.plmove = 0;
    expected.plwantitem = expected.plwalkimg = expected.plenemytype = expected.plwondering = 0;
    expected.plhealing = expected.pldamage = expected.plrecover = expected.plsound = 0;
    EXPECT_TRUE(same(p, expected));
    setPlacePassable(p, true);
    expected.plmove = 1;
    EXPECT_TRUE(same(p, expected));  // nothing comes back
}

TEST(PlaceRules, ExtendImageAndHealingRules) {
    struct Case {
        const char* extend;
        u8 healing, damage;
        bool keepsShow, keepsRecover;
    } cases[] = {
        {"ext.bmp", 5, 0, true, true},
        {"", 5, 0, false, true},
        {"ext.bmp", 0, 0, true, false},
        {"ext.bmp", 0, 255, true, true},
        {"", 0, 0, false, false},
    };
    for (const Case& c : cases) {
        PlaceDef p = fullPlace();
        p.plhealing = c.healing;
        p.pldamage = c.damage;
        PlaceDef expected = p;
        if (!c.keepsShow) expected.plshowitem = expected.plshowevent = 0;
        if (!c.keepsRecover) expected.plrecover = 0;
        EXPECT_EQ(applyPlaceRules(p, file(c.extend)), !c.keepsShow || !c.keepsRecover) << c.extend << int(c.healing);
        EXPECT_TRUE(same(p, expected)) << c.extend << int(c.healing);
    }
}

TEST(EnterRules, ImpassableLosesPassingSettingsButKeepsAppearance) {
    EnterDef e;
    std::memset(&e, 0, sizeof e);
    e.name.assign("house");
    e.enwantitem = 3;
    e.jumpField = 2;
    e.jumpPosition = 15;
    e.ensound = 4;
    e.enshowitem = 5;
    e.enshowevent = 6;
    e.imageColour = 77;
    ShortString255 anim = file("door.bmp");

    EnterDef passable = e;
    passable.enmove = 1;
    EnterDef before = passable;
    EXPECT_FALSE(applyEnterRules(passable, anim));
    EXPECT_TRUE(same(passable, before));
    EXPECT_EQ(anim.view(), "door.bmp");

    EnterDef expected = e;
    expected.enwantitem = 0;
    expected.jumpField = 0;
    expected.jumpPosition = 0;
    expected.ensound = 0;
    EXPECT_TRUE(applyEnterRules(e, anim));
    EXPECT_TRUE(same(e, expected));
    EXPECT_TRUE(anim.empty());
    EXPECT_FALSE(applyEnterRules(e, anim));
}

}  // namespace
}  // namespace qrn
