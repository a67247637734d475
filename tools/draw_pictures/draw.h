// Shared pieces of the picture drawing tool: the writer that stores the
// pictures below the repository and the drawing entry points per group.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

namespace draw {

// Stores pictures below a root folder (the repository) and remembers what it
// wrote; every failure is reported on stderr and makes ok() false.
class Writer {
public:
    explicit Writer(QString root);
    void png(const QString &relativePath, const QImage &image);
    void jpeg(const QString &relativePath, const QImage &image, int quality);
    bool ok() const { return ok_; }
    const QStringList &written() const { return written_; }

private:
    bool prepare(const QString &path);
    QString root_;
    QStringList written_;
    bool ok_ = true;
};

// LCD colours: dark segments on the white display.
inline const QColor kSegment(0x1c, 0x1c, 0x1c);
inline const QColor kDisplay(0xff, 0xff, 0xff);

// A font of the given pixel size from the family the tool draws all labels in.
QFont labelFont(int pixelSize, bool bold, bool condensed);

// The glyphs: index 0..9 the digit, 10..17 blank, 18 (large only) a dash.
QImage largeDigit(int index);
QImage smallDigit(int index);

void drawLcd(Writer &out);   // digits, decimal point, separators, level bar
void drawPanel(Writer &out); // meter front, indicator symbols, title buttons
void drawIcons(Writer &out); // tool bar icons and the program icon

} // namespace draw
