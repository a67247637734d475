#include "platform/ui/printer.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/stat.h>

namespace ui {

TPrinter::TPrinter() : FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrinter::~TPrinter()
{
    Abort();
}

namespace {

// A new, empty file beside fileName for the job to be written to; empty when
// none can be made. It keeps the suffix, so the printer keeps its output
// format when it is given the name.
QString MakeTempBeside(const QString &fileName)
{
    const QFileInfo info(fileName);
    QString pattern =
        info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX");
    if (!info.suffix().isEmpty())
        pattern += QLatin1Char('.') + info.suffix();
    QTemporaryFile temp(pattern);
    temp.setAutoRemove(false);
    if (!temp.open())
        return QString();
    // The file that replaces the old one keeps its permissions (a new one
    // gets those of any new file) rather than the temporary file's 0600.
    struct stat st {};
    mode_t mode;
    if (::stat(QFile::encodeName(fileName).constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(temp.handle(), mode);
    return temp.fileName();
}

// Whether the file ends with the "%%EOF" line that closes a PDF file.
bool EndsWithPdfTrailer(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 6)
        return false;
    file.seek(std::max<qint64>(0, file.size() - 8));
    return file.readAll().trimmed().endsWith("%%EOF");
}

} // namespace

bool TPrinter::BeginDoc()
{
    if (FPainter)
        return false; // one job at a time
    FJobFile = FPrinter->outputFileName();
    if (!FJobFile.isEmpty()) {
        FTempFile = MakeTempBeside(FJobFile);
        if (FTempFile.isEmpty()) {
            FJobFile.clear();
            return false;
        }
        FPrinter->setOutputFileName(FTempFile);
    }
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(FPrinter.get())) {
        EndFileJob();
        return false;
    }
    FPainter = std::move(painter);
    FPageNumber = 1;
    return true;
}

void TPrinter::EndFileJob()
{
    if (FJobFile.isEmpty())
        return;
    FPrinter->setOutputFileName(FJobFile);
    if (!FTempFile.isEmpty())
        QFile::remove(FTempFile);
    FJobFile.clear();
    FTempFile.clear();
}

bool TPrinter::EndDoc()
{
    if (!FPainter)
        return false;
    bool ok = FPainter->end();
    FPainter.reset();
    FPageNumber = 0;
    ok = ok && FPrinter->printerState() != QPrinter::Error;
    // Qt's PDF writer does not check its writes: a file cut short (a full
    // disk) lacks the trailer the writer puts last.
    if (ok && !FJobFile.isEmpty() && FPrinter->outputFormat() == QPrinter::PdfFormat)
        ok = EndsWithPdfTrailer(FTempFile);
    if (ok && !FJobFile.isEmpty()) {
        // rename() replaces the old file in one step.
        ok = std::rename(QFile::encodeName(FTempFile).constData(),
                         QFile::encodeName(FJobFile).constData()) == 0;
        if (ok)
            FTempFile.clear();
    }
    EndFileJob();
    return ok;
}

void TPrinter::Abort()
{
    if (!FPainter)
        return;
    FPrinter->abort();
    FPainter->end();
    FPainter.reset();
    FPageNumber = 0;
    EndFileJob();
}

bool TPrinter::NewPage()
{
    if (!FPainter || !FPrinter->newPage())
        return false;
    ++FPageNumber;
    return true;
}

int TPrinter::PageWidth() const
{
    return static_cast<int>(FPrinter->pageRect(QPrinter::DevicePixel).width());
}

int TPrinter::PageHeight() const
{
    return static_cast<int>(FPrinter->pageRect(QPrinter::DevicePixel).height());
}

int TPrinter::Resolution() const
{
    return FPrinter->resolution();
}

void TPrinter::SetResolution(int dpi)
{
    if (!FPainter && dpi > 0)
        FPrinter->setResolution(dpi);
}

TPrinterOrientation TPrinter::Orientation() const
{
    return FPrinter->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape
                                                                          : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation)
{
    FPrinter->setPageOrientation(orientation == poLandscape ? QPageLayout::Landscape
                                                            : QPageLayout::Portrait);
}

QPageSize TPrinter::PageSize() const
{
    return FPrinter->pageLayout().pageSize();
}

void TPrinter::SetPageSize(const QPageSize &size)
{
    FPrinter->setPageSize(size);
}

QString TPrinter::Title() const
{
    return FPrinter->docName();
}

void TPrinter::SetTitle(const QString &title)
{
    FPrinter->setDocName(title);
}

QString TPrinter::OutputFileName() const
{
    return FJobFile.isEmpty() ? FPrinter->outputFileName() : FJobFile;
}

void TPrinter::SetOutputFileName(const QString &fileName)
{
    if (FPainter)
        return; // not while a job runs
    if (fileName.isEmpty()) {
        FPrinter->setOutputFileName(QString());
        FPrinter->setOutputFormat(QPrinter::NativeFormat);
    } else {
        FPrinter->setOutputFormat(QPrinter::PdfFormat);
        FPrinter->setOutputFileName(fileName);
    }
}

QString TPrinter::PrinterName() const
{
    return FPrinter->printerName();
}

namespace {
TPrinter *gPrinter = nullptr;
void FreePrinter()
{
    delete gPrinter;
    gPrinter = nullptr;
}
} // namespace

TPrinter &Printer()
{
    // Freed with the application object, while the print system is still there.
    if (!gPrinter) {
        gPrinter = new TPrinter;
        qAddPostRoutine(FreePrinter);
    }
    return *gPrinter;
}

QFont CanvasFont(const QString &family, int pointSize, int pixelsPerInch, bool fixedPitch)
{
    QFont font(family);
    if (fixedPitch) {
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        if (!QFontDatabase::families().contains(family, Qt::CaseInsensitive))
            font.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    }
    const int ppi = pixelsPerInch > 0 ? pixelsPerInch : 96;
    const int pixels = static_cast<int>(std::lround(pointSize * ppi / 72.0));
    font.setPixelSize(pixels > 0 ? pixels : 1);
    return font;
}

} // namespace ui
