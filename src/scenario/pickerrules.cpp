#include "scenario/pickerrules.h"

#include "scenario/text.h"
#include "scenario/tablenames.h"

namespace qrn {

int itemKind(const ItemDef& item) {
    int kind = kItemKinds - 1;
    int set = 0;
    for (int k = 0; k < kItemKinds; ++k)
        if (item.itgroup[k] != 0) {
            kind = k;
            ++set;
        }
    return set == 1 ? kind : kItemKinds - 1;
}

MagicKind magicKind(const MagicDef& m) {
    if (m.allTargets != 0) return MagicKind::All;
    if (m.escapeMagic != 0 || m.warpMagic != 0) return MagicKind::Move;
    if (m.statusMagic == 0) return MagicKind::Single;
    return MagicKind::Status;
}

PickSet pickSetOf(const std::vector<int>& numbers, int last) {
    PickSet set;
    for (int n : numbers)
        if (n >= 1 && n <= last) set.set(static_cast<std::size_t>(n));
    return set;
}

std::vector<int> chosenNumbers(const PickSet& chosen, int last) {
    std::vector<int> out;
    for (int n = 1; n <= last && n < static_cast<int>(chosen.size()); ++n)
        if (chosen.test(static_cast<std::size_t>(n))) out.push_back(n);
    return out;
}

std::array<std::vector<int>, kItemKinds> itemCandidates(Scenario& s, const PickSet& chosen) {
    std::array<std::vector<int>, kItemKinds> pages;
    for (int n = 1; n <= kItemCount; ++n)
        if (!chosen.test(static_cast<std::size_t>(n)) && !s.itemImageFiles[n - 1].empty())
            pages[static_cast<std::size_t>(itemKind(s.item(n)))].push_back(n);
    return pages;
}

std::vector<int> eventCandidates(Scenario& s, const PickSet& chosen) {
    std::vector<int> out;
    for (int n = 1; n <= kEventCount; ++n)
        if (!chosen.test(static_cast<std::size_t>(n)) && !s.eventImageFiles[n - 1].empty()) out.push_back(n);
    return out;
}

std::array<std::vector<int>, kMagicKinds> magicCandidates(const Scenario& s, const PickSet& chosen,
                                                          const PickSet& excluded) {
    std::array<std::vector<int>, kMagicKinds> pages;
    for (int n = 1; n <= kMagicCount; ++n) {
        const MagicDef& m = s.magics[n - 1];
        const auto i = static_cast<std::size_t>(n);
        if (magicExists(m) && !chosen.test(i) && !excluded.test(i))
            pages[static_cast<std::size_t>(magicKind(m))].push_back(n);
    }
    return pages;
}

PickSet magicsHeld(const Scenario& s) {
    PickSet held;
    for (u8 m : s.hero.heroMagics)
        if (m >= 1 && m <= kMagicCount) held.set(m);
    for (const LevelEntry& row : s.levels)
        if (row.magic >= 1 && row.magic <= kMagicCount) held.set(row.magic);
    return held;
}

int keptHighlight(int oldRow, int newCount) {
    if (newCount <= 0) return -1;
    if (oldRow < 0) return 0;
    return oldRow < newCount ? oldRow : newCount - 1;
}

// ---- summaries -------------------------------------------------------------------

namespace {

template <int N>
std::string text(const ShortString<N>& s) { return cp932ToUtf8Lossy(s.view()); }

std::string nameText(const Scenario& s, NamedTable table, int n) {
    return cp932ToUtf8Lossy(nameOrNone(s, table, n, {}));
}
std::string commentName(Scenario& s, int n) { return nameText(s, NamedTable::Comment, n); }
std::string bgmName(Scenario& s, int n) { return nameText(s, NamedTable::Bgm, n); }
std::string soundName(Scenario& s, int n) { return nameText(s, NamedTable::Sound, n); }
std::string poisonName(Scenario& s, int n) { return nameText(s, NamedTable::Poison, n); }
std::string magicName(Scenario& s, int n) { return nameText(s, NamedTable::Magic, n); }
std::string itemName(Scenario& s, int n) { return nameText(s, NamedTable::Item, n); }

bool validComment(int n) { return n >= 1 && n <= kCommentCount; }

}  // namespace

std::vector<std::string> itemSummary(Scenario& s, int n) {
    std::vector<std::string> l;
    if (n < 1 || n > kItemCount) return l;
    const ItemDef& it = s.item(n);
    const bool general = itemKind(it) == kItemKinds - 1;
    l.push_back(it.itmoney <= 0 ? "×売買不可" : "＄価格 / " + std::to_string(it.itmoney));
    l.push_back(it.itcount == 0 ? "◆使用可能回数 / 無限" : "◆使用可能回数 / " + std::to_string(it.itcount) + "回");
    if (it.itspecial) l.push_back("◎特殊効果有り");
    if (it.itfielduse) l.push_back("○ﾌｨｰﾙﾄﾞ上での使用可能 ");
    if (it.itbattleuse) l.push_back("○戦闘中の使用可能 ");
    l.emplace_back();
    if (it.itstrength != 0) l.push_back("＋攻撃力 / " + std::to_string(it.itstrength));
    if (it.itdefence != 0) l.push_back("＋防御力 / " + std::to_string(it.itdefence));
    if (it.itdextality != 0) l.push_back("＋素早さ / " + std::to_string(it.itdextality));
    l.emplace_back();
    if (it.ithealing != 0) l.push_back((general ? "○回復 / " : "☆歩行回復 / ") + std::to_string(it.ithealing));
    if (it.ithealmp != 0) l.push_back(it.ithealmp < 0 ? "☆魔力回復 / 全回復" : "☆魔力回復 / " + std::to_string(it.ithealmp));
    if (it.itantipoison != 0) l.push_back((general ? "○解毒 / " : "☆抵抗力 / ") + poisonName(s, it.itantipoison));
    if (it.itmagic != 0) l.push_back("☆発動魔法 / " + magicName(s, it.itmagic));
    l.emplace_back();
    if (it.itshowserch) l.push_back("？「調べる」で獲得");
    if (validComment(it.itcomment)) l.push_back("～ｺﾒﾝﾄ / " + commentName(s, it.itcomment));
    if (it.itfindbgm != 0) l.push_back("♪発見時のBGM / " + bgmName(s, it.itfindbgm));
    if (it.itsound != 0) l.push_back("≫使用時の効果音 / " + soundName(s, it.itsound));
    if (it.itattacksound != 0) l.push_back("≫打撃時の効果音 / " + soundName(s, it.itattacksound));
    return l;
}

std::vector<std::string> eventSummary(Scenario& s, int n) {
    std::vector<std::string> l;
    if (n < 1 || n > kEventCount) return l;
    const EventDef& e = s.event(n);
    if (e.evstarthide) l.push_back("□条件合致まで非表示");
    if (e.evendhide) l.push_back("□終了後非表示");
    l.emplace_back();
    if (validComment(e.evstartcomment)) l.push_back("～発生前ｺﾒﾝﾄ / " + commentName(s, e.evstartcomment));
    if (e.evenemy >= 1 && e.evenemy <= kEnemyTypeCount) l.push_back("◆戦闘 / " + text(s.enemyType(e.evenemy).name));
    if (validComment(e.evendcomment)) l.push_back("～発生後ｺﾒﾝﾄ / " + commentName(s, e.evendcomment));
    if (e.jumpField >= 1 && e.jumpField <= kFieldCount) {
        l.push_back("→ｼﾞｬﾝﾌﾟ先 / " + text(s.field(e.jumpField).name));
        if (e.jumpPosition > 0 && cellOf(s, e.jumpField, e.jumpPosition) > 0)
            l.push_back("  座標 Ｘ：" + std::to_string(linkby(s, 1, n, 0)) + "  Ｙ：" + std::to_string(linkby(s, 1, n, 1)));
    }
    l.emplace_back();
    if (e.evinfinity) l.push_back("∽無限に発生");
    if (e.evdieok) l.push_back("！死亡しても続行");
    if (e.evnotwondering) l.push_back("●終了後敵と遭遇しない");
    if (e.evending) l.push_back("◎エンディング");
    l.emplace_back();
    if (validComment(e.evprologue)) l.push_back("－ﾌﾟﾛﾛｰｸﾞ / " + commentName(s, e.evprologue));
    if (!e.evprologuebmp.empty()) l.push_back("  ﾌﾟﾛﾛｰｸﾞｲﾒｰｼﾞ / " + text(e.evprologuebmp));
    if (e.evprologuebgm != 0) l.push_back("  ﾌﾟﾛﾛｰｸﾞBGM / " + bgmName(s, e.evprologuebgm));
    if (validComment(e.evepilogue)) l.push_back("－ｴﾋﾟﾛｰｸﾞ / " + commentName(s, e.evepilogue));
    if (!e.evepiloguebmp.empty()) l.push_back("  ｴﾋﾟﾛｰｸﾞｲﾒｰｼﾞ / " + text(e.evepiloguebmp));
    if (e.evepiloguebgm != 0) l.push_back("  ｴﾋﾟﾛｰｸﾞBGM / " + bgmName(s, e.evepiloguebgm));
    l.emplace_back();
    if (e.evaction == 0) l.push_back("！「調べる」ｺﾏﾝﾄﾞで開始");
    else if (e.evaction == 1) l.push_back("！到達時点で開始");
    else if (e.evaction == 2) {
        l.push_back("！ｱｲﾃﾑ使用で開始");
        l.push_back(e.evstartitem >= 1 && e.evstartitem <= kItemCount ? " →" + itemName(s, e.evstartitem)
                                                                      : std::string(" →  未指定"));
    }
    l.emplace_back();
    if (e.evgetmagic >= 1 && e.evgetmagic <= kMagicCount) {
        l.push_back("☆獲得魔法：");
        l.push_back("    " + magicName(s, e.evgetmagic));
    }
    return l;
}

std::vector<std::string> magicSummary(Scenario& s, int n) {
    std::vector<std::string> l;
    if (n < 1 || n > kMagicCount) return l;
    const MagicDef& m = s.magic(n);
    l.push_back("●魔力消費 / " + std::to_string(m.mgdownmp));
    l.push_back("●成功率 / " + std::to_string(m.mgsuccess) + "%");
    if (m.warpMagic) l.push_back("→ﾌｨｰﾙﾄﾞﾜｰﾌﾟ");
    if (m.escapeMagic) l.push_back("→ﾌｨｰﾙﾄﾞｴｽｹｰﾌﾟ");
    if (m.mghealing > 0) l.push_back("○回復 / " + std::to_string(m.mghealing));
    else if (m.mghealing == -1) l.push_back("○回復 / 全回復");
    if (m.mgantipoison != 0) l.push_back("○解毒 / " + poisonName(s, m.mgantipoison));
    if (m.mgsilence) l.push_back("☆魔法封印");
    if (m.mgsleep) l.push_back("☆催眠");
    const struct {
        const char* label;
        u16 amount;
        u8 toMe;
    } effects[] = {
        {"↓ﾀﾞﾒｰｼﾞ / ", m.mgdamage, m.mgdamagetome},       {"↑攻撃UP / ", m.mgupstr, m.mgupstrtome},
        {"↓攻撃DOWN / ", m.mgdownstr, m.mgdownstrtome},    {"↑防御UP / ", m.mgupdef, m.mgupdeftome},
        {"↓防御DOWN / ", m.mgdowndef, m.mgdowndeftome},    {"↑素早さUP / ", m.mgupdex, m.mgupdextome},
        {"↓素早さDOWN / ", m.mgdowndex, m.mgdowndextome},
    };
    for (const auto& e : effects) {
        if (e.amount == 0) continue;
        l.push_back(e.label + std::to_string(e.amount));
        l.push_back(e.toMe ? "          効果対象 / 自分" : "          効果対象 / 相手");
    }
    return l;
}

}  // namespace qrn
