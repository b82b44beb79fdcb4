#include "images.h"

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
    return QIcon(QStringLiteral(":/icons/") + name);
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

std::vector<QIcon> taskImages()
{
    std::vector<QIcon> images;
    for (int i = 0; i < 22; ++i)
        images.push_back(
            fromResource(QStringLiteral("task%1.svg").arg(i, 2, 10, QLatin1Char('0'))));
    return images;
}

std::vector<QIcon> folderImages()
{
    return {fromResource(QStringLiteral("folder0.svg")),
            fromResource(QStringLiteral("folder1.svg")),
            fromResource(QStringLiteral("folder2.svg"))};
}

} // namespace ui
