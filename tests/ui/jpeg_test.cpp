// JPEG decoding through libjpeg: a picture made here decodes to its colours;
// damaged, truncated and foreign bytes fail with a message and never crash.
#include "platform/ui/jpeg/jpeg_decode.h"
#include "platform/ui/jpeg/jpeg_picture.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace ui;

namespace {

// A 32 x 16 picture, left half red, right half blue.
std::vector<uint8_t> MakeJpeg(bool progressive = false)
{
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    const QByteArray &bytes = buffer.data();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

QByteArray ToBytes(const std::vector<uint8_t> &v)
{
    return QByteArray(reinterpret_cast<const char *>(v.data()), static_cast<qsizetype>(v.size()));
}

} // namespace

TEST(JpegDecode, ValidPictureDecodesToItsColours)
{
    const std::vector<uint8_t> jpeg = MakeJpeg();
    TJpegBitmap bmp;
    std::string error;
    ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), bmp, error)) << error;
    EXPECT_EQ(bmp.Width, 32);
    EXPECT_EQ(bmp.Height, 16);
    ASSERT_EQ(bmp.Rgb.size(), 32u * 16u * 3u);

    QImage image;
    QString qerror;
    ASSERT_TRUE(TryDecodeJpegImage(ToBytes(jpeg), image, qerror));
    EXPECT_EQ(image.size(), QSize(32, 16));
    const QColor left = image.pixelColor(4, 8), right = image.pixelColor(28, 8);
    EXPECT_GT(left.red(), 230);
    EXPECT_LT(left.blue(), 30);
    EXPECT_GT(right.blue(), 230);
    EXPECT_LT(right.red(), 30);
}

TEST(JpegDecode, DamagedBytesFailWithAMessage)
{
    const std::vector<uint8_t> good = MakeJpeg();
    TJpegBitmap bmp;
    std::string error;

    // Truncated after the header: libjpeg would fill the rest with grey.
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    EXPECT_FALSE(DecodeJpeg(cut.data(), cut.size(), bmp, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(bmp.Rgb.empty());

    // Not a JPEG at all, and nothing at all.
    const std::string text = "Graph file(*.ghf,only for MX4820)";
    EXPECT_FALSE(
        DecodeJpeg(reinterpret_cast<const uint8_t *>(text.data()), text.size(), bmp, error));
    EXPECT_NE(error.find("JPEG"), std::string::npos) << error;
    EXPECT_FALSE(DecodeJpeg(good.data(), 0, bmp, error));
    EXPECT_FALSE(DecodeJpeg(nullptr, 10, bmp, error));

    // Every single byte of the header area overwritten in turn, and the
    // scan data scrambled: each either decodes fully or fails cleanly.
    for (size_t i = 2; i < good.size(); i += 3) {
        std::vector<uint8_t> bad = good;
        bad[i] ^= 0xA5;
        if (!DecodeJpeg(bad.data(), bad.size(), bmp, error)) {
            EXPECT_FALSE(error.empty());
            EXPECT_TRUE(bmp.Rgb.empty());
        } else {
            EXPECT_EQ(bmp.Rgb.size(), static_cast<size_t>(bmp.Width * bmp.Height * 3));
        }
    }
}

TEST(JpegDecode, OversizedDimensionsAreRefusedBeforeDecoding)
{
    // Baseline and progressive: a progressive picture would get buffers for
    // the whole picture as soon as decoding starts.
    for (const bool progressive : {false, true}) {
        std::vector<uint8_t> bad = MakeJpeg(progressive);
        const uint8_t sof = progressive ? 0xC2 : 0xC0;
        bool patched = false;
        // The start-of-frame marker carries height and width as 16-bit values.
        for (size_t i = 0; i + 8 < bad.size(); ++i) {
            if (bad[i] == 0xFF && bad[i + 1] == sof) {
                bad[i + 5] = 0xFF; // height 65280
                bad[i + 6] = 0x00;
                bad[i + 7] = 0xFF; // width 65280: four gigapixels
                bad[i + 8] = 0x00;
                patched = true;
                break;
            }
        }
        ASSERT_TRUE(patched);
        TJpegBitmap bmp;
        std::string error;
        EXPECT_FALSE(DecodeJpeg(bad.data(), bad.size(), bmp, error));
        EXPECT_EQ(error, "JPEG picture too large") << progressive;
    }
}

TEST(JpegPicture, DecodedOnceAndFailuresRaise)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("front.jpg");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ToBytes(MakeJpeg()));
    }
    ClearJpegPictures();
    const QImage first = JpegPicture(path);
    EXPECT_EQ(first.size(), QSize(32, 16));
    {
        QFile f(path); // replaced on disk: the picture already decoded stays
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    EXPECT_EQ(JpegPicture(path).cacheKey(), first.cacheKey());
    ClearJpegPictures();
    try {
        JpegPicture(path);
        ADD_FAILURE() << "no exception";
    } catch (const EJpegError &e) {
        EXPECT_NE(e.Message().find("front.jpg: "), std::string::npos) << e.Message();
    }
    EXPECT_THROW(JpegPixmap(dir.filePath("missing.jpg")), EJpegError);
    ClearJpegPictures();
}
