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

TEST(MemoryStream, ShortReadsRaiseAndPartialReadsCount)
{
    TMemoryStream m;
    m.WriteBuffer("abcdef", 6);
    EXPECT_EQ(m.Position(), 6);
    m.SetPosition(4);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 2); // plain Read returns what is there
    EXPECT_EQ(std::string(buf, 2), "ef");
    m.SetPosition(4);
    EXPECT_THROW(m.ReadBuffer(buf, 3), EReadError);
    try {
        m.SetPosition(6);
        m.ReadBuffer(buf, 1);
        FAIL();
    } catch (const EReadError &e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    m.SetPosition(0);
    EXPECT_NO_THROW(m.ReadBuffer(buf, 0));
    EXPECT_NO_THROW(m.ReadBuffer(buf, 6));
}

TEST(MemoryStream, SeekAndSizeEdges)
{
    TMemoryStream m;
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Seek(0, soFromEnd), 0);
    m.WriteBuffer("0123456789", 10);
    EXPECT_EQ(m.Seek(-3, soFromEnd), 7);
    EXPECT_EQ(m.Seek(2, soFromCurrent), 9);
    EXPECT_EQ(m.Seek(-100, soFromCurrent), 0); // clamped at the start
    // Writing past the end fills the gap with zeros.
    m.SetPosition(12);
    m.WriteBuffer("x", 1);
    ASSERT_EQ(m.Size(), 13);
    EXPECT_EQ(m.Memory()[10], 0);
    EXPECT_EQ(m.Memory()[12], 'x');
    // Shrinking pulls the position back.
    m.SetSize(4);
    EXPECT_EQ(m.Size(), 4);
    EXPECT_EQ(m.Position(), 4);
    char c;
    EXPECT_EQ(m.Read(&c, 1), 0);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
}

TEST(MemoryStream, CopyFromWholeSourceOrCount)
{
    TMemoryStream src, dst;
    src.WriteBuffer("hello world", 11);
    // Count 0 copies everything from the start, whatever the position.
    EXPECT_EQ(dst.CopyFrom(src, 0), 11);
    EXPECT_EQ(std::string(dst.Bytes().begin(), dst.Bytes().end()), "hello world");
    src.SetPosition(6);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(src, 5), 5);
    EXPECT_EQ(std::string(part.Bytes().begin(), part.Bytes().end()), "world");
    src.SetPosition(8);
    EXPECT_THROW(part.CopyFrom(src, 5), EReadError);
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

TEST(AtomicWrite, ReplacesAndLeavesNoTemporaryFile)
{
    testsupport::TTempDir dir("nivora-streams");
    const std::string path = dir / "out.txt";
    WriteFileAtomically(path, std::string("first"));
    WriteFileAtomically(path, std::string("second, longer"));
    EXPECT_EQ(ReadText(path), "second, longer");
    WriteFileAtomically(path, std::string());
    EXPECT_EQ(ReadText(path), "");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(AtomicWrite, FailureKeepsTheOldFile)
{
    testsupport::TTempDir dir("nivora-streams");
    const std::string path = dir / "keep.txt";
    WriteFileAtomically(path, std::string("good data"));

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
