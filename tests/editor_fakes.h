// Stand-ins for the platform services, and a fixture that builds the whole
// set of windows on fresh options, a private settings folder and the fakes.
#pragma once

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>

#include "services/editorcontext.h"
#include "services/options.h"
#include "services/services.h"
#include "mainwindow/startup.h"

namespace qrn::test {

class FakeMessages : public MessageService {
public:
    bool confirm(QWidget*, const QString& text) override {
        questions << text;
        if (answers.empty()) return defaultAnswer;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void information(QWidget*, const QString& text) override { infos << text; }
    void warning(QWidget*, const QString& text) override { warnings << text; }
    void error(QWidget*, const QString& text) override { errors << text; }
    bool warningInRun(QWidget*, const QString& text) override {
        warnings << text;
        return stopRunAfter > 0 && warnings.size() >= stopRunAfter;
    }

    std::deque<bool> answers;
    bool defaultAnswer = true;
    int stopRunAfter = 0;  // warningInRun: tick "do not show again" on this warning (0: never)
    QStringList questions, infos, warnings, errors;
};

class FakeFiles : public FileDialogService {
public:
    QString openFile(QWidget*, const QString& title, const QString& filter, const QString& suffix) override {
        lastTitle = title;
        lastFilter = filter;
        lastSuffix = suffix;
        return openResult;
    }
    QString saveFile(QWidget*, const QString& title, const QString& filter, const QString& suffix) override {
        lastTitle = title;
        lastFilter = filter;
        lastSuffix = suffix;
        ++saveDialogs;
        return saveResult;
    }
    QString openResult, saveResult, lastTitle, lastFilter, lastSuffix;
    int saveDialogs = 0;
};

class FakeMedia : public MediaService {
public:
    void mediaplay(const QString& path, bool loop) override { played << path + (loop ? "|loop" : ""); }
    void mediastop() override { ++stops; }
    void soundplay(const QString& path) override { sounds << path; }
    QStringList played, sounds;
    int stops = 0;
};

class FakeLauncher : public ProcessLauncher {
public:
    bool startDetached(const QString& program) override {
        started << program;
        return true;
    }
    QStringList started;
};

// Fresh options and fakes in the editor context, settings in a temporary
// folder. Windows are made by createWindows() in the test when needed.
class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(settingsDir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
        reopenSettingsStore();
        EditorContext& ed = editor();
        ed.options = &options;
        ed.messages = &messages;
        ed.files = &files;
        ed.media = &media;
        ed.launcher = &launcher;
    }
    void TearDown() override {
        destroyWindows();
        EditorContext& ed = editor();
        ed.options = nullptr;
        ed.messages = nullptr;
        ed.files = nullptr;
        ed.media = nullptr;
        ed.launcher = nullptr;
        reopenSettingsStore();
    }
    QString settingsFile() const { return settingsDir.path() + "/Quorantel/Positions.ini"; }

    QTemporaryDir settingsDir;
    Options options;
    FakeMessages messages;
    FakeFiles files;
    FakeMedia media;
    FakeLauncher launcher;
};

}  // namespace qrn::test
