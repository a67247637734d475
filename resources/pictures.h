// Resource paths of the program's pictures, embedded by nivora_resources.
// Every picture is reached through QFile/QImage/QPixmap with these paths;
// README.md lists each picture with its size and meaning.
#pragma once

#include <QString>

namespace pictures {

// LCD glyph sets: entries 0..9 are the digits, 10..17 blank. "LCD18" (a
// dash) exists among the resources but is not part of the set.
inline constexpr int kGlyphCount = 18;
inline constexpr int kLargeGlyphWidth = 30, kLargeGlyphHeight = 51;
inline constexpr int kSmallGlyphWidth = 9, kSmallGlyphHeight = 15;

// Path of the PNG picture of the front panel with the given resource name:
// "LCD0".."LCD18", "LCDS0".."LCDS17", "point", "level_bar", ... (README.md).
// An unknown name gives a path that does not exist.
QString resourcePath(const QString &name);

// ":/panel/LCD<n>.png" and ":/panel/LCDS<n>.png".
QString largeGlyphPath(int n);
QString smallGlyphPath(int n);

// The meter front, 279 x 618, a JPEG (decoded by the panel through libjpeg).
inline constexpr char kPanelFront[] = ":/panel/panel.jpg";
// Fixed display pieces (opaque, on the display's white).
inline constexpr char kDecimalPoint[] = ":/panel/point.png"; // 9 x 13, imgPoint
inline constexpr char kClockColon[] = ":/panel/colon.png";   // 5 x 8, Image1, Image2
inline constexpr char kDateDash[] = ":/panel/date_dash.png"; // 3 x 2, Image16, Image17
inline constexpr char kLevelBar[] = ":/panel/level_bar.png"; // 154 x 22, imgColorBar
// Indicator symbols (transparent ground).
inline constexpr char kRecStart[] = ":/panel/rec_start.png"; // 11 x 11, imgStart
inline constexpr char kRecPause[] = ":/panel/rec_pause.png"; // 11 x 11, imgPause
inline constexpr char kRecStop[] = ":/panel/rec_stop.png";   // 11 x 11, imgStop
inline constexpr char kModeSpl[] = ":/panel/spl.png";        // 26 x 12, imgSPL
inline constexpr char kModeLeq[] = ":/panel/leq.png";        // 26 x 12, imgLEQ
inline constexpr char kUnder[] = ":/panel/under.png";        // 36 x 11, imgUNDER
inline constexpr char kOver[] = ":/panel/over.png";          // 30 x 11, imgOVER
inline constexpr char kBattery[] = ":/panel/battery.png";    // 19 x 9, imgBat
// Faces of the panel's two title-bar buttons, 16 x 14.
inline constexpr char kPanelMinimise[] = ":/panel/minimise.png"; // SpeedButton1
inline constexpr char kPanelClose[] = ":/panel/close.png";       // SpeedButton2

// Main window tool bar, 20 x 20 each.
inline constexpr char kToolOpen[] = ":/toolbar/open.png";                     // SpeedButton1
inline constexpr char kToolSave[] = ":/toolbar/save.png";                     // SpeedButton2
inline constexpr char kToolPrint[] = ":/toolbar/print.png";                   // btnPrint
inline constexpr char kToolDataLogger[] = ":/toolbar/data_logger.png";        // btnDataLogger
inline constexpr char kToolOutputToGraph[] = ":/toolbar/output_to_graph.png"; // btnOutputToGraph
inline constexpr char kToolRun[] = ":/toolbar/run.png";                       // btnRun
inline constexpr char kToolStop[] = ":/toolbar/stop.png";                     // btnStop
inline constexpr char kToolHelp[] = ":/toolbar/help.png";                     // SpeedButton8

// Graph window tool bar, 20 x 20 each.
inline constexpr char kGraphStatistics[] = ":/graph/statistics.png";              // ToolButton1
inline constexpr char kGraphCursorStatistics[] = ":/graph/cursor_statistics.png"; // ToolButton2
inline constexpr char kGraphNormalCursor[] = ":/graph/normal_cursor.png";         // ToolButton4
inline constexpr char kGraphText[] = ":/graph/text.png";                          // ToolButton9
inline constexpr char kGraphCross[] = ":/graph/cross.png";                        // ToolButton5
inline constexpr char kGraphErase[] = ":/graph/erase.png";                        // ToolButton13
inline constexpr char kGraphUndoZoom[] = ":/graph/undo_zoom.png";                 // UndoZoom
inline constexpr char kGraphColor[] = ":/graph/color.png";                        // ToolButton6
inline constexpr char kGraphMonochrome[] = ":/graph/monochrome.png";              // ToolButton7
inline constexpr char kGraphClear[] = ":/graph/clear.png";                        // tbntClr

// The program icon, 64 x 64 (window icon).
inline constexpr char kProgramIcon[] = ":/app/nivora.png";

} // namespace pictures
