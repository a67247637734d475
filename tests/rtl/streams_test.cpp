#include "platform/rtl/streams.h"

#include "tests/support/temp_dir.h"
#include "tests/support/write_limit.h"

#include "platform/rtl/exceptions.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace rtl;
namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string &path)
{
    auto bytes = ReadAllBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(MemoryStream, ReadsSeeksSizesAndCopies)
{
    TMemoryStream m;
    EXPECT_EQ(m.Seek(0, soFromEnd), 0);
    m.WriteBuffer("0123456789", 10);
    EXPECT_EQ(m.Position(), 10);
    EXPECT_EQ(m.Seek(-3, soFromEnd), 7);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 3); // plain Read returns what is there
    EXPECT_EQ(std::string(buf, 3), "789");
    EXPECT_EQ(m.Seek(-2, soFromCurrent), 8);
    try {
        m.ReadBuffer(buf, 3); // a short ReadBuffer raises
        FAIL();
    } catch (const EReadError &e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    EXPECT_EQ(m.Seek(-100, soFromCurrent), 0); // clamped at the start
    EXPECT_NO_THROW(m.ReadBuffer(buf, 0));
    m.SetPosition(2);
    EXPECT_NO_THROW(m.ReadBuffer(buf, 8)); // up to the last byte
    // Writing past the end fills the gap with zeros.
    m.SetPosition(12);
    m.WriteBuffer("x", 1);
    ASSERT_EQ(m.Size(), 13);
    EXPECT_EQ(m.Memory()[10], 0);
    EXPECT_EQ(m.Memory()[12], 'x');

    // Count 0 copies everything from the start, whatever the position.
    TMemoryStream all, part;
    EXPECT_EQ(all.CopyFrom(m, 0), 13);
    EXPECT_EQ(all.Bytes(), m.Bytes());
    m.SetPosition(6);
    EXPECT_EQ(part.CopyFrom(m, 4), 4);
    EXPECT_EQ(std::string(part.Bytes().begin(), part.Bytes().end()), "6789");
    m.SetPosition(10);
    EXPECT_THROW(part.CopyFrom(m, 5), EReadError);

    // Shrinking pulls the position back.
    m.SetSize(4);
    EXPECT_EQ(m.Size(), 4);
    EXPECT_EQ(m.Position(), 4);
    EXPECT_EQ(m.Read(buf, 1), 0);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
}

TEST(FileStream, ModesAndOpenErrors)
{
    testsupport::TTempDir dir("nivora-streams");
    const std::string path = dir / "data.bin";
    try {
        TFileStream f(path, fmOpenRead | fmShareDenyNone);
        FAIL();
    } catch (const EFOpenError &e) {
        EXPECT_EQ(e.Message().rfind("Cannot open file \"" + path + "\". ", 0), 0u) << e.Message();
    }
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("abcdef", 6);
        EXPECT_EQ(f.Size(), 6);
        EXPECT_EQ(f.Position(), 6);
    }
    {
        TFileStream f(path, fmOpenReadWrite);
        EXPECT_EQ(f.Seek(-2, soFromEnd), 4);
        f.WriteBuffer("XY", 2);
        f.SetSize(5);
        EXPECT_EQ(f.Position(), 5);
    }
    {
        TFileStream f(path, fmOpenRead | fmShareDenyWrite);
        EXPECT_THROW(f.WriteBuffer("z", 1), EWriteError);
        char buf[8];
        EXPECT_THROW(f.ReadBuffer(buf, 6), EReadError);
    }
    EXPECT_EQ(ReadText(path), "abcdX");
    EXPECT_THROW(TFileStream(dir.Path(), fmOpenRead), EFOpenError); // a folder is no file
    EXPECT_THROW(TFileStream(dir / "no/such/file", fmCreate), EFCreateError);
    EXPECT_THROW(ReadAllBytes(dir / "missing"), EFOpenError);

    TMemoryStream m;
    m.LoadFromFile(path);
    EXPECT_EQ(m.Size(), 5);
    EXPECT_EQ(m.Position(), 0);
}

TEST(AtomicWrite, ReplacesTheFileAndAFailureKeepsTheOldOne)
{
    testsupport::TTempDir dir("nivora-streams");
    const std::string path = dir / "keep.txt";
    WriteFileAtomically(path, std::string("first, longer"));
    WriteFileAtomically(path, std::string());
    EXPECT_EQ(ReadText(path), "");
    WriteFileAtomically(path, std::string("good data"));
    EXPECT_EQ(ReadText(path), "good data");

    // The target is a folder.
    fs::create_directory(dir / "sub");
    EXPECT_THROW(WriteFileAtomically(dir / "sub", std::string("x")), EFCreateError);
    EXPECT_TRUE(fs::is_directory(dir / "sub"));
    // The folder does not exist.
    std::string error;
    EXPECT_FALSE(TryWriteFileAtomically(dir / "nope/f.txt", "x", 1, &error));
    EXPECT_NE(error.find("Cannot create file"), std::string::npos);

    // The disk fills up in the middle of the write.
    {
        testsupport::TWriteLimit limit(4);
        EXPECT_FALSE(TryWriteFileAtomically(path, "much more than four bytes", 25, &error));
    }
    EXPECT_NE(error.find("Cannot write file"), std::string::npos) << error;
    EXPECT_EQ(ReadText(path), "good data");

    // A folder that cannot be written to (not testable as root).
    if (geteuid() != 0) {
        chmod(dir.Path().c_str(), 0500);
        EXPECT_THROW(WriteFileAtomically(path, std::string("new")), EFCreateError);
        chmod(dir.Path().c_str(), 0700);
        EXPECT_EQ(ReadText(path), "good data");
    }
    EXPECT_EQ(dir.EntryCount(), 2u); // keep.txt and sub: no stray temporary file
}

TEST(SafeFileStream, CommitReplacesDestroyWithoutCommitKeeps)
{
    testsupport::TTempDir dir("nivora-streams");
    const std::string path = dir / "doc.rec";
    WriteFileAtomically(path, std::string("old"));
    {
        TSafeFileStream s(path);
        s.WriteBuffer("abandoned", 9);
    }
    EXPECT_EQ(ReadText(path), "old");
    EXPECT_EQ(dir.EntryCount(), 1u);
    {
        TSafeFileStream s(path);
        TMemoryStream m;
        m.WriteBuffer("new content", 11);
        m.SaveToStream(s);
        EXPECT_EQ(ReadText(path), "old"); // not visible before Commit
        s.Commit();
        EXPECT_TRUE(s.Committed());
    }
    EXPECT_EQ(ReadText(path), "new content");
    EXPECT_EQ(dir.EntryCount(), 1u);
    {
        // A short write that the caller ignores still prevents the commit.
        TSafeFileStream s(path);
        {
            testsupport::TWriteLimit limit(4);
            EXPECT_LT(s.Write("truncated text", 14), 14);
        }
        EXPECT_THROW(s.Commit(), EWriteError);
        EXPECT_FALSE(s.Committed());
    }
    EXPECT_EQ(ReadText(path), "new content");
    EXPECT_EQ(dir.EntryCount(), 1u);
    EXPECT_THROW(TSafeFileStream(dir.Path()), EFCreateError);
}

TEST(FileReaders, PipesAndDevicesAreRefusedBeforeAnythingIsRead)
{
    testsupport::TTempDir dir("nivora-streams");
    const std::string pipe = dir / "pipe.rec";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string zero = dir / "zero.rec";
    ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
    // A reader that blocks on the pipe or reads the device without end is
    // ended by the alarm.
    ::alarm(5);
    for (const std::string &name : {pipe, zero, std::string("/dev/zero")}) {
        std::vector<uint8_t> bytes{1, 2};
        std::string error;
        EXPECT_EQ(ReadFileBytes(name, SIZE_MAX, bytes, &error), TFileRead::CannotOpen) << name;
        EXPECT_EQ(error, "Cannot open file \"" + name + "\". Not a regular file");
        EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2})); // left as it was
        EXPECT_THROW(TFileStream(name, fmOpenRead), EFOpenError) << name;
        EXPECT_THROW(ReadAllBytes(name), EFOpenError) << name;
    }
    ::alarm(0);

    // A cap holds by the bytes read, one past it being too many.
    const std::string ten = dir / "ten.bin";
    WriteFileAtomically(ten, std::string("0123456789"));
    std::vector<uint8_t> bytes;
    EXPECT_EQ(ReadFileBytes(ten, 9, bytes), TFileRead::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadFileBytes(ten, 10, bytes), TFileRead::Read);
    EXPECT_EQ(bytes.size(), 10u);
}

TEST(AtomicWrite, AWriterKilledInTheMiddleLeavesOnlyTheOldFile)
{
    // With a file without a name nothing is left at all; with a named one
    // (a file system without them) the next write there removes it.
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        testsupport::TTempDir dir("nivora-streams");
        const std::string path = dir / "data.rec";
        const std::string old = "the old collection\n";
        WriteFileAtomically(path, old);
        // A temporary file of a process still running stays.
        const std::string living =
            dir / (".data.rec.~nivora-" + std::to_string(getppid()) + "-abcDEF");
        WriteFileAtomically(living, std::string("in use"));

        const bool previous = SetUnnamedTempFiles(unnamed);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TSafeFileStream out(path);
            std::vector<char> block(1 << 20, 'x');
            for (int i = 0; i < 512; ++i) {
                out.WriteBuffer(block.data(), std::int64_t(block.size()));
                if (i == 4)
                    (void)!::write(ready[1], "!", 1);
            }
            ::_exit(0); // never reached: killed long before
        }
        char c = 0;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(ready[0]);
        ::close(ready[1]);
        ASSERT_TRUE(WIFSIGNALED(status));

        if (!unnamed) {
            EXPECT_EQ(dir.EntryCount(), 3u); // its temporary file is there
            WriteFileAtomically(dir / "other.txt", std::string("next"));
            fs::remove(dir / "other.txt");
        }
        SetUnnamedTempFiles(previous);
        EXPECT_EQ(dir.EntryCount(), 2u);
        EXPECT_EQ(testsupport::FileBytes(path), old);
        EXPECT_TRUE(fs::exists(living));
    }
}
