#include "platform/ui/jpeg/jpeg_picture.h"

#include "platform/ui/jpeg/jpeg_decode.h"

#include "platform/rtl/codepage.h"

#include <QFile>
#include <QHash>

namespace ui {

namespace {

struct Decoded {
    QImage Image;
    QString Error;
};

QHash<QString, Decoded> &Cache()
{
    static QHash<QString, Decoded> cache;
    return cache;
}

} // namespace

bool TryDecodeJpegImage(const QByteArray &bytes, QImage &image, QString &error)
{
    image = QImage();
    TJpegBitmap bitmap;
    std::string message;
    if (!DecodeJpeg(reinterpret_cast<const uint8_t *>(bytes.constData()),
                    static_cast<size_t>(bytes.size()), bitmap, message)) {
        error = QString::fromUtf8(message);
        return false;
    }
    const QImage view(bitmap.Rgb.data(), bitmap.Width, bitmap.Height, bitmap.Width * 3,
                      QImage::Format_RGB888);
    image = view.convertToFormat(QImage::Format_RGB32); // a deep copy
    if (image.isNull()) {
        error = QStringLiteral("Out of memory");
        return false;
    }
    error.clear();
    return true;
}

bool TryJpegPicture(const QString &path, QImage &image, QString &error)
{
    auto it = Cache().find(path);
    if (it == Cache().end()) {
        Decoded d;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            d.Error = QStringLiteral("Cannot open the picture");
        else
            TryDecodeJpegImage(file.readAll(), d.Image, d.Error);
        it = Cache().insert(path, d);
    }
    image = it->Image;
    error = it->Error;
    return !image.isNull();
}

QImage JpegPicture(const QString &path)
{
    QImage image;
    QString error;
    if (!TryJpegPicture(path, image, error))
        throw EJpegError(rtl::Utf8ToCodePage((path + QStringLiteral(": ") + error).toStdString(),
                                             rtl::SystemCodePage));
    return image;
}

QPixmap JpegPixmap(const QString &path)
{
    return QPixmap::fromImage(JpegPicture(path));
}

void ClearJpegPictures()
{
    Cache().clear();
}

} // namespace ui
