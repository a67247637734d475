// The embedded pictures: each one the windows load is present with the size the panel layout and
// the glyph sets need, and the glyph sets are the right way round (digits drawn, blanks empty).
#include "resources/pictures.h"

#include <QImage>
#include <QImageReader>
#include <QSize>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

QSize sizeOf(const QString &path)
{
    QImageReader reader(path);
    return reader.canRead() ? reader.size() : QSize();
}

// True when every pixel has the colour of the top left one.
bool isPlain(const QImage &img)
{
    const QRgb first = img.pixel(0, 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != first)
                return false;
    return true;
}

TEST(Pictures, GlyphSetsOfEighteenWithDigitsDrawnAndBlanksEmptyWhite)
{
    for (int n = 0; n < pictures::kGlyphCount; ++n) {
        EXPECT_EQ(sizeOf(pictures::largeGlyphPath(n)), QSize(30, 51)) << "LCD" << n;
        EXPECT_EQ(sizeOf(pictures::smallGlyphPath(n)), QSize(9, 15)) << "LCDS" << n;
        EXPECT_EQ(pictures::resourcePath(QStringLiteral("LCD%1").arg(n)),
                  pictures::largeGlyphPath(n));
        for (const QString &path : {pictures::largeGlyphPath(n), pictures::smallGlyphPath(n)}) {
            const QImage img(path);
            ASSERT_FALSE(img.isNull()) << path.toStdString();
            // Opaque white ground, so a glyph fully replaces the one before.
            EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255)) << path.toStdString();
            EXPECT_EQ(isPlain(img), n >= 10) << path.toStdString();
        }
    }
    EXPECT_EQ(sizeOf(pictures::resourcePath("LCD18")), QSize(30, 51));
    // Neighbouring digits differ (a glyph written under the wrong name shows).
    for (int n = 0; n < 9; ++n)
        EXPECT_NE(QImage(pictures::largeGlyphPath(n)), QImage(pictures::largeGlyphPath(n + 1)));
}

TEST(Pictures, PanelPiecesHaveTheirLayoutSizesAndTheDisplayIsWhiteUnderTheDigits)
{
    ASSERT_EQ(sizeOf(pictures::kPanelFront), QSize(279, 618));
    EXPECT_EQ(QImageReader(pictures::kPanelFront).format(), "jpeg");
    const struct {
        const char *path;
        QSize size;
    } pieces[] = {
        {pictures::kDecimalPoint, {9, 13}},   {pictures::kClockColon, {5, 8}},
        {pictures::kDateDash, {3, 2}},        {pictures::kLevelBar, {154, 22}},
        {pictures::kRecStart, {11, 11}},      {pictures::kRecPause, {11, 11}},
        {pictures::kRecStop, {11, 11}},       {pictures::kModeSpl, {26, 12}},
        {pictures::kModeLeq, {26, 12}},       {pictures::kUnder, {36, 11}},
        {pictures::kOver, {30, 11}},          {pictures::kBattery, {19, 9}},
        {pictures::kPanelMinimise, {16, 14}}, {pictures::kPanelClose, {16, 14}},
        {pictures::kProgramIcon, {64, 64}},
    };
    for (const auto &p : pieces)
        EXPECT_EQ(sizeOf(p.path), p.size) << p.path;
    // The buttons of the main window's and the graph windows' tool bars.
    using namespace pictures;
    for (const char *path :
         {kToolOpen, kToolSave, kToolPrint, kToolDataLogger, kToolOutputToGraph, kToolRun,
          kToolStop, kToolHelp, kGraphStatistics, kGraphCursorStatistics, kGraphNormalCursor,
          kGraphText, kGraphCross, kGraphErase, kGraphUndoZoom, kGraphColor, kGraphMonochrome,
          kGraphClear})
        EXPECT_EQ(sizeOf(path), QSize(20, 20)) << path;

    // The four main digits and the clock stand on the display area of the front picture; it must be
    // white there for the glyphs to blend in.
    const QImage front(pictures::kPanelFront);
    int darkest = 255;
    for (int y = 144; y < 231; ++y)
        for (int x = 74; x < 215; ++x)
            darkest = std::min(darkest, qGray(front.pixel(x, y)));
    EXPECT_GE(darkest, 245);
}

} // namespace
