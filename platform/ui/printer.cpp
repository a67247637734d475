#include "platform/ui/printer.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace ui {

TPrinter::TPrinter() : FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrinter::~TPrinter()
{
    if (FPainter)
        FPainter->end();
}

bool TPrinter::BeginDoc()
{
    if (FPainter)
        return false; // one job at a time
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(FPrinter.get()))
        return false;
    FPainter = std::move(painter);
    FPageNumber = 1;
    return true;
}

bool TPrinter::EndDoc()
{
    if (!FPainter)
        return false;
    const bool ok = FPainter->end();
    FPainter.reset();
    FPageNumber = 0;
    return ok && FPrinter->printerState() != QPrinter::Error;
}

void TPrinter::Abort()
{
    if (!FPainter)
        return;
    FPrinter->abort();
    FPainter->end();
    FPainter.reset();
    FPageNumber = 0;
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
    return FPrinter->outputFileName();
}

void TPrinter::SetOutputFileName(const QString &fileName)
{
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
