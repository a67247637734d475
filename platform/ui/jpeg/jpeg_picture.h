// JPEG pictures as Qt images: decoded through libjpeg (jpeg_decode.h), each
// picture once. A picture is named by a file path or a Qt resource path
// (":/panel/front.jpg").
#pragma once

#include "platform/rtl/exceptions.h"

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace ui {

// A picture that cannot be read or decoded.
class EJpegError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// Decodes JPEG bytes to an RGB32 image. False with error (and a null image)
// on damaged data.
bool TryDecodeJpegImage(const QByteArray &bytes, QImage &image, QString &error);

// The decoded picture of a file or resource. Decoded at the first call and
// kept for the program's run (a failure too is kept and reported again).
bool TryJpegPicture(const QString &path, QImage &image, QString &error);
// As above; raises EJpegError "<path>: <reason>" on failure.
QImage JpegPicture(const QString &path);
QPixmap JpegPixmap(const QString &path);

// Forgets every decoded picture (tests).
void ClearJpegPictures();

} // namespace ui
