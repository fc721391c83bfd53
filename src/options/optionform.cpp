#include "options/optionform.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "services/editorcontext.h"
#include "services/options.h"

namespace qrn {

namespace {

const QString kUnknown = QStringLiteral("不明");

// A folder as the dialog shows it: the stored form, without the final "/".
QString shownFolder(const QString& folder) {
    return folder.size() > 1 && folder.endsWith(u'/') ? folder.chopped(1) : folder;
}

}  // namespace

Toptionform::Toptionform(Options& options, QWidget* parent)
    : QDialog(parent),
      options_(options),
      pages_(new QTabWidget),
      runnerspathlabel_(new QLabel),
      playerserchbtn_(new QPushButton(QStringLiteral("参照(&S)"))),
      serchlabel_(new QLabel),
      serchdir_(new QPushButton(QStringLiteral("フォルダの選択(&D)..."))),
      dirlabel_(new QLabel),
      dirlist_(new QPushButton(QStringLiteral("フォルダの選択(&D)..."))) {
    setObjectName(QStringLiteral("optionform"));
    setWindowTitle(QStringLiteral("環境設定"));
    setProperty("helpContext", 117000);
    chooseFolder = [](QWidget* parent, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, title, start);
    };

    // 操作
    auto* operation = new QWidget;
    auto* opLayout = new QVBoxLayout(operation);
    groups_[0] = makeChoice(QStringLiteral("RadioGroup1"), QStringLiteral("マウスドラッグ"),
                            QStringLiteral("牽引  (&F)"), QStringLiteral("逆進  (&B)"), &Options::coming);
    groups_[0].group->setToolTip(QStringLiteral("ﾏｯﾌﾟ上でのﾄﾞﾗｯｸﾞ方向"));
    opLayout->addWidget(groups_[0].group);
    CheckBox1_ = makeCheck(QStringLiteral("CheckBox1"), QStringLiteral("ヒント表示   (&H)"),
                           QStringLiteral("ﾋﾝﾄを表示する"), &Options::showhint);
    CheckBox2_ = makeCheck(QStringLiteral("CheckBox2"), QStringLiteral("確認ﾒｯｾｰｼﾞ(&C)"),
                           QStringLiteral("確認ﾒｯｾｰｼﾞを表示する"), &Options::tellmsg);
    CheckBox3_ = makeCheck(QStringLiteral("CheckBox3"), QStringLiteral("罫線表示    (&L)"),
                           QStringLiteral("ﾏｯﾌﾟに罫線を表示する"), &Options::gridline);
    autoimebox_ = makeCheck(QStringLiteral("autoimebox"), QStringLiteral("IME自動起動(&I)"),
                            QStringLiteral("編集の時ＩＭＥを自動起動"), &Options::autoime);
    for (QCheckBox* box : {CheckBox1_, CheckBox2_, CheckBox3_, autoimebox_}) opLayout->addWidget(box);
    auto* runner = new QGroupBox(QStringLiteral("シナリオランナーのパス"));
    auto* runnerLayout = new QHBoxLayout(runner);
    runnerspathlabel_->setObjectName(QStringLiteral("runnerspathlabel"));
    runnerspathlabel_->setWordWrap(true);
    runnerspathlabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    playerserchbtn_->setObjectName(QStringLiteral("playerserchbtn"));
    runnerLayout->addWidget(runnerspathlabel_, 1);
    runnerLayout->addWidget(playerserchbtn_);
    opLayout->addWidget(runner);
    opLayout->addStretch();
    pages_->addTab(operation, QStringLiteral("操作"));

    // ウィンドウ
    auto* windows = new QWidget;
    auto* winLayout = new QVBoxLayout(windows);
    const struct {
        const char* title;
        bool Options::*setting;
    } fronts[] = {{"パレット", &Options::paletteFront},
                  {"全域マップ", &Options::allmapFront},
                  {"イメージビュー", &Options::chipviewFront},
                  {"プロパティシート", &Options::parameditFront},
                  {"ﾌｨｰﾙﾄﾞﾏﾈｰｼﾞｬ", &Options::fieldmanfront}};
    for (int i = 0; i < 5; ++i) {
        groups_[i + 1] = makeChoice(QStringLiteral("RadioGroup%1").arg(i + 2), QString::fromUtf8(fronts[i].title),
                                    QStringLiteral("常に手前に表示"), QStringLiteral("標準"), fronts[i].setting);
        winLayout->addWidget(groups_[i + 1].group);
    }
    winLayout->addStretch();
    pages_->addTab(windows, QStringLiteral("ウィンドウ"));

    // The two folders.
    auto folderPage = [this](QLabel* label, QPushButton* button, const QString& labelName, const QString& buttonName,
                             const QString& hint, const QString& tab) {
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        label->setObjectName(labelName);
        label->setToolTip(hint);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        button->setObjectName(buttonName);
        layout->addWidget(label);
        layout->addWidget(button, 0, Qt::AlignLeft);
        layout->addStretch();
        pages_->addTab(page, tab);
    };
    folderPage(serchlabel_, serchdir_, QStringLiteral("serchlabel"), QStringLiteral("serchdir"),
               QStringLiteral("BMP,WAV,MIDﾌｧｲﾙがあるﾌｫﾙﾀﾞ"), QStringLiteral("ﾘｿｰｽ検索ﾌｫﾙﾀﾞ"));
    folderPage(dirlabel_, dirlist_, QStringLiteral("dirlabel"), QStringLiteral("dirlist"),
               QStringLiteral("ｼﾅﾘｵﾌｧｲﾙを結合するﾌｫﾙﾀﾞを選択"), QStringLiteral("結合ﾌｧｲﾙ出力ﾌｫﾙﾀﾞ"));

    auto* buttons = new QDialogButtonBox;
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる(&C)"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("closebtn"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(playerserchbtn_, &QPushButton::clicked, this, &Toptionform::playerserchbtnClick);
    connect(serchdir_, &QPushButton::clicked, this, &Toptionform::serchdirClick);
    connect(dirlist_, &QPushButton::clicked, this, &Toptionform::dirlistClick);
    FormShow();
}

Toptionform::Choice Toptionform::makeChoice(const QString& name, const QString& title, const QString& first,
                                            const QString& second, bool Options::*setting) {
    Choice c{new QGroupBox(title), new QRadioButton(first), new QRadioButton(second)};
    c.group->setObjectName(name);
    auto* layout = new QHBoxLayout(c.group);
    layout->addWidget(c.first);
    layout->addWidget(c.second);
    connect(c.first, &QRadioButton::toggled, this, [this, setting](bool on) { options_.*setting = on; });
    return c;
}

QCheckBox* Toptionform::makeCheck(const QString& name, const QString& caption, const QString& hint,
                                  bool Options::*setting) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    box->setToolTip(hint);
    connect(box, &QCheckBox::toggled, this, [this, setting](bool on) { options_.*setting = on; });
    return box;
}

void Toptionform::FormShow() {
    const Options o = options_;  // the controls' signals write back as they are set
    const bool settings[] = {o.coming, o.paletteFront, o.allmapFront, o.chipviewFront, o.parameditFront,
                             o.fieldmanfront};
    for (int i = 0; i < 6; ++i) (settings[i] ? groups_[i].first : groups_[i].second)->setChecked(true);
    CheckBox1_->setChecked(o.showhint);
    CheckBox2_->setChecked(o.tellmsg);
    CheckBox3_->setChecked(o.gridline);
    autoimebox_->setChecked(o.autoime);
    pages_->setCurrentIndex(0);
    serchlabel_->setText(shownFolder(o.serchpath));
    dirlabel_->setText(shownFolder(o.compiledfileout));
    shownSearchFolder_ = o.serchpath;
    showRunnerPath();
}

void Toptionform::showRunnerPath() {
    const QString& path = options_.quilmark;
    runnerspathlabel_->setText(!path.isEmpty() && QFileInfo(path).isFile() ? path : kUnknown);
}

bool Toptionform::searchFolderChanged() const { return options_.serchpath != shownSearchFolder_; }

void Toptionform::playerserchbtnClick() {
    EditorContext& ed = editor();
    if (!ed.files) return;
    const QString path = ed.files->openFile(this, QStringLiteral("シナリオランナーの場所"),
                                            QStringLiteral("シナリオランナー (*)"), QString());
    if (path.isEmpty()) return;
    const QFileInfo file(path);
    if (!file.isFile() || !file.isExecutable()) {
        if (ed.messages) ed.messages->warning(this, path + QStringLiteral("は実行できるファイルではありません。"));
        return;
    }
    options_.quilmark = file.absoluteFilePath();
    showRunnerPath();
}

void Toptionform::serchdirClick() {
    const QString folder = chooseFolder(this, QStringLiteral("ﾘｿｰｽ検索ﾌｫﾙﾀﾞ"), shownFolder(options_.serchpath));
    if (folder.isEmpty()) return;
    // File names are appended to the folder directly.
    options_.serchpath = withTrailingSlash(folder);
    serchlabel_->setText(shownFolder(options_.serchpath));
}

void Toptionform::dirlistClick() {
    const QString folder =
        chooseFolder(this, QStringLiteral("結合ﾌｧｲﾙ出力ﾌｫﾙﾀﾞ"), shownFolder(options_.compiledfileout));
    if (folder.isEmpty()) return;
    options_.compiledfileout = withTrailingSlash(folder);
    dirlabel_->setText(shownFolder(options_.compiledfileout));
}

}  // namespace qrn
