// The resource window end to end, with every window of the editor around it:
// each kind's panel as a list and as a chooser, the file chooser, the detail
// panels, and the callers (main window menus, field manager).
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "services/helpviewer.h"
#include "mainwindow/maker.h"
#include "services/sdlmedia.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "fields/fieldman.h"
#include "resources/commentpanel.h"
#include "resources/commenttextedit.h"
#include "resources/enemytypepanel.h"
#include "resources/fileselectform.h"
#include "resources/mediapanel.h"
#include "resources/poisonpanel.h"
#include "resources/resedit.h"
#include "resources/walkimgpanel.h"
#include "scenario/commenttext.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/text.h"
#include "views/chipview.h"

namespace qrn::test {
namespace {

// Runs `act` on the modal window that `open` shows, once it is up.
void whileModal(const std::function<void(QWidget*)>& act, const std::function<void()>& open) {
    QTimer::singleShot(0, qApp, [act] { act(QApplication::activeModalWidget()); });
    open();
}

void pressKey(QWidget* w, int key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
}

void type(QWidget* w, const QString& text, int times = 1) {
    for (int i = 0; i < times; ++i)
        for (const QChar c : text) pressKey(w, 0, QString(c));
}

class ResEditTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        createWindows();
        ASSERT_TRUE(folder.isValid());
        options.serchpath = folder.path() + QStringLiteral("/");
        EditorContext& ed = editor();
        alldatainitialize(ed.scenario, ed.side, 7);
        ed.imageList.reset();
        res = editorWindows().resedit;
        ASSERT_EQ(ed.resourceChooser, res);
    }
    void touch(const QString& name) {
        QFile f(folder.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    template <typename P>
    P* panel(Tresedit::Kind k) const { return static_cast<P*>(res->panel(k)); }
    QString line(Tresedit::Kind k, int row) const { return res->panel(k)->list()->item(row)->text(); }

    QTemporaryDir folder;
    Tresedit* res = nullptr;
    Scenario& s = editor().scenario;
};

TEST_F(ResEditTest, EveryKindOpensItsPanelAndCancelChoosesNothing) {
    struct Kind {
        Tresedit::Kind kind;
        const char* caption;
        QSize size;
        const char* list;
        int lines, preselected;
    };
    const Kind kinds[] = {
        {Tresedit::Comment, "コメント編集", {617, 437}, "commentlist4", 100, 345},
        {Tresedit::EnemyGroup, "敵ｸﾞﾙｰﾌﾟ編集", {621, 405}, "enemytypelist", 50, 7},
        {Tresedit::Poison, "特殊攻撃編集", {409, 425}, "poisonlist", 50, 50},
        {Tresedit::WalkImage, "ウォークイメージ編集", {462, 275}, "walkimglist", 10, 10},
        {Tresedit::Bgm, "BGM編集", {441, 398}, "bgmlist", 50, 2},
        {Tresedit::Sound, "効果音編集", {441, 398}, "soundlist", 50, 3},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.caption);
        s.poison(50).podamage = 1;  // poison 50 is in use, the others are fresh
        ResourceChoice choice{true, 99};
        whileModal(
            [&](QWidget* w) {
                EXPECT_EQ(w, res);
                EXPECT_EQ(res->windowTitle(), QString::fromUtf8(k.caption) + QStringLiteral("：選択"));
                EXPECT_GE(res->width(), k.size.width());  // wider when its captions need it
                EXPECT_GE(res->height(), k.size.height());
                for (int other = 0; other < 6; ++other)
                    EXPECT_EQ(res->panel(Tresedit::Kind(other))->isVisible(), other == k.kind) << other;
                EXPECT_EQ(res->menuBar()->isVisible(), k.kind == Tresedit::Comment);
                auto* list = res->findChild<QListWidget*>(QString::fromLatin1(k.list));
                EXPECT_EQ(list->count(), k.lines);
                EXPECT_EQ(list->currentRow(), (k.preselected - 1) % 100);
                EXPECT_TRUE(list->isVisible());
                pressKey(res, Qt::Key_Escape);
            },
            [&] { choice = res->chooseResource(ResourceKind(k.kind), QStringLiteral("：選択"), k.preselected); });
        EXPECT_FALSE(choice.accepted);
        EXPECT_EQ(choice.entry, -1);
        EXPECT_EQ(res->rememberedResource(k.kind), k.preselected);
        // Closing on an unused entry leaves no choice behind; a used one stays current.
        EXPECT_EQ(res->currentResource(k.kind), k.kind == Tresedit::Poison ? 50 : -1);
    }
}

TEST_F(ResEditTest, MusicFilesComeFromTheFolderWhateverTheirCaseAndNameTheEntry) {
    for (const char* f : {"castle.theme.mid", "TOWN.MID", "Battle.Mid", "jingle.WAV", "notes.txt"})
        touch(QString::fromLatin1(f));
    EXPECT_EQ(filesMatching(options.serchpath, QStringLiteral("*.MID")),
              (QStringList{"Battle.Mid", "castle.theme.mid", "TOWN.MID"}));
    EXPECT_EQ(filesMatching(options.serchpath, QStringLiteral("*.wav")), QStringList{"jingle.WAV"});
    s.bgm(1).name.clear();
    s.bgm(1).fileName.assign("town.mid");

    ResourceChoice choice;
    whileModal(
        [&](QWidget*) {
            auto* p = panel<MediaPanel>(Tresedit::Bgm);
            EXPECT_EQ(line(Tresedit::Bgm, 0), QStringLiteral("1：town.mid"));
            EXPECT_EQ(p->fileLabel()->text(), QStringLiteral("未指定"));
            EXPECT_FALSE(p->playButton()->isEnabled());
            auto* fileButton = p->findChild<QPushButton*>(QStringLiteral("bgmfilebtn"));
            // A cancelled chooser changes nothing.
            whileModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); }, [&] { fileButton->click(); });
            EXPECT_TRUE(s.bgm(2).fileName.empty());
            whileModal(
                [&](QWidget* w) {
                    auto* form = qobject_cast<Tfileselectform*>(w);
                    ASSERT_TRUE(form);
                    EXPECT_EQ(form->windowTitle(), QStringLiteral("BGM用のMIDﾌｧｲﾙを選択"));
                    EXPECT_EQ(form->fileList()->count(), 3);
                    form->fileList()->setCurrentRow(1);
                    form->preview();
                    EXPECT_EQ(media.played.value(media.played.size() - 1), options.serchpath + "castle.theme.mid");
                    form->accept();
                },
                [&] { fileButton->click(); });
            EXPECT_EQ(s.bgm(2).fileName.str(), "castle.theme.mid");
            EXPECT_EQ(s.bgm(2).name.str(), "castle");
            EXPECT_EQ(line(Tresedit::Bgm, 1), QStringLiteral("2：castle"));
            EXPECT_EQ(p->nameBox()->text(), QStringLiteral("castle"));
            EXPECT_TRUE(p->playButton()->isEnabled());
            p->loopBox()->click();
            EXPECT_EQ(s.bgm(2).loop, 1);
            p->playButton()->click();
            EXPECT_EQ(media.played.value(media.played.size() - 1), options.serchpath + "castle.theme.mid|loop");
            p->okButton()->click();
        },
        [&] { choice = res->chooseResource(ResourceKind::Bgm, {}, 2); });
    EXPECT_TRUE(choice.accepted);
    EXPECT_EQ(choice.entry, 2);
    EXPECT_GE(media.stops, 3);  // each chooser and the window stop the music when they close

    // OK on an entry that was never edited gives the caller "no entry".
    whileModal([&](QWidget*) { panel<MediaPanel>(Tresedit::Bgm)->okButton()->click(); },
               [&] { choice = res->chooseResource(ResourceKind::Bgm, {}, 5); });
    EXPECT_TRUE(choice.accepted);
    EXPECT_EQ(choice.entry, -1);

    whileModal(
        [&](QWidget*) {
            auto* p = panel<MediaPanel>(Tresedit::Sound);
            EXPECT_FALSE(p->loopBox());
            whileModal(
                [&](QWidget* w) {
                    auto* form = qobject_cast<Tfileselectform*>(w);
                    EXPECT_EQ(form->windowTitle(), QStringLiteral("効果音用のWAVﾌｧｲﾙを選択"));
                    form->fileList()->setCurrentRow(0);
                    form->preview();
                    form->accept();
                },
                [&] { p->chooseFile(); });
            p->play();
            pressKey(res, Qt::Key_Escape);
        },
        [&] { res->chooseResource(ResourceKind::Sound, {}, 4); });
    EXPECT_EQ(media.sounds, QStringList(2, options.serchpath + "jingle.WAV"));
    EXPECT_EQ(s.sound(4).name.str(), "jingle");
}

TEST_F(ResEditTest, AFileWhoseNameCp932CannotHoldCannotBeChosen) {
    for (const char* f : {"town.mid", "한국.mid", "町.mid"}) touch(QString::fromUtf8(f));
    Tfileselectform form(QStringLiteral("c"), QStringLiteral("*.MID"), options.serchpath);
    QListWidget* files = form.fileList();
    ASSERT_EQ(files->count(), 3);
    const int korean = files->row(files->findItems(QString::fromUtf8("한국.mid"), Qt::MatchExactly).value(0));
    EXPECT_FALSE(files->item(korean)->flags() & Qt::ItemIsEnabled);
    EXPECT_FALSE(files->item(korean)->toolTip().isEmpty());
    EXPECT_TRUE(form.findChild<QLabel*>(QStringLiteral("unstorablehint"))->isVisibleTo(&form));
    files->setCurrentRow(korean);
    EXPECT_EQ(form.selectedFile(), QString());
    const int kanji = files->row(files->findItems(QString::fromUtf8("町.mid"), Qt::MatchExactly).value(0));
    files->setCurrentRow(kanji);
    EXPECT_EQ(form.selectedFile(), QString::fromUtf8("町.mid"));
}

TEST_F(ResEditTest, DeleteAsksUnlessQuietAndResetAllAlwaysAsksThenCloses) {
    s.poison(4).podamage = 9;
    s.chara(1).chpoison[2] = 4;
    s.walkImageFiles[1][0].assign("w.bmp");
    editor().side.pictures.walk[2][1] = 3;
    whileModal(
        [&](QWidget*) {
            auto* p = res->panel(Tresedit::Poison);
            messages.answers = {false};
            p->deleteButton()->click();
            EXPECT_EQ(messages.questions.value(0), QStringLiteral("この特殊攻撃を削除します。よろしいですか？"));
            EXPECT_EQ(+s.poison(4).podamage, 9);
            messages.answers = {true};
            p->deleteButton()->click();
            EXPECT_EQ(+s.poison(4).podamage, 0);
            EXPECT_EQ(s.chara(1).chpoison[2], 0);
            EXPECT_EQ(line(Tresedit::Poison, 3), QStringLiteral("4：特殊攻撃 4"));
            pressKey(res, Qt::Key_Escape);
        },
        [&] { res->chooseResource(ResourceKind::Poison, {}, 4); });

    options.tellmsg = false;
    messages.questions.clear();
    whileModal(
        [&](QWidget*) {
            res->panel(Tresedit::WalkImage)->deleteButton()->click();
            EXPECT_TRUE(messages.questions.isEmpty());
            EXPECT_TRUE(s.walkImageFiles[1][0].empty());
            EXPECT_EQ(editor().side.pictures.walk[2][1], 0);
            pressKey(res, Qt::Key_Escape);
        },
        [&] { res->chooseResource(ResourceKind::WalkImage, {}, 2); });

    s.bgm(9).loop = 1;
    ResourceChoice choice;
    whileModal(
        [&](QWidget*) {
            messages.answers = {false, true};
            res->panel(Tresedit::Bgm)->resetButton()->click();
            EXPECT_TRUE(res->isVisible());
            EXPECT_EQ(s.bgm(9).loop, 1);
            res->panel(Tresedit::Bgm)->resetButton()->click();
            if (res->isVisible()) res->reject();
        },
        [&] { choice = res->chooseResource(ResourceKind::Bgm, {}, 9); });
    EXPECT_EQ(messages.questions, QStringList(2, QStringLiteral("ＢＧＭを全て初期化します。本当によろしいですか？")));
    EXPECT_EQ(s.bgm(9).loop, 0);
    EXPECT_FALSE(choice.accepted);
    EXPECT_EQ(res->currentResource(Tresedit::Bgm), -1);
}

TEST_F(ResEditTest, SpecialAttackBoxesClampEmptyAndStoreAtOnce) {
    s.poison(3).podownmp = 7;
    whileModal(
        [&](QWidget*) {
            auto* p = panel<PoisonPanel>(Tresedit::Poison);
            EXPECT_EQ(p->valueBox(0)->text(), QString());  // 0 shows empty
            EXPECT_EQ(p->valueBox(1)->text(), QStringLiteral("7"));
            p->valueBox(0)->setText(QStringLiteral("70000"));
            EXPECT_EQ(p->valueBox(0)->text(), QStringLiteral("65535"));
            EXPECT_EQ(+s.poison(3).podamage, 65535);
            p->valueBox(1)->setText(QStringLiteral("1x"));
            EXPECT_EQ(p->valueBox(1)->text(), QString());
            EXPECT_EQ(+s.poison(3).podownmp, 7);
            emit p->valueBox(1)->editingFinished();  // left: shows what is kept
            EXPECT_EQ(p->valueBox(1)->text(), QStringLiteral("7"));
            p->valueBox(4)->setText(QStringLiteral("12"));
            EXPECT_EQ(+s.poison(3).podowndex, 12);
            EXPECT_EQ(p->valueBox(4)->maxLength(), 5);
            // The name box holds 32 bytes: sixteen full-width characters, not seventeen.
            p->nameBox()->clear();
            type(p->nameBox(), QStringLiteral("毒"), 17);
            EXPECT_EQ(fromCp932(s.poison(3).name.view()), QString(16, QChar(0x6BD2)));
            EXPECT_EQ(line(Tresedit::Poison, 2), QStringLiteral("3：") + QString(16, QChar(0x6BD2)));
            p->list()->setCurrentRow(0);  // another entry shows its own values
            EXPECT_EQ(p->valueBox(4)->text(), QString());
            p->okButton()->click();
        },
        [&] { res->makepoisonlist({}, 3), res->exec(); });
    EXPECT_EQ(res->currentResource(Tresedit::Poison), -1);  // entry 1 is unused
    EXPECT_EQ(res->rememberedResource(Tresedit::Poison), 1);
}

TEST_F(ResEditTest, EnemyGroupMembersAndTheInformationPanel) {
    for (int k : {3, 8, 12, 5}) {
        s.charaImageFiles[k - 1].assign("e.bmp");
        s.chara(k).chcharatype = k == 5 ? 1 : 3;
        s.chara(k).name.assign("c" + std::to_string(k));
    }
    s.chara(8).chpower = 30;
    s.chara(8).chitem = 0;
    s.chara(8).chmagic[1] = 2;
    s.chara(8).chpoison[0] = 4;
    s.chara(8).chbossimg.assign("boss.bmp");
    ResourceChoice choice;
    whileModal(
        [&](QWidget*) {
            auto* p = panel<EnemyTypePanel>(Tresedit::EnemyGroup);
            ASSERT_EQ(p->candidates()->count(), 3);
            EXPECT_EQ(p->candidates()->item(1)->text(), QStringLiteral("2：c8"));
            auto* add = p->findChild<QPushButton*>(QStringLiteral("enemyaddbtn"));
            auto* remove = p->findChild<QPushButton*>(QStringLiteral("enemydelbtn"));
            for (int row : {0, 1, 2}) {
                p->candidates()->setCurrentRow(row);
                add->click();
            }
            EXPECT_EQ(p->members()->count(), 3);
            p->members()->setCurrentRow(1);
            EXPECT_EQ(p->shownChara(), 8);
            EXPECT_EQ(p->infoLabel("enemypower")->text(), QStringLiteral("30"));
            EXPECT_EQ(p->infoLabel("enemyitem")->text(), QStringLiteral("-"));
            EXPECT_EQ(p->infoLabel("enemymagic")->text(), QStringLiteral("ﾏｼﾞｯｸ 2"));
            EXPECT_EQ(p->infoLabel("enemypoison")->text(), QStringLiteral("特殊攻撃 4"));
            EXPECT_TRUE(p->bossButton()->isEnabled());
            remove->click();
            EXPECT_EQ(std::vector<int>(s.enemyType(4).members, s.enemyType(4).members + 5),
                      (std::vector<int>{3, 12, 0, 0, 0}));
            EXPECT_EQ(p->members()->item(1)->text(), QStringLiteral("2：c12"));
            EXPECT_EQ(p->members()->currentRow(), 0);  // the first member is selected after each change
            EXPECT_EQ(p->shownChara(), 3);
            EXPECT_FALSE(p->bossButton()->isEnabled());
            p->candidates()->setCurrentRow(1);
            for (int i = 0; i < 4; ++i) add->click();
            EXPECT_EQ(std::vector<int>(s.enemyType(4).members, s.enemyType(4).members + 5),
                      (std::vector<int>{3, 12, 8, 8, 8}));
            p->okButton()->click();
        },
        [&] { choice = res->chooseResource(ResourceKind::EnemyGroup, {}, 4); });
    EXPECT_TRUE(choice.accepted);
    EXPECT_EQ(choice.entry, 4);
}

TEST_F(ResEditTest, WalkImageFramesComeFromTheImageChooserAndAnimate) {
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("walk.bmp"))));
    editorWindows().chipview->readbmp();
    whileModal(
        [&](QWidget*) {
            auto* p = panel<WalkImgPanel>(Tresedit::WalkImage);
            EXPECT_TRUE(p->animating());
            for (int i = 0; i < 20; ++i) p->animate();
            EXPECT_EQ(p->shownFrame(), 0);  // no pictures: nothing, and no endless search
            QTimer::singleShot(0, qApp, [] {
                editorWindows().chipview->selectEntry(0, false);
                editorWindows().chipview->finishChooser(true);
            });
            p->findChild<QPushButton*>(QStringLiteral("walkimgset5"))->click();
            EXPECT_EQ(s.walkImageFiles[1][4].str(), "walk.bmp");
            EXPECT_GT(editor().side.pictures.walk[2][5], 0);
            EXPECT_FALSE(p->frameBox(5)->pixmap().isNull());
            EXPECT_TRUE(p->frameBox(4)->pixmap().isNull());
            p->animate();
            EXPECT_EQ(p->shownFrame(), 5);
            EXPECT_FALSE(p->walkingBox()->pixmap().isNull());
            p->list()->setCurrentRow(2);  // an entry without pictures walks with nothing
            p->animate();
            EXPECT_EQ(p->shownFrame(), 0);
            EXPECT_TRUE(p->walkingBox()->pixmap().isNull());
            p->list()->setCurrentRow(1);
            p->okButton()->click();
            EXPECT_FALSE(p->animating());
        },
        [&] { res->chooseResource(ResourceKind::WalkImage, {}, 2); });
    EXPECT_EQ(res->currentResource(Tresedit::WalkImage), 2);  // a named frame makes it used
}

TEST_F(ResEditTest, CommentTextIsKeptAsTypedWithinFourLines) {
    const QString wide = QStringLiteral("あ");
    QString shown;
    whileModal(
        [&](QWidget*) {
            auto* p = panel<CommentPanel>(Tresedit::Comment);
            CommentTextEdit* box = p->textBox();
            box->setFocus();
            type(box, wide, 600);  // 1,200 bytes typed: what does not fit is refused
            EXPECT_EQ(box->toPlainText(), QString(500, QChar(0x3042)));
            type(box, QStringLiteral("x한"));  // neither fits nor is cp932
            QApplication::clipboard()->setText(QStringLiteral("いい"));
            box->paste();
            EXPECT_EQ(box->toPlainText().size(), 500);
            p->okButton()->click();
        },
        [&] { res->chooseResource(ResourceKind::Comment, {}, 12); });
    const CommentDef& c = s.comment(12);
    for (const auto* l : {&c.line1, &c.line2, &c.line3, &c.line4}) EXPECT_EQ(l->length(), 250);
    EXPECT_EQ(fromCp932(c.name.view()), QString(16, QChar(0x3042)));  // the first 32 bytes of line1

    // 600 characters that fit: half-width kana and kanji, with a line break.
    const QString mixed = QString(QStringLiteral("ｱ漢")).repeated(150) + QStringLiteral("\n") +
                          QString(QStringLiteral("ｲ字")).repeated(150);
    whileModal(
        [&](QWidget*) {
            auto* p = panel<CommentPanel>(Tresedit::Comment);
            EXPECT_EQ(p->pages()->currentIndex(), 0);
            EXPECT_EQ(p->textBox()->toPlainText().size(), 500);  // reopened as stored
            p->textBox()->selectAll();
            type(p->textBox(), mixed.left(300));
            pressKey(p->textBox(), Qt::Key_Return, QStringLiteral("\r"));
            type(p->textBox(), mixed.mid(301));
            shown = p->textBox()->toPlainText();
            p->okButton()->click();
        },
        [&] { res->chooseResource(ResourceKind::Comment, {}, 12); });
    EXPECT_EQ(shown, mixed);
    EXPECT_EQ(commentText(s.comment(12)), toCp932(QString(mixed).replace("\n", "\r\n")));
    whileModal(
        [&](QWidget*) {
            shown = panel<CommentPanel>(Tresedit::Comment)->textBox()->toPlainText();
            pressKey(res, Qt::Key_Escape);
        },
        [&] { res->chooseResource(ResourceKind::Comment, {}, 12); });
    EXPECT_EQ(shown, mixed);
}

TEST_F(ResEditTest, CommentFindReplaceAndWholeSearch) {
    ASSERT_TRUE(setCommentText(s.comment(3), toCp932(QStringLiteral("表 Key key"))));
    ASSERT_TRUE(setCommentText(s.comment(500), toCp932(QStringLiteral("最後の鍵"))));
    s.comment(3).name.assign("first");
    s.comment(101).name.assign("second");
    whileModal(
        [&](QWidget*) {
            auto* p = panel<CommentPanel>(Tresedit::Comment);
            CommentTextEdit* box = p->textBox();
            EXPECT_TRUE(p->findNext(QStringLiteral("key"), false, false));
            EXPECT_EQ(box->textCursor().selectedText(), QStringLiteral("Key"));
            EXPECT_TRUE(p->findNext(QStringLiteral("key"), false, false));
            EXPECT_EQ(box->textCursor().selectionStart(), 6);
            EXPECT_FALSE(p->findNext(QStringLiteral("key"), false, false));
            EXPECT_EQ(messages.infos.value(0), QStringLiteral("文字列はもうありません。"));

            EXPECT_EQ(p->replaceAll(QString(), QStringLiteral("x"), false, false), 0);
            EXPECT_TRUE(messages.questions.isEmpty());
            EXPECT_EQ(p->replaceAll(QStringLiteral("key"), QStringLiteral("key key"), false, false), 2);
            EXPECT_EQ(messages.questions.value(0), QStringLiteral("コメントを全て置換します。よろしいですか？"));
            EXPECT_EQ(commentText(s.comment(3)), toCp932(QStringLiteral("表 key key key key")));
            box->undo();  // one replace-all is one step
            EXPECT_EQ(commentText(s.comment(3)), toCp932(QStringLiteral("表 Key key")));

            box->moveCursor(QTextCursor::Start);
            EXPECT_TRUE(p->findNext(QStringLiteral("Key"), true, false));
            p->replaceOne(QStringLiteral("Key"), QStringLiteral("Door"), true, false);  // then finds no other "Key"
            EXPECT_EQ(commentText(s.comment(3)), toCp932(QStringLiteral("表 Door key")));

            const QRect ordinary = box->geometry();
            p->toggleLargeMode();
            EXPECT_GT(box->width(), ordinary.width());  // over the pages, above the buttons
            EXPECT_LT(box->geometry().bottom(), p->okButton()->geometry().top());
            EXPECT_FALSE(p->nameBox()->isVisible());
            EXPECT_FALSE(p->pages()->isVisible());
            EXPECT_TRUE(p->wholeSearchNext(QStringLiteral("鍵"), false, false));
            EXPECT_EQ(res->currentResource(Tresedit::Comment), 500);
            EXPECT_EQ(p->pages()->currentIndex(), 4);
            EXPECT_EQ(p->pageList(4)->currentRow(), 99);
            EXPECT_EQ(box->textCursor().selectedText(), QStringLiteral("鍵"));
            EXPECT_FALSE(p->wholeSearchNext(QStringLiteral("鍵"), false, false));
            p->toggleLargeMode();
            EXPECT_EQ(box->geometry(), ordinary);
            EXPECT_TRUE(p->nameBox()->isVisible());

            EXPECT_EQ(p->stateLabel()->text(), QStringLiteral("挿入"));
            pressKey(box, Qt::Key_Insert);
            EXPECT_EQ(p->stateLabel()->text(), QStringLiteral("上書"));
            pressKey(box, Qt::Key_Insert);
            p->command(QStringLiteral("toolbarmenu"))->trigger();
            EXPECT_FALSE(p->toolBar()->isVisible());
            EXPECT_FALSE(p->command(QStringLiteral("toolbarmenu"))->isChecked());
            p->command(QStringLiteral("toolbarmenu"))->trigger();
            p->nextPage();
            EXPECT_EQ(p->pages()->currentIndex(), 0);

            // Turning the page in large mode moves the current comment; the
            // hidden name box follows it, so a rename lands on that comment.
            p->toggleLargeMode();
            p->pages()->setCurrentIndex(1);
            EXPECT_EQ(res->currentResource(Tresedit::Comment), 101);
            EXPECT_EQ(p->nameBox()->text(), QStringLiteral("second"));
            p->toggleLargeMode();
            type(p->nameBox(), QStringLiteral("!"));
            EXPECT_EQ(s.comment(101).name.str(), "second!");
            EXPECT_EQ(s.comment(3).name.str(), "first");
            pressKey(res, Qt::Key_Escape);
        },
        [&] { res->chooseResource(ResourceKind::Comment, {}, 3); });
}

TEST_F(ResEditTest, MainWindowMenusOpenTheListsAndTheFieldManagerSetsItsMusicThroughIt) {
    createFirstField(s, "", "", "F1", 10, 10);
    editorWindows().maker->start();
    for (const char* name : {"commentmenu", "enemygroupmenu", "poisonmenu", "walkimgmenu", "bgmmenu", "soundmenu"}) {
        QString title;
        whileModal(
            [&](QWidget* w) {
                title = w ? w->windowTitle() : QString();
                pressKey(res, Qt::Key_Escape);
            },
            [&] { editorWindows().maker->command(QString::fromLatin1(name))->trigger(); });
        EXPECT_FALSE(title.isEmpty()) << name;
        EXPECT_TRUE(title.endsWith(QStringLiteral("編集"))) << name;
    }

    s.bgm(3).fileName.assign("x.mid");
    auto* set = editorWindows().fieldman->findChild<QPushButton*>(QStringLiteral("fieldbgmset"));
    ASSERT_TRUE(set->isEnabled());
    QString title;
    whileModal(
        [&](QWidget*) {
            title = res->windowTitle();
            res->panel(Tresedit::Bgm)->list()->setCurrentRow(2);
            res->panel(Tresedit::Bgm)->okButton()->click();
        },
        [&] { set->click(); });
    EXPECT_EQ(title, QStringLiteral("BGM編集：F1上で再生するBGMを一つ選択"));
    EXPECT_EQ(s.field(1).fieldBgm, 3);
    whileModal([&](QWidget*) { pressKey(res, Qt::Key_Escape); }, [&] { set->click(); });
    EXPECT_EQ(s.field(1).fieldBgm, 3);  // cancel leaves it alone
    whileModal(
        [&](QWidget*) {
            EXPECT_EQ(res->panel(Tresedit::Bgm)->list()->currentRow(), 2);  // preset to the field's music
            res->panel(Tresedit::Bgm)->list()->setCurrentRow(6);
            res->accept();
        },
        [&] { set->click(); });
    EXPECT_EQ(s.field(1).fieldBgm, 0);  // OK on an unused entry clears it
}

// A real MIDI file through the real media hook (no sound device needed).
TEST_F(ResEditTest, ChosenMidiPlaysThroughTheMediaHook) {
    QByteArray track = QByteArray::fromHex("00FF510307A120" "00903C60" "18803C00" "00FF2F00");
    QByteArray midi = QByteArray::fromHex("4D546864000000060000000100 60") + "MTrk";
    for (int shift : {24, 16, 8, 0}) midi += char(track.size() >> shift);
    QFile f(folder.filePath(QStringLiteral("TOWN.MID")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(midi + track);
    f.close();
    SdlMediaService sdl;
    editor().media = &sdl;
    bool loaded = false, stopped = false;
    whileModal(
        [&](QWidget*) {
            auto* p = panel<MediaPanel>(Tresedit::Bgm);
            whileModal(
                [](QWidget* w) {
                    auto* form = qobject_cast<Tfileselectform*>(w);
                    form->fileList()->setCurrentRow(0);
                    form->accept();
                },
                [&] { p->chooseFile(); });
            p->loopBox()->setChecked(true);
            p->playButton()->click();
            loaded = sdl.musicLoaded() && sdl.looping();
            p->findChild<QPushButton*>(QStringLiteral("bgmstopbtn"))->click();
            stopped = !sdl.musicLoaded();
            p->okButton()->click();
        },
        [&] { res->chooseResource(ResourceKind::Bgm, {}, 6); });
    editor().media = &media;
    EXPECT_EQ(s.bgm(6).fileName.str(), "TOWN.MID");
    EXPECT_EQ(s.bgm(6).name.str(), "TOWN");
    if (!loaded) GTEST_SKIP() << "no MIDI synthesiser available";
    EXPECT_TRUE(stopped);
}

TEST_F(ResEditTest, HelpOpensTheResourcePage) {
    Tfileselectform chooser(QStringLiteral("x"), QStringLiteral("*.MID"), options.serchpath);
    for (QWidget* w : {static_cast<QWidget*>(res), static_cast<QWidget*>(&chooser)}) {
        HelpViewer::instance()->showTopic(HelpViewer::helpContextOf(w));
        EXPECT_EQ(HelpViewer::instance()->currentPage(), QStringLiteral("resedit.html"));
    }
    HelpViewer::closeViewer();
}

}  // namespace
}  // namespace qrn::test
