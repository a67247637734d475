// Property ids the renderer reads (besides those of chart_ids.h). The names are the chart
// control's property names.
#pragma once

#include <cstdint>

namespace chartlib::rprop {

// Titles, legend and fonts.
constexpr std::int32_t MainTitle = 2105;
constexpr std::int32_t SubTitle = 2110;
constexpr std::int32_t SubsetLabels = 2125;
constexpr std::int32_t FontSize = 2435; // eFontSize: 0 large, 1 medium, 2 small
constexpr std::int32_t MainTitleFont = 2445;
constexpr std::int32_t MainTitleBold = 2450;
constexpr std::int32_t MainTitleItalic = 2455;
constexpr std::int32_t MainTitleUnderline = 2460;
constexpr std::int32_t SubTitleFont = 2485;
constexpr std::int32_t SubTitleBold = 2490;
constexpr std::int32_t SubTitleItalic = 2495;
constexpr std::int32_t SubTitleUnderline = 2500;
constexpr std::int32_t LabelFont = 2525;
constexpr std::int32_t LabelBold = 2530;
constexpr std::int32_t LabelItalic = 2535;
constexpr std::int32_t LabelUnderline = 2540;
constexpr std::int32_t FontSizeGlobalCntl = 2634;
constexpr std::int32_t FontSizeTitleCntl = 2635;
constexpr std::int32_t FontSizeGNCntl = 2947;
constexpr std::int32_t FontSizeALCntl = 2949;
constexpr std::int32_t FontSizeLegendCntl = 3042;
constexpr std::int32_t ShowLegend = 2666;
constexpr std::int32_t LegendLocation = 3082; // 0 top, 1 bottom, 2 left, 3 right
constexpr std::int32_t XAxisLabel = 3000;
constexpr std::int32_t YAxisLabel = 3005;

// Colours and style.
constexpr std::int32_t SubsetColors = 2190;
constexpr std::int32_t ViewingStyle = 2230; // 0 colour, 1 monochrome, 2 mono plus symbols
constexpr std::int32_t MonoDeskColor = 2250;
constexpr std::int32_t MonoTextColor = 2255;
constexpr std::int32_t MonoGraphForeColor = 2265;
constexpr std::int32_t MonoGraphBackColor = 2270;
constexpr std::int32_t DeskColor = 2320;
constexpr std::int32_t TextColor = 2325;
constexpr std::int32_t GraphForeColor = 2335;
constexpr std::int32_t GraphBackColor = 2340;
constexpr std::int32_t GridLineColor = 1905;
constexpr std::int32_t YAxisColor = 3036;
constexpr std::int32_t XAxisColor = 3038;
constexpr std::int32_t SubsetLineTypes = 3271;

// Axes and grid.
constexpr std::int32_t DateTimeMode = 3018;
constexpr std::int32_t GridStyle = 3032; // 0 thin, 1 thick, 2 dot, 3 dash, 4 pixel
constexpr std::int32_t ManualScaleControlY = 3050;
constexpr std::int32_t ManualMinY = 3055;
constexpr std::int32_t ManualMaxY = 3060;
constexpr std::int32_t NullDataGaps = 3066;
constexpr std::int32_t GridLineControl = 3100; // 0 Y+X, 1 Y, 2 X, 3 none
constexpr std::int32_t GridInFront = 3110;
constexpr std::int32_t NullDataValueY = 3268;
constexpr std::int32_t ManualScaleControlX = 3615;
constexpr std::int32_t ManualMinX = 3620;
constexpr std::int32_t ManualMaxX = 3625;

// Annotations.
constexpr std::int32_t VertLineAnnotation = 3218;
constexpr std::int32_t VertLineAnnotationText = 3219;
constexpr std::int32_t VertLineAnnotationType = 3221;
constexpr std::int32_t VertLineAnnotationColor = 3222;
constexpr std::int32_t ShowGraphAnnotations = 3223;
constexpr std::int32_t ShowVertLineAnnotations = 3228;
constexpr std::int32_t AllowGraphAnnotHotSpots = 3229;
constexpr std::int32_t AllowVertLineAnnotHotSpots = 3234;
constexpr std::int32_t GraphAnnotationColor = 3236;
constexpr std::int32_t GraphAnnotationTextSize = 3242;
constexpr std::int32_t LineAnnotationTextSize = 3244;
constexpr std::int32_t GraphAnnotationType = 3246;
constexpr std::int32_t GraphAnnotationX = 3291;
constexpr std::int32_t GraphAnnotationY = 3292;
constexpr std::int32_t GraphAnnotationText = 3293;

// Interaction, dialogs, output.
constexpr std::int32_t DefOrientation = 2150; // 0 driver default, 1 landscape, 2 portrait
constexpr std::int32_t AllowCustomization = 2165;
constexpr std::int32_t AllowExporting = 2170;
constexpr std::int32_t AllowMaximization = 2175;
constexpr std::int32_t AllowPopup = 2180;
constexpr std::int32_t AllowUserInterface = 2185; // 0 none, 1 all, 2 no keyboard, 3 no mouse
constexpr std::int32_t AllowSubsetHotSpots = 2600;
constexpr std::int32_t JpgQuality = 2686;
constexpr std::int32_t ExportFileDef = 2111;
constexpr std::int32_t ArrowCursor = 2917;
constexpr std::int32_t ZoomCursor = 2918;
constexpr std::int32_t AllowTitleHotSpots = 2924;
constexpr std::int32_t AllowSubTitleHotSpots = 2925;
constexpr std::int32_t AllowPage1 = 2930;
constexpr std::int32_t AllowPage2 = 2931;
constexpr std::int32_t AllowSubsetsPage = 2932;
constexpr std::int32_t AllowFontPage = 2934;
constexpr std::int32_t AllowColorPage = 2935;
constexpr std::int32_t AllowStylePage = 2936;
constexpr std::int32_t AllowAxisPage = 2937;
constexpr std::int32_t AllowGraphHotSpots = 3205;
constexpr std::int32_t AllowDataHotSpots = 3210;
constexpr std::int32_t HotSpotSize = 3081;  // 0 small, 1 medium, 2 large
constexpr std::int32_t AllowZooming = 3282; // 0 none, 1 horizontal, 2 vertical, 3 both
constexpr std::int32_t ScrollingVertZoom = 3069;
constexpr std::int32_t ScrollingHorzZoom = 3652;

} // namespace chartlib::rprop
