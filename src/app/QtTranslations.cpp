#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace QtTranslations {

bool InstallKorean() {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool base = false;
    // qtbase: buttons, dialogs, text fields; qtwebengine: the web tabs' menus.
    for (const char* catalogue : {"qtbase", "qtwebengine"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (!translator->load(QLocale(QLocale::Korean, QLocale::SouthKorea),
                              QString::fromLatin1(catalogue), QStringLiteral("_"), folder)) {
            delete translator;
            continue;
        }
        QCoreApplication::installTranslator(translator);
        if (qstrcmp(catalogue, "qtbase") == 0)
            base = true;
    }
    return base;
}

} // namespace QtTranslations
