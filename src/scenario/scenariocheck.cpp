#include "scenariocheck.h"

#include <array>
#include <bitset>
#include <cstring>
#include <fstream>
#include <map>
#include <unordered_map>

#include "joinfiles.h"
#include "tablenames.h"
#include "text.h"
#include "walk.h"

namespace qrn {

namespace {

// Every table a reference can point into: the five map layers, then the
// resource tables in ResKind order.
enum Target { TPlace, TEnter, TEvent, TItem, TChara, TComment, TEnemy, TPoison, TWalk, TBgm, TSound, TMagic, TCount };

constexpr int kTargetCount[TCount] = {kPlaceCount,   kEnterCount,     kEventCount, kItemCount,
                                      kCharaCount,   kCommentCount,   kEnemyTypeCount, kPoisonCount,
                                      kWalkImgCount, kBgmCount,       kSoundCount, kMagicCount};
const char* const kTargetName[TCount] = {"地形", "建造物", "イベント", "アイテム", "キャラクター", "コメント",
                                         "敵グループ", "特殊攻撃", "ｳｫｰｸｲﾒｰｼﾞ", "BGM", "効果音", "魔法"};

constexpr bool isLayer(Target t) { return t <= TChara; }
constexpr ResKind resKindOf(Target t) { return static_cast<ResKind>(t - TComment); }

CheckPlace placeOf(Target t, int n) {
    return isLayer(t) ? CheckPlace::object(t + 1, n) : CheckPlace::resource(resKindOf(t), n);
}

std::string utf8(std::string_view cp932) { return cp932ToUtf8Lossy(cp932); }

constexpr NamedTable kTargetTable[TCount] = {
    NamedTable::Place,     NamedTable::Enter, NamedTable::Event, NamedTable::Item,  NamedTable::Chara, NamedTable::Comment,
    NamedTable::EnemyGroup, NamedTable::Poison, NamedTable::WalkImage, NamedTable::Bgm, NamedTable::Sound, NamedTable::Magic};

std::string_view objectName(const Scenario& s, Target t, int n) {
    return tableName(s, kTargetTable[t], n).value_or(std::string_view{});
}

std::string named(const Scenario& s, Target t, int n) {
    std::string out = std::string(kTargetName[t]) + " " + std::to_string(n);
    const std::string_view name = objectName(s, t, n);
    if (!name.empty()) out += "「" + utf8(name) + "」";
    return out;
}

bool objectInUse(const Scenario& s, Target t, int n) {
    switch (t) {
        case TPlace: return !s.placeImageFiles[n - 1].empty();
        case TEnter: return !s.enterImageFiles[n - 1].empty();
        case TEvent: return !s.eventImageFiles[n - 1].empty();
        case TItem: return !s.itemImageFiles[n - 1].empty();
        case TChara: return !s.charaImageFiles[n - 1].empty();
        default: return !resourceUnused(s, resKindOf(t), n);
    }
}

enum class FileUse { Chip, Large, Music, Wave };

struct FileState {
    bool usable = true;     // the stored name may name a file in the folder
    bool found = false;
    std::string foundAs;    // the spelling found, when it differs
    bool chipOk = true;     // a 32x32 bitmap
    int width = 0, height = 0;
    bool sized = false;     // the size has been read
};

class Checker {
public:
    Checker(const Scenario& s, ResourceFolder* res) : s_(s), res_(res) {
        for (int t = 0; t < TCount; ++t) {
            inUse_[t].assign(static_cast<std::size_t>(kTargetCount[t] + 1), 0);
            used_[t].assign(static_cast<std::size_t>(kTargetCount[t] + 1), 0);
            for (int n = 1; n <= kTargetCount[t]; ++n)
                inUse_[t][n] = objectInUse(s, static_cast<Target>(t), n);
        }
        for (int f = 1; f <= kFieldCount; ++f) fieldUsed_[f] = fieldInUse(s, f);
    }

    std::vector<CheckFinding> run() {
        walkFields();
        walkHero();
        walkObjects();
        walkResources();
        walkSettings();
        walkReachability();
        walkItemsNeeded();
        walkCellReach();
        walkNeverUsed();
        return std::move(out_);
    }

private:
    const Scenario& s_;
    ResourceFolder* res_;
    std::vector<CheckFinding> out_;
    std::array<std::vector<char>, TCount> inUse_, used_;
    std::array<bool, kFieldCount + 1> fieldUsed_{};
    std::vector<char> placed_[5] = {std::vector<char>(kPlaceCount + 1), std::vector<char>(kEnterCount + 1),
                                     std::vector<char>(kEventCount + 1), std::vector<char>(kItemCount + 1),
                                     std::vector<char>(kCharaCount + 1)};
    // Buildings and events standing on each field, for the ways between fields.
    std::array<std::bitset<kEnterCount + 1>, kFieldCount + 1> entersOn_{};
    std::array<std::bitset<kEventCount + 1>, kFieldCount + 1> eventsOn_{};
    std::bitset<kItemCount + 1> given_;
    std::array<bool, kFieldCount + 1> fieldReached_{};  // by the ways between fields
    std::unordered_map<std::string, FileState> files_;

    void add(CheckKind kind, CheckSeverity sev, const CheckPlace& at, std::string message) {
        out_.push_back({kind, sev, at, std::move(message)});
    }
    void error(CheckKind kind, const CheckPlace& at, std::string m) { add(kind, CheckSeverity::Error, at, std::move(m)); }
    void warning(CheckKind kind, const CheckPlace& at, std::string m) {
        add(kind, CheckSeverity::Warning, at, std::move(m));
    }

    bool inUse(Target t, long long n) const { return n >= 1 && n <= kTargetCount[t] && inUse_[t][n]; }

    // A reference from `at`: none (0, a comment below 1), a number outside
    // the table, or an entry that is not in use.
    void ref(const CheckPlace& at, const char* what, Target t, long long n) {
        if (n == 0 || (t == TComment && n < 0)) return;
        if (n < 1 || n > kTargetCount[t]) {
            error(CheckKind::OutOfRange, at,
                  std::string(what) + "の" + kTargetName[t] + "番号 " + std::to_string(n) + " は範囲外です。");
            return;
        }
        used_[t][n] = 1;
        if (!inUse_[t][n])
            error(CheckKind::MissingEntry, at,
                  std::string(what) + "が使われていない" + named(s_, t, static_cast<int>(n)) + "を指しています。");
    }
    // Arrays of the packed record may sit at odd addresses, so they are
    // passed by pointer and their elements copied out byte-wise.
    template <typename T, std::size_t N>
    void refs(const CheckPlace& at, const char* what, Target t, const T (*ns)[N]) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(ns);
        for (std::size_t i = 0; i < N; ++i) {
            T n;
            std::memcpy(&n, bytes + i * sizeof(T), sizeof(T));
            ref(at, what, t, n);
        }
    }

    // ---- the map ----------------------------------------------------------------

    void walkFields() {
        for (int f = 1; f <= kFieldCount; ++f) {
            if (!fieldUsed_[f]) continue;
            const FieldDef& fd = s_.field(f);
            const CheckPlace at = CheckPlace::fieldOf(f);
            const long long first = fd.firstCell;
            const long long count = fd.cellCount;
            if (count < 1 || first + count - 1 > kCellCount || fd.width < 1 || fd.height < 1 ||
                fd.width > kMaxFieldSide || fd.height > kMaxFieldSide ||
                static_cast<long long>(fd.width) * fd.height != count) {
                error(CheckKind::OutOfRange, at, "フィールドの大きさとセルの範囲が合っていません（ファイルが壊れています）。");
            } else {
                walkCells(f, static_cast<int>(first), static_cast<int>(count));
            }
            ref(at, "BGM", TBgm, fd.fieldBgm);
            if (fd.escapeField != 0)
                location(at, "エスケープ先", fd.escapeField, fd.escapePosition);
            for (int k = 0; k < 30; ++k)
                if (fd.warpPoints[k] != 0) location(at, "ワープ可能地点", f, fd.warpPoints[k]);
            if (!s_.fieldItemImageFiles[f - 1].empty())
                file(at, "アイテムの画像", s_.fieldItemImageFiles[f - 1], FileUse::Chip);
        }
    }

    struct Hits {
        int firstCol = 0, firstRow = 0, count = 0;
    };

    void walkCells(int f, int first, int count) {
        // One finding per field and object, naming the first cell and the count.
        std::map<std::pair<int, long long>, Hits> bad;
        auto hit = [&](int layer, long long number, const Cell& c) {
            Hits& h = bad[{layer, number}];
            if (h.count++ == 0) {
                h.firstCol = c.col;
                h.firstRow = c.row;
            }
        };
        auto& enters = entersOn_[f];
        auto& events = eventsOn_[f];
        for (int i = 0; i < count; ++i) {
            const Cell& c = s_.cells[first - 1 + i];
            const long long values[5] = {c.place, c.enter, c.event, c.item, c.chara};
            for (int layer = 0; layer < 5; ++layer) {
                const long long v = values[layer];
                if (v == 0 || (layer == TPlace && v < 0)) continue;
                const auto t = static_cast<Target>(layer);
                if (v > kTargetCount[t]) {
                    hit(layer, -1, c);
                    continue;
                }
                placed_[layer][v] = 1;
                if (!inUse_[t][v]) hit(layer, v, c);
            }
            if (c.enter >= 1 && c.enter <= kEnterCount) enters.set(c.enter);
            if (c.event >= 1 && c.event <= kEventCount) events.set(c.event);
            if (c.item >= 1 && c.item <= kItemCount) given_.set(c.item);
        }
        for (const auto& [key, h] : bad) {
            const auto t = static_cast<Target>(key.first);
            const std::string more = h.count > 1 ? "（他 " + std::to_string(h.count - 1) + " か所）" : "";
            const CheckPlace at = CheckPlace::cell(f, h.firstCol, h.firstRow);
            if (key.second < 0)
                error(CheckKind::OutOfRange, at, std::string(kTargetName[t]) + "の番号が範囲外のセルがあります" + more + "。");
            else
                error(CheckKind::UnusedPlaced, at,
                      "使われていない" + named(s_, t, static_cast<int>(key.second)) + "が置かれています" + more + "。");
        }
    }

    // A location: the field must be in use, the position inside it, and the
    // cell must hold a terrain in use that may be passed, under no building
    // that may not. The finding sits on the cell when there is one.
    void location(const CheckPlace& owner, const std::string& what, long long field, long long position) {
        const std::string head = what + "（フィールド " + std::to_string(field) + "）";
        if (field < 1 || field > kFieldCount || !fieldUsed_[field]) {
            error(CheckKind::BadLocation, owner, head + "のフィールドは使われていません。");
            return;
        }
        const int cellNo = position >= 1 && position <= 0x7fffffff ? cellOf(s_, static_cast<int>(field), static_cast<int>(position)) : 0;
        if (cellNo == 0) {
            error(CheckKind::BadLocation, owner, head + "の位置 " + std::to_string(position) + " はフィールドの外です。");
            return;
        }
        const Cell& c = s_.cell(cellNo);
        const CheckPlace at = CheckPlace::cell(static_cast<int>(field), c.col, c.row);
        const std::string from = describePlace(s_, owner) + "の" + what;
        if (c.place < 1 || c.place > kPlaceCount || !inUse_[TPlace][c.place]) {
            error(CheckKind::BadLocation, at, from + "に地形がありません。");
            return;
        }
        if (s_.places[c.place - 1].plmove == 0) {
            error(CheckKind::BadLocation, at, from + "の" + named(s_, TPlace, c.place) + "は通過できません。");
            return;
        }
        if (c.enter >= 1 && c.enter <= kEnterCount && inUse_[TEnter][c.enter] && s_.enters[c.enter - 1].enmove == 0)
            error(CheckKind::BadLocation, at, from + "の" + named(s_, TEnter, c.enter) + "は通過できません。");
    }

    // ---- definitions ---------------------------------------------------------------

    void walkHero() {
        const HeroDef& h = s_.hero;
        const CheckPlace at{CheckPlace::Hero};
        location(at, "スタート地点", h.startField, h.startPosition);
        refs(at, "持ち物", TItem, &h.heroItems);
        refs(at, "魔法", TMagic, &h.heroMagics);
        for (const u8 n : {h.heweapon, h.hearmor, h.heshield, h.hehelm, h.hemagicitem}) {
            ref(at, "装備", TItem, n);
            if (n >= 1 && n <= kItemCount) given_.set(n);
        }
        for (const u8 n : h.heroItems)
            if (n >= 1 && n <= kItemCount) given_.set(n);
        for (int row = 1; row <= kLevelRows; ++row)
            ref({CheckPlace::Level, 0, row}, "覚える魔法", TMagic, s_.levels[row - 1].magic);
    }

    void walkObjects() {
        for (int n = 1; n <= kPlaceCount; ++n) {
            if (!inUse_[TPlace][n]) continue;
            const PlaceDef& d = s_.places[n - 1];
            const CheckPlace at = CheckPlace::object(kPlaceLayer, n);
            ref(at, "通過条件", TItem, d.plwantitem);
            ref(at, "ｳｫｰｸｲﾒｰｼﾞ", TWalk, d.plwalkimg);
            ref(at, "敵グループ", TEnemy, d.plenemytype);
            ref(at, "回復・回避ｱｲﾃﾑ", TItem, d.plrecover);
            ref(at, "通過音", TSound, d.plsound);
            ref(at, "表示条件", TItem, d.plshowitem);
            ref(at, "表示条件", TEvent, d.plshowevent);
            file(at, "画像", s_.placeImageFiles[n - 1], FileUse::Chip);
            file(at, "拡張画像", s_.placeImage2Files[n - 1], FileUse::Chip);
        }
        for (int n = 1; n <= kEnterCount; ++n) {
            if (!inUse_[TEnter][n]) continue;
            const EnterDef& d = s_.enters[n - 1];
            const CheckPlace at = CheckPlace::object(kEnterLayer, n);
            ref(at, "通過条件", TItem, d.enwantitem);
            ref(at, "効果音", TSound, d.ensound);
            ref(at, "表示条件", TItem, d.enshowitem);
            ref(at, "表示条件", TEvent, d.enshowevent);
            if (d.jumpField != 0) location(at, "ジャンプ先", d.jumpField, d.jumpPosition);
            file(at, "画像", s_.enterImageFiles[n - 1], FileUse::Chip);
            file(at, "アニメーション画像", s_.enterImage2Files[n - 1], FileUse::Chip);
        }
        for (int n = 1; n <= kEventCount; ++n) {
            if (!inUse_[TEvent][n]) continue;
            const EventDef& d = s_.events[n - 1];
            const CheckPlace at = CheckPlace::object(kEventLayer, n);
            ref(at, "敵グループ", TEnemy, d.evenemy);
            ref(at, "開始ｺﾒﾝﾄ", TComment, d.evstartcomment);
            ref(at, "終了ｺﾒﾝﾄ", TComment, d.evendcomment);
            ref(at, "プロローグ", TComment, d.evprologue);
            ref(at, "エピローグ", TComment, d.evepilogue);
            ref(at, "プロローグBGM", TBgm, d.evprologuebgm);
            ref(at, "エピローグBGM", TBgm, d.evepiloguebgm);
            if (d.evaction == 2) ref(at, "開始ｱｲﾃﾑ", TItem, d.evstartitem);
            refs(at, "表示条件", TItem, &d.evshowitem);
            refs(at, "表示条件", TEvent, &d.evshowevent);
            refs(at, "入手ｱｲﾃﾑ", TItem, &d.evgetitem);
            refs(at, "消失ｱｲﾃﾑ", TItem, &d.evputitem);
            ref(at, "習得魔法", TMagic, d.evgetmagic);
            if (d.jumpField != 0) location(at, "ジャンプ先", d.jumpField, d.jumpPosition);
            for (const u8 i : d.evgetitem)
                if (i >= 1 && i <= kItemCount) given_.set(i);
            file(at, "画像", s_.eventImageFiles[n - 1], FileUse::Chip);
            file(at, "終了後の画像", s_.eventImage2Files[n - 1], FileUse::Chip);
            file(at, "プロローグ画像", d.evprologuebmp, FileUse::Large);
            file(at, "エピローグ画像", d.evepiloguebmp, FileUse::Large);
        }
        for (int n = 1; n <= kItemCount; ++n) {
            if (!inUse_[TItem][n]) continue;
            const ItemDef& d = s_.items[n - 1];
            const CheckPlace at = CheckPlace::object(kItemLayer, n);
            ref(at, "ｺﾒﾝﾄ", TComment, d.itcomment);
            ref(at, "魔法", TMagic, d.itmagic);
            ref(at, "発見時のBGM", TBgm, d.itfindbgm);
            ref(at, "使用音", TSound, d.itsound);
            ref(at, "攻撃音", TSound, d.itattacksound);
            ref(at, "治す特殊攻撃", TPoison, d.itantipoison);
            file(at, "画像", s_.itemImageFiles[n - 1], FileUse::Chip);
        }
        for (int n = 1; n <= kCharaCount; ++n) {
            if (!inUse_[TChara][n]) continue;
            const CharaDef& d = s_.charas[n - 1];
            const CheckPlace at = CheckPlace::object(kCharaLayer, n);
            ref(at, "ｺﾒﾝﾄ", TComment, d.chcomment);
            refs(at, "売り物", TItem, &d.chsale);
            ref(at, "会話BGM", TBgm, d.chtalkbgm);
            ref(at, "表示条件", TItem, d.chshowitem);
            ref(at, "表示条件", TEvent, d.chshowevent);
            refs(at, "欲しいｱｲﾃﾑ", TItem, &d.chwantitem);
            refs(at, "ｱｲﾃﾑのｺﾒﾝﾄ", TComment, &d.chitemcomment);
            refs(at, "欲しいｲﾍﾞﾝﾄ", TEvent, &d.chwantevent);
            refs(at, "ｲﾍﾞﾝﾄのｺﾒﾝﾄ", TComment, &d.cheventcomment);
            ref(at, "持ち物", TItem, d.chitem);
            refs(at, "魔法", TMagic, &d.chmagic);
            refs(at, "特殊攻撃", TPoison, &d.chpoison);
            ref(at, "戦闘BGM", TBgm, d.chbattlebgm);
            ref(at, "戦闘効果音", TSound, d.chbattlesound);
            for (const u8 i : d.chsale)
                if (i >= 1 && i <= kItemCount) given_.set(i);
            if (d.chitem >= 1 && d.chitem <= kItemCount) given_.set(d.chitem);
            file(at, "画像", s_.charaImageFiles[n - 1], FileUse::Chip);
            file(at, "ボス画像", d.chbossimg, FileUse::Large);
        }
    }

    void walkResources() {
        for (int n = 1; n <= kMagicCount; ++n) {
            if (!inUse_[TMagic][n]) continue;
            const CheckPlace at = placeOf(TMagic, n);
            ref(at, "効果音", TSound, s_.magics[n - 1].mgsound);
            ref(at, "治す特殊攻撃", TPoison, s_.magics[n - 1].mgantipoison);
        }
        for (int n = 1; n <= kEnemyTypeCount; ++n)
            if (inUse_[TEnemy][n]) refs(placeOf(TEnemy, n), "メンバー", TChara, &s_.enemyTypes[n - 1].members);
        for (int n = 1; n <= kWalkImgCount; ++n) {
            if (!inUse_[TWalk][n]) continue;
            for (int k = 0; k < kWalkFrames; ++k)
                file(placeOf(TWalk, n), "画像 " + std::to_string(k + 1), s_.walkImageFiles[n - 1][k], FileUse::Chip);
        }
        for (int n = 1; n <= kBgmCount; ++n)
            if (inUse_[TBgm][n]) file(placeOf(TBgm, n), "MIDIファイル", s_.bgms[n - 1].fileName, FileUse::Music);
        for (int n = 1; n <= kSoundCount; ++n)
            if (inUse_[TSound][n]) file(placeOf(TSound, n), "WAVファイル", s_.sounds[n - 1].fileName, FileUse::Wave);
    }

    void walkSettings() {
        const ScenarioSettings& st = s_.settings;
        const CheckPlace at{CheckPlace::Settings};
        ref(at, "標準のｳｫｰｸｲﾒｰｼﾞ", TWalk, st.scdefwalkimg);
        ref(at, "ゲームオーバーのｺﾒﾝﾄ", TComment, st.scgameover);
        refs(at, "タイトルのｺﾒﾝﾄ", TComment, &st.titleComments);
        ref(at, "プロローグ", TComment, st.prologueComment);
        refs(at, "エンディングのｺﾒﾝﾄ", TComment, &st.endingComments);
        ref(at, "エピローグ", TComment, st.epilogueComment);
        ref(at, "タイトル画面のBGM", TBgm, st.scopeningbgm);
        ref(at, "オープニングのBGM", TBgm, st.titleBgm);
        ref(at, "エンディングのBGM", TBgm, st.endingBgm);
        ref(at, "戦闘のBGM", TBgm, st.battleBgm);
        ref(at, "ゲームオーバーのBGM", TBgm, st.gameoverBgm);
        ref(at, "戦闘勝利のBGM", TBgm, st.battleEndBgm);
        ref(at, "レベルアップのBGM", TBgm, st.levelupBgm);
        ref(at, "魔法の効果音", TSound, st.magicSound);
        ref(at, "攻撃の効果音", TSound, st.attackSound);
        ref(at, "ダメージの効果音", TSound, st.damageSound);
        ref(at, "アイテムの効果音", TSound, st.itemSound);
        ref(at, "敵出現の効果音", TSound, st.wonderingSound);
        file(at, "タイトル画面", st.scopeningbmp, FileUse::Large);
        file(at, "背景パターン", st.scwallbmp, FileUse::Large);
        for (const auto& b : st.titleBitmaps) file(at, "オープニング画像", b, FileUse::Large);
        for (const auto& b : st.endingBitmaps) file(at, "エンディング画像", b, FileUse::Large);
    }

    // ---- the whole scenario -----------------------------------------------------------

    // Fields reach each other through the jumps of the buildings and events
    // standing on them and through their escape locations.
    void walkReachability() {
        const int start = s_.hero.startField;
        if (start < 1 || start > kFieldCount || !fieldUsed_[start]) return;  // already an error
        std::array<bool, kFieldCount + 1> seen{};
        std::vector<int> todo{start};
        seen[start] = true;
        auto visit = [&](int f) {
            if (f >= 1 && f <= kFieldCount && fieldUsed_[f] && !seen[f]) {
                seen[f] = true;
                todo.push_back(f);
            }
        };
        while (!todo.empty()) {
            const int f = todo.back();
            todo.pop_back();
            for (int e = 1; e <= kEnterCount; ++e)
                if (entersOn_[f][e] && inUse_[TEnter][e]) visit(s_.enters[e - 1].jumpField);
            for (int e = 1; e <= kEventCount; ++e)
                if (eventsOn_[f][e] && inUse_[TEvent][e]) visit(s_.events[e - 1].jumpField);
            visit(s_.field(f).escapeField);
        }
        fieldReached_ = seen;
        for (int f = 1; f <= kFieldCount; ++f)
            if (fieldUsed_[f] && !seen[f])
                warning(CheckKind::Unreachable, CheckPlace::fieldOf(f),
                        "主人公のスタート地点から、ジャンプでもエスケープでもたどり着けません。");
    }

    // Items needed to pass a terrain or building standing on a map, or to
    // start an event standing on a map, that nothing gives.
    void walkItemsNeeded() {
        auto need = [&](Target t, int n, long long item, const char* why) {
            if (item < 1 || item > kItemCount || given_[item] || !inUse_[TItem][item]) return;
            warning(CheckKind::ItemNeverGiven, placeOf(t, n),
                    std::string(why) + "に必要な" + named(s_, TItem, static_cast<int>(item)) +
                        "は、どのイベントでも手に入らず、どの店でも売られず、主人公も持っていません。");
        };
        for (int n = 1; n <= kPlaceCount; ++n)
            if (placed_[TPlace][n] && inUse_[TPlace][n] && s_.places[n - 1].plmove != 0)
                need(TPlace, n, s_.places[n - 1].plwantitem, "通過");
        for (int n = 1; n <= kEnterCount; ++n)
            if (placed_[TEnter][n] && inUse_[TEnter][n] && s_.enters[n - 1].enmove != 0)
                need(TEnter, n, s_.enters[n - 1].enwantitem, "通過");
        for (int n = 1; n <= kEventCount; ++n)
            if (placed_[TEvent][n] && inUse_[TEvent][n] && s_.events[n - 1].evaction == 2)
                need(TEvent, n, s_.events[n - 1].evstartitem, "開始");
    }

    // Events and items on the map that no walk from the hero's start reaches,
    // by the walk preview's rules taken generously: the hero may carry every
    // item that something the walk reaches gives (and every item nothing
    // gives, already named above), buildings and characters that appear or
    // leave may be away, events may have run or not. Fields that no way
    // leads to at all are named once above and left out here.
    void walkCellReach() {
        const auto from = startWalk(s_);
        if (!from) return;  // the start is already an error
        std::bitset<kItemCount + 1> carried;
        for (int i = 1; i <= kItemCount; ++i)
            if (!given_[i]) carried.set(static_cast<std::size_t>(i));
        const HeroDef& h = s_.hero;
        for (const int n : {h.heweapon, h.hearmor, h.heshield, h.hehelm, h.hemagicitem})
            if (n >= 1 && n <= kItemCount) carried.set(static_cast<std::size_t>(n));
        // Only items that a terrain or building asks for open new ways.
        std::bitset<kItemCount + 1> keys;
        for (int n = 1; n <= kPlaceCount; ++n)
            if (inUse_[TPlace][n] && inUse(TItem, s_.places[n - 1].plwantitem)) keys.set(s_.places[n - 1].plwantitem);
        for (int n = 1; n <= kEnterCount; ++n)
            if (inUse_[TEnter][n] && inUse(TItem, s_.enters[n - 1].enwantitem)) keys.set(s_.enters[n - 1].enwantitem);
        std::vector<unsigned char> reach;
        // Each round walks with the keys the last one found; a chain of keys
        // longer than the rounds is taken as all found.
        constexpr int kRounds = 16;
        for (int round = 0;; ++round) {
            reach = walkReach(s_, *from, carried);
            if ((keys & ~carried).none()) break;
            const auto found = carried | (itemsWithin(reach) & keys);
            if (found == carried) break;
            carried = found;
            if (round == kRounds) {
                carried.set();
                reach = walkReach(s_, *from, carried);
                break;
            }
        }
        // One finding per object, at its first cell missed, with the count.
        struct Missed {
            int field = 0, col = 0, row = 0, count = 0;
        };
        std::map<std::pair<int, int>, Missed> missed;
        for (int f = 1; f <= kFieldCount; ++f) {
            if (!fieldReached_[f] || !walkableField(s_, f)) continue;
            const FieldDef& fd = s_.field(f);
            const int first = fd.firstCell, count = fd.cellCount, width = fd.width;
            auto miss = [&](int layer, int number, int i) {
                Missed& m = missed[{layer, number}];
                if (m.count++ == 0) m = {f, i % width, i / width, 1};
            };
            for (int i = 0; i < count; ++i) {
                const Cell& c = s_.cells[first - 1 + i];
                const unsigned char r = reach[static_cast<std::size_t>(first + i)];
                if (inUse(TEvent, c.event) && !eventReached(c.event, r)) miss(TEvent, c.event, i);
                if (inUse(TItem, c.item) && !(r & kReachEntered)) miss(TItem, c.item, i);
            }
        }
        for (const auto& [key, m] : missed) {
            const std::string more = m.count > 1 ? "（他 " + std::to_string(m.count - 1) + " か所）" : "";
            warning(CheckKind::CellUnreachable, CheckPlace::cell(m.field, m.col, m.row),
                    named(s_, static_cast<Target>(key.first), key.second) +
                        "には、主人公のスタート地点から歩いてたどり着けません" + more + "。");
        }
    }

    // An event started by arrival must be stepped onto; one that is examined
    // or started by an item may also be faced.
    bool eventReached(int event, unsigned char reach) const {
        if (s_.events[event - 1].evaction == 1) return reach & kReachEntered;
        return reach & (kReachEntered | kReachFaced | kReachStood);
    }

    // Items that what the walk reaches gives: items lying on cells stepped
    // onto, the gains of events reached, what merchants faced sell and what
    // enemies met drop.
    std::bitset<kItemCount + 1> itemsWithin(const std::vector<unsigned char>& reach) const {
        std::bitset<kItemCount + 1> out;
        auto add = [&](long long item) {
            if (item >= 1 && item <= kItemCount) out.set(static_cast<std::size_t>(item));
        };
        auto addGroup = [&](long long group) {
            if (group < 1 || group > kEnemyTypeCount) return;
            for (const u8 m : s_.enemyTypes[group - 1].members)
                if (m >= 1 && m <= kCharaCount) add(s_.charas[m - 1].chitem);
        };
        for (int f = 1; f <= kFieldCount; ++f) {
            if (!walkableField(s_, f)) continue;
            const FieldDef& fd = s_.field(f);
            for (int i = 0; i < fd.cellCount; ++i) {
                const int cell = fd.firstCell + i;
                const unsigned char r = reach[static_cast<std::size_t>(cell)];
                if (r == 0) continue;
                const Cell& c = s_.cells[cell - 1];
                if ((r & kReachEntered) && inUse(TItem, c.item)) add(c.item);
                if ((r & kReachEntered) && inUse(TPlace, c.place)) addGroup(s_.places[c.place - 1].plenemytype);
                if (inUse(TEvent, c.event) && eventReached(c.event, r)) {
                    const EventDef& e = s_.events[c.event - 1];
                    for (const u8 g : e.evgetitem) add(g);
                    addGroup(e.evenemy);
                }
                if ((r & kReachFaced) && inUse(TChara, c.chara)) {
                    const CharaDef& ch = s_.charas[c.chara - 1];
                    for (const u8 g : ch.chsale) add(g);
                    add(ch.chitem);
                }
            }
        }
        return out;
    }

    void walkNeverUsed() {
        for (int t = 0; t < TCount; ++t) {
            for (int n = 1; n <= kTargetCount[t]; ++n) {
                if (!inUse_[t][n] || used_[t][n] || (isLayer(static_cast<Target>(t)) && placed_[t][n])) continue;
                warning(CheckKind::NeverUsed, placeOf(static_cast<Target>(t), n),
                        isLayer(static_cast<Target>(t)) ? "どのフィールドにも置かれず、どこからも使われていません。"
                                                        : "どこからも使われていません。");
            }
        }
    }

    // ---- files ------------------------------------------------------------------------

    void file(const CheckPlace& at, const std::string& what, const ShortString255& name, FileUse use) {
        if (!res_ || name.empty()) return;
        const std::string shown = utf8(name.view());
        const FileState& st = lookUp(name.view(), use == FileUse::Chip);
        const std::string head = what + "「" + shown + "」";
        if (!st.usable) {
            error(CheckKind::MissingFile, at, head + "はファイル名として使えません。");
        } else if (!st.found) {
            error(CheckKind::MissingFile, at, head + "がリソースフォルダにありません。");
        } else {
            if (!st.foundAs.empty())
                warning(CheckKind::FileCase, at, head + "は大文字・小文字の違う「" + st.foundAs + "」としてしかありません。");
            if (use == FileUse::Chip && !st.chipOk)
                warning(CheckKind::BadPictureSize, at,
                        st.sized ? head + "は 32×32 ではありません（" + std::to_string(st.width) + "×" +
                                       std::to_string(st.height) + "）。"
                                 : head + "はビットマップではありません。");
        }
    }

    const FileState& lookUp(std::string_view cp932Name, bool chip) {
        const std::string key(cp932Name);
        auto found = files_.find(key);
        if (found != files_.end()) return found->second;
        FileState st;
        const auto name = cp932ToUtf8(cp932Name);
        if (!name || !plainFileName(*name)) {
            st.usable = false;
        } else if (const auto path = res_->find(*name)) {
            st.found = true;
            if (*path != res_->spelt(*name)) st.foundAs = path->substr(path->find_last_of('/') + 1);
            if (chip) {
                std::ifstream in(*path, std::ios::binary);
                char header[26] = {};
                in.read(header, sizeof header);
                st.sized = bitmapSize(std::string_view(header, static_cast<std::size_t>(in.gcount())), st.width,
                                      st.height);
                st.chipOk = st.sized && st.width == 32 && st.height == 32;
            }
        }
        return files_.emplace(key, std::move(st)).first->second;
    }

    static constexpr int kPlaceLayer = 1, kEnterLayer = 2, kEventLayer = 3, kItemLayer = 4, kCharaLayer = 5;
};

}  // namespace

std::vector<CheckFinding> checkScenario(const Scenario& s, ResourceFolder* resources) {
    return Checker(s, resources).run();
}

std::string describePlace(const Scenario& s, const CheckPlace& p) {
    auto fieldName = [&](int f) {
        std::string out = "フィールド " + std::to_string(f);
        if (f >= 1 && f <= kFieldCount && !s.field(f).name.empty()) out += "「" + utf8(s.field(f).name.view()) + "」";
        return out;
    };
    switch (p.kind) {
        case CheckPlace::Cell:
            return fieldName(p.field) + " X:" + std::to_string(p.col + 1) + " Y:" + std::to_string(p.row + 1);
        case CheckPlace::Object:
            if (p.table >= 1 && p.table <= 5) return named(s, static_cast<Target>(p.table - 1), p.number);
            break;
        case CheckPlace::Resource:
            if (p.table >= 0 && p.table <= static_cast<int>(ResKind::Magic))
                return named(s, static_cast<Target>(TComment + p.table), p.number);
            break;
        case CheckPlace::Field: return fieldName(p.number);
        case CheckPlace::Hero: return "主人公";
        case CheckPlace::Settings: return "シナリオ設定";
        case CheckPlace::Level: return "レベルアップ（レベル " + std::to_string(p.number + 1) + "）";
        case CheckPlace::None: break;
    }
    return "-";
}

const char* severityName(CheckSeverity severity) {
    return severity == CheckSeverity::Error ? "エラー" : "警告";
}

const char* kindName(CheckKind kind) {
    switch (kind) {
        case CheckKind::MissingEntry: return "missing-entry";
        case CheckKind::OutOfRange: return "out-of-range";
        case CheckKind::BadLocation: return "bad-location";
        case CheckKind::UnusedPlaced: return "unused-placed";
        case CheckKind::NeverUsed: return "never-used";
        case CheckKind::Unreachable: return "unreachable";
        case CheckKind::MissingFile: return "missing-file";
        case CheckKind::FileCase: return "file-case";
        case CheckKind::BadPictureSize: return "bad-picture-size";
        case CheckKind::ItemNeverGiven: return "item-never-given";
        case CheckKind::CellUnreachable: return "unreachable-cell";
    }
    return "unknown";
}

int errorCount(const std::vector<CheckFinding>& findings) {
    int n = 0;
    for (const auto& f : findings) n += f.severity == CheckSeverity::Error;
    return n;
}

bool bitmapSize(std::string_view h, int& width, int& height) {
    auto u16at = [&](std::size_t o) { return static_cast<int>(static_cast<unsigned char>(h[o]) | static_cast<unsigned char>(h[o + 1]) << 8); };
    auto i32at = [&](std::size_t o) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(u16at(o)) | static_cast<std::uint32_t>(u16at(o + 2)) << 16);
    };
    if (h.size() < 18 || h[0] != 'B' || h[1] != 'M') return false;
    const std::int32_t dib = i32at(14);
    if (dib == 12 && h.size() >= 22) {
        width = u16at(18);
        height = u16at(20);
        return true;
    }
    if (dib < 40 || h.size() < 26) return false;
    width = i32at(18);
    const std::int32_t hgt = i32at(22);
    height = hgt == INT32_MIN ? 0 : (hgt < 0 ? -hgt : hgt);
    return true;
}

}  // namespace qrn
