#include "images.h"

#include <QFile>

// The images are compiled into this static library; register them once.
static void registerImages()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)registered;
}

namespace ui {

namespace {

QIcon fromResource(const QString &name)
{
    registerImages();
    const QString path = QStringLiteral(":/icons/") + name;
    // A misspelt name would show as an empty space: catch it in debug builds.
    Q_ASSERT_X(QFile::exists(path), "ui::fromResource", qPrintable(path));
    return QIcon(path);
}

} // namespace

QIcon programIcon()
{
    return fromResource(QStringLiteral("brindle.svg"));
}

QIcon glyph(const char *name)
{
    QIcon icon = fromResource(QString::fromLatin1(name) + QStringLiteral(".svg"));
    if (qstrcmp(name, "undo") == 0) {
        const QString disabled = QStringLiteral(":/icons/undo-disabled.svg");
        for (const int size : {16, 24, 32, 48})
            icon.addFile(disabled, QSize(size, size), QIcon::Disabled);
    }
    return icon;
}

QIcon taskIcon(const char *name)
{
    return fromResource(QStringLiteral("tasks/") + QString::fromLatin1(name)
                        + QStringLiteral(".svg"));
}

std::vector<QIcon> folderIcons()
{
    return {fromResource(QStringLiteral("folder.svg")),
            fromResource(QStringLiteral("folder-new.svg")),
            fromResource(QStringLiteral("folder-existing.svg"))};
}

} // namespace ui
