#include "resources/settingparts.h"

#include <QGridLayout>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "services/editorcontext.h"
#include "services/textconv.h"
#include "fields/locateselect.h"
#include "pickers/itemlist.h"
#include "pickers/magicselectlist.h"
#include "views/largeimgview.h"

namespace qrn {

SettingsHooks realSettingsHooks(QWidget* parent) {
    SettingsHooks h;
    h.pickItems = [parent](const QString& caption, const std::vector<int>& chosen,
                           int kindMode) -> std::optional<std::vector<int>> {
        Titemlist picker(parent);
        picker.makeitemlist(caption, chosen, kindMode);
        if (picker.exec() != QDialog::Accepted) return std::nullopt;
        return picker.result();
    };
    h.pickMagics = [parent](const QString& caption, const std::vector<int>& chosen,
                            int mode) -> std::optional<std::vector<int>> {
        Tmagicselectlist picker(parent);
        picker.makemagiclist(caption, chosen, mode);
        if (picker.exec() != QDialog::Accepted) return std::nullopt;
        return picker.result();
    };
    h.pickLocation = [parent](const QString& caption, int field, int position) -> std::optional<StartLocation> {
        Tlocateselect picker(parent);
        picker.makelocategrid(field, position, caption);
        if (picker.exec() != QDialog::Accepted) return std::nullopt;
        return StartLocation{picker.pickedField(), picker.pickedPosition()};
    };
    h.chooseImage = [](bool preset) -> std::optional<QString> {
        ImageChooser* chooser = editor().imageChooser;
        if (!chooser || !chooser->chooseImage(preset)) return std::nullopt;
        return chooser->chosenImageFile();
    };
    h.showLarge = [parent](const QString& file, QPoint at) { Tlargeimgview::showLarge(parent, file, at.x(), at.y()); };
    return h;
}

void RefRow::show(const QString& name, bool isSet) const {
    value->setText(name);
    if (extra) extra->setEnabled(isSet);
}

void fitToCaption(QPushButton* button) {
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                       button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    const int fits = button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin;
    button->setFixedWidth(std::max(fits, button->sizeHint().height()));
}

RefRow addRefRow(QGridLayout* grid, int row, const QString& name, const QString& caption, const QString& extra,
                 QWidget* parent) {
    auto button = [parent](const QString& objectName, const QString& text) {
        auto* b = new QPushButton(text, parent);
        b->setObjectName(objectName);
        b->setAutoDefault(false);
        return b;
    };
    RefRow r;
    r.set = button(name + QStringLiteral("set"), caption);
    r.del = button(name + QStringLiteral("del"), QStringLiteral("消"));
    r.value = new QLabel(QStringLiteral("-"), parent);
    r.value->setObjectName(name);
    r.value->setFrameShape(QFrame::StyledPanel);
    // Room for an eight-and-three file name in the font in use.
    r.value->setMinimumWidth(r.value->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMM.bmp")) + 8);
    if (!extra.isEmpty()) {
        const bool play = extra == QStringLiteral("♪");
        r.extra = button(name + (play ? QStringLiteral("play") : QStringLiteral("view")), extra);
    }
    // The small buttons as wide as their captions; the name takes the room.
    for (QPushButton* small : {r.del, r.extra})
        if (small) fitToCaption(small);
    grid->setColumnStretch(2, 1);
    grid->addWidget(r.set, row, 0);
    grid->addWidget(r.del, row, 1);
    grid->addWidget(r.value, row, 2);
    if (r.extra) grid->addWidget(r.extra, row, 3);
    return r;
}

void playBgm(int n) {
    EditorContext& ctx = editor();
    if (!ctx.media || n < 1 || n > kBgmCount) return;
    const BgmDef& b = ctx.scenario.bgms[n - 1];
    if (b.fileName.empty()) return;
    ctx.media->mediaplay(ctx.resourcePath(fromCp932(b.fileName.view())), b.loop != 0);
}

void playSound(int n) {
    EditorContext& ctx = editor();
    if (!ctx.media || n < 1 || n > kSoundCount) return;
    const SoundDef& s = ctx.scenario.sounds[n - 1];
    if (s.fileName.empty()) return;
    ctx.media->soundplay(ctx.resourcePath(fromCp932(s.fileName.view())));
}

std::optional<int> chooseResourceEntry(ResourceKind kind, const QString& caption, int current, int least, int count) {
    ResourceChooser* chooser = editor().resourceChooser;
    if (!chooser) return std::nullopt;
    const ResourceChoice c = chooser->chooseResource(kind, caption, current);
    if (!c.accepted || c.entry < least || c.entry > count) return std::nullopt;
    return c.entry;
}

QString quotedName(const QString& name, const QString& defaultWords, bool quoteDefault) {
    if (!name.isEmpty()) return QStringLiteral("\"") + name + QStringLiteral("\"");
    return quoteDefault ? QStringLiteral("\"") + defaultWords + QStringLiteral("\"") : defaultWords;
}

}  // namespace qrn

#include <QSpinBox>

namespace qrn {

QSpinBox* upDownButtons(const QString& name, int low, int high, QWidget* parent) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(low, high);
    s->setFixedWidth(20);
    s->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    s->setAttribute(Qt::WA_InputMethodEnabled, false);
    return s;
}

void shadeWhenEmpty(QWidget* box, bool empty) {
    QPalette pal = box->palette();
    const QPalette base = box->parentWidget() ? box->parentWidget()->palette() : QPalette();
    pal.setColor(QPalette::Base, empty ? base.color(QPalette::Button) : base.color(QPalette::Base));
    box->setPalette(pal);
    box->setProperty("shaded", empty);
}

}  // namespace qrn
