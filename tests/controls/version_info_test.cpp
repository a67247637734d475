// The version label: the query path over a version block, the program's own
// version from the build, and the label binding.
#include "controls/version_info.h"
#include "controls/version_resource.h"

#include "platform/ui/component_adapters.h"
#include "platform/ui/lang_form.h"

#include <QCoreApplication>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using controls::QueryFileVersion;

TEST(VersionQuery, FollowsTheFirstTranslationEntry)
{
    // German / Windows-1252 first: its FileVersion is taken, not the US one.
    const std::string block = "# comment\n"
                              "\\VarFileInfo\\Translation\t0407 04E4 0409 04B0\n"
                              "\\StringFileInfo\\040904B0\\FileVersion\t1.0\n"
                              "\\StringFileInfo\\040704e4\\FileVersion\t2.5.1\r\n";
    EXPECT_EQ(QueryFileVersion(block), "2.5.1");

    std::string words;
    ASSERT_TRUE(controls::VerQueryValue(block, "\\varfileinfo\\translation", words));
    EXPECT_EQ(words, std::string("\x07\x04\xE4\x04\x09\x04\xB0\x04", 8));
}

TEST(VersionQuery, AnyMissingStepGivesAnEmptyText)
{
    const std::string fileVersion = "\\StringFileInfo\\040904B0\\FileVersion\t1.0\n";
    EXPECT_EQ(QueryFileVersion(""), "");
    EXPECT_EQ(QueryFileVersion(fileVersion), ""); // no translation list
    EXPECT_EQ(QueryFileVersion("\\VarFileInfo\\Translation\t0409\n" + fileVersion), "");
    EXPECT_EQ(QueryFileVersion("\\VarFileInfo\\Translation\t0409 04XY\n" + fileVersion), "");
    EXPECT_EQ(QueryFileVersion("\\VarFileInfo\\Translation\t0409 04B0\n"), "");
    EXPECT_EQ(QueryFileVersion("\\VarFileInfo\\Translation 0409 04B0\n" + fileVersion), "");
}

TEST(VersionQuery, OnlyTheRunningProgramHasVersionInformation)
{
    const std::string own = QCoreApplication::applicationFilePath().toStdString();
    EXPECT_GT(controls::GetFileVersionInfoSize(own), 0u);
    EXPECT_EQ(controls::ReadFileVersion(own), NIVORA_PROJECT_VERSION);
    EXPECT_EQ(controls::GetFileVersionInfoSize("/bin/sh"), 0u);
    EXPECT_EQ(controls::ReadFileVersion("/bin/sh"), "");
    EXPECT_EQ(controls::ReadFileVersion("/no/such/program"), "");
    EXPECT_EQ(controls::ReadFileVersion(""), "");
}

namespace {
struct Window {
    QWidget window;
    QLabel *label = new QLabel(QStringLiteral("text of the layout"), &window);
    ui::TFormAdapter *form = nullptr;
    Window()
    {
        label->setObjectName(QStringLiteral("Label2"));
        form = ui::CreateFormComponent(&window, "TfrmAbout");
    }
    ui::TLabelAdapter *Adapter()
    {
        return dynamic_cast<ui::TLabelAdapter *>(form->FindComponent("Label2"));
    }
};
} // namespace

TEST(VersionInfo, LoadedShowsTheBuildsVersionNotTheLayoutsText)
{
    Window w;
    auto *info = new controls::TVersionInfo(w.form);
    EXPECT_EQ(info->VersionText(), NIVORA_PROJECT_VERSION);
    info->Loading();
    info->SetFileVersionLabel(w.Adapter());
    w.label->setText(QStringLiteral("text of the layout"));
    info->Loaded();
    EXPECT_EQ(w.label->text(), QStringLiteral(NIVORA_PROJECT_VERSION));
    // Published for the form's component streaming.
    EXPECT_EQ(rtl::GetObjectProp(info, "FileVersionLabel"), w.Adapter());
}

TEST(VersionInfo, DesignTimeShowsThePlaceholder)
{
    Window w;
    auto *info = new controls::TVersionInfo(w.form);
    info->SetDesigning(true);
    info->SetFileVersionLabel(w.Adapter());
    EXPECT_EQ(w.label->text(), QStringLiteral("#File Version#"));
}

TEST(VersionInfo, ADeletedLabelIsForgotten)
{
    Window w;
    auto *info = new controls::TVersionInfo(w.form);
    info->Loading();
    info->SetFileVersionLabel(w.Adapter());
    delete w.label; // its adapter goes with it
    EXPECT_EQ(info->FileVersionLabel(), nullptr);
    info->Loaded(); // nothing left to write to
    EXPECT_EQ(w.form->FindComponent("Label2"), nullptr);

    // A label of another owner is forgotten as well.
    Window other;
    info->SetFileVersionLabel(other.Adapter());
    delete other.label;
    EXPECT_EQ(info->FileVersionLabel(), nullptr);
}
