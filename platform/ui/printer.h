// The printer: one print job at a time on a QPrinter, drawn through the
// canvas (a QPainter) in the printer's device pixels. The program has one
// current printer (Printer()), which the print and printer set-up dialogs
// change; a printer with an output file name prints to PDF, which also works
// without a display.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <memory>

class QPainter;
class QPrinter;

namespace rtl {
class TFileReplacement;
}

namespace ui {

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter &) = delete;
    TPrinter &operator=(const TPrinter &) = delete;

    // Starts a job: false (and no job) when the printer cannot be opened.
    // A job printed to a file is written to a temporary file beside it, one
    // without a name where the file system allows.
    bool BeginDoc();
    // Ends the job and sends it; false when the device reported a failure.
    // A job printed to a file replaces the file only now and only when the
    // whole job was written; on failure the old file stays as it was.
    bool EndDoc();
    // Ends the job without printing the rest; a file being printed to is
    // left as it was.
    void Abort();
    // Starts the next page; false outside a job or when the device refuses.
    bool NewPage();
    bool Printing() const { return FPainter != nullptr; }
    int PageNumber() const { return FPageNumber; } // 1 on the first page, 0 outside a job

    // The canvas of the job in progress; nullptr outside a job.
    QPainter *Canvas() const { return FPainter.get(); }
    // The printable page in device pixels (the canvas's coordinates).
    int PageWidth() const;
    int PageHeight() const;
    int Resolution() const; // device pixels per inch
    // The device pixels per inch of the next job (not while a job runs).
    void SetResolution(int dpi);

    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation orientation);
    QPageSize PageSize() const;
    void SetPageSize(const QPageSize &size);
    QString Title() const; // the job's name
    void SetTitle(const QString &title);
    // A non-empty name sends the output to a PDF file; empty: the printer.
    QString OutputFileName() const;
    void SetOutputFileName(const QString &fileName);
    QString PrinterName() const;

    QPrinter &QtPrinter() { return *FPrinter; }

private:
    // Puts the file name of the job back on the printer and drops the
    // temporary file (when it was not put in place).
    void EndFileJob();

    std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<QPainter> FPainter;
    int FPageNumber = 0;
    QString FJobFile; // the file the running job prints to (empty: a printer)
    std::unique_ptr<rtl::TFileReplacement> FTemp; // where it is written until the job ends
};

// The program's current printer, made on first use and freed with the
// application object.
TPrinter &Printer();

// A canvas font as the class library sizes it: size in points at the given
// pixels per inch, so the pixel height is size * pixelsPerInch / 72 whatever
// the device. A family that does not exist here (such as "FixedSys") falls
// back to a fixed-pitch font when fixedPitch is set.
QFont CanvasFont(const QString &family, int pointSize, int pixelsPerInch, bool fixedPitch = false);

} // namespace ui
