// Byte streams of the class-library core: the abstract TStream, a growable
// memory stream, a file stream with the class library's open modes, and
// helpers that read a whole file or replace one safely (temporary file in
// the same folder, flushed, then renamed into place).
#pragma once

#include <cstddef>
#include <cstdint>
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
    // "Stream write error" when fewer than count bytes move.
    void ReadBuffer(void *buffer, int64_t count);
    void WriteBuffer(const void *buffer, int64_t count);

    // Copies count bytes from source's current position; count 0 copies the
    // whole source from its start. Returns the number of bytes copied.
    int64_t CopyFrom(TStream &source, int64_t count);
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

// A stream on a named file. Open failure raises
// EFOpenError "Cannot open file \"<name>\". <reason>"; fmCreate failure
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

// Writes to a temporary file beside fileName; Commit() flushes it to disk and
// renames it over fileName. Destroyed without Commit() (or after a failed
// write), the temporary file is removed and the old file is left untouched.
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

private:
    std::string FFileName;
    std::string FTempName;
    bool FCommitted = false;
    int FWriteError = 0;
};

// The whole content of a file; raises EFOpenError when it cannot be opened
// and EReadError when reading fails.
std::vector<uint8_t> ReadAllBytes(const std::string &fileName);
// As above without exceptions: false and a reason on failure.
bool TryReadAllBytes(const std::string &fileName, std::vector<uint8_t> &out,
                     std::string *error = nullptr);

// Replaces fileName with bytes through a flushed temporary file in the same
// folder and a rename. On failure the old file is untouched, the temporary
// file is gone and EFCreateError / EWriteError is raised.
void WriteFileAtomically(const std::string &fileName, const void *data, size_t size);
void WriteFileAtomically(const std::string &fileName, const std::vector<uint8_t> &bytes);
void WriteFileAtomically(const std::string &fileName, const std::string &bytes);
// As above without exceptions: false and a reason on failure.
bool TryWriteFileAtomically(const std::string &fileName, const void *data, size_t size,
                            std::string *error = nullptr);

} // namespace rtl
