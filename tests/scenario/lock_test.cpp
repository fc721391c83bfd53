// The lock transform of the scenario file: reversible, applied to exactly the
// listed text slots, and fixed for all time (golden bytes below).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scenario/lockformat.h"
#include "scenario/scenariofile.h"
#include "scenario_test_support.h"

using namespace qrn;
using namespace qrn::test;

namespace {

// Byte range [from, to) of a slot's characters that locking must change.
struct Span {
    std::size_t from, to;
};

template <int N>
void addSlot(std::vector<Span>& out, const Scenario& s, const ShortString<N>& t) {
    const std::size_t at = offsetIn(s, &t) + 1;
    out.push_back({at, at + static_cast<std::size_t>(t.length())});
}

// Every text the file keeps locked.
std::vector<Span> lockedSpans(const Scenario& s) {
    std::vector<Span> v;
    const ScenarioSettings& st = s.settings;
    addSlot(v, s, st.reserved2);
    addSlot(v, s, st.scenarioname);
    addSlot(v, s, st.scdesigner);
    addSlot(v, s, st.randomStamp);
    addSlot(v, s, s.hero.heroname);
    for (const auto& c : s.comments) {
        addSlot(v, s, c.name);
        for (const auto* line : {&c.line1, &c.line2, &c.line3, &c.line4}) addSlot(v, s, *line);
    }
    for (int k = 0; k < 50; ++k) {
        addSlot(v, s, s.bgms[k].name);
        addSlot(v, s, s.enemyTypes[k].name);
        addSlot(v, s, s.sounds[k].name);
        addSlot(v, s, s.magics[k].name);
        addSlot(v, s, s.poisons[k].name);
    }
    for (const auto& w : s.walkImgs) addSlot(v, s, w.name);
    for (int f = 0; f < kFieldCount; ++f) {
        addSlot(v, s, s.fields[f].name);
        addSlot(v, s, s.fieldItemImageFiles[f]);
    }
    for (const auto& frames : s.walkImageFiles)
        for (const auto& name : frames) addSlot(v, s, name);
    for (int k = 0; k < 250; ++k) {
        addSlot(v, s, s.charas[k].name);
        addSlot(v, s, s.charaImageFiles[k]);
        addSlot(v, s, s.items[k].name);
        addSlot(v, s, s.itemImageFiles[k]);
        addSlot(v, s, s.events[k].name);
        addSlot(v, s, s.eventImageFiles[k]);
        addSlot(v, s, s.eventImage2Files[k]);
        addSlot(v, s, s.enters[k].name);
        addSlot(v, s, s.enterImageFiles[k]);
        addSlot(v, s, s.enterImage2Files[k]);
    }
    for (int k = 0; k < kPlaceCount; ++k) {
        addSlot(v, s, s.places[k].name);
        addSlot(v, s, s.placeImageFiles[k]);
        addSlot(v, s, s.placeImage2Files[k]);
    }
    return v;
}

}  // namespace

TEST(Lock, LockThenUnlockRestoresEveryByte) {
    auto s = newScenario();
    fillRandom(*s, 21);  // length bytes above the capacity included
    auto plain = copyOf(*s);
    lockdata(*s, true);
    EXPECT_FALSE(sameBytes(*s, *plain));
    lockdata(*s, false);
    EXPECT_TRUE(sameBytes(*s, *plain));
    lockdata(*s, false);
    lockdata(*s, true);
    EXPECT_TRUE(sameBytes(*s, *plain));
}

TEST(Lock, ChangesExactlyTheListedTexts) {
    auto s = newScenario();
    fillRandom(*s, 22);
    auto plain = copyOf(*s);
    lockdata(*s, true);

    // 0: must stay, 1: must change, 2: may change (the password's characters).
    std::vector<unsigned char> rule(kRecordSize, 0);
    for (const Span& sp : lockedSpans(*plain)) std::fill(rule.begin() + sp.from, rule.begin() + sp.to, 1);
    const auto& pw = plain->settings.scplaypassword;
    const std::size_t pwAt = offsetIn(*plain, &pw) + 1;
    std::fill(rule.begin() + pwAt, rule.begin() + pwAt + pw.length(), 2);

    long wrong = 0, firstWrong = -1;
    for (long i = 0; i < kRecordSize; ++i) {
        const bool changed = s->bytes()[i] != plain->bytes()[i];
        const bool ok = rule[i] == 2 || changed == (rule[i] == 1);
        if (!ok && wrong++ == 0) firstWrong = i;
    }
    EXPECT_EQ(wrong, 0) << "first wrong byte at offset " << firstWrong;
}

TEST(Lock, TextsNotListedStayPlain) {
    auto s = newScenario();
    s->settings.scdoller.assign("Gold");
    s->settings.scopeningbmp.assign("title.bmp");
    s->event(3).evprologuebmp.assign("pro.bmp");
    s->chara(3).chbossimg.assign("boss.bmp");
    s->bgm(3).fileName.assign("song.mid");
    s->settings.reserved1.assign("r1");
    auto plain = copyOf(*s);
    lockdata(*s, true);
    EXPECT_TRUE(sameBytes(*s, *plain));
}

TEST(Lock, FormatConstantsNeverChange) {
    // Files written by earlier versions must open: these bytes are the format.
    auto s = newScenario();
    s->settings.scenarioname.assign("New-Scenario");
    s->settings.scplaypassword.assign("0123456789ABCDEF");
    lockdata(*s, true);
    EXPECT_EQ(s->settings.scenarioname.view(), "\xF8\xD3\xC1\x9B\xE5\xD5\xD3\xD8\xD7\xC4\xDF\xD9");
    EXPECT_EQ(s->settings.scplaypassword.view(),
              "\xF4\x82\x81\x84\xF0\x86\x85\xF7\xF5\x80\xF2\x8E\xF3\x87\x8F\x83");
    ShortString16 five{};
    five.assign("pass5");
    lockshortpass(five);
    EXPECT_EQ(five.view(), "\xD7\xC5\xC5\x83\xC6");
}

// Locked byte i of a password of length L is masked plain byte
// kPasswordPermutation[L - 1][i]: the row of its own length, applied forwards.
TEST(Lock, PasswordOfEveryLengthIsRearrangedByTheRowOfItsLength) {
    for (int len = 1; len <= 16; ++len) {
        ShortString16 pw{};
        std::string plain;
        for (int i = 0; i < len; ++i) plain += static_cast<char>('a' + i);
        pw.assign(plain);
        lockshortpass(pw);
        std::string want;
        for (int i = 0; i < len; ++i)
            want += static_cast<char>(plain[lockformat::kPasswordPermutation[len - 1][i]] ^ lockformat::kMask);
        EXPECT_EQ(pw.view(), want) << "length " << len;
    }
}

TEST(Lock, PasswordRoundTripForEveryLength) {
    std::mt19937 rng(5);
    for (int len = 0; len <= 16; ++len) {
        ShortString16 pw{};
        std::string text;
        for (int i = 0; i < len; ++i) text += static_cast<char>(rng());
        pw.assignRaw(text);
        for (int i = len; i < 16; ++i) pw.chars[i] = static_cast<char>(0xEE);
        const ShortString16 before = pw;
        lockshortpass(pw);
        EXPECT_EQ(pw.len, len);
        EXPECT_EQ(std::memcmp(pw.chars + len, before.chars + len, 16 - len), 0) << "tail moved, length " << len;
        lockshortmelt(pw);
        EXPECT_EQ(std::memcmp(&pw, &before, sizeof pw), 0) << "length " << len;
    }
}

TEST(Lock, DamagedPasswordLengthStaysInsideTheSlot) {
    auto s = newScenario();
    fillRandom(*s, 8);
    s->settings.scplaypassword.len = 200;
    auto plain = copyOf(*s);
    lockshortpass(s->settings.scplaypassword);
    const std::size_t at = offsetIn(*s, &s->settings.scplaypassword);
    EXPECT_EQ(std::memcmp(s->bytes(), plain->bytes(), at + 1), 0);
    EXPECT_EQ(std::memcmp(s->bytes() + at + 17, plain->bytes() + at + 17, kRecordSize - at - 17), 0);
    lockshortmelt(s->settings.scplaypassword);
    EXPECT_TRUE(sameBytes(*s, *plain));
}
