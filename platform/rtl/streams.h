// Byte streams of the class-library core: the abstract TStream, a growable
// memory stream, a file stream with the class library's open modes, and
// helpers that read a whole file or replace one safely (temporary file in
// the same folder, flushed, then put into place).
//
// Readers open regular files only: a named pipe, a device, a socket or a
// folder is refused before anything is read from it, so that no reader
// blocks on a pipe or reads without end from a device.
//
// A file is replaced through a temporary file beside it. Where the file
// system offers one the temporary file has no name until it is complete
// (O_TMPFILE), so a writer killed in the middle leaves nothing behind.
// Elsewhere it is a hidden file named after the target and the writing
// process (".<name>.~nivora-<pid>-XXXXXX"); every later replacement in the
// same folder removes those that processes no longer running left there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <streambuf>
#include <string>
#include <vector>

namespace rtl {

// Seek origins.
enum : uint16_t { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

// File open modes: one of the access modes, or fmCreate, optionally or-ed
// with a share flag (share flags are accepted and ignored).
enum : uint16_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

class TStream {
public:
    virtual ~TStream() = default;

    // Transfer up to count bytes; return the number actually moved.
    virtual int64_t Read(void *buffer, int64_t count) = 0;
    virtual int64_t Write(const void *buffer, int64_t count) = 0;
    // Move the position; returns the new position from the start.
    virtual int64_t Seek(int64_t offset, int origin) = 0;
    virtual void SetSize(int64_t newSize) = 0;

    int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, soFromBeginning); }
    virtual int64_t Size();

    // Whole transfers: raise EReadError "Stream read error" / EWriteError
    // (RaiseWriteError) when fewer than count bytes move.
    void ReadBuffer(void *buffer, int64_t count);
    void WriteBuffer(const void *buffer, int64_t count);

    // Copies count bytes from source's current position; count 0 copies the
    // whole source from its start. Returns the number of bytes copied.
    int64_t CopyFrom(TStream &source, int64_t count);

protected:
    // The error of a failed WriteBuffer: EWriteError "Stream write error".
    [[noreturn]] virtual void RaiseWriteError();
};

// A stream in a growable memory block.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    int64_t Read(void *buffer, int64_t count) override;
    int64_t Write(const void *buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int origin) override;
    void SetSize(int64_t newSize) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }

    uint8_t *Memory() { return FData.data(); }
    const uint8_t *Memory() const { return FData.data(); }
    const std::vector<uint8_t> &Bytes() const { return FData; }
    void Clear();

    // Replace the contents with the whole of stream (from its start) or file;
    // the position is 0 afterwards.
    void LoadFromStream(TStream &stream);
    void LoadFromFile(const std::string &fileName);
    // Write the whole contents to stream (at its position) or to file (safely
    // replaced: temporary file and rename).
    void SaveToStream(TStream &stream);
    void SaveToFile(const std::string &fileName);

private:
    std::vector<uint8_t> FData;
    int64_t FPosition = 0;
};

// A stream on an open file descriptor (not owned: the descriptor stays open).
class THandleStream : public TStream {
public:
    explicit THandleStream(int handle) : FHandle(handle) {}
    int64_t Read(void *buffer, int64_t count) override;
    int64_t Write(const void *buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int origin) override;
    void SetSize(int64_t newSize) override;
    int Handle() const { return FHandle; }

protected:
    int FHandle = -1;
};

// A stream on a named file. The open modes open a regular file only. Open
// failure raises EFOpenError "Cannot open file \"<name>\". <reason>" (the
// reason "Not a regular file" for a pipe or a device); fmCreate failure
// raises EFCreateError "Cannot create file \"<name>\". <reason>". fmCreate
// truncates at once: for a file that must not be lost use TSafeFileStream.
class TFileStream : public THandleStream {
public:
    TFileStream(const std::string &fileName, uint16_t mode);
    ~TFileStream() override;
    TFileStream(const TFileStream &) = delete;
    TFileStream &operator=(const TFileStream &) = delete;
    const std::string &FileName() const { return FFileName; }

private:
    std::string FFileName;
};

// The reason "Not a regular file", in place of a system error number.
inline constexpr int kNotRegularFile = 0x10000;
// The text of a system error number or of kNotRegularFile.
std::string FileErrorText(int err);

// Opens fileName when it is a regular file: checked by name, opened without
// blocking and checked again on the descriptor. accessFlags: O_RDONLY,
// O_WRONLY or O_RDWR (with O_APPEND or O_TRUNC). Returns the descriptor
// (blocking, close-on-exec) or -1 with the reason in err (EISDIR for a
// folder, kNotRegularFile for anything else that is no regular file).
int OpenRegularFile(const std::string &fileName, int accessFlags, int &err);

// An input stream buffer that reads an open descriptor, and closes it.
// With a limit it ends after that many bytes: a file read as it was when it
// was opened ends there, however fast another program appends to it.
class TDescriptorReadBuf : public std::streambuf {
public:
    explicit TDescriptorReadBuf(int handle, uint64_t limit = UINT64_MAX)
        : FHandle(handle), FLeft(limit)
    {
    }
    ~TDescriptorReadBuf() override;
    TDescriptorReadBuf(const TDescriptorReadBuf &) = delete;
    TDescriptorReadBuf &operator=(const TDescriptorReadBuf &) = delete;
    // False after a read error (the stream then ends there).
    bool Good() const { return FError == 0; }

protected:
    int_type underflow() override;

private:
    int FHandle;
    uint64_t FLeft; // bytes the limit still allows
    int FError = 0;
    char FBuffer[65536];
};

// A file being replaced (see above): made beside its target by Begin,
// written through Handle, put in the target's place by Commit. Destroyed or
// cancelled before Commit, it is gone and the target is as it was.
class TFileReplacement {
public:
    TFileReplacement() = default;
    ~TFileReplacement() { Cancel(); }
    TFileReplacement(const TFileReplacement &) = delete;
    TFileReplacement &operator=(const TFileReplacement &) = delete;

    // Makes the temporary file for fileName, with the permissions of the
    // file it replaces (else those of any new file); a named one ends in
    // suffix. False with the reason in err.
    bool Begin(const std::string &fileName, int &err, const std::string &suffix = std::string());
    int Handle() const { return FHandle; }
    // A name under which the temporary file can be opened again while it is
    // being written ("/proc/self/fd/<n>" for one without a name).
    std::string Path() const;
    // Flushes the file to disk, closes it and puts it in the target's place
    // in one step. False with the reason in err; the temporary file is gone
    // then and the target as it was.
    bool Commit(int &err);
    void Cancel();

private:
    std::string FFileName;
    std::string FTempName; // empty for a file without a name
    int FHandle = -1;
};

// Whether replacements may use files without a name where the file system
// offers them (true unless set; false gives every one a named temporary
// file, as on a file system without them). Returns the former setting.
bool SetUnnamedTempFiles(bool allowed);

// Writes to a temporary file beside fileName (a TFileReplacement); Commit()
// flushes it to disk and puts it in fileName's place. Destroyed without
// Commit() (or after a failed write), the temporary file is gone and the
// old file is left untouched.
class TSafeFileStream : public THandleStream {
public:
    explicit TSafeFileStream(const std::string &fileName); // raises EFCreateError
    ~TSafeFileStream() override;
    TSafeFileStream(const TSafeFileStream &) = delete;
    TSafeFileStream &operator=(const TSafeFileStream &) = delete;

    // A write that moved fewer bytes than asked marks the stream failed, and
    // a failed stream never commits.
    int64_t Write(const void *buffer, int64_t count) override;

    // Raises EWriteError "Cannot write file \"<name>\". <reason>" on failure
    // (also after a failed write); the temporary file is removed then and the
    // old file stays.
    void Commit();
    void Cancel(); // drop the temporary file
    const std::string &FileName() const { return FFileName; }
    bool Committed() const { return FCommitted; }

protected:
    // A failed WriteBuffer names the file and the reason: EWriteError
    // "Cannot write file \"<name>\". <reason>".
    [[noreturn]] void RaiseWriteError() override;

private:
    std::string FFileName;
    TFileReplacement FReplacement;
    bool FCommitted = false;
    int FWriteError = 0;
};

enum class TFileRead {
    Read,
    CannotOpen, // missing, no regular file, no access: "Cannot open file ..."
    CannotRead, // "Cannot read file ..."
    TooLarge,   // more than the bytes allowed: "Cannot read file ... File too large"
};
// The whole content of a regular file of at most maxSize bytes. A longer
// file is TooLarge whatever size it reports: no more than maxSize + 1 bytes
// are read. out is left as it was unless Read; the reason, with the name, in
// error.
TFileRead ReadFileBytes(const std::string &fileName, size_t maxSize, std::vector<uint8_t> &out,
                        std::string *error = nullptr);

// The whole content of a regular file; raises EFOpenError when it cannot be
// opened and EReadError when reading fails.
std::vector<uint8_t> ReadAllBytes(const std::string &fileName);
// As above without exceptions: false and a reason on failure.
bool TryReadAllBytes(const std::string &fileName, std::vector<uint8_t> &out,
                     std::string *error = nullptr);

// Replaces fileName with bytes through a flushed temporary file in the same
// folder (a TFileReplacement). On failure the old file is untouched, the temporary
// file is gone and EFCreateError / EWriteError is raised.
void WriteFileAtomically(const std::string &fileName, const void *data, size_t size);
void WriteFileAtomically(const std::string &fileName, const std::vector<uint8_t> &bytes);
void WriteFileAtomically(const std::string &fileName, const std::string &bytes);
// As above without exceptions: false and a reason on failure.
bool TryWriteFileAtomically(const std::string &fileName, const void *data, size_t size,
                            std::string *error = nullptr);

} // namespace rtl
