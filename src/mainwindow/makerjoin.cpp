// The main window's join command and field bitmap export.
#include <QCoreApplication>
#include <QLineEdit>
#include <string>

#include "services/editorcontext.h"
#include "render/fieldrenderer.h"
#include "services/filenameenter.h"
#include "mainwindow/maker.h"
#include "services/options.h"
#include "services/services.h"
#include "services/textconv.h"
#include "services/userfolders.h"
#include "services/waitform.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"
#include "scenario/text.h"

namespace qrn {

namespace {

const QString kBadFolder = QStringLiteral("結合ファイル出力フォルダは無効です。");
const QString kJoinFailed =
    QStringLiteral("リソース不足です。画面の色数を下げるか、他のアプリケーションを終了して下さい");
const QString kExportFailed =
    QStringLiteral("システムリソースが足りません。画面の表示色を落とすか、フィールドノサイズを小さくして下さい。");

// "シナリオ  " and the title, cut to 42 bytes, then `tail`, all cut to `limit`.
QString titled(const Scenario& s, const char* tail, std::size_t limit) {
    std::string text = cp932Literal("シナリオ  ") + s.settings.scenarioname.str();
    text = std::string(cutCp932(text, 42)) + cp932Literal(tail);
    return fromCp932(cutCp932(text, limit));
}

}  // namespace

void Tmaker::jointmenuClick() {
    EditorContext& ed = editor();
    Options* options = ed.options;
    std::string name;
    QString outputFolder = options ? options->compiledfileout : QString();
    {
        // The dialog shows the output folder and may change it.
        Tfilenameenter dialog(this);
        dialog.filenameedit()->setText(fromCp932(ed.side.joinName));
        dialog.setOutputFolder(outputFolder);
        if (!runJoinNameDialog(dialog)) return;
        if (options && dialog.outputFolder() != outputFolder) {
            // The same setting as the options page's, kept at once.
            outputFolder = dialog.outputFolder();
            options->compiledfileout = outputFolder;
            writeregistry();
        }
        if (!joinFolderUsable(outputFolder)) {
            ed.messages->error(this, kBadFolder);
            return;
        }
        const auto bytes = utf8ToCp932(dialog.joinName().toStdString());
        if (!bytes || bytes->empty() || !validJoinName(*bytes)) return;
        name = *bytes;
    }
    const std::string folder = outputFolder.toStdString();
    ed.side.joinName = name;
    const Scenario& s = ed.scenario;
    const QString dst = QString::fromStdString(joinOutputPath(folder, name, ".DST"));
    if (!ed.messages->confirm(this, titled(s, "  を", 46) + QStringLiteral("\n") + dst +
                                        QStringLiteral("に結合します。\n") +
                                        QStringLiteral("念の為.SNRファイルはバックアップを取っておく事をお勧めします。")))
        return;
    // The default folder is made by the first join that writes into it.
    if (!makeJoinFolder(outputFolder)) {
        ed.messages->error(this, kBadFolder);
        return;
    }

    JoinResult result;
    {
        Twaitform wait(this);
        wait.makehelplabel(titled(s, "の結合中です...", 57));
        JoinHooks hooks;
        hooks.drawSheet = [&ed](const ChipAssignment& chips) {
            const ChipImages images = chipImagesOf(ed.imageList);
            FieldRenderer renderer(images, ed.side.pictures);
            return renderer.sheetBitmap(chips);
        };
        hooks.warn = [this, &ed](const std::string& w) { ed.messages->warning(this, QString::fromStdString(w)); };
        hooks.progress = [](int done, int) {
            if (done % 64 == 0) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
        const std::string resources = options ? options->serchpath.toStdString() : std::string();
        result = joinScenario(s, {folder, resources, name}, hooks);
    }
    switch (result.status) {
        case JoinStatus::Done:
            ed.messages->information(
                this, outputFolder + QStringLiteral("に") +
                          fromCp932(s.settings.scenarioname.view()) +
                          QStringLiteral("の実行に必要なファイルを出力しました。又、") + fromCp932(name) +
                          QStringLiteral(".TXT にファイル一覧を出力しました。"));
            break;
        case JoinStatus::BadFolder: ed.messages->error(this, kBadFolder); break;
        case JoinStatus::BadName: break;
        case JoinStatus::Failed:
            ed.messages->error(this, kJoinFailed + QStringLiteral("\n") + QString::fromStdString(result.failedPath) +
                                         QStringLiteral(": ") + QString::fromStdString(result.error));
            break;
    }
}

void Tmaker::savebybmpmenuClick() {
    EditorContext& ed = editor();
    const QString path = ed.files->saveFile(this, QStringLiteral("ビットマップに名前を付けて保存"),
                                            QStringLiteral("ビットマップ  *.BMP (*.BMP *.bmp)"), QStringLiteral("bmp"));
    if (path.isEmpty()) return;
    const ChipImages images = chipImagesOf(ed.imageList);
    FieldRenderer renderer(images, ed.side.pictures);
    // Every layer goes out at 32 pixels per cell, whatever the map shows.
    if (!renderer.writeFieldBmp(ed.scenario, ed.state.currentField, path.toStdString(), kAllLayers))
        ed.messages->warning(this, kExportFailed);
}

}  // namespace qrn
