#include "platform/rtl/streams.h"

#include "platform/rtl/exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rtl {

namespace {

std::string ErrnoText(int err)
{
    return std::strerror(err);
}

// Moves up to count bytes at p through io (one read or write call on a descriptor), retrying
// on EINTR and partial transfers; stops at end of file or an error and gives the bytes moved.
template <class Byte, class Io> int64_t TransferAll(Byte *p, int64_t count, Io io)
{
    int64_t done = 0;
    while (done < count) {
        ssize_t n = io(p + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

// Full write to a descriptor, retrying on EINTR and partial writes.
bool WriteAll(int fd, const void *data, size_t size, int &err)
{
    const auto *p = static_cast<const uint8_t *>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        if (n == 0) {
            err = EIO;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::string DirectoryOf(const std::string &fileName)
{
    auto slash = fileName.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return fileName.substr(0, slash);
}

// Creates a fresh temporary file beside fileName; returns the descriptor or -1.
int CreateTempBeside(const std::string &fileName, std::string &tempName, int &err)
{
    std::string dir = DirectoryOf(fileName);
    auto slash = fileName.rfind('/');
    std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    std::string pattern = (dir == "/" ? std::string("/") : dir + "/") + "." + base + ".XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    int fd = ::mkstemp(buf.data());
    if (fd < 0) {
        err = errno;
        return -1;
    }
    tempName.assign(buf.data());
    // mkstemp creates 0600; give the file the usual permissions of a new file
    // (or those of the file it replaces).
    struct stat st {};
    mode_t mode;
    if (::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    return fd;
}

// Flushes fd, closes it and renames tempName over fileName. On failure the
// temporary file is removed. fd is closed in every case.
bool CommitTemp(int fd, const std::string &tempName, const std::string &fileName, int &err)
{
    bool ok = true;
    if (::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (ok && ::rename(tempName.c_str(), fileName.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(tempName.c_str());
        return false;
    }
    // Make the rename itself durable; failure here does not undo it.
    int dfd = ::open(DirectoryOf(fileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

} // namespace

// ---- TStream ---------------------------------------------------------------

int64_t TStream::Size()
{
    int64_t pos = Seek(0, soFromCurrent);
    int64_t size = Seek(0, soFromEnd);
    Seek(pos, soFromBeginning);
    return size;
}

void TStream::ReadBuffer(void *buffer, int64_t count)
{
    if (count < 0 || (count != 0 && Read(buffer, count) != count))
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void *buffer, int64_t count)
{
    if (count < 0 || (count != 0 && Write(buffer, count) != count))
        throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream &source, int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    if (count < 0)
        throw EReadError("Stream read error");
    const int64_t total = count;
    std::vector<uint8_t> buf(static_cast<size_t>(std::min<int64_t>(count, 0xF000)));
    while (count > 0) {
        int64_t n = std::min<int64_t>(count, static_cast<int64_t>(buf.size()));
        source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        count -= n;
    }
    return total;
}

// ---- TMemoryStream ---------------------------------------------------------

int64_t TMemoryStream::Read(void *buffer, int64_t count)
{
    int64_t size = Size();
    if (count <= 0 || FPosition >= size)
        return 0;
    int64_t n = std::min(count, size - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void *buffer, int64_t count)
{
    if (count <= 0 || FPosition < 0)
        return 0;
    int64_t end = FPosition + count;
    if (end > Size())
        FData.resize(static_cast<size_t>(end));
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, int origin)
{
    switch (origin) {
    case soFromBeginning:
        FPosition = offset;
        break;
    case soFromCurrent:
        FPosition += offset;
        break;
    case soFromEnd:
        FPosition = Size() + offset;
        break;
    default:
        break;
    }
    // A position before the start is clamped; past the end is allowed (a
    // later write fills the gap with zeros, a read returns 0).
    if (FPosition < 0)
        FPosition = 0;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t newSize)
{
    if (newSize < 0)
        newSize = 0;
    FData.resize(static_cast<size_t>(newSize));
    if (FPosition > newSize)
        FPosition = newSize;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream &stream)
{
    stream.SetPosition(0);
    int64_t count = stream.Size();
    std::vector<uint8_t> data(static_cast<size_t>(count));
    if (count != 0)
        stream.ReadBuffer(data.data(), count);
    FData.swap(data);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string &fileName)
{
    std::vector<uint8_t> data = ReadAllBytes(fileName);
    FData.swap(data);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream &stream)
{
    if (!FData.empty())
        stream.WriteBuffer(FData.data(), Size());
}

void TMemoryStream::SaveToFile(const std::string &fileName)
{
    WriteFileAtomically(fileName, FData);
}

// ---- THandleStream / TFileStream -------------------------------------------

int64_t THandleStream::Read(void *buffer, int64_t count)
{
    if (count <= 0 || FHandle < 0)
        return 0;
    return TransferAll(static_cast<uint8_t *>(buffer), count,
                       [this](uint8_t *p, size_t n) { return ::read(FHandle, p, n); });
}

int64_t THandleStream::Write(const void *buffer, int64_t count)
{
    if (count <= 0 || FHandle < 0)
        return 0;
    return TransferAll(static_cast<const uint8_t *>(buffer), count,
                       [this](const uint8_t *p, size_t n) { return ::write(FHandle, p, n); });
}

int64_t THandleStream::Seek(int64_t offset, int origin)
{
    int whence = origin == soFromCurrent ? SEEK_CUR : origin == soFromEnd ? SEEK_END : SEEK_SET;
    off_t r = ::lseek(FHandle, static_cast<off_t>(offset), whence);
    if (r < 0) // invalid target (before the start): report the unchanged position
        r = ::lseek(FHandle, 0, SEEK_CUR);
    return r < 0 ? -1 : static_cast<int64_t>(r);
}

void THandleStream::SetSize(int64_t newSize)
{
    if (newSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(newSize)) != 0)
        throw EStreamError(Format("Stream size error. %s", ErrnoText(errno).c_str()));
    if (Position() > newSize)
        SetPosition(newSize);
}

TFileStream::TFileStream(const std::string &fileName, uint16_t mode)
    : THandleStream(-1), FFileName(fileName)
{
    if (mode == fmCreate || (mode & 0xFF00) == fmCreate) {
        FHandle = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(),
                                       ErrnoText(errno).c_str()));
        return;
    }
    int flags = O_CLOEXEC;
    switch (mode & 0x000F) {
    case fmOpenWrite:
        flags |= O_WRONLY;
        break;
    case fmOpenReadWrite:
        flags |= O_RDWR;
        break;
    default:
        flags |= O_RDONLY;
        break;
    }
    FHandle = ::open(fileName.c_str(), flags);
    if (FHandle >= 0) {
        struct stat st {};
        if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(FHandle);
            FHandle = -1;
            errno = EISDIR;
        }
    }
    if (FHandle < 0)
        throw EFOpenError(
            Format("Cannot open file \"%s\". %s", fileName.c_str(), ErrnoText(errno).c_str()));
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

// ---- TSafeFileStream -------------------------------------------------------

TSafeFileStream::TSafeFileStream(const std::string &fileName)
    : THandleStream(-1), FFileName(fileName)
{
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw EFCreateError(
            Format("Cannot create file \"%s\". %s", fileName.c_str(), ErrnoText(EISDIR).c_str()));
    int err = 0;
    FHandle = CreateTempBeside(fileName, FTempName, err);
    if (FHandle < 0)
        throw EFCreateError(
            Format("Cannot create file \"%s\". %s", fileName.c_str(), ErrnoText(err).c_str()));
}

TSafeFileStream::~TSafeFileStream()
{
    Cancel();
}

void TSafeFileStream::Cancel()
{
    if (FHandle >= 0) {
        ::close(FHandle);
        FHandle = -1;
        ::unlink(FTempName.c_str());
    }
}

int64_t TSafeFileStream::Write(const void *buffer, int64_t count)
{
    errno = 0;
    const int64_t n = THandleStream::Write(buffer, count);
    if (count > 0 && n != count && FWriteError == 0)
        FWriteError = errno != 0 ? errno : EIO;
    return n;
}

void TSafeFileStream::Commit()
{
    if (FWriteError != 0) {
        const int err = FWriteError;
        Cancel();
        throw EWriteError(
            Format("Cannot write file \"%s\". %s", FFileName.c_str(), ErrnoText(err).c_str()));
    }
    if (FHandle < 0) {
        if (FCommitted)
            return;
        throw EWriteError(
            Format("Cannot write file \"%s\". %s", FFileName.c_str(), ErrnoText(EBADF).c_str()));
    }
    int fd = FHandle;
    FHandle = -1;
    int err = 0;
    if (!CommitTemp(fd, FTempName, FFileName, err))
        throw EWriteError(
            Format("Cannot write file \"%s\". %s", FFileName.c_str(), ErrnoText(err).c_str()));
    FCommitted = true;
}

// ---- whole-file helpers ----------------------------------------------------

bool TryReadAllBytes(const std::string &fileName, std::vector<uint8_t> &out, std::string *error)
{
    auto fail = [&](const char *what, int err) {
        if (error)
            *error = Format("%s \"%s\". %s", what, fileName.c_str(), ErrnoText(err).c_str());
        return false;
    };
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail("Cannot open file", errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return fail("Cannot open file", err);
    }
    std::vector<uint8_t> data;
    if (st.st_size > 0)
        data.reserve(static_cast<size_t>(st.st_size));
    uint8_t buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            return fail("Cannot read file", err);
        }
        if (n == 0)
            break;
        data.insert(data.end(), buf, buf + n);
    }
    ::close(fd);
    out.swap(data);
    return true;
}

std::vector<uint8_t> ReadAllBytes(const std::string &fileName)
{
    std::vector<uint8_t> out;
    std::string error;
    if (!TryReadAllBytes(fileName, out, &error)) {
        if (error.rfind("Cannot open", 0) == 0)
            throw EFOpenError(error);
        throw EReadError(error);
    }
    return out;
}

bool TryWriteFileAtomically(const std::string &fileName, const void *data, size_t size,
                            std::string *error)
{
    auto fail = [&](const char *what, int err) {
        if (error)
            *error = Format("%s \"%s\". %s", what, fileName.c_str(), ErrnoText(err).c_str());
        return false;
    };
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return fail("Cannot create file", EISDIR);
    std::string tempName;
    int err = 0;
    int fd = CreateTempBeside(fileName, tempName, err);
    if (fd < 0)
        return fail("Cannot create file", err);
    if (!WriteAll(fd, data, size, err)) {
        ::close(fd);
        ::unlink(tempName.c_str());
        return fail("Cannot write file", err);
    }
    if (!CommitTemp(fd, tempName, fileName, err))
        return fail("Cannot write file", err);
    return true;
}

void WriteFileAtomically(const std::string &fileName, const void *data, size_t size)
{
    std::string error;
    if (!TryWriteFileAtomically(fileName, data, size, &error)) {
        if (error.rfind("Cannot create", 0) == 0)
            throw EFCreateError(error);
        throw EWriteError(error);
    }
}

void WriteFileAtomically(const std::string &fileName, const std::vector<uint8_t> &bytes)
{
    WriteFileAtomically(fileName, bytes.data(), bytes.size());
}

void WriteFileAtomically(const std::string &fileName, const std::string &bytes)
{
    WriteFileAtomically(fileName, bytes.data(), bytes.size());
}

} // namespace rtl
