// Every window of the editor on the demo, with the installed fonts: opens
// each window, page, sheet, picker and dialog and fails on a caption cut
// short, a tab bar that needs scroll arrows, a tool bar hiding commands,
// overlapping controls, a control outside its window, or a literal "&".
// ctest runs it at scale 1 and at QT_SCALE_FACTOR=2.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

#include "fields/fieldman.h"
#include "fields/locateselect.h"
#include "fields/sizechangeform.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "mainwindow/mapcreater.h"
#include "mainwindow/randomform.h"
#include "options/optionform.h"
#include "pickers/eventlist.h"
#include "pickers/itemlist.h"
#include "pickers/magicselectlist.h"
#include "properties/paramedit.h"
#include "resources/commentpanel.h"
#include "resources/fileselectform.h"
#include "resources/levelauto.h"
#include "resources/levellist.h"
#include "resources/magicedit.h"
#include "resources/resedit.h"
#include "scenario/chararules.h"
#include "services/editorcontext.h"
#include "services/keycaption.h"
#include "services/options.h"
#include "services/windowfit.h"
#include "views/chiptable.h"
#include "views/chipview.h"
#include "views/largeimgview.h"
#include "views/minimap.h"
#include "views/palette.h"
#include "views/scenariocheck.h"
#include "views/serchresult.h"
#include "views/walkpreview.h"
#include "../editor_fakes.h"

namespace qrn::test {
namespace {

class LayoutWalk {
public:
    // Shows the window, then every page of every page control in it.
    void walk(QWidget* window, const QString& where) {
        fitWindow(window);
        window->show();
        QCoreApplication::processEvents();
        ++windows_;
        const QList<QTabWidget*> tabs = window->findChildren<QTabWidget*>();
        check(window, where);
        shoot(window, where);
        for (QTabWidget* t : tabs) {
            bringForward(t, window);
            if (!t->isVisible()) continue;
            const int before = t->currentIndex();
            for (int i = 0; i < t->count(); ++i) {
                if (!t->isTabVisible(i)) continue;
                t->setCurrentIndex(i);
                QCoreApplication::processEvents();
                check(window, where + QStringLiteral(" / ") + t->tabText(i));
                shoot(window, where + QStringLiteral(" - ") + t->tabText(i));
            }
            t->setCurrentIndex(before);
        }
    }

    int windows() const { return windows_; }
    int controls() const { return static_cast<int>(seen_.size()); }
    const QStringList& faults() const { return faults_; }

private:
    // With QRN_LAYOUT_SHOTS=DIR, saves each window and page as DIR/NAME.png
    // for a person to look over.
    static void shoot(QWidget* window, const QString& where) {
        static const QString dir = qEnvironmentVariable("QRN_LAYOUT_SHOTS");
        if (dir.isEmpty()) return;
        QString name = where;
        name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|& ]+")), QStringLiteral("_"));
        QDir().mkpath(dir);
        window->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    // Shows the pages on the way to a nested page control.
    static void bringForward(QWidget* w, QWidget* window) {
        for (QWidget* child = w; child && child != window; child = child->parentWidget()) {
            QWidget* parent = child->parentWidget();
            if (!parent) break;
            if (auto* outer = qobject_cast<QTabWidget*>(parent->parentWidget()); outer && outer->indexOf(child) >= 0)
                outer->setCurrentWidget(child);
        }
        QCoreApplication::processEvents();
    }

    static bool isControl(const QWidget* w) {
        return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLabel*>(w) ||
               qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
               qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
               qobject_cast<const QGroupBox*>(w) || qobject_cast<const QTabWidget*>(w) ||
               qobject_cast<const QSlider*>(w);
    }
    // Inside a scrolled view or inside a compound control: not laid out by us.
    static bool inCompound(const QWidget* w, const QWidget* window) {
        for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
            if (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p) ||
                qobject_cast<const QTabBar*>(p) || qobject_cast<const QToolBar*>(p))
                return true;
            if (auto* area = qobject_cast<const QAbstractScrollArea*>(p->parentWidget()); area && area->viewport() == p)
                return true;
        }
        return false;
    }
    static QString nameOf(const QWidget* w) {
        QString text;
        if (auto* b = qobject_cast<const QAbstractButton*>(w)) text = b->text();
        if (auto* l = qobject_cast<const QLabel*>(w)) text = l->text();
        return QStringLiteral("%1 %2 \"%3\"").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), text);
    }
    // The room a control's caption needs. A push button's own hint asks for
    // a style's minimum width too, which is no cut caption.
    static QSize textNeeds(const QWidget* w) {
        if (auto* label = qobject_cast<const QLabel*>(w); label && label->text().isEmpty()) return {};
        if (auto* arrow = qobject_cast<const QToolButton*>(w); arrow && arrow->text().isEmpty()) return {};
        auto* button = qobject_cast<const QPushButton*>(w);
        if (!button) return w->minimumSizeHint();
        if (button->text().isEmpty()) return {};
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        return {text.width() + margin + icon, text.height()};
    }
    void fault(const QString& where, const QString& what) {
        if (!faults_.contains(where + QStringLiteral(": ") + what)) faults_ << where + QStringLiteral(": ") + what;
    }

    void check(QWidget* window, const QString& where) {
        const QRect inside = window->rect();
        // The title beside a window manager's icon and close button, at the least.
        QFont bold = QApplication::font();
        bold.setBold(true);
        const int title = QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + 72;
        if (!window->windowTitle().isEmpty() && window->width() < title)
            fault(where, QStringLiteral("title cut: %1 < %2").arg(window->width()).arg(title));
        QHash<QWidget*, QList<QWidget*>> siblings;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->isWindow() || !w->isVisible()) continue;
            if (auto* bar = qobject_cast<QTabBar*>(w)) {
                for (QToolButton* arrow : bar->findChildren<QToolButton*>())
                    if (arrow->isVisible()) fault(where, QStringLiteral("tab bar scrolls: ") + bar->tabText(0));
                // Without arrows a bar too narrow for its tabs cuts the last ones.
                const int last = bar->count() - 1;
                const QWidget* holder = bar->parentWidget();
                if (last >= 0 && (bar->tabRect(last).right() >= bar->width() ||
                                  (holder && bar->geometry().left() + bar->tabRect(last).right() >= holder->width())))
                    fault(where, QStringLiteral("tab cut: ") + bar->tabText(last));
                // Nor may the page control be allowed to shrink below its tabs.
                if (auto* tabs = qobject_cast<QTabWidget*>(bar->parentWidget())) {
                    const int least = tabs->minimumWidth() > 0 ? tabs->minimumWidth() : tabs->minimumSizeHint().width();
                    if (least < bar->sizeHint().width())
                        fault(where, QStringLiteral("tabs may be cut: ") + bar->tabText(last));
                }
            }
            if (auto* bar = qobject_cast<QToolBar*>(w)) {
                for (QToolButton* more : bar->findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
                    if (more->isVisible()) fault(where, QStringLiteral("tool bar hides commands: ") + bar->objectName());
            }
            if (!isControl(w) || inCompound(w, window)) continue;
            seen_.insert(w);
            const bool captioned = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w);
            if (auto* l = qobject_cast<QLabel*>(w)) {
                const bool mnemonic = l->text().contains(QRegularExpression(QStringLiteral("&[^& ]")));
                if (mnemonic && !l->buddy() && !dynamic_cast<KeyCaption*>(l) && l->textFormat() != Qt::RichText &&
                    !Qt::mightBeRichText(l->text()))
                    fault(where, QStringLiteral("literal & in ") + nameOf(w));
            }
            if (captioned && !(qobject_cast<QLabel*>(w) && static_cast<QLabel*>(w)->wordWrap())) {
                const QSize need = textNeeds(w);
                if (w->width() < need.width() || w->height() < need.height())
                    fault(where, QStringLiteral("cut: %1 %2x%3 < %4x%5")
                                     .arg(nameOf(w)).arg(w->width()).arg(w->height()).arg(need.width()).arg(need.height()));
            }
            const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
            if (!inside.contains(r)) fault(where, QStringLiteral("outside its window: ") + nameOf(w));
            siblings[w->parentWidget()] << w;
        }
        for (const QList<QWidget*>& group : siblings)
            for (int i = 0; i < group.size(); ++i)
                for (int j = i + 1; j < group.size(); ++j)
                    if (group[i]->geometry().intersects(group[j]->geometry()))
                        fault(where, QStringLiteral("overlap: ") + nameOf(group[i]) + QStringLiteral(" / ") + nameOf(group[j]));
    }

    int windows_ = 0;
    QSet<QWidget*> seen_;
    QStringList faults_;
};

class LayoutOfEveryWindow : public EditorFixture {};

TEST_F(LayoutOfEveryWindow, NoCaptionCutNoTabHiddenNoOverlapOnTheDemo) {
    const std::unique_ptr<QObject> fitting(installWindowFitting(*qApp));
    createWindows();
    EditorWindows& w = editorWindows();
    Tmaker* maker = w.maker;
    maker->readregistry();
    options.serchpath = QStringLiteral(QRN_DEMO_DIR "/resources/");
    ASSERT_TRUE(maker->openFile(QStringLiteral(QRN_DEMO_DIR "/demo.snr")));
    w.chipview->readbmp();
    LayoutWalk walk;
    // The tool bar in one row and, narrower, in two and in three.
    const int widths[] = {maker->toolBarWidth(1), maker->toolBarWidth(2), maker->toolBarWidth(3)};
    for (int rows = 1; rows <= 3; ++rows) {
        maker->resize(widths[rows - 1], 600);
        walk.walk(maker, QStringLiteral("main window, tool bar in %1 row(s)").arg(rows));
    }
    std::printf("[ layout ] tool bar %d in one row, %d in two, %d in three\n", widths[0], widths[1], widths[2]);
    const std::pair<QWidget*, const char*> tools[] = {
        {w.palette, "palette"}, {w.fieldman, "field manager"}, {w.minimap, "whole map"}, {w.chipview, "image view"},
        {w.serchresult, "search results"}, {w.scenariocheck, "scenario check"}, {w.randomform, "random ratio"},
        {w.walkpreview, "walk preview"}};
    ASSERT_TRUE(w.walkpreview->startAtHero());
    for (const auto& [tool, name] : tools) {
        walk.walk(tool, QString::fromUtf8(name));
        tool->hide();
    }

    // The property editor on the first object of each layer and on a
    // character of each kind.
    Scenario& s = editor().scenario;
    for (int layer : {kPlace, kEnter, kEvent, kItem}) {
        w.paramedit->openOn(layer, 1, false);
        walk.walk(w.paramedit, QStringLiteral("property editor layer %1").arg(layer));
    }
    for (int kind : {kCharaNormal, kCharaHealer, kCharaMerchant, kCharaEnemy}) {
        for (int n = 1; n <= kCharaCount; ++n) {
            if (charaKind(s.chara(n).chcharatype) != kind) continue;
            w.paramedit->openOn(kChara, n, false);
            walk.walk(w.paramedit, QStringLiteral("property editor character kind %1").arg(kind));
            break;
        }
    }
    w.paramedit->hide();

    // The resource lists, the comment window also in large-text mode.
    for (int kind = Tresedit::Comment; kind <= Tresedit::Sound; ++kind) {
        w.resedit->makeList(static_cast<Tresedit::Kind>(kind), QString(), 1);
        w.resedit->resize(1, 1);  // at the smallest the fitting allows
        walk.walk(w.resedit, QStringLiteral("resources kind %1").arg(kind));
        if (kind == Tresedit::Comment) {
            auto* comments = static_cast<CommentPanel*>(w.resedit->panel(Tresedit::Comment));
            comments->toggleLargeMode();
            walk.walk(w.resedit, QStringLiteral("comments in large text"));
            comments->toggleLargeMode();
        }
        w.resedit->hide();
    }
    w.magicedit->makemagiclist();
    walk.walk(w.magicedit, QStringLiteral("magic"));
    {
        // At its form's height unless its content needs more; the small
        // buttons beside a name as wide as their captions.
        SCOPED_TRACE("magic window");
        EXPECT_LE(w.magicedit->height(), std::max(442, w.magicedit->minimumSizeHint().height()));
        auto* del = w.magicedit->findChild<QPushButton*>(QStringLiteral("mgsounddel"));
        ASSERT_TRUE(del);
        EXPECT_LE(del->width(), 2 * del->height());
    }
    w.magicedit->makeherolist();
    walk.walk(w.magicedit, QStringLiteral("hero"));
    w.magicedit->makescenariolist();
    walk.walk(w.magicedit, QStringLiteral("scenario settings"));
    w.magicedit->hide();

    // Pickers and dialogs.
    {
        Titemlist items(maker);
        items.makeitemlist(QStringLiteral("ｱｲﾃﾑ"), {1, 2}, -1);
        walk.walk(&items, QStringLiteral("item picker"));
        Teventlist events(maker);
        events.makeeventlist(QStringLiteral("ｲﾍﾞﾝﾄ"), {1});
        walk.walk(&events, QStringLiteral("event picker"));
        Tmagicselectlist magics(maker);
        magics.makemagiclist(QStringLiteral("魔法"), {1}, 0);
        walk.walk(&magics, QStringLiteral("magic picker"));
        Tlocateselect locate(maker);
        walk.walk(&locate, QStringLiteral("location picker"));
        Toptionform optionsForm(options, maker);
        walk.walk(&optionsForm, QStringLiteral("options"));
        Tmapcreater creator(maker);
        walk.walk(&creator, QStringLiteral("field creation"));
        Tsizechangeform sizes(maker);
        walk.walk(&sizes, QStringLiteral("field size"));
        Tlevellist levels(maker);
        walk.walk(&levels, QStringLiteral("level-up table"));
        {
            // Every column shows at the first opening; edited numbers align
            // as their totals do.
            auto* grid = levels.findChild<QTableWidget*>(QStringLiteral("levelgrid"));
            ASSERT_TRUE(grid);
            EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0);
            for (int c = 1; c <= 5; ++c)
                EXPECT_EQ(grid->item(0, c)->textAlignment(), grid->item(0, c + 7)->textAlignment()) << c;
        }
        Tlevelauto automatic(levels);
        walk.walk(&automatic, QStringLiteral("level-up automatic"));
        Tfileselectform files(QStringLiteral("BGM用のMIDﾌｧｲﾙを選択"), QStringLiteral("*.MID"),
                              QStringLiteral(QRN_DEMO_DIR "/resources"), maker);
        walk.walk(&files, QStringLiteral("file chooser"));
        Tlargeimgview enlarged(maker);
        enlarged.makelargeimg(QStringLiteral("grass.bmp"), 100, 100);
        walk.walk(&enlarged, QStringLiteral("enlarged image"));
    }
    {
        // A picture that cannot be shown is marked by words kept inside
        // its cell: no ink on the cell's edges.
        const QImage mark = ChipTable::placeholder();
        int inkOnEdge = 0;
        for (int i = 0; i < mark.width(); ++i)
            for (const QPoint p : {QPoint(0, i), QPoint(mark.width() - 1, i), QPoint(i, mark.height() - 1)})
                inkOnEdge += mark.pixel(p) != mark.pixel(0, 0);
        EXPECT_EQ(inkOnEdge, 0);
    }

    std::printf("[ layout ] %d windows, %d controls walked\n", walk.windows(), walk.controls());
    EXPECT_GE(walk.windows(), 25);
    EXPECT_TRUE(walk.faults().isEmpty()) << walk.faults().size() << " faults:\n"
                                         << walk.faults().join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace qrn::test
