// Renders the program's SVG icon to a square PNG of the given size, for the
// icon theme's fixed sizes: render-icon ICON.svg SIZE OUTPUT.png

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: render-icon ICON.svg SIZE OUTPUT.png\n");
        return 2;
    }
    // No display needed: the image is drawn in memory.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const int size = QByteArray(argv[2]).toInt();
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    reader.setScaledSize(QSize(size, size));
    const QImage image = reader.read();
    if (image.isNull() || size <= 0) {
        std::fprintf(stderr, "render-icon: cannot read %s: %s\n", argv[1],
                     qPrintable(reader.errorString()));
        return 1;
    }
    QImageWriter writer(QString::fromLocal8Bit(argv[3]), "png");
    if (!writer.write(image.convertToFormat(QImage::Format_ARGB32))) {
        std::fprintf(stderr, "render-icon: cannot write %s: %s\n", argv[3],
                     qPrintable(writer.errorString()));
        return 1;
    }
    return 0;
}
