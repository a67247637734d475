#include "platform/rtl/streams.h"

#include "platform/rtl/exceptions.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rtl {

namespace {

std::string ErrnoText(int err)
{
    return FileErrorText(err);
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

std::string BaseOf(const std::string &fileName)
{
    auto slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

std::string InFolder(const std::string &dir, const std::string &name)
{
    return (dir == "/" ? std::string("/") : dir + "/") + name;
}

// Named temporary files: "." + target name + kTempMarker + pid + "-" + six
// letters or digits, then the caller's suffix.
const char kTempMarker[] = ".~nivora-";
constexpr size_t kTempRandom = 6;

std::string TempPrefix(const std::string &fileName)
{
    return "." + BaseOf(fileName) + kTempMarker + std::to_string(::getpid()) + "-";
}

bool IsAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The process that made a named temporary file, or 0 when name is none.
pid_t TempOwner(const std::string &name)
{
    if (name.empty() || name[0] != '.')
        return 0;
    const size_t marker = name.rfind(kTempMarker);
    if (marker == std::string::npos || marker == 0)
        return 0;
    size_t i = marker + sizeof kTempMarker - 1;
    long long pid = 0;
    const size_t digits = i;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && i - digits < 10)
        pid = pid * 10 + (name[i++] - '0');
    if (i == digits || i >= name.size() || name[i] != '-' || pid <= 0)
        return 0;
    ++i;
    for (size_t k = 0; k < kTempRandom; ++k, ++i)
        if (i >= name.size() || !IsAlnum(name[i]))
            return 0;
    if (i != name.size() && name[i] != '.')
        return 0;
    return static_cast<pid_t>(pid);
}

// Removes the named temporary files that processes no longer running left
// in dir (a writer killed before it finished).
void RemoveStaleTemps(const std::string &dir)
{
    DIR *d = ::opendir(dir.c_str());
    if (!d)
        return;
    const pid_t self = ::getpid();
    std::vector<std::string> stale;
    while (const dirent *e = ::readdir(d)) {
        const pid_t owner = TempOwner(e->d_name);
        if (owner == 0 || owner == self)
            continue;
        if (::kill(owner, 0) != 0 && errno == ESRCH)
            stale.emplace_back(e->d_name);
    }
    for (const std::string &name : stale) {
        struct stat st {};
        if (::fstatat(::dirfd(d), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode))
            ::unlinkat(::dirfd(d), name.c_str(), 0);
    }
    ::closedir(d);
}

// Six letters or digits, different on every call.
std::string RandomLetters()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::atomic<uint64_t> counter{0};
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    uint64_t v = uint64_t(ts.tv_nsec) * 0x9E3779B97F4A7C15ull ^ uint64_t(ts.tv_sec) ^
                 (counter.fetch_add(1) << 40) ^ uint64_t(::getpid()) << 20;
    std::string out;
    for (size_t k = 0; k < kTempRandom; ++k) {
        out += kLetters[v % 62];
        v /= 62;
        v ^= v << 13;
    }
    return out;
}

// The permissions of the file fileName replaces, else those of any new file.
mode_t ReplacementMode(const std::string &fileName)
{
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::atomic<bool> gUnnamedTempFiles{true};

bool ProcFdUsable()
{
    static const bool usable = ::access("/proc/self/fd", X_OK) == 0;
    return usable;
}

// Copies the whole of the file open as from into a new named temporary file
// beside fileName, flushed to disk; false (and nothing left) on failure.
bool CopyToNamedTemp(int from, const std::string &fileName, std::string &tempName, int &err)
{
    std::string pattern = InFolder(DirectoryOf(fileName), TempPrefix(fileName)) + "XXXXXX";
    const int to = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (to < 0) {
        err = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(from, &st) == 0)
        ::fchmod(to, st.st_mode & 07777);
    bool ok = true;
    uint8_t buf[65536];
    for (off_t at = 0; ok;) {
        const ssize_t n = ::pread(from, buf, sizeof buf, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            err = errno;
            ok = false;
        } else if (n == 0) {
            break;
        } else {
            ok = WriteAll(to, buf, size_t(n), err);
            at += n;
        }
    }
    if (ok && ::fsync(to) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(to) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(pattern.c_str());
        return false;
    }
    tempName = pattern;
    return true;
}

void SyncFolder(const std::string &dir)
{
    // Makes the new name durable; a failure here does not undo it.
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
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
        RaiseWriteError();
}

void TStream::RaiseWriteError()
{
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
    int flags = O_RDONLY;
    switch (mode & 0x000F) {
    case fmOpenWrite:
        flags = O_WRONLY;
        break;
    case fmOpenReadWrite:
        flags = O_RDWR;
        break;
    default:
        break;
    }
    int err = 0;
    FHandle = OpenRegularFile(fileName, flags, err);
    if (FHandle < 0)
        throw EFOpenError(
            Format("Cannot open file \"%s\". %s", fileName.c_str(), ErrnoText(err).c_str()));
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

// ---- files -----------------------------------------------------------------

std::string FileErrorText(int err)
{
    if (err == kNotRegularFile)
        return "Not a regular file";
    return std::strerror(err);
}

int OpenRegularFile(const std::string &fileName, int accessFlags, int &err)
{
    // By name first, so that a device is not even opened; then on the
    // descriptor, opened without blocking, in case the name changed between.
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0) {
        err = errno;
        return -1;
    }
    auto refuse = [&err](const struct stat &s) {
        err = S_ISDIR(s.st_mode) ? EISDIR : kNotRegularFile;
        return -1;
    };
    if (!S_ISREG(st.st_mode))
        return refuse(st);
    const int fd = ::open(fileName.c_str(), accessFlags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int why = errno;
        ::close(fd);
        if (S_ISREG(st.st_mode)) {
            err = why;
            return -1;
        }
        return refuse(st);
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status != -1)
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    return fd;
}

TDescriptorReadBuf::~TDescriptorReadBuf()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

TDescriptorReadBuf::int_type TDescriptorReadBuf::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    if (FHandle < 0 || FError != 0 || FLeft == 0)
        return traits_type::eof();
    const size_t want = static_cast<size_t>(std::min<uint64_t>(sizeof FBuffer, FLeft));
    ssize_t n;
    do
        n = ::read(FHandle, FBuffer, want);
    while (n < 0 && errno == EINTR);
    if (n <= 0) {
        if (n < 0)
            FError = errno;
        return traits_type::eof();
    }
    FLeft -= static_cast<uint64_t>(n);
    setg(FBuffer, FBuffer, FBuffer + n);
    return traits_type::to_int_type(*gptr());
}

bool TFileReplacement::Begin(const std::string &fileName, int &err, const std::string &suffix)
{
    Cancel();
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        err = EISDIR;
        return false;
    }
    const std::string dir = DirectoryOf(fileName);
    RemoveStaleTemps(dir);
    const mode_t mode = ReplacementMode(fileName);
#ifdef O_TMPFILE
    if (gUnnamedTempFiles && ProcFdUsable()) {
        const int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
        if (fd >= 0) {
            ::fchmod(fd, mode);
            FFileName = fileName;
            FTempName.clear();
            FHandle = fd;
            return true;
        }
    }
#endif
    // No unnamed files here: a hidden file that names this process.
    std::string pattern = InFolder(dir, TempPrefix(fileName)) + "XXXXXX" + suffix;
    const int fd = ::mkostemps(pattern.data(), int(suffix.size()), O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    ::fchmod(fd, mode);
    FFileName = fileName;
    FTempName = pattern;
    FHandle = fd;
    return true;
}

bool SetUnnamedTempFiles(bool allowed)
{
    return gUnnamedTempFiles.exchange(allowed);
}

std::string TFileReplacement::Path() const
{
    if (FHandle < 0)
        return std::string();
    return FTempName.empty() ? "/proc/self/fd/" + std::to_string(FHandle) : FTempName;
}

void TFileReplacement::Cancel()
{
    if (FHandle < 0)
        return;
    ::close(FHandle);
    FHandle = -1;
    if (!FTempName.empty())
        ::unlink(FTempName.c_str());
    FTempName.clear();
}

bool TFileReplacement::Commit(int &err)
{
    if (FHandle < 0) {
        err = EBADF;
        return false;
    }
    if (::fsync(FHandle) != 0) {
        err = errno;
        Cancel();
        return false;
    }
    const std::string dir = DirectoryOf(FFileName);
    if (FTempName.empty()) {
        // Linked under a hidden name of its own, then renamed over the
        // target (a link cannot replace a file).
        const std::string self = Path();
        for (int attempt = 0; attempt < 100 && FTempName.empty(); ++attempt) {
            const std::string name = InFolder(dir, TempPrefix(FFileName)) + RandomLetters();
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                FTempName = name;
            else if (errno != EEXIST)
                break;
        }
        // A file system that cannot link it: its bytes go to a named file.
        if (FTempName.empty() && !CopyToNamedTemp(FHandle, FFileName, FTempName, err)) {
            Cancel();
            return false;
        }
    }
    const int fd = FHandle;
    FHandle = -1;
    bool ok = ::close(fd) == 0;
    if (!ok)
        err = errno;
    if (ok && ::rename(FTempName.c_str(), FFileName.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok)
        ::unlink(FTempName.c_str());
    FTempName.clear();
    if (ok)
        SyncFolder(dir);
    return ok;
}

// ---- TSafeFileStream -------------------------------------------------------

TSafeFileStream::TSafeFileStream(const std::string &fileName)
    : THandleStream(-1), FFileName(fileName)
{
    int err = 0;
    if (!FReplacement.Begin(fileName, err))
        throw EFCreateError(
            Format("Cannot create file \"%s\". %s", fileName.c_str(), ErrnoText(err).c_str()));
    FHandle = FReplacement.Handle();
}

TSafeFileStream::~TSafeFileStream()
{
    Cancel();
}

void TSafeFileStream::Cancel()
{
    FReplacement.Cancel();
    FHandle = -1;
}

int64_t TSafeFileStream::Write(const void *buffer, int64_t count)
{
    errno = 0;
    const int64_t n = THandleStream::Write(buffer, count);
    if (count > 0 && n != count && FWriteError == 0)
        FWriteError = errno != 0 ? errno : EIO;
    return n;
}

void TSafeFileStream::RaiseWriteError()
{
    const int err = FWriteError != 0 ? FWriteError : FHandle < 0 ? EBADF : EIO;
    throw EWriteError(
        Format("Cannot write file \"%s\". %s", FFileName.c_str(), ErrnoText(err).c_str()));
}

void TSafeFileStream::Commit()
{
    if (FWriteError != 0) {
        Cancel();
        RaiseWriteError();
    }
    if (FHandle < 0) {
        if (FCommitted)
            return;
        RaiseWriteError();
    }
    FHandle = -1;
    int err = 0;
    if (!FReplacement.Commit(err))
        throw EWriteError(
            Format("Cannot write file \"%s\". %s", FFileName.c_str(), ErrnoText(err).c_str()));
    FCommitted = true;
}

// ---- whole-file helpers ----------------------------------------------------

TFileRead ReadFileBytes(const std::string &fileName, size_t maxSize, std::vector<uint8_t> &out,
                        std::string *error)
{
    auto fail = [&](TFileRead result, const char *what, int err) {
        if (error)
            *error = Format("%s \"%s\". %s", what, fileName.c_str(), ErrnoText(err).c_str());
        return result;
    };
    int err = 0;
    const int fd = OpenRegularFile(fileName, O_RDONLY, err);
    if (fd < 0)
        return fail(TFileRead::CannotOpen, "Cannot open file", err);
    struct stat st {};
    std::vector<uint8_t> data;
    // The size reported is a hint for the buffer only: the bytes read count.
    if (::fstat(fd, &st) == 0 && st.st_size > 0)
        data.reserve(static_cast<size_t>(std::min<uint64_t>(uint64_t(st.st_size), maxSize)));
    uint8_t buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int why = errno;
            ::close(fd);
            return fail(TFileRead::CannotRead, "Cannot read file", why);
        }
        if (n == 0)
            break;
        if (size_t(n) > maxSize - data.size()) {
            ::close(fd);
            return fail(TFileRead::TooLarge, "Cannot read file", EFBIG);
        }
        data.insert(data.end(), buf, buf + n);
    }
    ::close(fd);
    out.swap(data);
    return TFileRead::Read;
}

bool TryReadAllBytes(const std::string &fileName, std::vector<uint8_t> &out, std::string *error)
{
    return ReadFileBytes(fileName, SIZE_MAX, out, error) == TFileRead::Read;
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
    TFileReplacement file;
    int err = 0;
    if (!file.Begin(fileName, err))
        return fail("Cannot create file", err);
    if (!WriteAll(file.Handle(), data, size, err) || !file.Commit(err))
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
