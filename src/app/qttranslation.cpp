#include "app/qttranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtRussian(QCoreApplication& app)
{
    const QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                              QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
    auto* translator = new QTranslator(&app);
    for (const QString& folder : folders) {
        // "qtbase" holds the dialogs' texts; a copy may carry only it, without the "qt" catalogue.
        for (const QString& name : {QStringLiteral("qt_ru"), QStringLiteral("qtbase_ru")}) {
            if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
                return true;
        }
    }
    delete translator;
    return false;
}
