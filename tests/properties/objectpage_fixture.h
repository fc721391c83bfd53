// A property editor on a small scenario, with every chooser and picker it
// calls replaced by a recorder that answers what the test sets.
#pragma once

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

#include "../editor_fakes.h"
#include "mainwindow/editorwindows.h"
#include "mainwindow/maker.h"
#include "services/mainwindowhooks.h"
#include "services/editorcontext.h"
#include "services/options.h"
#include "properties/paramedit.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/resets.h"
#include "scenario/maplayers.h"

namespace qrn::test {

class RecordingChooser : public ResourceChooser {
public:
    ResourceChoice chooseResource(ResourceKind kind, const QString& suffix, int preselected) override {
        kinds.push_back(kind);
        captions << suffix;
        preselections.push_back(preselected);
        return answer;
    }
    ResourceChoice answer;
    std::vector<ResourceKind> kinds;
    std::vector<int> preselections;
    QStringList captions;
};

class ObjectPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        EditorContext& ctx = editor();
        saved_ = {ctx.options, ctx.resourceChooser, editorWindows().paramedit, editorWindows().palette, editorWindows().maker, ctx.media};
        ctx.options = &options_;
        ctx.resourceChooser = &chooser_;
        editorWindows().palette = nullptr;
        editorWindows().maker = nullptr;
        setMainWindowHooks(nullptr);
        ctx.media = &media_;
        Scenario& s = ctx.scenario;
        alldatainitialize(s, ctx.side, 3);
        createFirstField(s, "", "", "", 10, 10);
        ASSERT_EQ(placeNewField(s, 2, 20, 10), AddFieldResult::Added);
        s.field(2).name.assign("cave");
        for (int layer = kPlace; layer <= kChara; ++layer)
            for (int n = 1; n <= 12; ++n) firstImageFile(s, layer, n)->assign("chip.bmp");
        for (int n = 1; n <= 12; ++n) s.item(n).name.assign("item" + std::to_string(n));
        for (int n = 1; n <= 12; ++n) s.event(n).name.assign("event" + std::to_string(n));
        s.enemyType(4).name.assign("wolves");
        s.enemyType(4).members[0] = 2;
        s.comment(10).name.assign("hello");
        s.bgm(3).name.assign("march");
        s.bgm(3).fileName.assign("march.mid");
        s.bgm(3).loop = 1;
        s.sound(5).name.assign("clang");
        s.sound(5).fileName.assign("clang.wav");
        s.magic(2).name.assign("fire");
        s.poison(1).name.assign("sleep");
        s.poison(2).name.assign("venom");
        s.poison(2).podamage = 4;
        paramedit_ = std::make_unique<Tparamedit>();
        editorWindows().paramedit = paramedit_.get();
        ParameditHooks& h = paramedit_->hooks();
        h.pickItems = [this](const QString& caption, const std::vector<int>& chosen) {
            pickerCaptions << caption;
            preselected.push_back(chosen);
            return itemAnswer;
        };
        h.pickEvents = [this](const QString& caption, const std::vector<int>& chosen) {
            pickerCaptions << caption;
            preselected.push_back(chosen);
            return eventAnswer;
        };
        h.pickMagics = [this](const QString& caption, const std::vector<int>& chosen) {
            pickerCaptions << caption;
            preselected.push_back(chosen);
            return magicAnswer;
        };
        h.pickLocation = [this](const QString& caption, int, int) {
            pickerCaptions << caption;
            return locationAnswer;
        };
        h.chooseImage = [this](bool preset) -> std::optional<QString> {
            imagePresets.push_back(preset);
            editor().state.defaultTransparent = true;
            editor().state.defaultTransparentColour = 0x00FF00;
            return imageAnswer;
        };
        h.addimg = [this](const QString& file, bool, unsigned) {
            loaded << file;
            return 40 + static_cast<int>(loaded.size());
        };
        h.viewImage = [this](const QString& file, QPoint) { enlarged << file; };
    }

    void TearDown() override {
        paramedit_.reset();
        EditorContext& ctx = editor();
        ctx.options = saved_.options;
        ctx.resourceChooser = saved_.chooser;
        editorWindows().paramedit = saved_.paramedit;
        editorWindows().palette = saved_.palette;
        editorWindows().maker = saved_.maker;
        setMainWindowHooks(saved_.maker);
        ctx.media = saved_.media;
    }

    Scenario& scenario() { return editor().scenario; }

    struct Saved {
        Options* options;
        ResourceChooser* chooser;
        Tparamedit* paramedit;
        Tpalette* palette;
        Tmaker* maker;
        MediaService* media;
    } saved_{};
    Options options_;
    RecordingChooser chooser_;
    FakeMedia media_;
    std::unique_ptr<Tparamedit> paramedit_;
    std::optional<std::vector<int>> itemAnswer, eventAnswer, magicAnswer;
    std::optional<PickedLocation> locationAnswer;
    std::optional<QString> imageAnswer;
    std::vector<bool> imagePresets;
    std::vector<std::vector<int>> preselected;
    QStringList pickerCaptions, loaded, enlarged;
};

}  // namespace qrn::test
