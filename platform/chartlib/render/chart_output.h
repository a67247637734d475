// The chart's modal dialogs (customise, export, print, maximise, popup menu), printing and
// export of images and text. Every modal step goes through ChartDialogs, so tests answer them
// and nothing blocks; printing and export use the same renderer as the screen.
#pragma once

#include "platform/chartlib/chartlib.h"

#include <QString>

#include <cstdint>

class QDialog;
class QMenu;
class QAction;
class QPoint;
class QPrinter;

namespace ui {
class TPrinter;
}

namespace chartlib {

// The modal prompts of the chart engine.
class ChartDialogs {
public:
    virtual ~ChartDialogs() = default;
    // Runs a dialog the chart built (customise, maximise); true when it was accepted.
    virtual bool ExecDialog(QDialog &dialog) = 0;
    // The print dialog on the printer (the program's current printer); true when confirmed.
    virtual bool ExecPrintDialog(QPrinter &printer) = 0;
    // Prepares the printer for printing without a dialog; false when there is none.
    virtual bool DefaultPrinter(QPrinter &printer) = 0;
    // A save dialog: filter in the class library's form ("PNG image (*.png)|*.png|..."),
    // filterIndex 1-based; fileName in the proposal, out the chosen path. True when confirmed.
    virtual bool SaveFileName(const QString &title, const QString &filter, QString &fileName,
                              int &filterIndex) = 0;
    // Shows a popup menu at a global position; the action chosen or null.
    virtual QAction *ExecMenu(QMenu &menu, const QPoint &globalPos) = 0;
};

// The dialogs in use until SetChartDialogs is called (not owned; null restores it): the
// customise and maximise dialogs and the popup menu are run by Qt, file and print dialogs go
// through the program's UI services (platform/ui) on its current printer.
ChartDialogs &ChartDialogsService();
void SetChartDialogs(ChartDialogs *dialogs);

// The pair of integer arguments some operations take.
struct ChartPair {
    std::int32_t a = 0, b = 0;
};

// The customise dialog: tabs gated by AllowPage1, AllowPage2, AllowSubsetsPage,
// AllowFontPage. OK writes the settings, sets DialogResult (2981) to 1, rebuilds the image and
// repaints; Cancel leaves DialogResult 0. Either way the sink gets the customise notification.
bool ChartCustomizeDialog(HCHART h);
// The same dialog opened on its colour or font tab.
bool ChartColorDialog(HCHART h);
bool ChartFontDialog(HCHART h);
// The export dialog: asks for a file and writes a PNG, JPEG or BMP image or the data as text
// by the kind chosen.
bool ChartExportDialog(HCHART h);
// Asks for a file and writes the data as tab-separated text.
bool ChartTextExportDialog(HCHART h, std::int32_t n, const std::u16string &text);
// The data as text: one line per point, the point number, then X and Y of every subset,
// separated by TAB, lines ending in CR LF.
QString ChartDataText(HCHART h);
// The print dialog. flag 1: the whole page, the library's defaults; flag 0: the pair gives the
// printed width and height in millimetres (a value of 0 or less: the page's).
bool ChartPrintDialog(HCHART h, std::int32_t flag, const ChartPair *pair);
// Prints without a dialog; orientation as DefOrientation (0 driver default, 1 landscape,
// 2 portrait).
bool ChartPrintGraph(HCHART h, std::int32_t, std::int32_t, std::int32_t orientation);
// Prints the chart as one job on the printer, set up as the dialogs left it (used by both
// print operations). A job printed to a file replaces the file only when it finished; a job
// that fails or is aborted leaves an existing file as it was.
bool ChartPrintTo(HCHART h, ui::TPrinter &printer, const ChartPair *sizeMm);

// Images. The pair gives the image size in pixels; 0 or less uses the chart's size. Files are
// written whole or not at all (temporary file, then renamed).
bool ChartBmpToClip(HCHART h, const ChartPair *pair);
bool ChartJpegToClip(HCHART h, const ChartPair *pair);
bool ChartPngToClip(HCHART h, const ChartPair *pair);
bool ChartBmpToFile(HCHART h, const ChartPair *pair, const std::u16string &fileName);
bool ChartJpegToFile(HCHART h, const ChartPair *pair, const std::u16string &fileName);
bool ChartPngToFile(HCHART h, const ChartPair *pair, const std::u16string &fileName);
// Metafiles have no counterpart here: both report failure and write nothing.
bool ChartMetaToClip(HCHART h, const ChartPair *pair);
bool ChartMetaToFile(HCHART h, const ChartPair *pair, const std::u16string &fileName);

// The chart shown alone in a large modal window.
bool ChartMaximize(HCHART h);
// The chart's popup menu (undo zoom, customise, export, maximise, print) at a chart pixel.
bool ChartPopupMenu(HCHART h, const ChartPair *pair);
// Reinitialises the user's customisations (same as ChartReinitialize here).
bool ChartReinitCustoms(HCHART h);
// Ends any zoom and rebuilds the chart from its properties.
bool ChartReset(HCHART h);

} // namespace chartlib
