// What a test printed to a PDF file, read back through poppler's tools
// (poppler-utils: pdfinfo, pdftotext, pdftoppm): the page count, the title, a
// page's text and its words with their places, a page as a picture and where
// its ink lies.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace testsupport {

// The tool's standard output; empty when it is missing or fails.
inline QByteArray RunPdfTool(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return QByteArray();
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}

inline bool PdfToolsInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

// 0 when the file is no readable PDF.
inline int PdfPageCount(const QString &pdf)
{
    const QString info = QString::fromUtf8(RunPdfTool(QStringLiteral("pdfinfo"), {pdf}));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(info);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The text of page (1-based), laid out as on the page, one line per line.
inline QStringList PdfPageLines(const QString &pdf, int page)
{
    const QString p = QString::number(page);
    const QString text = QString::fromUtf8(RunPdfTool(
        QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), p,
                                      QStringLiteral("-l"), p, pdf, QStringLiteral("-")}));
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed().remove(QLatin1Char('\f'));
        if (!trimmed.isEmpty())
            lines << trimmed.simplified();
    }
    return lines;
}

// A word of a page and where it lies, in points from the page's top left.
struct TPdfWord {
    QString Text;
    double Left = 0;
    double Top = 0;
};

inline std::vector<TPdfWord> PdfPageWords(const QString &pdf, int page)
{
    const QString p = QString::number(page);
    const QString html = QString::fromUtf8(RunPdfTool(
        QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), p,
                                      QStringLiteral("-l"), p, pdf, QStringLiteral("-")}));
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    std::vector<TPdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.push_back({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return words;
}

// Page (1-based) as a picture at dpi dots per inch; null when it fails.
inline QImage PdfPageImage(const QString &pdf, int page, int dpi)
{
    QTemporaryDir dir;
    const QString p = QString::number(page);
    const QString stem = dir.filePath(QStringLiteral("page"));
    RunPdfTool(QStringLiteral("pdftoppm"),
               {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                QStringLiteral("-f"), p, QStringLiteral("-l"), p, QStringLiteral("-singlefile"),
                pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

// The document's title as pdfinfo reads it; empty when it has none.
inline QString PdfTitle(const QString &pdf)
{
    const QString info = QString::fromUtf8(RunPdfTool(QStringLiteral("pdfinfo"), {pdf}));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Title:\\s+(.*)$"), QRegularExpression::MultilineOption)
            .match(info);
    return m.hasMatch() ? m.captured(1) : QString();
}

// The smallest rectangle of a page picture that holds every pixel that is not
// white; empty for a blank page.
inline QRect InkBounds(const QImage &page)
{
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) != qRgb(255, 255, 255))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

} // namespace testsupport
