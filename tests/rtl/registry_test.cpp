#include "platform/rtl/registry.h"

#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"
#include "tests/support/write_limit.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace rtl;

namespace {

void WriteText(const fs::path &p, const std::string &text)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

template <class F> std::string ErrorOf(F &&f)
{
    try {
        f();
    } catch (const ERegistryError &e) {
        return e.Message();
    }
    return "(no error)";
}

// Points XDG_CONFIG_HOME at a fresh folder and uses the file backend.
class RegistryFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FTemp.Path().empty());
        FDir = FTemp.Path();
        UseConfig(FDir / "config");
    }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }
    void UseConfig(const fs::path &dir) { ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1); }
    fs::path File() const { return FDir / "config" / "Nivora" / "registry"; }

    testsupport::TTempDir FTemp{"nivora-registry"};
    fs::path FDir;
    TRegistryBackendScope FBackend{TRegistryBackend::File};
};

} // namespace

TEST(RegistryValues, ReadsRaiseOnMissingValuesAndWrongTypes)
{
    TRegistryBackendScope memory;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", true));
    reg.WriteInteger("Dword", 7);
    std::uint8_t four[4] = {1, 2, 3, 4};
    reg.WriteBinaryData("Four", four, 4);
    reg.WriteString("Text", "1.5");

    for (const char *name : {"Dword", "Four", "Text", "Missing"})
        EXPECT_EQ(ErrorOf([&] { reg.ReadFloat(name); }),
                  "Invalid data type for '" + std::string(name) + "'");
    for (const char *name : {"Text", "Four", "Missing"})
        EXPECT_THROW(reg.ReadInteger(name), ERegistryError) << name;
    EXPECT_THROW(reg.ReadString("Dword"), ERegistryError);
    EXPECT_THROW(reg.ReadBinaryData("Text"), ERegistryError);
    std::uint8_t small[3];
    EXPECT_EQ(ErrorOf([&] { reg.ReadBinaryData("Four", small, 3); }),
              "Invalid data type for 'Four'");
    // The class library's lenient reads of a missing string or binary value.
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_EQ(reg.ReadBinaryData("Missing", small, 3), 0);

    EXPECT_EQ(reg.GetDataType("Text"), rdString);
    EXPECT_EQ(reg.GetDataType("Missing"), rdUnknown);

    // A value overwritten with another type takes the new type.
    reg.WriteFloat("Dword", 2.5);
    EXPECT_EQ(reg.ReadFloat("Dword"), 2.5);
    EXPECT_THROW(reg.ReadInteger("Dword"), ERegistryError);
}

TEST(RegistryValues, WritesRaiseWithoutAWritableKey)
{
    TRegistryBackendScope memory;
    TRegistry reg;
    EXPECT_EQ(ErrorOf([&] { reg.WriteInteger("X", 1); }), "Failed to set data for 'X'");
    ASSERT_TRUE(reg.OpenKey("\\A", true));
    reg.WriteInteger("X", 1);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\A"));
    EXPECT_EQ(ErrorOf([&] { reg.WriteString("X", "s"); }), "Failed to set data for 'X'");
    EXPECT_FALSE(reg.DeleteValue("X"));
    EXPECT_EQ(reg.ReadInteger("X"), 1);

    // The current key deleted by another object: writes fail, nothing is recreated.
    TRegistry other;
    ASSERT_TRUE(reg.OpenKey("\\A", false));
    EXPECT_TRUE(other.DeleteKey("\\A"));
    EXPECT_THROW(reg.WriteInteger("X", 2), ERegistryError);
    EXPECT_FALSE(other.KeyExists("\\A"));
}

TEST(RegistryKeys, PathsAreCaseInsensitiveAndRelativeToTheCurrentKey)
{
    TRegistryBackendScope memory;
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", true));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Nivora");
    reg.WriteInteger("LxLangIndex", 3);
    ASSERT_TRUE(reg.OpenKey("Sub\\Deeper", true));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Nivora\\Sub\\Deeper");

    // A failed open keeps the current key.
    EXPECT_FALSE(reg.OpenKey("\\software\\missing", false));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Nivora\\Sub\\Deeper");

    TRegistry cu; // HKEY_CURRENT_USER is the same tree
    ASSERT_TRUE(cu.OpenKey("\\software\\NIVORA", false));
    EXPECT_EQ(cu.ReadInteger("lxlangindex"), 3);
    EXPECT_TRUE(cu.ValueExists("LXLANGINDEX"));
    // Windows-1252 letters fold too.
    ASSERT_TRUE(cu.OpenKey("\xC4nderung", true));
    EXPECT_TRUE(cu.KeyExists("\\SOFTWARE\\nivora\\\xE4NDERUNG"));

    TRegistry unknown;
    unknown.SetRootKey(0x12345678u);
    EXPECT_FALSE(unknown.OpenKey("\\SOFTWARE", true));

    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("\\Software\\Nivora\\SUB"));
    EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\Nivora\\Sub\\Deeper"));
    EXPECT_TRUE(reg.KeyExists("SOFTWARE\\Nivora")); // relative to the root
    EXPECT_FALSE(reg.DeleteKey("\\"));
}

TEST_F(RegistryFile, EveryTypeSurvivesTheFile)
{
    const std::string tricky = std::string("a=b \"q\" 'p'\r\nline2\t\\x41 \x80\xE9\xFF") +
                               std::string(1, '\0') + "end\x7F\x01";
    std::vector<std::uint8_t> blob(1000);
    for (size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<std::uint8_t>(i * 7);
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", true));
        reg.WriteFloat("RealTimeRate", 0.1);
        reg.WriteInteger("LxLangIndex", -2);
        reg.WriteBool("Flag", true);
        reg.WriteString("Tricky", tricky);
        reg.WriteString("", "default value");
        reg.WriteBinaryData("Blob", blob.data(), static_cast<int>(blob.size()));
        reg.WriteBinaryData("Empty", nullptr, 0);
        ASSERT_TRUE(reg.OpenKey("\\Odd [key] 100%\\\xE9t\xE9=\"x\"", true));
        reg.WriteString("v", "w");
        ASSERT_TRUE(reg.OpenKey("\\Empty key", true));
        TRegistry config;
        config.SetRootKey(HKEY_CURRENT_CONFIG);
        ASSERT_TRUE(config.OpenKey("\\SOFTWARE\\Nivora", true));
        config.WriteInteger("Separate", 9);
    }
    const std::string text = testsupport::FileBytes(File());
    ASSERT_FALSE(text.empty());
    for (char c : text)
        ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << "byte " << int(c);

    // Another folder holding a copy: a new store that knows only the file.
    fs::create_directories(FDir / "copy" / "Nivora");
    fs::copy_file(File(), FDir / "copy" / "Nivora" / "registry");
    UseConfig(FDir / "copy");
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", false));
    EXPECT_EQ(reg.ReadFloat("RealTimeRate"), 0.1);
    EXPECT_EQ(reg.ReadInteger("LxLangIndex"), -2);
    EXPECT_TRUE(reg.ReadBool("Flag"));
    EXPECT_EQ(reg.ReadString("Tricky"), tricky);
    EXPECT_EQ(reg.ReadString(""), "default value");
    EXPECT_EQ(reg.ReadBinaryData("Blob"), blob);
    EXPECT_EQ(reg.GetDataType("Empty"), rdBinary);
    EXPECT_EQ(reg.GetDataSize("Empty"), 0);
    EXPECT_FALSE(reg.ValueExists("Separate"));
    ASSERT_TRUE(reg.OpenKey("\\odd [KEY] 100%\\\xC9T\xC9=\"x\"", false));
    EXPECT_EQ(reg.ReadString("V"), "w");
    EXPECT_TRUE(reg.KeyExists("\\Empty key"));
    reg.SetRootKey(HKEY_CURRENT_CONFIG);
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", false));
    EXPECT_EQ(reg.ReadInteger("Separate"), 9);
}

TEST_F(RegistryFile, DamagedFileYieldsItsValidValues)
{
    std::string text = "; Nivora registry\n"
                       "\"Orphan\"=dword:00000001\n" // before any key
                       "[HKEY_CURRENT_USER\\SOFTWARE\\Nivora]\n"
                       "\"LxLangIndex\"=dword:00000004\r\n"
                       "\"BadHex\"=hex:00,0g\n"
                       "\"ShortDword\"=dword:123\n"
                       "\"Unknown\"=qword:0000000000000001\n"
                       "\"Unterminated\"=sz:\"abc\n"
                       "\"BadEscape\"=sz:\"a\\qb\"\n"
                       "\"Trailing\"=sz:\"a\"junk\n"
                       "garbage \x01\x02\xFF without sense\n"
                       "[HKEY_NOWHERE\\SOFTWARE\\Nivora]\n"
                       "\"Lost\"=dword:00000002\n"
                       "[HKEY_CURRENT_USER\\Bad%zzName]\n"
                       "\"Lost2\"=dword:00000002\n";
    // A key nested far deeper than any real one (the tree is freed recursively).
    text += "[HKEY_CURRENT_USER";
    for (int i = 0; i < 300000; ++i)
        text += "\\a";
    text += "]\n\"Deep\"=dword:00000003\n"
            "[HKEY_LOCAL_MACHINE\\software\\nivora]\n"
            "\"RealTimeRate\"=hex:00,00,00,00,00,00,04,40\n"
            "\"Cut\"=hex:00,00,00,00,00,00,f0";
    text += std::string("\0\0\0", 3);
    WriteText(File(), text);

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", false));
    EXPECT_EQ(reg.ReadInteger("LxLangIndex"), 4);
    EXPECT_EQ(reg.ReadFloat("RealTimeRate"), 2.5);
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"LxLangIndex", "RealTimeRate"}));
    EXPECT_EQ(reg.GetKeyNames().size(), 0u);
    reg.CloseKey();
    EXPECT_FALSE(reg.KeyExists("\\Bad%zzName"));
    EXPECT_FALSE(reg.KeyExists("\\a")) << "a key nested too deep is dropped";

    // The next write keeps the valid values and drops the damage.
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", false));
    reg.WriteInteger("LxLangIndex", 5);
    reg.CloseKey();
    const std::string saved = testsupport::FileBytes(File());
    EXPECT_NE(saved.find("\"RealTimeRate\"=hex:00,00,00,00,00,00,04,40\n"), std::string::npos);
    EXPECT_NE(saved.find("\"LxLangIndex\"=dword:00000005\n"), std::string::npos);
    EXPECT_EQ(saved.find("garbage"), std::string::npos);
}

TEST_F(RegistryFile, ObjectsShareChangesAndSeeTheFileChange)
{
    TRegistry a, b;
    ASSERT_TRUE(a.OpenKey("\\SOFTWARE\\Nivora", true));
    ASSERT_TRUE(b.OpenKey("\\SOFTWARE\\Nivora", false));
    a.WriteInteger("LxLangIndex", 2);
    EXPECT_EQ(b.ReadInteger("LxLangIndex"), 2); // before anything is written
    EXPECT_EQ(testsupport::FileBytes(File()).find("LxLangIndex"), std::string::npos);
    EXPECT_TRUE(b.Flush());
    EXPECT_NE(testsupport::FileBytes(File()).find("\"LxLangIndex\"=dword:00000002"),
              std::string::npos);

    // Another program replaces the file while a change of ours is pending:
    // both end up in the file.
    a.WriteString("Mine", "pending");
    WriteText(File().string() + ".new", "[HKEY_CURRENT_USER\\SOFTWARE\\Nivora]\n"
                                        "\"LxLangIndex\"=dword:00000007\n"
                                        "\"Theirs\"=sz:\"x\"\n");
    fs::rename(File().string() + ".new", File());
    EXPECT_EQ(b.ReadInteger("LxLangIndex"), 7);
    EXPECT_EQ(b.ReadString("Mine"), "pending");
    a.CloseKey();
    const std::string saved = testsupport::FileBytes(File());
    EXPECT_NE(saved.find("\"Theirs\"=sz:\"x\""), std::string::npos);
    EXPECT_NE(saved.find("\"Mine\"=sz:\"pending\""), std::string::npos);
}

TEST_F(RegistryFile, FailedWriteLeavesTheOldFile)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", true));
        reg.WriteInteger("LxLangIndex", 1);
    }
    const std::string before = testsupport::FileBytes(File());
    ASSERT_FALSE(before.empty());

    // A write cut off half-way (file size limit): the old file stays, a
    // write-through write reports the failure and keeps the old value.
    {
        TRegistry reg;
        reg.SetLazyWrite(false);
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", false));
        std::string big(4000, 'x');
        std::string error;
        {
            testsupport::TWriteLimit limit(64);
            error = ErrorOf([&] { reg.WriteString("Big", big); });
        }
        EXPECT_EQ(error, "Failed to set data for 'Big'");
        EXPECT_FALSE(reg.ValueExists("Big"));
        EXPECT_EQ(reg.ReadInteger("LxLangIndex"), 1);
    }
    EXPECT_EQ(testsupport::FileBytes(File()), before);
    for (const auto &entry : fs::directory_iterator(File().parent_path()))
        EXPECT_EQ(entry.path().filename(), "registry"); // no temporary left behind
}

TEST_F(RegistryFile, ReadOnlyFolderLeavesTheOldFile)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", true));
        reg.WriteInteger("LxLangIndex", 1);
    }
    const std::string before = testsupport::FileBytes(File());
    // Root ignores folder permissions: as root the check runs as "nobody".
    EXPECT_TRUE(testsupport::RunUnprivileged(FDir, [&] {
        fs::permissions(File().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
        {
            TRegistry reg;
            EXPECT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", false));
            reg.WriteInteger("LxLangIndex", 6);
            std::string error;
            EXPECT_FALSE(reg.Flush(&error));
            EXPECT_NE(error.find(File().string()), std::string::npos) << error;
            EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
            EXPECT_EQ(reg.ReadInteger("LxLangIndex"), 6); // pending, not lost
        }
        EXPECT_EQ(testsupport::FileBytes(File()), before);
        return true;
    }));
    EXPECT_EQ(testsupport::FileBytes(File()), before);
}

TEST_F(RegistryFile, MemoryBackendAndFileLocation)
{
    EXPECT_EQ(RegistryFileName(), File().string());
    {
        TRegistryBackendScope memory;
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Nivora", true));
        reg.WriteInteger("LxLangIndex", 8);
        EXPECT_TRUE(reg.Flush());
    }
    EXPECT_FALSE(fs::exists(File()));
    {
        TRegistryBackendScope memory; // starts empty again
        TRegistry reg;
        EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\Nivora"));
    }

    const char *home = std::getenv("HOME");
    std::string savedHome = home ? home : "";
    ::setenv("HOME", FDir.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(RegistryFileName(), (FDir / ".config/Nivora/registry").string());
    ::setenv("XDG_CONFIG_HOME", "relative/dir", 1); // not absolute: ignored
    EXPECT_EQ(RegistryFileName(), (FDir / ".config/Nivora/registry").string());
    ::setenv("HOME", savedHome.c_str(), 1);
}
