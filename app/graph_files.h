// Chart files and the preparation of a graph window's chart.
//
// A chart file (".ghf", also the template "template/graph.ghf") is the
// chart's whole state: a signed 32-bit little-endian length N, then the N
// bytes of the chart state block exactly as the chart engine stored it.
// Readers read 4 + N bytes and ignore whatever follows.
//
// SetupGraph prepares a chart for new data: it restores the template when
// there is a readable one (else it applies the default look), then sets the
// data shape, empties every point (X 0.0, Y the null value 9999), and sets
// the scales and the Y label, so a template decides the look but never the
// data, the scales or the Y label.
#pragma once

#include "chart/gxsgraph_types.h"
#include "platform/rtl/datetime.h"

#include <QString>

class GXSGraph;

namespace app {

// The relative name of the template beside the executable.
inline constexpr char kGraphTemplate[] = "template/graph.ghf";
// The template as read: the user's copy when there is one, else the one
// beside the executable (which may not exist).
QString GraphTemplateFile();
// Where the template is written.
QString GraphTemplateTarget();

// Restores the chart from a chart file; a graph window whose chart it is
// then counts its marks on from those the file holds. Raises rtl::EFOpenError when the
// file cannot be opened and rtl::EReadError when it is short, its length is
// out of range or the engine refuses the block as damaged; the chart is left
// as it was then. Nothing is redrawn.
void LoadGraphFile(GXSGraph &chart, const QString &fileName);
// Writes the chart's state to a chart file through a temporary file and a
// rename, so a failed save never replaces a good file. Raises
// rtl::EStreamError when the chart gives no state, rtl::EFCreateError or
// rtl::EWriteError when the file cannot be written.
void SaveGraphFile(GXSGraph &chart, const QString &fileName);

// Writes the chart as the template (GraphTemplateTarget), making its folder
// when missing. Raises rtl::Exception "Cannot create <folder> directory." when
// the folder cannot be made, and the errors of SaveGraphFile.
void SaveGraphTemplate(GXSGraph &chart);

// The built-in look of a new chart (when there is no template or it cannot
// be read). xAxisLabel: the translated "Time".
void ApplyDefaultGraphLook(GXSGraph &chart, const WideString &xAxisLabel);

// Prepares the chart for new data (see above) and redraws it. minimumX 0.0
// leaves the X scale as it was. Returns true when the template was applied.
bool SetupGraph(GXSGraph &chart, int subsets, int points, rtl::TDateTime minimumX,
                rtl::TDateTime maximumX, float minimumY, float maximumY,
                const WideString &xAxisLabel);

} // namespace app
