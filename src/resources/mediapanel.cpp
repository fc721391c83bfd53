#include "resources/mediapanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "services/editorcontext.h"
#include "services/textconv.h"
#include "resources/fileselectform.h"

namespace qrn {

MediaPanel::MediaPanel(ResKind kind, QWidget* parent)
    : ResPanel(kind, kind == ResKind::Bgm ? QStringLiteral("bgm") : QStringLiteral("sound"), parent) {
    const QString prefix = isBgm() ? QStringLiteral("bgm") : QStringLiteral("sound");
    auto* details = new QWidget(this);
    auto* grid = new QGridLayout(details);
    filename_ = new QLabel(details);
    filename_->setObjectName(prefix + QStringLiteral("filename"));
    filename_->setFrameShape(QFrame::Panel);
    filename_->setFrameShadow(QFrame::Sunken);
    file_ = new QPushButton(QStringLiteral("ﾌｧｲﾙ  (&F)"), details);
    file_->setObjectName(prefix + QStringLiteral("filebtn"));
    play_ = new QPushButton(QStringLiteral("(&P)"), details);
    play_->setObjectName(prefix + QStringLiteral("playbtn"));
    play_->setToolTip(QStringLiteral("再生"));
    stop_ = new QPushButton(QStringLiteral("■"), details);
    stop_->setObjectName(prefix + QStringLiteral("stopbtn"));
    stop_->setToolTip(QStringLiteral("停止"));
    for (QPushButton* b : {file_, play_, stop_}) b->setAutoDefault(false);
    grid->addWidget(new QLabel(isBgm() ? QStringLiteral("MIDIﾌｧｲﾙ") : QStringLiteral("WAVﾌｧｲﾙ"), details), 0, 0, 1, 3);
    grid->addWidget(filename_, 1, 0, 1, 3);
    grid->addWidget(file_, 2, 0);
    grid->addWidget(play_, 2, 1);
    grid->addWidget(stop_, 2, 2);
    if (isBgm()) {
        loop_ = new QCheckBox(QStringLiteral("繰り返し再生"), details);
        loop_->setObjectName(QStringLiteral("bgmloop"));
        grid->addWidget(loop_, 3, 0, 1, 3);
        connect(loop_, &QCheckBox::toggled, this, [this](bool on) {
            if (quiet_ || current() < 1 || current() > count()) return;
            editor().scenario.bgm(current()).loop = on ? 1 : 0;
        });
    }
    grid->setRowStretch(4, 1);
    connect(file_, &QPushButton::clicked, this, &MediaPanel::chooseFile);
    connect(play_, &QPushButton::clicked, this, &MediaPanel::play);
    connect(stop_, &QPushButton::clicked, this, &MediaPanel::stop);
    arrange(details);
}

ShortString255* MediaPanel::fileSlot() const {
    const int n = current();
    if (n < 1 || n > count()) return nullptr;
    Scenario& s = editor().scenario;
    return isBgm() ? &s.bgm(n).fileName : &s.sound(n).fileName;
}

void MediaPanel::showDetails() {
    const ShortString255* file = fileSlot();
    const bool has = file && !file->empty();
    filename_->setText(has ? fromCp932(file->view()) : QStringLiteral("未指定"));
    play_->setEnabled(has);
    if (loop_) {
        const bool was = quiet_;
        quiet_ = true;
        loop_->setChecked(file && editor().scenario.bgm(current()).loop != 0);
        quiet_ = was;
    }
}

void MediaPanel::chooseFile() {
    if (!fileSlot()) return;
    const QString file = isBgm() ? Tfileselectform::selectFile(this, QStringLiteral("BGM用のMIDﾌｧｲﾙを選択"), QStringLiteral("*.MID"))
                                 : Tfileselectform::selectFile(this, QStringLiteral("効果音用のWAVﾌｧｲﾙを選択"), QStringLiteral("*.WAV"));
    if (!file.isEmpty()) setFile(file);
}

void MediaPanel::setFile(const QString& fileName) {
    ShortString255* slot = fileSlot();
    if (!slot) return;
    const std::string bytes = toCp932(fileName);
    slot->assign(bytes);
    setResourceName(editor().scenario, kind(), current(), nameFromFileName(slot->view()));
    rewriteLine(current());
    fillName();
    showDetails();
}

void MediaPanel::play() {
    const ShortString255* file = fileSlot();
    EditorContext& ed = editor();
    if (!file || file->empty() || !ed.media) return;
    const QString path = ed.resourcePath(fromCp932(file->view()));
    if (isBgm()) {
        const bool loop = ed.scenario.bgm(current()).loop != 0;
        ed.state.musicLoop = loop;
        ed.media->mediaplay(path, loop);
    } else {
        ed.media->soundplay(path);
    }
}

void MediaPanel::stop() {
    EditorContext& ed = editor();
    ed.state.musicLoop = false;
    if (ed.media) ed.media->mediastop();
}

}  // namespace qrn
