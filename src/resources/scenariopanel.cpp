#include "resources/scenariopanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <random>

#include "services/editorcontext.h"
#include "services/imeset.h"
#include "services/shortstringedit.h"
#include "services/textconv.h"
#include "pickers/picturebox.h"
#include "properties/numericedit.h"
#include "properties/pagehelpers.h"
#include "resources/magicedit.h"
#include "scenario/password.h"

namespace qrn {

namespace {

QPushButton* panelButton(const char* name, const char* text, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

ScenarioSettings& settings() { return editor().scenario.settings; }

// A number reference of the settings as get / set functions.
#define QRN_BYTE_REF(field) \
    [] { return static_cast<int>(settings().field); }, [](int v) { settings().field = static_cast<u8>(v); }
#define QRN_COMMENT_REF(field) \
    [] { return static_cast<int>(settings().field); }, [](int v) { settings().field = static_cast<i16>(v); }

}  // namespace

ScenarioPanel::ScenarioPanel(Tmagicedit& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("scenariopanel"));
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("scenariocontrol"));
    top->addWidget(pages_);
    auto sheet = [this](const char* name, const char* caption) {
        auto* w = new QWidget(pages_);
        w->setObjectName(QString::fromLatin1(name));
        pages_->addTab(w, QString::fromUtf8(caption));
        auto* g = new QGridLayout(w);
        g->setVerticalSpacing(2);
        return std::pair<QWidget*, QGridLayout*>{w, g};
    };
    using R = Reference;

    // project
    auto [p1, g1] = sheet("projectsheet", "ﾌﾟﾛｼﾞｪｸﾄ");
    auto textRow = [&](int row, const char* caption, const char* name, int capacity) {
        auto* l = new QLabel(QString::fromUtf8(caption), p1);
        auto* e = new ShortStringEdit(capacity, p1);
        e->setObjectName(QString::fromLatin1(name));
        l->setBuddy(e);
        g1->addWidget(l, row, 0);
        g1->addWidget(e, row, 1, 1, 3);
        imesetOnEnter(e);
        return e;
    };
    name_ = textRow(0, "シナリオ名(&S)", "scenarioname", 32);
    designer_ = textRow(1, "ｼﾅﾘｵ著作権者(&D)", "scdesigner", 32);
    g1->addWidget(new QLabel(QStringLiteral("実行ﾊﾟｽﾜｰﾄﾞ"), p1), 2, 0);
    password_ = new QLabel(QStringLiteral("-"), p1);
    password_->setObjectName(QStringLiteral("scplaypassword"));
    password_->setFrameShape(QFrame::StyledPanel);
    password_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    length_ = new QLabel(p1);
    length_->setObjectName(QStringLiteral("lengthlabel"));
    QPushButton* passwordSet = panelButton("scplaypasswordset", "設定(&P)", p1);
    QPushButton* passwordDel = panelButton("scplaypassworddel", "削除(&X)", p1);
    g1->addWidget(password_, 2, 1);
    g1->addWidget(length_, 2, 2);
    auto* pwButtons = new QHBoxLayout;
    pwButtons->addWidget(passwordSet);
    pwButtons->addWidget(passwordDel);
    g1->addLayout(pwButtons, 3, 1, 1, 3);
    doller_ = textRow(4, "通貨単位(&G)", "scdoller", 16);
    auto* saleLabel = new QLabel(QStringLiteral("ｱｲﾃﾑ買い取り相場(&B)"), p1);
    salebyEdit_ = new NumericEdit(numericedits::scsaleby(), p1);
    salebyEdit_->setObjectName(QStringLiteral("scsalebyedit"));
    salebyEdit_->setMaxLength(3);
    saleby_ = upDownButtons(QStringLiteral("scsaleby"), 0, 100, p1);
    saleLabel->setBuddy(salebyEdit_);
    g1->addWidget(saleLabel, 5, 0);
    g1->addWidget(salebyEdit_, 5, 1);
    g1->addWidget(saleby_, 5, 2);
    auto* refGrid = new QGridLayout;
    g1->addLayout(refGrid, 6, 0, 1, 4);
    addReference({R::WalkImage, "scdefwalkimg", {}, nullptr, QRN_BYTE_REF(scdefwalkimg),
                  QStringLiteral("のﾃﾞﾌｫﾙﾄのｳｫｰｸｲﾒｰｼﾞを一つ選択"), true},
                 refGrid, 0, p1, QStringLiteral("ﾃﾞﾌｫﾙﾄｳｫｰｸｲﾒｰｼﾞ(&I)"));
    walkPic_ = new PictureBox(QStringLiteral("scwalkimgpic"), p1);
    refGrid->addWidget(walkPic_, 0, 3);
    addReference({R::Comment, "scgameover", {}, nullptr, QRN_COMMENT_REF(scgameover),
                  QStringLiteral("のｹﾞｰﾑｵｰﾊﾞｰｺﾒﾝﾄを一つ選択"), true},
                 refGrid, 1, p1, QStringLiteral("ｹﾞｰﾑｵｰﾊﾞｰｺﾒﾝﾄ(&E)"));
    addReference({R::Bitmap, "scopeningbmp", {}, [](Scenario& s) { return &s.settings.scopeningbmp; }, {}, {}, {}},
                 refGrid, 2, p1, QStringLiteral("ｵｰﾌﾟﾆﾝｸﾞｲﾒｰｼﾞ(&O)"));
    addReference({R::Bitmap, "scwallbmp", {}, [](Scenario& s) { return &s.settings.scwallbmp; }, {}, {}, {}}, refGrid,
                 3, p1, QStringLiteral("ﾊﾟﾈﾙｲﾒｰｼﾞ(&P)"));
    addReference({R::Bgm, "scopeningbgm", {}, nullptr, QRN_BYTE_REF(scopeningbgm),
                  QStringLiteral("のｵｰﾌﾟﾆﾝｸﾞBGMを一つ選択")},
                 refGrid, 4, p1, QStringLiteral("ｵｰﾌﾟﾆﾝｸﾞBGM(&B)"));
    g1->setRowStretch(7, 1);

    // title and ending: five pictures, the music, the prologue / epilogue and five comment pages
    ShortString255* (*const titleFiles[5])(Scenario&) = {
        [](Scenario& s) { return &s.settings.titleBitmaps[0]; }, [](Scenario& s) { return &s.settings.titleBitmaps[1]; },
        [](Scenario& s) { return &s.settings.titleBitmaps[2]; }, [](Scenario& s) { return &s.settings.titleBitmaps[3]; },
        [](Scenario& s) { return &s.settings.titleBitmaps[4]; }};
    ShortString255* (*const endingFiles[5])(Scenario&) = {
        [](Scenario& s) { return &s.settings.endingBitmaps[0]; },
        [](Scenario& s) { return &s.settings.endingBitmaps[1]; },
        [](Scenario& s) { return &s.settings.endingBitmaps[2]; },
        [](Scenario& s) { return &s.settings.endingBitmaps[3]; },
        [](Scenario& s) { return &s.settings.endingBitmaps[4]; }};
    const char* const screens[] = {"画面１ (&1)", "画面２  (&2)", "画面３  (&3)", "画面４  (&4)", "画面５  (&5)"};
    const char* const pagesCaptions[] = {"ﾍﾟｰｼﾞ１  (&C)", "ﾍﾟｰｼﾞ２  (&D)", "ﾍﾟｰｼﾞ３  (&E)", "ﾍﾟｰｼﾞ４  (&F)",
                                         "ﾍﾟｰｼﾞ５  (&G)"};
    const char* const fullWidth[] = {"１", "２", "３", "４", "５"};
    for (int ending = 0; ending <= 1; ++ending) {
        auto [page, grid] = ending ? sheet("endingsheet", "ｴﾝﾃﾞｨﾝｸﾞ") : sheet("titlesheet", "ﾀｲﾄﾙ");
        const QString prefix = ending ? QStringLiteral("ending") : QStringLiteral("title");
        int row = 0;
        for (int k = 0; k < 5; ++k) {
            QString caption = QString::fromUtf8(screens[k]);
            if (ending && k == 0) caption = QStringLiteral("画面１  (&1)");
            addReference({R::Bitmap, prefix + QStringLiteral("bmp%1").arg(k + 1), {},
                          ending ? endingFiles[k] : titleFiles[k], {}, {}, {}},
                         grid, row++, page, caption);
        }
        if (ending)
            addReference({R::Bgm, "endingbgm", {}, nullptr, QRN_BYTE_REF(endingBgm),
                          QStringLiteral("のｴﾝﾃﾞｨﾝｸﾞBGMを一つ選択")},
                         grid, row++, page, QStringLiteral("ｴﾝﾃﾞｨﾝｸﾞBGM(&B)"));
        else
            addReference({R::Bgm, "titlebgm", {}, nullptr, QRN_BYTE_REF(titleBgm), QStringLiteral("のﾀｲﾄﾙBGMを一つ選択")},
                         grid, row++, page, QStringLiteral("ﾀｲﾄﾙBGM (&B)"));
        if (ending)
            addReference({R::Comment, "epiloguecomment", {}, nullptr, QRN_COMMENT_REF(epilogueComment),
                          QStringLiteral("のｴﾋﾟﾛｰｸﾞｺﾒﾝﾄを一つ選択")},
                         grid, row++, page, QStringLiteral("ｴﾋﾟﾛｰｸﾞｺﾒﾝﾄ(&L)"));
        else
            addReference({R::Comment, "prologuecomment", {}, nullptr, QRN_COMMENT_REF(prologueComment),
                          QStringLiteral("のﾌﾟﾛﾛｰｸﾞｺﾒﾝﾄを一つ選択"), true},
                         grid, row++, page, QStringLiteral("ﾌﾟﾛﾛｰｸﾞｺﾒﾝﾄ(&P)"));
        for (int k = 0; k < 5; ++k) {
            Reference r{R::Comment, prefix + QStringLiteral("comment%1").arg(k + 1), {}, nullptr, {}, {}, {}, false};
            if (ending) {
                r.get = [k] { return static_cast<int>(settings().endingComments[k]); };
                r.set = [k](int v) { settings().endingComments[k] = static_cast<i16>(v); };
                r.suffix = QStringLiteral("のｴﾝﾃﾞｨﾝｸﾞｺﾒﾝﾄの") + QString::fromUtf8(fullWidth[k]) +
                           QStringLiteral("ﾍﾟｰｼﾞ目を一つ選択");
            } else {
                r.get = [k] { return static_cast<int>(settings().titleComments[k]); };
                r.set = [k](int v) { settings().titleComments[k] = static_cast<i16>(v); };
                r.suffix = QStringLiteral("のﾀｲﾄﾙｺﾒﾝﾄの") + QString::fromUtf8(fullWidth[k]) +
                           QStringLiteral("ﾍﾟｰｼﾞ目を一つ選択");
            }
            addReference(std::move(r), grid, row++, page, QString::fromUtf8(pagesCaptions[k]));
        }
        grid->setRowStretch(row, 1);
    }

    // music
    auto [p4, g4] = sheet("bgmsheet", "BGM");
    addReference({R::Bgm, "battlebgm", {}, nullptr, QRN_BYTE_REF(battleBgm), QStringLiteral("のﾃﾞﾌｫﾙﾄの戦闘中のBGMを一つ選択")},
                 g4, 0, p4, QStringLiteral("戦闘中のBGM  (&B)"));
    addReference({R::Bgm, "battleendbgm", {}, nullptr, QRN_BYTE_REF(battleEndBgm), QStringLiteral("の戦闘終了BGMを一つ選択")},
                 g4, 1, p4, QStringLiteral("戦闘終了BGM  (&E)"));
    addReference({R::Bgm, "levelupbgm", {}, nullptr, QRN_BYTE_REF(levelupBgm), QStringLiteral("のﾚﾍﾞﾙｱｯﾌﾟBGMを一つ選択")},
                 g4, 2, p4, QStringLiteral("ﾚﾍﾞﾙｱｯﾌﾟBGM  (&L)"));
    addReference({R::Bgm, "gameoverbgm", {}, nullptr, QRN_BYTE_REF(gameoverBgm), QStringLiteral("のｹﾞｰﾑｵｰﾊﾞｰBGMを一つ選択")},
                 g4, 3, p4, QStringLiteral("ｹﾞｰﾑｵｰﾊﾞｰBGM  (&G)"));
    g4->setRowStretch(4, 1);

    // sounds
    auto [p5, g5] = sheet("soundsheet", "効果音");
    addReference({R::Sound, "wonderingsound", {}, nullptr, QRN_BYTE_REF(wonderingSound),
                  QStringLiteral("で敵と遭遇時の効果音を一つ選択")},
                 g5, 0, p5, QStringLiteral("敵遭遇効果音  (&E)"));
    addReference({R::Sound, "attacksound", {}, nullptr, QRN_BYTE_REF(attackSound),
                  QStringLiteral("で敵に打撃を与えた時のﾃﾞﾌｫﾙﾄの効果音を一つ選択")},
                 g5, 1, p5, QStringLiteral("打撃効果音    (&A)"));
    addReference({R::Sound, "damagesound", {}, nullptr, QRN_BYTE_REF(damageSound),
                  QStringLiteral("でﾀﾞﾒｰｼﾞを受けた時のﾃﾞﾌｫﾙﾄの効果音を一つ選択")},
                 g5, 2, p5, QStringLiteral("ﾀﾞﾒｰｼﾞ効果音  (&D)"));
    addReference({R::Sound, "magicsound", {}, nullptr, QRN_BYTE_REF(magicSound),
                  QStringLiteral("で魔法使用時のﾃﾞﾌｫﾙﾄの効果音を一つ選択")},
                 g5, 3, p5, QStringLiteral("魔法効果音    (&M)"));
    addReference({R::Sound, "itemsound", {}, nullptr, QRN_BYTE_REF(itemSound),
                  QStringLiteral("でｱｲﾃﾑ使用時のﾃﾞﾌｫﾙﾄの効果音を一つ選択")},
                 g5, 4, p5, QStringLiteral("ｱｲﾃﾑ使用効果音(&I)"));
    g5->setRowStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    top->addLayout(buttons);
    QPushButton* pageChange = panelButton("scpagechangebtn", "ﾍﾟｰｼﾞ切替(&W)", this);
    QPushButton* close = panelButton("scenariolistclose", "閉じる(&C)", this);
    buttons->addWidget(pageChange);
    buttons->addStretch();
    buttons->addWidget(close);

    // wiring
    auto textStore = [this](ShortStringEdit* box, auto slot) {
        connect(box, &QLineEdit::textChanged, this, [this, box, slot] {
            if (!showing_) slot(settings()).assign(box->bytes());
        });
    };
    textStore(name_, [](ScenarioSettings& st) -> ShortString32& { return st.scenarioname; });
    textStore(designer_, [](ScenarioSettings& st) -> ShortString32& { return st.scdesigner; });
    textStore(doller_, [](ScenarioSettings& st) -> ShortString16& { return st.scdoller; });
    salebyEdit_->stored = [this] { return QString::number(settings().scsaleby); };
    salebyEdit_->store = [this](std::int64_t v) {
        settings().scsaleby = static_cast<u8>(v);
        const bool was = showing_;
        showing_ = true;
        saleby_->setValue(static_cast<int>(v));
        showing_ = was;
    };
    connect(saleby_, &QSpinBox::valueChanged, this, [this](int v) {
        if (showing_) return;
        settings().scsaleby = static_cast<u8>(v);
        salebyEdit_->showText(QString::number(v));
    });
    connect(passwordSet, &QPushButton::clicked, this, &ScenarioPanel::passwordsetClick);
    connect(passwordDel, &QPushButton::clicked, this, &ScenarioPanel::passworddelClick);
    connect(pageChange, &QPushButton::clicked, this, &ScenarioPanel::scpagechangebtnClick);
    connect(close, &QPushButton::clicked, this, &ScenarioPanel::scenariolistcloseClick);
    connect(pages_, &QTabWidget::currentChanged, this, [this] { scenarioview(); });
}

#undef QRN_BYTE_REF
#undef QRN_COMMENT_REF

void ScenarioPanel::addReference(Reference r, QGridLayout* grid, int row, QWidget* page, const QString& caption) {
    const QString extra = r.kind == Reference::Bitmap                                  ? QStringLiteral("表示")
                          : (r.kind == Reference::Bgm || r.kind == Reference::Sound) ? QStringLiteral("♪")
                                                                                     : QString();
    r.row = addRefRow(grid, row, r.name, caption, extra, page);
    const QString name = r.name;
    connect(r.row.set, &QPushButton::clicked, this, [this, name] { referenceSetClick(name); });
    connect(r.row.del, &QPushButton::clicked, this, [this, name] { referenceDelClick(name); });
    if (r.row.extra) connect(r.row.extra, &QPushButton::clicked, this, [this, name] { referenceExtraClick(name); });
    refs_.push_back(std::move(r));
}

const ScenarioPanel::Reference* ScenarioPanel::reference(const QString& name) const {
    for (const Reference& r : refs_)
        if (r.name == name) return &r;
    return nullptr;
}

QString ScenarioPanel::heading(const Reference& r) const {
    return QStringLiteral("：") +
           quotedName(fromCp932(settings().scenarioname.view()), QStringLiteral("このｼﾅﾘｵ"), r.quoteDefault) + r.suffix;
}

void ScenarioPanel::showReference(const Reference& r) {
    switch (r.kind) {
    case Reference::Bitmap: {
        const ShortString255& file = *r.file(editor().scenario);
        r.row.show(fileRefName(file), !file.empty());
        break;
    }
    case Reference::Bgm: r.row.show(bgmRefName(r.get()), r.get() != 0); break;
    case Reference::Sound: r.row.show(soundRefName(r.get()), r.get() != 0); break;
    case Reference::Comment: r.row.show(commentRefName(r.get()), r.get() > 0); break;
    case Reference::WalkImage: {
        const int n = r.get();
        r.row.show(walkImageRefName(n), n != 0);
        EditorContext& ctx = editor();
        const bool hasPicture = n >= 1 && n <= kWalkImgCount && !ctx.scenario.walkImageFiles[n - 1][0].empty();
        walkPic_->setIndex(hasPicture ? ctx.side.pictures.walk[n][1] : 0);
        break;
    }
    }
}

void ScenarioPanel::referenceSetClick(const QString& name) {
    const Reference* r = reference(name);
    if (!r) return;
    std::optional<int> n;
    switch (r->kind) {
    case Reference::Bitmap: {
        SettingsHooks& hooks = owner_.hooks();
        if (!hooks.chooseImage) break;
        const std::optional<QString> file = hooks.chooseImage(false);
        if (file && !file->isEmpty()) storeImageFile(*r->file(editor().scenario), *file);
        break;
    }
    case Reference::Bgm: n = chooseResourceEntry(ResourceKind::Bgm, heading(*r), r->get(), 0, kBgmCount); break;
    case Reference::Sound: n = chooseResourceEntry(ResourceKind::Sound, heading(*r), r->get(), 0, kSoundCount); break;
    case Reference::Comment:
        n = chooseResourceEntry(ResourceKind::Comment, heading(*r), r->get(), 1, kCommentCount);
        break;
    case Reference::WalkImage:
        n = chooseResourceEntry(ResourceKind::WalkImage, heading(*r), r->get(), 1, kWalkImgCount);
        break;
    }
    if (n) r->set(*n);
    scenarioview();
}

void ScenarioPanel::referenceDelClick(const QString& name) {
    const Reference* r = reference(name);
    if (!r) return;
    if (r->kind == Reference::Bitmap) r->file(editor().scenario)->clear();
    else r->set(0);
    scenarioview();
}

void ScenarioPanel::referenceExtraClick(const QString& name) {
    const Reference* r = reference(name);
    if (!r) return;
    switch (r->kind) {
    case Reference::Bitmap: {
        const ShortString255& file = *r->file(editor().scenario);
        SettingsHooks& hooks = owner_.hooks();
        if (!file.empty() && hooks.showLarge) hooks.showLarge(fromCp932(file.view()), owner_.geometry().topLeft());
        break;
    }
    case Reference::Bgm: playBgm(r->get()); break;
    case Reference::Sound: playSound(r->get()); break;
    default: break;
    }
}

void ScenarioPanel::makescenariolist() {
    if (pages_->currentIndex() != 0) pages_->setCurrentIndex(0);  // shows the page
    scenarioview();
}

void ScenarioPanel::scpagechangebtnClick() { pages_->setCurrentIndex((pages_->currentIndex() + 1) % pages_->count()); }

void ScenarioPanel::scenarioview() {
    showing_ = true;
    const ScenarioSettings& st = settings();
    name_->setBytes(st.scenarioname.view());
    designer_->setBytes(st.scdesigner.view());
    doller_->setBytes(st.scdoller.view());
    if (st.scplaypassword.empty()) {
        password_->setText(QStringLiteral("-"));
        length_->hide();
    } else {
        password_->setText(fromCp932(st.scplaypassword.view()));
        length_->setText(QString::number(st.scplaypassword.length()) + QStringLiteral("文字"));
        length_->show();
    }
    salebyEdit_->showText(QString::number(st.scsaleby));
    saleby_->setValue(st.scsaleby);
    for (const Reference& r : refs_) showReference(r);
    showing_ = false;
}

void ScenarioPanel::passwordsetClick() {
    std::random_device device;
    const std::string word = generatePassword([&device](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(device);
    });
    settings().scplaypassword.assign(word);
    scenarioview();
}

void ScenarioPanel::passworddelClick() {
    settings().scplaypassword.clear();
    scenarioview();
}

void ScenarioPanel::scenariolistcloseClick() {
    EditorContext& ctx = editor();
    if (!settings().scplaypassword.empty() && ctx.messages)
        ctx.messages->warning(this, QStringLiteral(
                                        "実行ﾊﾟｽﾜｰﾄﾞが設定されています。このｼﾅﾘｵをｼﾅﾘｵﾗﾝﾅｰで実行する際にはこのﾊﾟｽﾜｰﾄﾞの入力が"
                                        "必要になります。必ずﾒﾓに取るなどして保管しておいて下さい。"));
    owner_.accept();
}

}  // namespace qrn
