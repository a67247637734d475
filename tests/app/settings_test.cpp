// The files of the close sequence under a full disk: a write that fails part
// way keeps the previous "language.txt" and registry file byte for byte and
// leaves no temporary file beside them.
#include "app/settings.h"

#include "tests/support/temp_dir.h"
#include "tests/support/write_limit.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(CloseFiles, AFailedWriteKeepsTheOldLanguageFileAndRegistry)
{
    testsupport::TTempDir dir("nivora-settings");
    ASSERT_FALSE(dir.Path().empty());
    const QString working = QString::fromStdString(dir / "temp");
    ASSERT_TRUE(app::EnsureFolder(working));
    const std::string language = dir / "temp/language.txt";
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    const std::string registry = dir / "config/Nivora/registry";

    ASSERT_TRUE(app::WriteLanguageFile(working, 3));
    app::WriteStartSettings({2.5, 3});
    EXPECT_EQ(testsupport::FileBytes(language), "3\r\n");
    const std::string settings = testsupport::FileBytes(registry);
    ASSERT_NE(settings.find("\"LxLangIndex\"=dword:00000003"), std::string::npos) << settings;

    // Two bytes fit: the write fails after "5\r", the registry's after its first line.
    EXPECT_EQ(testsupport::RunUnderWriteLimit(2,
                                              [&] {
                                                  app::WriteStartSettings({1.0, 5});
                                                  return app::WriteLanguageFile(working, 5);
                                              }),
              1);
    EXPECT_EQ(testsupport::FileBytes(language), "3\r\n");
    EXPECT_EQ(testsupport::FileBytes(registry), settings);
    EXPECT_EQ(testsupport::TTempDir::EntryCountOf(dir / "temp"), 1u);
    EXPECT_EQ(testsupport::TTempDir::EntryCountOf(dir / "config/Nivora"), 1u);

    ASSERT_TRUE(app::WriteLanguageFile(working, 5));
    EXPECT_EQ(testsupport::FileBytes(language), "5\r\n");
    ::unsetenv("XDG_CONFIG_HOME");
}
