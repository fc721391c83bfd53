// The settings window: one modal window with three panels, the magic list,
// the hero settings and the scenario settings, of which one is shown at a
// time. Every change goes into the scenario at once.
#pragma once

#include <QDialog>

#include "resources/settingparts.h"

namespace qrn {

class MagicPanel;
class HeroPanel;
class ScenarioPanel;

class Tmagicedit : public QDialog {
    Q_OBJECT
public:
    enum Page { Magic, Hero, Scenario };
    explicit Tmagicedit(QWidget* parent = nullptr);

    // Prepares one panel and shows the window modally.
    void openPage(Page page);

    // The entry operations: hide every panel, then caption, size and panel.
    void makemagiclist();
    void makeherolist();
    void makescenariolist();
    void allhide();

    SettingsHooks& hooks() { return hooks_; }
    MagicPanel* magicPanel() const { return magic_; }
    HeroPanel* heroPanel() const { return hero_; }
    ScenarioPanel* scenarioPanel() const { return scenario_; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void showPanel(QWidget* panel, const QString& caption, QSize size);

    SettingsHooks hooks_;
    MagicPanel* magic_;
    HeroPanel* hero_;
    ScenarioPanel* scenario_;
};

}  // namespace qrn
