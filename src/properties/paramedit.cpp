#include "properties/paramedit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "services/keycaption.h"
#include "services/editorcontext.h"
#include "services/options.h"
#include "services/textconv.h"
#include "fields/locateselect.h"
#include "pickers/eventlist.h"
#include "pickers/itemlist.h"
#include "pickers/magicselectlist.h"
#include "properties/charapage.h"
#include "properties/enterpage.h"
#include "properties/eventpage.h"
#include "properties/itempage.h"
#include "properties/placepage.h"
#include "scenario/chararules.h"
#include "views/largeimgview.h"

namespace qrn {

namespace {

const char* const kCaptionWords[] = {"", "地形", "建造物", "ｲﾍﾞﾝﾄ", "ｱｲﾃﾑ", "ｷｬﾗｸﾀｰ"};

bool passedOnKey(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: return true;
    default: return false;
    }
}

std::optional<std::vector<int>> runItemPicker(QWidget* parent, const QString& caption, const std::vector<int>& chosen) {
    Titemlist picker(parent);
    picker.makeitemlist(caption, chosen, 5);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.result();
}

std::optional<std::vector<int>> runEventPicker(QWidget* parent, const QString& caption, const std::vector<int>& chosen) {
    Teventlist picker(parent);
    picker.makeeventlist(caption, chosen);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.result();
}

std::optional<std::vector<int>> runMagicPicker(QWidget* parent, const QString& caption, const std::vector<int>& chosen) {
    Tmagicselectlist picker(parent);
    picker.makemagiclist(caption, chosen, 0);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.result();
}

std::optional<PickedLocation> runLocationPicker(QWidget* parent, const QString& caption, int field, int position) {
    Tlocateselect picker(parent);
    picker.makelocategrid(field, position, caption);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return PickedLocation{picker.pickedField(), picker.pickedPosition()};
}

}  // namespace

QSize parameditClientSize(int layer) {
    switch (layer) {
    case kPlace: return {206, 284};
    case kEnter: return {204, 330};
    case kEvent: return {210, 449};
    case kItem: return {209, 284};
    case kChara: return {227, 439};
    default: return {206, 284};
    }
}

Tparamedit::Tparamedit(QWidget* parent) : QMainWindow(parent, Qt::Tool) {
    setObjectName(QStringLiteral("paramedit"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(13);
    setFont(f);
    setToolTip(QStringLiteral("SHIFT+→←↑↓,RETURNでｶｰｿﾙ移動"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(central);

    placePage_ = new PlacePage(*this, central);
    enterPage_ = new EnterPage(*this, central);
    panels_[kPlace] = placePage_;
    panels_[kEnter] = enterPage_;
    eventPage_ = new EventPage(*this, central);
    itemPage_ = new ItemPage(*this, central);
    panels_[kEvent] = eventPage_;
    panels_[kItem] = itemPage_;
    charaPage_ = new CharaPage(*this, central);
    panels_[kChara] = charaPage_;
    for (int layer = kPlace; layer <= kChara; ++layer) {
        QTabWidget* p = panels_[static_cast<std::size_t>(layer)];
        layout->addWidget(p);
        p->setCurrentIndex(0);
        connect(p, &QTabWidget::currentChanged, this, [this, p](int) {
            if (QWidget* sheet = p->currentWidget()) setProperty("helpContext", sheet->property("helpContext"));
        });
        p->installEventFilter(this);
    }
    allhide();

    prpagechange_ = new QPushButton(QStringLiteral("(&W)"), central);
    prpagechange_->setObjectName(QStringLiteral("prpagechange"));
    prpagechange_->hide();
    connect(prpagechange_, &QPushButton::clicked, this, &Tparamedit::prpagechangeClick);
    // A hidden button has no working accelerator; the window carries it.
    auto* alt = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_W), this);
    connect(alt, &QShortcut::activated, prpagechange_, &QPushButton::click);

    hooks_.pickItems = [this](const QString& caption, const std::vector<int>& chosen) {
        return runItemPicker(this, caption, chosen);
    };
    hooks_.pickEvents = [this](const QString& caption, const std::vector<int>& chosen) {
        return runEventPicker(this, caption, chosen);
    };
    hooks_.pickMagics = [this](const QString& caption, const std::vector<int>& chosen) {
        return runMagicPicker(this, caption, chosen);
    };
    hooks_.viewImage = [this](const QString& file, const QPoint& at) {
        Tlargeimgview::showLarge(this, file, at.x(), at.y());
    };
    hooks_.pickLocation = [this](const QString& caption, int field, int position) {
        return runLocationPicker(this, caption, field, position);
    };

    // Every control's keys pass here first.
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    setProperty("helpContext", 64000);
}

// ---- opening ----------------------------------------------------------------

void Tparamedit::openOn(int layer, int number, bool fromPalette) {
    if (!validObject(layer, number)) return;
    fromPalette_ = fromPalette;
    editor().drawing.currentObject[static_cast<std::size_t>(layer)] = number;
    switch (layer) {
    case kPlace: placeediting(); break;
    case kEnter: enterediting(); break;
    case kEvent: eventediting(); break;
    case kItem: itemediting(); break;
    case kChara: charaediting(); break;
    default: break;
    }
}

void Tparamedit::placeediting() { open(kPlace); }
void Tparamedit::enterediting() { open(kEnter); }
void Tparamedit::eventediting() { open(kEvent); }
void Tparamedit::itemediting() { open(kItem); }
void Tparamedit::charaediting() { open(kChara); }

void Tparamedit::open(int layer) {
    EditorContext& ctx = editor();
    const auto i = static_cast<std::size_t>(layer);
    const int number = ctx.drawing.currentObject[i];
    if (!validObject(layer, number) || !objectInUse(ctx.scenario, layer, number)) {
        hide();
        return;
    }
    current_[i] = number;
    if (!placementRestored_) {
        placementRestored_ = true;
        paramset();
    }
    setFixedSize(parameditClientSize(layer));
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    allhide();
    panels_[i]->setEnabled(true);
    if (QWidget* sheet = panels_[i]->currentWidget()) setProperty("helpContext", sheet->property("helpContext"));
    show();
    raise();
    switch (layer) {
    case kPlace: placePage_->plmoveset(); break;
    case kEnter: enterPage_->enterview(); break;
    case kEvent: eventPage_->eventini(); break;
    case kItem: itemPage_->itemini(); break;
    case kChara: charaPage_->cheditini(); break;
    default: break;
    }
    panels_[i]->show();
}

void Tparamedit::allhide() {
    for (int layer = kPlace; layer <= kChara; ++layer) {
        panels_[static_cast<std::size_t>(layer)]->hide();
        panels_[static_cast<std::size_t>(layer)]->setEnabled(false);
    }
}

int Tparamedit::shownLayer() const {
    for (int layer = kPlace; layer <= kChara; ++layer)
        if (!panels_[static_cast<std::size_t>(layer)]->isHidden()) return layer;
    return 0;
}

void Tparamedit::paramset() {
    const Options* options = editor().options;
    if (!options) return;
    const Placement& p = options->param;
    const auto screens = QGuiApplication::screens();
    const bool onScreen = std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        return screen->availableGeometry().intersects(p.rect);
    });
    // The size follows the page; only the position is taken, and only where a screen shows it.
    if (p.rect.width() > 0 && p.rect.height() > 0 && onScreen) move(p.rect.topLeft());
}

// ---- captions -----------------------------------------------------------------

void Tparamedit::setObjectCaption(int layer, const QString& name) {
    const QString subject = name.isEmpty() && validLayer(layer) ? QString::fromUtf8(kCaptionWords[layer]) : name;
    setWindowTitle(subject + QStringLiteral("のﾌﾟﾛﾊﾟﾃｨ"));
}

QString Tparamedit::objectWords(int layer, const QString& name) {
    if (!name.isEmpty() || !validLayer(layer)) return name;
    return QStringLiteral("この") + QString::fromUtf8(kCaptionWords[layer]);
}

void Tparamedit::playMusic(int number) {
    EditorContext& ctx = editor();
    if (number < 1 || number > kBgmCount || !ctx.media) return;
    const BgmDef& music = ctx.scenario.bgm(number);
    const std::string file = music.fileName.str();
    if (file.empty()) return;
    ctx.media->mediaplay(ctx.resourcePath(fromCp932(file)), music.loop != 0);
}

void Tparamedit::playSound(int number) {
    EditorContext& ctx = editor();
    if (number < 1 || number > kSoundCount || !ctx.media) return;
    const std::string file = ctx.scenario.sound(number).fileName.str();
    if (file.empty()) return;
    ctx.media->soundplay(ctx.resourcePath(fromCp932(file)));
}

// ---- pages and keys -------------------------------------------------------------

int Tparamedit::nextPage(int layer, int charaKind, int page) {
    std::vector<int> cycle;
    switch (layer) {
    case kPlace: cycle = {0, 1, 2}; break;
    case kEnter: cycle = {0, 1}; break;
    case kEvent: cycle = {0, 1, 2, 3}; break;
    case kItem: cycle = {0, 1, 2}; break;
    case kChara: cycle = charaPages(qrn::charaKind(static_cast<u8>(std::clamp(charaKind, 0, 255)))); break;
    default: return -1;
    }
    const auto at = std::find(cycle.begin(), cycle.end(), page);
    if (at == cycle.end()) return -1;
    return std::next(at) == cycle.end() ? cycle.front() : *std::next(at);
}

void Tparamedit::prpagechangeClick() {
    const int layer = shownLayer();
    if (layer == 0) return;
    QTabWidget* panel = panels_[static_cast<std::size_t>(layer)];
    int kind = 0;
    if (layer == kChara) {
        const int n = current_[kChara];
        if (validObject(kChara, n)) kind = editor().scenario.chara(n).chcharatype;
    }
    const int next = nextPage(layer, kind, panel->currentIndex());
    if (next >= 0 && next < panel->count()) panel->setCurrentIndex(next);
}

bool Tparamedit::FormKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return true;
    }
    if (!(event->modifiers() & Qt::ShiftModifier)) return false;
    QWidget* focus = QApplication::focusWidget();
    for (int layer = kPlace; layer <= kChara; ++layer) {
        QTabWidget* p = panels_[static_cast<std::size_t>(layer)];
        if (focus && (focus == p || focus == static_cast<QWidget*>(p->tabBar()))) {
            focusNextChild();
            break;
        }
    }
    if (!passedOnKey(event->key())) return false;
    QWidget* target = nullptr;
    if (fromPalette_ && hooks_.paletteKeyTarget) target = hooks_.paletteKeyTarget();
    if (!target && hooks_.mapKeyTarget) target = hooks_.mapKeyTarget();
    if (!target) return true;
    // The grid moves its cursor as for the plain key; the editor keeps the focus.
    QKeyEvent passed(QEvent::KeyPress, event->key(), Qt::NoModifier);
    QCoreApplication::sendEvent(target, &passed);
    return true;
}

void Tparamedit::panelEnter(QWidget*, bool shiftHeld) {
    if (shiftHeld || (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier)) focusNextChild();
}

bool Tparamedit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        if (FormKeyDown(static_cast<QKeyEvent*>(event))) return true;
    } else if (event->type() == QEvent::FocusIn) {
        // A page control hands its focus to its tab bar: entering either is
        // entering the page control. Shift+Tab is entering it with Shift held.
        const bool backtab = static_cast<QFocusEvent*>(event)->reason() == Qt::BacktabFocusReason;
        for (QTabWidget* panel : panels_)
            if (panel && (watched == panel || watched == panel->tabBar())) panelEnter(panel, backtab);
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tparamedit::keyPressEvent(QKeyEvent* event) {
    if (!FormKeyDown(event)) QMainWindow::keyPressEvent(event);
}

void Tparamedit::hideEvent(QHideEvent* event) {
    if (MediaService* media = editor().media) media->mediastop();
    QMainWindow::hideEvent(event);
}

}  // namespace qrn
