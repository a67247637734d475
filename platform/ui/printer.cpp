#include "platform/ui/printer.h"

#include "platform/rtl/streams.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace ui {

TPrinter::TPrinter() : FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrinter::~TPrinter()
{
    Abort();
}

namespace {

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
        // The job goes to a file beside the one it replaces, without a name
        // where the file system allows (a named one keeps the suffix, so the
        // printer keeps its output format).
        auto temp = std::make_unique<rtl::TFileReplacement>();
        const QString suffix = QFileInfo(FJobFile).suffix();
        int err = 0;
        if (!temp->Begin(QFile::encodeName(FJobFile).toStdString(), err,
                         suffix.isEmpty() ? std::string() : "." + suffix.toStdString())) {
            FJobFile.clear();
            return false;
        }
        FTemp = std::move(temp);
        FPrinter->setOutputFileName(QFile::decodeName(FTemp->Path().c_str()));
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
    FTemp.reset(); // gone unless it was put in place
    FJobFile.clear();
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
    if (ok && FTemp && FPrinter->outputFormat() == QPrinter::PdfFormat)
        ok = EndsWithPdfTrailer(QFile::decodeName(FTemp->Path().c_str()));
    if (ok && FTemp) {
        // Flushed and put in place of the old file in one step.
        int err = 0;
        ok = FTemp->Commit(err);
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
