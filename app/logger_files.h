// The working file "DataSetsTemp.tmp" and the data-set collection files
// (".REC").
//
// The working file holds the logger image of the last download or opened
// collection from its start up to the last used address L (image bytes
// 11..13, big-endian) and 256 bytes further: the first L + 257 bytes, or the
// whole image when it is shorter. A collection file is a byte copy of the
// working file. Both are written through a temporary file and a rename, so a
// failed write leaves the previous file whole.
#pragma once

#include "meter/logger_image.h"

#include <QString>

#include <cstddef>

namespace app {

inline constexpr char kWorkingFileName[] = "DataSetsTemp.tmp";
// The smallest image a collection file can hold: the header area.
inline constexpr int kCollectionHeaderSize = 256;

// The working file's length for an image.
size_t WorkingFileLength(const TLoggerImage &image);

enum class TWorkingFileResult {
    Written,
    NoFolder,    // the working folder neither exists nor can be made
    WriteFailed, // the file could not be written; the old one stays
};
// Writes the working file of image into folder (made when missing). error
// gets the system's reason when the folder cannot be made, the file, and the
// reason when the file cannot be written.
TWorkingFileResult WriteWorkingFile(const QString &folder, const TLoggerImage &image,
                                    QString *error = nullptr);

// Copies the working file to a collection file; false (with the reason in
// error) when the working file cannot be read or the copy cannot be written.
bool SaveCollectionFile(const QString &workingFile, const QString &fileName,
                        QString *error = nullptr);

enum class TCollectionRead {
    Read,
    Unreadable, // the file cannot be opened (no regular file) or read
    Empty,      // no byte
    TooShort,   // shorter than the header area: no collection file
    TooLong,    // far longer than any logger memory: no collection file
};
// Longer files are refused, read no further than one byte past this.
inline constexpr qint64 kCollectionMaxSize = 16 * 1024 * 1024;
// Reads a collection file whole into image (left as it was unless Read).
TCollectionRead ReadCollectionFile(const QString &fileName, TLoggerImage &image,
                                   QString *error = nullptr);

} // namespace app
