#include "resources/magicedit.h"

#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/mainwindowhooks.h"
#include "resources/heropanel.h"
#include "resources/magicpanel.h"
#include "resources/scenariopanel.h"

namespace qrn {

Tmagicedit::Tmagicedit(QWidget* parent) : QDialog(parent), hooks_(realSettingsHooks(this)) {
    setObjectName(QStringLiteral("magicedit"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    magic_ = new MagicPanel(*this, this);
    hero_ = new HeroPanel(*this, this);
    scenario_ = new ScenarioPanel(*this, this);
    for (QWidget* p : {static_cast<QWidget*>(magic_), static_cast<QWidget*>(hero_),
                       static_cast<QWidget*>(scenario_)}) {
        layout->addWidget(p);
        p->hide();
        p->setEnabled(false);
    }
}

void Tmagicedit::allhide() {
    for (QWidget* p : {static_cast<QWidget*>(magic_), static_cast<QWidget*>(hero_),
                       static_cast<QWidget*>(scenario_)}) {
        p->hide();
        p->setEnabled(false);
    }
}

void Tmagicedit::showPanel(QWidget* panel, const QString& caption, QSize size) {
    setWindowTitle(caption);
    resize(size);
    panel->setEnabled(true);
    panel->show();
}

void Tmagicedit::makemagiclist() {
    allhide();
    showPanel(magic_, QStringLiteral("魔法編集"), {578, 442});
    magic_->makemagiclist();
}

void Tmagicedit::makeherolist() {
    allhide();
    showPanel(hero_, QStringLiteral("主人公設定"), {361, 381});
    hero_->makeherolist();
}

void Tmagicedit::makescenariolist() {
    allhide();
    if (MainWindowHooks* main = mainWindowHooks()) main->hideImageView();
    showPanel(scenario_, QStringLiteral("シナリオ設定"), {353, 441});
    scenario_->makescenariolist();
}

void Tmagicedit::openPage(Page page) {
    switch (page) {
    case Magic: makemagiclist(); break;
    case Hero: makeherolist(); break;
    case Scenario: makescenariolist(); break;
    }
    exec();
}

void Tmagicedit::hideEvent(QHideEvent* event) {
    if (editor().media) editor().media->mediastop();
    QDialog::hideEvent(event);
}

}  // namespace qrn
