#include "views/walkwords.h"

#include <QRegularExpression>

#include "scenario/chararules.h"
#include "services/textconv.h"

namespace qrn {

namespace {

bool within(int n, int count) { return n >= 1 && n <= count; }

// A table entry's name, or "<kind> N" when it has none.
template <typename Def>
QString nameOf(const Def* table, int count, int n, const char* kind) {
    QString name;
    if (within(n, count)) name = fromCp932(table[n - 1].name.view()).trimmed();
    return name.isEmpty() ? QString::fromUtf8(kind) + u' ' + QString::number(n) : name;
}

QString quoted(const QString& name) { return u'「' + name + u'」'; }

QString money(const Scenario& s, long long amount) {
    QString unit = fromCp932(s.settings.scdoller.view()).trimmed();
    if (unit.isEmpty()) unit = QStringLiteral("ゴールド");
    return QString::number(amount) + u' ' + unit;
}

QString blockedText(const Scenario& s, const WalkOutcome& o) {
    switch (o.reason) {
        case BlockReason::Edge: return QStringLiteral("進めません：フィールドの端です");
        case BlockReason::Terrain: return QStringLiteral("進めません：通れない地形です");
        case BlockReason::Building: return QStringLiteral("進めません：通れない建造物です");
        case BlockReason::Character: return QStringLiteral("進めません：キャラクターがいます");
        case BlockReason::Item:
            return QStringLiteral("進めません：") + quoted(walkItemName(s, o.item)) + QStringLiteral("が必要です");
        case BlockReason::None: break;
    }
    return QStringLiteral("進めません");
}

// A merchant's sale list or a healer's price, as the box shows it.
QStringList shopPage(const Scenario& s, int character) {
    const CharaDef& c = s.charas[character - 1];
    const QString who = nameOf(s.charas, kCharaCount, character, "キャラクター");
    if (charaKind(c.chcharatype) == kCharaHealer)
        return {who + QStringLiteral("（治療）"), QStringLiteral("治療代：") + money(s, c.chhealmoney)};
    QStringList page{who + QStringLiteral("（店）")};
    QStringList goods;
    for (u8 item : c.chsale)
        if (within(item, kItemCount))
            goods << walkItemName(s, item) + u' ' + money(s, s.items[item - 1].itmoney);
    if (goods.isEmpty()) page << QStringLiteral("売り物はありません");
    // Two wares a line, so that ten fit in the box.
    for (int i = 0; i < goods.size(); i += 2)
        page << (i + 1 < goods.size() ? goods[i] + QStringLiteral("　") + goods[i + 1] : goods[i]);
    return page;
}

}  // namespace

QStringList commentLines(const Scenario& s, int comment) {
    QStringList lines;
    if (!within(comment, kCommentCount)) return lines;
    const CommentDef& c = s.comments[comment - 1];
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    for (const ShortString250* line : {&c.line1, &c.line2, &c.line3, &c.line4}) {
        if (line->view().empty()) continue;
        lines << fromCp932(line->view()).split(breaks);
    }
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    return lines;
}

QString walkItemName(const Scenario& s, int item) { return nameOf(s.items, kItemCount, item, "アイテム"); }

QString walkFieldName(const Scenario& s, int field) { return nameOf(s.fields, kFieldCount, field, "フィールド"); }

QString walkCellText(int col, int row) {
    return QStringLiteral("Ｘ：") + QString::number(col + 1) + QStringLiteral(" Ｙ：") + QString::number(row + 1);
}

WalkAnnouncement announceOutcome(const Scenario& s, const WalkOutcome& o) {
    switch (o.kind) {
        case WalkKind::Blocked: return {blockedText(s, o), {}};
        case WalkKind::Jump:
            return {quoted(walkFieldName(s, o.field)) + QStringLiteral("の ") + walkCellText(o.x, o.y) +
                        QStringLiteral(" へ移動しました"),
                    {}};
        case WalkKind::Pickup: return {quoted(walkItemName(s, o.item)) + QStringLiteral("を拾いました"), {}};
        case WalkKind::Message: {
            WalkAnnouncement a;
            QString who;
            if (o.character) who = nameOf(s.charas, kCharaCount, o.character, "キャラクター") + QStringLiteral("：");
            if (!o.image.empty()) a.log = QStringLiteral("画像 ") + fromCp932(o.image) + QStringLiteral(" を表示");
            if (o.comment) {
                a.page = commentLines(s, o.comment);
                const QString first = a.page.isEmpty() ? QString() : a.page.first();
                if (!a.log.isEmpty()) a.log += QStringLiteral("　");
                a.log += who + QStringLiteral("コメント ") + QString::number(o.comment) + QStringLiteral("「") + first +
                         (a.page.size() > 1 ? QStringLiteral("…」") : QStringLiteral("」"));
            }
            return a;
        }
        case WalkKind::Event:
            return {QStringLiteral("イベント") + quoted(nameOf(s.events, kEventCount, o.event, "イベント")) +
                        QStringLiteral("が起きました"),
                    {}};
        case WalkKind::Battle: {
            const QString foe = o.group ? QStringLiteral("敵グループ") +
                                              quoted(nameOf(s.enemyTypes, kEnemyTypeCount, o.group, "敵グループ"))
                                        : quoted(nameOf(s.charas, kCharaCount, o.character, "キャラクター"));
            return {QStringLiteral("戦闘：") + foe + QStringLiteral("（勝ったものとして進みます）"), {}};
        }
        case WalkKind::Encounter:
            return {QStringLiteral("遭遇：敵グループ") +
                        quoted(nameOf(s.enemyTypes, kEnemyTypeCount, o.group, "敵グループ")) +
                        QStringLiteral("（戦闘は行いません）"),
                    {}};
        case WalkKind::Shop: {
            WalkAnnouncement a;
            a.page = within(o.character, kCharaCount) ? shopPage(s, o.character) : QStringList{};
            a.log = a.page.isEmpty() ? QStringLiteral("店") : a.page.join(QStringLiteral("　"));
            return a;
        }
        case WalkKind::Gain: return {quoted(walkItemName(s, o.item)) + QStringLiteral("を手に入れました"), {}};
        case WalkKind::Lose: return {quoted(walkItemName(s, o.item)) + QStringLiteral("を失いました"), {}};
        case WalkKind::Learn:
            return {QStringLiteral("魔法") + quoted(nameOf(s.magics, kMagicCount, o.magic, "魔法")) +
                        QStringLiteral("を覚えました"),
                    {}};
        case WalkKind::Ending:
            return {QStringLiteral("エンディング：試し歩きはここで終わりです"),
                    {QStringLiteral("エンディング"), QStringLiteral("試し歩きはここで終わりです。")}};
    }
    return {QStringLiteral("？"), {}};
}

}  // namespace qrn
