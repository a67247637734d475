// The text-collecting tool: run over the program's windows it finds no text without a translation
// row and no row without its component; and it does find both in a window that has them.
#include "tools/lang_collect/collect.h"
#include "tools/lang_collect/windows.h"

#include "platform/ui/component_adapters.h"

#include "tests/support/temp_dir.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

TEST(TextCollectingTool, TheProgramsWindowsShowNoTextWithoutARow)
{
    testsupport::TTempDir config("nivora-collect");
    const std::string cmd = "XDG_CONFIG_HOME=\"" + config.Path().string() + "\" \"" +
                            NIVORA_COLLECT_TEXTS + "\" \"" + NIVORA_SOURCE_DIR +
                            "/resources/lang\" 2>&1";
    FILE *out = ::popen(cmd.c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string report;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, out))
        report += buffer;
    const int status = ::pclose(out);
    EXPECT_EQ(status, 0) << report;
    EXPECT_NE(report.find("windows checked, 0 findings"), std::string::npos) << report;
}

TEST(TextCollectingTool, FindsATextWithoutARowAndARowWithoutItsComponent)
{
    testsupport::TTempDir config("nivora-collect");
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    std::unique_ptr<QWidget> about = langcollect::ProgramWindows().at("TfrmAbout")();
    langsrc::TSource source;
    source.Kind = langsrc::TComponentKind::Linked;
    langsrc::TRow row;
    row.Key = "Label3";
    row.Texts.fill("Software");
    source.Tables[0].push_back(row); // Captions
    row.Key = "lblGone";
    source.Tables[0].push_back(row);
    row.Key = "BitBtn1";
    source.Tables[1].push_back(row); // a hint the button has
    row.Key = "Label3.Colour";
    source.Tables[size_t(langsrc::TableIndex("OtherStrings"))].push_back(row);
    // A text the window shows that no row names.
    auto *extra = new QPushButton(QStringLiteral("Press me"), about.get());
    extra->setObjectName(QStringLiteral("btnExtra"));
    ui::FormComponentOf(about.get())->Adapt(extra);

    const auto findings = langcollect::CheckWindowTexts(about.get(), "TfrmAbout", source);
    auto found = [&](const std::string &key, const std::string &what) {
        for (const auto &f : findings)
            if (f.Key == key && f.Message.find(what) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(found("btnExtra", "shows \"Press me\" but has no row"));
    EXPECT_TRUE(found("TfrmAbout", "has no row")); // the window's caption
    EXPECT_TRUE(found("lblGone", "addresses no component"));
    EXPECT_TRUE(found("Label3.Colour", "addresses no component"));
    EXPECT_FALSE(found("Label3", "addresses"));
    EXPECT_FALSE(found("BitBtn1", "addresses"));
}
