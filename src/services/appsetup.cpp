#include "services/appsetup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

static void initIconResources() { Q_INIT_RESOURCE(appicon); }

namespace qrn {

namespace {

// The system names a language "ja-JP"; the translation files "ja_JP".
QString languageOf(const QString& uiLanguage) {
    QString name = uiLanguage;
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    return name;
}

}  // namespace

QString installQtTranslation(QApplication& app) {
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QStringList candidates;
    for (const QString& ui : QLocale::system().uiLanguages()) {
        const QString name = languageOf(ui);
        if (name.startsWith(QLatin1String("en")) || name == QLatin1String("C")) continue;
        candidates << name;
        const QString language = name.section(QLatin1Char('_'), 0, 0);
        if (language != name) candidates << language;
    }
    candidates << QStringLiteral("ja");
    for (const QString& name : candidates) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QStringLiteral("qtbase_") + name, folder)) {
            QCoreApplication::installTranslator(translator);
            installed = translator;
            return name;
        }
        delete translator;
    }
    return {};
}

void setUpApplication(QApplication& app) {
    // The window class is read once, when the first window is made.
    QCoreApplication::setApplicationName(QStringLiteral("quorantel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("quorantel"));
    initIconResources();
    QIcon icon(QStringLiteral(":/icon/quorantel.svg"));
    if (!icon.pixmap(32, 32).isNull()) QApplication::setWindowIcon(icon);
    installQtTranslation(app);
}

}  // namespace qrn
