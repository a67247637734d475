// Draws every picture of the program (LCD glyphs, the meter front and its
// symbols, tool bar icons, the program icon) and writes them below the
// repository folder given as the only argument.
#include "draw.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace draw {

Writer::Writer(QString root) : root_(std::move(root)) {}

bool Writer::prepare(const QString &path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        std::fprintf(stderr, "cannot create the folder of %s\n", qPrintable(path));
        ok_ = false;
        return false;
    }
    return true;
}

void Writer::png(const QString &relativePath, const QImage &image)
{
    const QString path = root_ + '/' + relativePath;
    if (!prepare(path))
        return;
    if (!image.save(path, "PNG", 0)) { // 0 = strongest compression
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ok_ = false;
        return;
    }
    written_ << relativePath;
}

void Writer::jpeg(const QString &relativePath, const QImage &image, int quality)
{
    const QString path = root_ + '/' + relativePath;
    if (!prepare(path))
        return;
    if (!image.save(path, "JPEG", quality)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ok_ = false;
        return;
    }
    written_ << relativePath;
}

QFont labelFont(int pixelSize, bool bold, bool condensed)
{
    QFont f(condensed ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

} // namespace draw

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_pictures <repository folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    if (!QFileInfo(root + "/resources").isDir()) {
        std::fprintf(stderr, "%s has no resources folder\n", argv[1]);
        return 2;
    }
    draw::Writer out(root);
    draw::drawLcd(out);
    draw::drawPanel(out);
    draw::drawIcons(out);
    for (const QString &p : out.written())
        std::printf("%s\n", qPrintable(p));
    return out.ok() ? 0 : 1;
}
