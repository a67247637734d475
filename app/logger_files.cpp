#include "app/logger_files.h"

#include "platform/rtl/streams.h"
#include "platform/ui/folders.h"

#include <QFile>

namespace app {

namespace {

std::string LocalName(const QString &fileName)
{
    return QFile::encodeName(fileName).toStdString();
}

void SetError(QString *error, const std::string &text)
{
    if (error)
        *error = QString::fromLocal8Bit(text.c_str());
}

} // namespace

size_t WorkingFileLength(const TLoggerImage &image)
{
    const size_t last = static_cast<size_t>(logger::ImageNumber(image, 11, 3));
    return std::min(image.size(), last + 257);
}

TWorkingFileResult WriteWorkingFile(const QString &folder, const TLoggerImage &image,
                                    QString *error)
{
    QString reason;
    if (!ui::MakeFolder(folder, &reason)) {
        if (error)
            *error = reason;
        return TWorkingFileResult::NoFolder;
    }
    std::string writeError;
    const QString file = ui::JoinPath(folder, QString::fromLatin1(kWorkingFileName));
    if (!rtl::TryWriteFileAtomically(LocalName(file), image.data(), WorkingFileLength(image),
                                     &writeError)) {
        SetError(error, writeError);
        return TWorkingFileResult::WriteFailed;
    }
    return TWorkingFileResult::Written;
}

bool SaveCollectionFile(const QString &workingFile, const QString &fileName, QString *error)
{
    std::vector<uint8_t> bytes;
    std::string reason;
    if (rtl::ReadFileBytes(LocalName(workingFile), size_t(kCollectionMaxSize), bytes, &reason) !=
            rtl::TFileRead::Read ||
        !rtl::TryWriteFileAtomically(LocalName(fileName), bytes.data(), bytes.size(), &reason)) {
        SetError(error, reason);
        return false;
    }
    return true;
}

TCollectionRead ReadCollectionFile(const QString &fileName, TLoggerImage &image, QString *error)
{
    std::vector<uint8_t> bytes;
    std::string reason;
    switch (rtl::ReadFileBytes(LocalName(fileName), size_t(kCollectionMaxSize), bytes, &reason)) {
    case rtl::TFileRead::Read:
        break;
    case rtl::TFileRead::TooLarge:
        return TCollectionRead::TooLong;
    case rtl::TFileRead::CannotOpen:
    case rtl::TFileRead::CannotRead:
        SetError(error, reason);
        return TCollectionRead::Unreadable;
    }
    if (bytes.empty())
        return TCollectionRead::Empty;
    if (bytes.size() < size_t(kCollectionHeaderSize))
        return TCollectionRead::TooShort;
    image = std::move(bytes);
    return TCollectionRead::Read;
}

} // namespace app
