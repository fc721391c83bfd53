// The main window's command table. Rows are in menu order; each menu lists
// its rows in the order they appear here.
#include "mainwindow/makercommands.h"
#include <QScreen>
#include "mainwindow/editorwindows.h"

#include "mainwindow/edithistory.h"
#include "services/editorcontext.h"
#include "services/helpviewer.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapgrid.h"
#include "fields/fieldman.h"
#include "views/chipview.h"
#include "views/minimap.h"
#include "views/palette.h"
#include "resources/magicedit.h"
#include "resources/resedit.h"
#include "views/largeimgview.h"
#include "views/scenariocheck.h"
#include "services/options.h"
#include "views/walkpreview.h"

namespace qrn {

namespace {

// Tool bar colours by kind of command.
constexpr QRgb kFile = 0xff3a6ea5, kWindow = 0xff5a8a3a, kMode = 0xff8a5a9a, kRange = 0xffb06030,
               kLayer = 0xff408080, kNav = 0xff606060, kSize = 0xff7070a0, kData = 0xffa08020;

using M = MakerMenu;
using G = MakerGroup;

void openList(Tresedit::Kind kind) {
    if (editorWindows().resedit) editorWindows().resedit->openList(kind);
}
// The walk preview from the hero's start, or from the map's cursor cell.
// It first opens beside the main window, over the tool windows the walk
// does not need, leaving the map in sight.
void openWalk(Tmaker& maker, bool fromCursor) {
    Twalkpreview* walk = editorWindows().walkpreview;
    if (!walk) return;
    const EditorState& at = editor().state;
    if (!(fromCursor ? walk->startAt(at.currentField, at.cursorCol, at.cursorRow) : walk->startAtHero())) return;
    if (!walk->property("qrnPlaced").toBool() && maker.screen()) {
        walk->setProperty("qrnPlaced", true);
        const QSize size = walk->size().expandedTo(walk->minimumSizeHint());
        walk->move(besideMainWindow(maker.screen()->availableGeometry(), maker.geometry(), size, 0).topLeft());
    }
    Tmaker::showToolWindow(walk);
}
void openPage(Tmaker& maker, Tmagicedit::Page page) {
    if (!editorWindows().magicedit) return;
    editorWindows().magicedit->openPage(page);
    maker.captionchange();  // the scenario's name may have changed
}

}  // namespace

std::span<const MakerCommand> Tmaker::commandTable() {
    // Defined in a member so that the rows may call the window's private parts.
    static const MakerCommand table[] = {
        // File
        {.name = "newfilemenu", .caption = "新規作成(&N)", .hint = "新規作成", .menu = M::File,
         .flags = kAlwaysEnabled, .button = "createnewbtn", .glyph = "新", .colour = kFile, .bar = 101,
         .run = [](Tmaker& m) { m.createnew(); }},
        {.name = "newfieldmenu", .caption = "新規ﾌｨｰﾙﾄﾞ作成(&F)", .hint = "新規ﾌｨｰﾙﾄﾞ作成", .menu = M::File,
         .button = "newfieldbtn", .glyph = "F+", .colour = kFile, .bar = 105,
         .run = [](Tmaker& m) { m.newfieldbtnClick(); }},
        {.name = "loadfilemenu", .caption = "開く(&O)", .hint = "ｼﾅﾘｵを開く", .menu = M::File,
         .flags = kSeparatorBefore | kAlwaysEnabled, .button = "loadbtn", .glyph = "開", .colour = kFile, .bar = 102,
         .run = [](Tmaker& m) { m.loadfile(); }},
        {.name = "savefilemenu", .caption = "名前を付けて保存(&S)", .hint = "名前を付けて保存", .menu = M::File,
         .button = "savebtn", .glyph = "名", .colour = kFile, .bar = 103,
         .run = [](Tmaker& m) { m.savefile(false); }},
        {.name = "overwritemenu", .caption = "上書き保存(&V)", .hint = "上書き保存", .menu = M::File,
         .button = "overwritebtn", .glyph = "保", .colour = kFile, .bar = 104,
         .run = [](Tmaker& m) { m.orverwritesave(); }},
        {.name = "savebybmpmenu", .caption = "BMPﾌｧｲﾙとして保存(&B)", .menu = M::File, .flags = kSeparatorBefore,
         .run = [](Tmaker& m) { m.savebybmpmenuClick(); }},
        {.name = "exporttmxmenu", .caption = "タイルマップとして書き出し(&T)", .menu = M::File,
         .run = [](Tmaker& m) { m.exporttmxmenuClick(); }},
        {.name = "importtmxmenu", .caption = "タイルマップの読み込み(&I)", .menu = M::File,
         .run = [](Tmaker& m) { m.importtmxmenuClick(); }},
        {.name = "jointmenu", .caption = "結合(&J)", .menu = M::File, .run = [](Tmaker& m) { m.jointmenuClick(); }},
        {.name = "runplayermenu", .caption = "シナリオランナー起動(&R)", .hint = "シナリオランナー起動",
         .menu = M::File, .flags = kSeparatorBefore, .button = "runplayerbtn", .glyph = "▷", .colour = kFile,
         .bar = 709, .run = [](Tmaker& m) { m.runplayerbtnClick(); }},
        {.name = "closeappmenu", .caption = "終了(&X)", .menu = M::File, .flags = kSeparatorBefore | kAlwaysEnabled,
         .run = [](Tmaker& m) { m.close(); }},

        // Edit: undo, draw modes and range tools
        {.name = "undomenu", .caption = "元に戻す(&U)", .key = "Ctrl+Z", .menu = M::Edit,
         .run = [](Tmaker&) { editHistory().undo(); }},
        {.name = "redomenu", .caption = "やり直し(&Y)", .key = "Ctrl+Y", .menu = M::Edit,
         .run = [](Tmaker&) { editHistory().redo(); }},
        {.name = "propmenu", .caption = "プロパテイ(&N)", .hint = "プロパティ表示", .key = "Ctrl+N", .menu = M::Edit,
         .flags = kSeparatorBefore | kCheckable, .group = G::DrawMode, .tag = 1, .button = "propbtn", .glyph = "P", .colour = kMode,
         .bar = 301, .run = [](Tmaker& m) { m.madrawmodebtnclick(1); }},
        {.name = "penmenu", .caption = "描画(&S)", .hint = "描画", .key = "Ctrl+S", .menu = M::Edit,
         .flags = kCheckable, .group = G::DrawMode, .tag = 2, .button = "penbtn", .glyph = "描", .colour = kMode,
         .bar = 302, .run = [](Tmaker& m) { m.madrawmodebtnclick(2); }},
        {.name = "rangeselectmenu", .caption = "範囲指定(&R)", .hint = "範囲指定", .key = "Ctrl+R", .menu = M::Edit,
         .flags = kCheckable, .group = G::DrawMode, .tag = 3, .button = "rangeselectbtn", .glyph = "範",
         .colour = kMode, .bar = 303, .run = [](Tmaker& m) { m.madrawmodebtnclick(3); }},
        {.name = "brushmenu", .caption = "塗りつぶし(&F)", .hint = "塗りつぶし", .menu = M::Edit,
         .flags = kSeparatorBefore | kRangeTool, .button = "brushbtn", .glyph = "塗", .colour = kRange, .bar = 304,
         .run = [](Tmaker& m) { m.mapgrid()->brushbtnClick(); }},
        {.name = "eracemenu", .caption = "一括削除(&Z)", .hint = "一括削除", .menu = M::Edit, .flags = kRangeTool,
         .button = "eracebtn", .glyph = "消", .colour = kRange, .bar = 305,
         .run = [](Tmaker& m) { m.mapgrid()->eracebtnClick(); }},
        {.name = "randombrushmenu", .caption = "ランダムドロウ(&M)", .hint = "ランダム塗りつぶし", .menu = M::Edit,
         .flags = kRangeTool, .button = "randombrushbtn", .glyph = "R塗", .colour = kRange, .bar = 306,
         .run = [](Tmaker& m) { m.mapgrid()->randombrushbtnClick(); }},
        {.name = "randomeracemenu", .caption = "ランダムイレース(&L)", .hint = "ランダム削除", .menu = M::Edit,
         .flags = kRangeTool, .button = "randomeracebtn", .glyph = "R消", .colour = kRange, .bar = 307,
         .run = [](Tmaker& m) { m.mapgrid()->randomeracebtnClick(); }},
        {.name = "allselectmenu", .caption = "全て選択(&A)", .hint = "全て選択", .menu = M::Edit, .flags = kRangeTool,
         .button = "allselectbtn", .glyph = "ALL", .colour = kRange, .bar = 308,
         .run = [](Tmaker& m) { m.mapgrid()->allselectbtnClick(); }},

        // View: tool windows, layers, chip size, tool bar
        {.name = "palettemenu", .caption = "パレット(&P)", .hint = "パレット", .key = "Ctrl+P", .menu = M::View,
         .button = "palettebtn", .glyph = "パ", .colour = kWindow, .bar = 201,
         .run = [](Tmaker&) { showToolWindow(editorWindows().palette); }},
        {.name = "fieldmanmenu", .caption = "ﾌｨｰﾙﾄﾞﾏﾈｰｼﾞｬ(&F)", .hint = "ﾌｨｰﾙﾄﾞﾏﾈｰｼﾞｬ", .key = "Ctrl+F",
         .menu = M::View, .button = "fieldmanviewbtn", .glyph = "FM", .colour = kWindow, .bar = 202,
         .run = [](Tmaker&) { showToolWindow(editorWindows().fieldman); }},
        {.name = "allmapmenu", .caption = "全域マップ(&A)", .hint = "全域マップ", .key = "Ctrl+A", .menu = M::View,
         .button = "allmapbtn", .glyph = "全", .colour = kWindow, .bar = 203,
         .run = [](Tmaker&) { showToolWindow(editorWindows().minimap); }},
        {.name = "chipmenu", .caption = "イメージビュー(&I)", .hint = "イメージビュー", .key = "Ctrl+I", .menu = M::View,
         .button = "chipbtn", .glyph = "画", .colour = kWindow, .bar = 204,
         .run = [](Tmaker&) { showToolWindow(editorWindows().chipview); }},
        // The check marks of the layers follow layerVisible, not the click.
        {.name = "plviewmenu", .caption = "地形表示(&L)", .hint = "地形を表示", .menu = M::View,
         .flags = kSeparatorBefore | kCheckable | kChecked, .group = G::LayerView, .tag = 1, .button = "vplbtn",
         .glyph = "地", .colour = kLayer, .bar = 401, .run = [](Tmaker& m) { m.mapvbtnClick(1); }},
        {.name = "enviewmenu", .caption = "建造物表示(&E)", .hint = "建造物を表示", .menu = M::View,
         .flags = kCheckable | kChecked, .group = G::LayerView, .tag = 2, .button = "venbtn", .glyph = "建",
         .colour = kLayer, .bar = 402, .run = [](Tmaker& m) { m.mapvbtnClick(2); }},
        {.name = "evviewmenu", .caption = "イベント表示(&V)", .hint = "イベントを表示", .menu = M::View,
         .flags = kCheckable | kChecked, .group = G::LayerView, .tag = 3, .button = "vevbtn", .glyph = "イ",
         .colour = kLayer, .bar = 403, .run = [](Tmaker& m) { m.mapvbtnClick(3); }},
        {.name = "itviewmenu", .caption = "アイテム表示(&I)", .hint = "アイテムを表示", .menu = M::View,
         .flags = kCheckable | kChecked, .group = G::LayerView, .tag = 4, .button = "vitbtn", .glyph = "ア",
         .colour = kLayer, .bar = 404, .run = [](Tmaker& m) { m.mapvbtnClick(4); }},
        {.name = "chviewmenu", .caption = "キャラクター表示(&C)", .hint = "キャラクターを表示", .menu = M::View,
         .flags = kCheckable | kChecked, .group = G::LayerView, .tag = 5, .button = "vchbtn", .glyph = "キ",
         .colour = kLayer, .bar = 405, .run = [](Tmaker& m) { m.mapvbtnClick(5); }},
        {.name = "grsize1menu", .caption = "チップサイズ－等倍(&R)", .hint = "チップサイズを等倍", .menu = M::View,
         .flags = kSeparatorBefore | kCheckable, .group = G::ChipSize, .tag = 1, .button = "grsize1btn",
         .glyph = "1", .colour = kSize, .bar = 501, .run = [](Tmaker& m) { m.colrowset(1); }},
        {.name = "grsize2menu", .caption = "チップサイズ－２／３(&T)", .hint = "チップサイズを２／３倍",
         .menu = M::View, .flags = kCheckable, .group = G::ChipSize, .tag = 2, .button = "grsize2btn",
         .glyph = "2/3", .colour = kSize, .bar = 502, .run = [](Tmaker& m) { m.colrowset(2); }},
        {.name = "grsize3menu", .caption = "チップサイズ－１／２(&Y)", .hint = "チップサイズを１／２倍",
         .menu = M::View, .flags = kCheckable, .group = G::ChipSize, .tag = 3, .button = "grsize3btn",
         .glyph = "1/2", .colour = kSize, .bar = 503, .run = [](Tmaker& m) { m.colrowset(3); }},
        {.name = "toolmenu", .caption = "ツールバー(&T)", .menu = M::View,
         .flags = kSeparatorBefore | kCheckable | kChecked | kAlwaysEnabled, .group = G::ToolBar,
         .run = [](Tmaker& m) { m.toolmenuClick(); }},

        // Field navigation
        {.name = "firstfieldmenu", .caption = "前のフィールド(&G)", .hint = "一つ前のﾌｨｰﾙﾄﾞ", .menu = M::Field,
         .button = "firstfield", .glyph = "◀", .colour = kNav, .bar = 601,
         .run = [](Tmaker& m) { m.firstfieldClick(); }},
        {.name = "topfieldmenu", .caption = "最初のフィールド(&H)", .hint = "最初のﾌｨｰﾙﾄﾞ", .menu = M::Field,
         .button = "topreturnbtn", .glyph = "先", .colour = kNav, .bar = 602,
         .run = [](Tmaker& m) { m.topreturnbtnClick(); }},
        {.name = "nextfieldmenu", .caption = "次のフィールド(&J)", .hint = "一つ後のﾌｨｰﾙﾄﾞ", .menu = M::Field,
         .button = "secondfield", .glyph = "▶", .colour = kNav, .bar = 603,
         .run = [](Tmaker& m) { m.secondfieldClick(); }},

        // Data: resource lists and settings
        {.name = "commentmenu", .caption = "コメント(&C)", .hint = "コメント", .key = "Ctrl+K", .menu = M::Data,
         .button = "commentbtn", .glyph = "C", .colour = kData, .bar = 701,
         .run = [](Tmaker&) { openList(Tresedit::Comment); }},
        {.name = "enemygroupmenu", .caption = "敵グループ(&E)", .hint = "敵グループ", .menu = M::Data,
         .button = "enemytypebtn", .glyph = "敵", .colour = kData, .bar = 702,
         .run = [](Tmaker&) { openList(Tresedit::EnemyGroup); }},
        {.name = "poisonmenu", .caption = "特殊攻撃(&P)", .hint = "特殊攻撃", .menu = M::Data, .button = "poisonbtn",
         .glyph = "毒", .colour = kData, .bar = 703, .run = [](Tmaker&) { openList(Tresedit::Poison); }},
        {.name = "walkimgmenu", .caption = "ｳｫｰｸｲﾒｰｼﾞ(&W)", .hint = "ｳｫｰｸｲﾒｰｼﾞ", .menu = M::Data,
         .button = "walkimgbtn", .glyph = "W", .colour = kData, .bar = 704,
         .run = [](Tmaker&) { openList(Tresedit::WalkImage); }},
        {.name = "bgmmenu", .caption = "BGM(&B)", .hint = "BGM", .menu = M::Data, .button = "bgmbtn", .glyph = "♪",
         .colour = kData, .bar = 705, .run = [](Tmaker&) { openList(Tresedit::Bgm); }},
        {.name = "soundmenu", .caption = "効果音(&A)", .hint = "効果音", .menu = M::Data, .button = "soundbtn",
         .glyph = "音", .colour = kData, .bar = 706, .run = [](Tmaker&) { openList(Tresedit::Sound); }},
        {.name = "magicmenu", .caption = "魔法(&M)", .hint = "魔法", .menu = M::Data, .flags = kSeparatorBefore,
         .button = "magicbtn", .glyph = "魔", .colour = kData, .bar = 707,
         .run = [](Tmaker& m) { openPage(m, Tmagicedit::Magic); }},
        {.name = "scenariomenu", .caption = "シナリオ設定(&S)", .menu = M::Data,
         .run = [](Tmaker& m) { openPage(m, Tmagicedit::Scenario); }},
        {.name = "heromenu", .caption = "主人公設定(&H)", .menu = M::Data,
         .run = [](Tmaker& m) { openPage(m, Tmagicedit::Hero); }},
        {.name = "levelupmenu", .caption = "レベルアップ設定(&L)", .menu = M::Data,
         .run = [](Tmaker& m) { m.openLevelList(); }},

        // Tool
        {.name = "kankyoumenu", .caption = "オプション(&O)", .hint = "オプション", .key = "Ctrl+O", .menu = M::Tool,
         .button = "optionbtn", .glyph = "設", .colour = kNav, .bar = 708, .run = [](Tmaker& m) { m.kankyoumenuClick(); }},
        {.name = "scenariocheckmenu", .caption = "シナリオチェック(&C)", .menu = M::Tool,
         .run = [](Tmaker&) {
             if (!editorWindows().scenariocheck) return;
             editorWindows().scenariocheck->recheck();
             showToolWindow(editorWindows().scenariocheck);
         }},
        {.name = "walkpreviewmenu", .caption = "試し歩き(&W)", .key = "F9", .menu = M::Tool,
         .run = [](Tmaker& m) { openWalk(m, false); }},
        {.name = "walkcursormenu", .caption = "カーソルから試し歩き(&K)", .key = "Shift+F9", .menu = M::Tool,
         .run = [](Tmaker& m) { openWalk(m, true); }},

        // Help
        {.name = "helpindexmenu", .caption = "目次(&I)", .menu = M::Help, .flags = kAlwaysEnabled,
         .run = [](Tmaker&) { HelpViewer::instance()->showContents(); }},
        {.name = "firststepsmenu", .caption = "はじめてのシナリオ(&F)", .menu = M::Help, .flags = kAlwaysEnabled,
         .run = [](Tmaker&) { HelpViewer::instance()->showPage(QStringLiteral("firststeps.html")); }},
        {.name = "searchmenu", .caption = "トピックの検索(&S)", .menu = M::Help, .flags = kAlwaysEnabled,
         .run = [](Tmaker&) { HelpViewer::instance()->showSearch(); }},
        {.name = "versionmenu", .caption = "バージョン情報(&V)", .menu = M::Help,
         .flags = kSeparatorBefore | kAlwaysEnabled, .run = [](Tmaker& m) { Tlargeimgview::showVersion(&m); }},

        // The map's pop-up menu
        {.name = "proppop", .caption = "プロパテイ", .menu = M::Popup, .flags = kCheckable, .group = G::DrawMode,
         .tag = 1, .run = [](Tmaker& m) { m.madrawmodebtnclick(1); }},
        {.name = "penpop", .caption = "描画", .menu = M::Popup, .flags = kCheckable, .group = G::DrawMode, .tag = 2,
         .run = [](Tmaker& m) { m.madrawmodebtnclick(2); }},
        {.name = "rangepop", .caption = "範囲指定", .menu = M::Popup, .flags = kCheckable, .group = G::DrawMode,
         .tag = 3, .run = [](Tmaker& m) { m.madrawmodebtnclick(3); }},
        {.name = "brushpop", .caption = "塗りつぶし", .menu = M::Popup, .flags = kSeparatorBefore | kRangeTool,
         .run = [](Tmaker& m) { m.mapgrid()->brushbtnClick(); }},
        {.name = "eracepop", .caption = "一括削除", .menu = M::Popup, .flags = kRangeTool,
         .run = [](Tmaker& m) { m.mapgrid()->eracebtnClick(); }},
        {.name = "randombrushpop", .caption = "ランダムドロウ", .menu = M::Popup, .flags = kRangeTool,
         .run = [](Tmaker& m) { m.mapgrid()->randombrushbtnClick(); }},
        {.name = "randomeracepop", .caption = "ランダムイレース", .menu = M::Popup, .flags = kRangeTool,
         .run = [](Tmaker& m) { m.mapgrid()->randomeracebtnClick(); }},
        {.name = "allselectpop", .caption = "全て選択", .menu = M::Popup, .flags = kRangeTool,
         .run = [](Tmaker& m) { m.mapgrid()->allselectbtnClick(); }},
        {.name = "palettepop", .caption = "パレット", .menu = M::Popup, .flags = kSeparatorBefore,
         .run = [](Tmaker&) { showToolWindow(editorWindows().palette); }},
        {.name = "fieldpop", .caption = "フィールドマネージャ", .menu = M::Popup,
         .run = [](Tmaker&) { showToolWindow(editorWindows().fieldman); }},
        {.name = "walkcursorpop", .caption = "ここから試し歩き", .menu = M::Popup, .flags = kSeparatorBefore,
         .run = [](Tmaker& m) { openWalk(m, true); }},
    };
    return table;
}

}  // namespace qrn
