#include "resourcerules.h"

#include <algorithm>
#include <cstring>

#include "resets.h"
#include "tablenames.h"
#include "text.h"

namespace qrn {

namespace {

// Bytes after a text's length carry no meaning, so two records that differ
// only there are the same.
template <int N>
void clearTail(ShortString<N>& t) {
    std::memset(t.chars + t.length(), 0, static_cast<std::size_t>(N - t.length()));
    t.len = static_cast<u8>(t.length());
}

void clearTails(MagicDef& d) { clearTail(d.name); }
void clearTails(PoisonDef& d) { clearTail(d.name); }
void clearTails(EnemyTypeDef& d) { clearTail(d.name); }
void clearTails(WalkImgDef& d) { clearTail(d.name); }
void clearTails(BgmDef& d) {
    clearTail(d.name);
    clearTail(d.fileName);
}
void clearTails(SoundDef& d) {
    clearTail(d.name);
    clearTail(d.fileName);
}
void clearTails(CommentDef& d) {
    clearTail(d.name);
    clearTail(d.line1);
    clearTail(d.line2);
    clearTail(d.line3);
    clearTail(d.line4);
}

template <typename Def>
bool equalsFresh(const Def& stored, int number, void (*fresh)(Def&, int)) {
    Def a = stored;
    Def b;
    fresh(b, number);
    clearTails(a);
    clearTails(b);
    return std::memcmp(&a, &b, sizeof(Def)) == 0;
}

NamedTable namedTableOf(ResKind kind) {
    switch (kind) {
        case ResKind::Comment: return NamedTable::Comment;
        case ResKind::EnemyGroup: return NamedTable::EnemyGroup;
        case ResKind::Poison: return NamedTable::Poison;
        case ResKind::WalkImage: return NamedTable::WalkImage;
        case ResKind::Bgm: return NamedTable::Bgm;
        case ResKind::Sound: return NamedTable::Sound;
        case ResKind::Magic: return NamedTable::Magic;
    }
    return NamedTable::Comment;
}

bool inRange(ResKind kind, int number) { return number >= 1 && number <= resourceCount(kind); }

template <int N>
std::string cut32(const ShortString<N>& text) {
    return std::string(cutCp932(text.view(), ShortString32::capacity));
}

}  // namespace

int resourceCount(ResKind kind) { return namedTableSize(namedTableOf(kind)); }

bool resourceUnused(const Scenario& s, ResKind kind, int number) {
    if (!inRange(kind, number)) return true;
    const int i = number - 1;
    switch (kind) {
        case ResKind::Comment: return equalsFresh(s.comments[i], number, freshComment);
        case ResKind::EnemyGroup: return equalsFresh(s.enemyTypes[i], number, freshEnemyType);
        case ResKind::Poison: return equalsFresh(s.poisons[i], number, freshPoison);
        case ResKind::Bgm: return equalsFresh(s.bgms[i], number, freshBgm);
        case ResKind::Sound: return equalsFresh(s.sounds[i], number, freshSound);
        case ResKind::Magic: return equalsFresh(s.magics[i], number, freshMagic);
        case ResKind::WalkImage:
            for (const auto& f : s.walkImageFiles[i])
                if (!f.empty()) return false;
            return equalsFresh(s.walkImgs[i], number, freshWalkImg);
    }
    return true;
}

int resourcesInUse(const Scenario& s, ResKind kind) {
    int used = 0;
    for (int n = 1; n <= resourceCount(kind); ++n) used += !resourceUnused(s, kind, n);
    return used;
}

std::string_view resourceName(const Scenario& s, ResKind kind, int number) {
    return tableName(s, namedTableOf(kind), number).value_or(std::string_view{});
}

void setResourceName(Scenario& s, ResKind kind, int number, std::string_view cp932) {
    if (!inRange(kind, number)) return;
    const int i = number - 1;
    switch (kind) {
        case ResKind::Comment: s.comments[i].name.assign(cp932); break;
        case ResKind::EnemyGroup: s.enemyTypes[i].name.assign(cp932); break;
        case ResKind::Poison: s.poisons[i].name.assign(cp932); break;
        case ResKind::WalkImage: s.walkImgs[i].name.assign(cp932); break;
        case ResKind::Bgm: s.bgms[i].name.assign(cp932); break;
        case ResKind::Sound: s.sounds[i].name.assign(cp932); break;
        case ResKind::Magic: s.magics[i].name.assign(cp932); break;
    }
}

std::vector<int> fillEmptyNames(Scenario& s, ResKind kind) {
    std::vector<int> named;
    for (int n = 1; n <= resourceCount(kind); ++n) {
        if (!resourceName(s, kind, n).empty()) continue;
        std::string name;
        switch (kind) {
            case ResKind::Comment: name = cut32(s.comment(n).line1); break;
            case ResKind::Bgm: name = cut32(s.bgm(n).fileName); break;
            case ResKind::Sound: name = cut32(s.sound(n).fileName); break;
            case ResKind::WalkImage: name = cut32(s.walkImageFiles[n - 1][0]); break;
            case ResKind::EnemyGroup:
                for (const u8 member : s.enemyType(n).members) {
                    if (member < 1 || member > kCharaCount) continue;
                    name = cut32(s.chara(member).name);
                    break;
                }
                break;
            case ResKind::Poison:
            case ResKind::Magic: break;
        }
        if (name.empty()) continue;
        setResourceName(s, kind, n, name);
        named.push_back(n);
    }
    return named;
}

std::string nameFromFileName(std::string_view cp932FileName) {
    // "." is a single-byte character and never a trail byte, so the first one
    // found at a character boundary is the first "." of the name.
    std::size_t i = 0;
    while (i < cp932FileName.size() && cp932FileName[i] != '.')
        i += isCp932LeadByte(static_cast<unsigned char>(cp932FileName[i])) ? 2 : 1;
    return std::string(cutCp932(cp932FileName.substr(0, std::min(i, cp932FileName.size())), 32));
}

std::vector<int> enemyCandidates(const Scenario& s) {
    std::vector<int> out;
    for (int k = 1; k <= kCharaCount; ++k)
        if (!s.charaImageFiles[k - 1].empty() && s.charas[k - 1].chcharatype == 3) out.push_back(k);
    return out;
}

int addEnemyMember(EnemyTypeDef& group, int chara) {
    if (chara < 1 || chara > kCharaCount) return 0;
    for (int slot = 0; slot < 5; ++slot) {
        if (group.members[slot] != 0) continue;
        group.members[slot] = static_cast<u8>(chara);
        return slot + 1;
    }
    return 0;
}

bool removeEnemyMember(EnemyTypeDef& group, int slot) {
    if (slot < 1 || slot > 5 || group.members[slot - 1] == 0) return false;
    group.members[slot - 1] = 0;
    u8 kept[5] = {};
    int k = 0;
    for (const u8 m : group.members)
        if (m != 0) kept[k++] = m;
    std::memcpy(group.members, kept, sizeof kept);
    return true;
}

WalkStep nextWalkStep(int step, const std::array<bool, kWalkFrames>& framePictured) {
    static constexpr int kFrames[16] = {0, 2, 1, 2, 3, 4, 3, 4, 5, 6, 5, 6, 7, 8, 7, 8};
    step = step < 1 || step > 16 ? 1 : step % 16 + 1;
    if (step == 16) return {16, 0};
    for (int tries = 0; tries < 15; ++tries) {
        const int frame = kFrames[step];
        if (framePictured[static_cast<std::size_t>(frame - 1)]) return {step, frame};
        step = step % 15 + 1;
    }
    return {step, 0};
}

PoisonValueInput readPoisonValue(std::string_view text) {
    PoisonValueInput in;
    if (text.empty()) return in;
    unsigned long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            in.action = PoisonValueInput::ClearBox;
            return in;
        }
        value = std::min<unsigned long>(value * 10 + static_cast<unsigned long>(c - '0'), 1000000);
    }
    in.action = PoisonValueInput::Store;
    in.rewriteBox = value > 65535;
    in.value = static_cast<std::uint16_t>(std::min<unsigned long>(value, 65535));
    return in;
}

}  // namespace qrn
