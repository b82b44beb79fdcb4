#include "language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Loads `name` for the locale from the first folder that has it.
void install(const QLocale &locale, const QString &name, const QStringList &folders)
{
    for (const QString &folder : folders) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(locale, name, QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
        delete translator;
    }
}

} // namespace

void installTranslations()
{
    const QLocale locale;
    install(locale, QStringLiteral("qtbase"), {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    // An installed program reads PREFIX/share/brindle/translations, where a
    // language can be added without building Brindle again; the translations
    // built into the program come next.
    install(locale, QStringLiteral("brindle"),
            {QDir(QCoreApplication::applicationDirPath())
                 .filePath(QStringLiteral("../share/brindle/translations")),
             QStringLiteral(":/i18n")});
}
