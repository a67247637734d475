// The version label: the query path over a version block, the program's own
// version from the build, and the label binding.
#include "controls/version_info.h"
#include "controls/version_resource.h"

#include "platform/ui/component_adapters.h"

#include <QCoreApplication>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

using controls::QueryFileVersion;

TEST(VersionQuery, FollowsTheFirstTranslationAndFailsQuietly)
{
    // German / Windows-1252 first: its FileVersion is taken, not the US one.
    const std::string us = "\\StringFileInfo\\040904B0\\FileVersion\t1.0\n";
    EXPECT_EQ(QueryFileVersion("\\VarFileInfo\\Translation\t0407 04E4 0409 04B0\n" + us +
                               "\\StringFileInfo\\040704e4\\FileVersion\t2.5.1\r\n"),
              "2.5.1");
    EXPECT_EQ(QueryFileVersion(us), ""); // no translation list
    EXPECT_EQ(QueryFileVersion("\\VarFileInfo\\Translation\t0409\n" + us), "");
    EXPECT_EQ(QueryFileVersion("\\VarFileInfo\\Translation\t0409 04XY\n" + us), "");
    EXPECT_EQ(QueryFileVersion("\\VarFileInfo\\Translation\t0409 04B0\n"), "");
}

TEST(VersionQuery, OnlyTheRunningProgramHasVersionInformation)
{
    const std::string own = QCoreApplication::applicationFilePath().toStdString();
    EXPECT_EQ(controls::ReadFileVersion(own), NIVORA_PROJECT_VERSION);
    EXPECT_EQ(controls::GetFileVersionInfoSize("/bin/sh"), 0u);
    EXPECT_EQ(controls::ReadFileVersion("/bin/sh"), "");
    EXPECT_EQ(controls::ReadFileVersion("/no/such/program"), "");
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

TEST(VersionInfo, LabelShowsTheBuildsVersionOrThePlaceholderWhileDesigned)
{
    Window w;
    auto *info = new controls::TVersionInfo(w.form);
    info->Loading();
    rtl::SetObjectProp(info, "FileVersionLabel", w.Adapter()); // as the layout sets it
    w.label->setText(QStringLiteral("text of the layout"));
    info->Loaded();
    EXPECT_EQ(w.label->text(), QStringLiteral(NIVORA_PROJECT_VERSION));

    info->SetDesigning(true);
    info->SetFileVersionLabel(w.Adapter());
    EXPECT_EQ(w.label->text(), QStringLiteral("#File Version#"));
}

TEST(VersionInfo, ADeletedLabelIsForgotten)
{
    Window w, other;
    auto *info = new controls::TVersionInfo(w.form);
    info->Loading();
    info->SetFileVersionLabel(w.Adapter());
    delete w.label; // its adapter goes with it
    EXPECT_EQ(info->FileVersionLabel(), nullptr);
    info->Loaded();                     // nothing left to write to
    info->SetFileVersionLabel(nullptr); // clearing it is no label to write to either

    info->SetFileVersionLabel(other.Adapter()); // a label of another window
    delete other.label;
    EXPECT_EQ(info->FileVersionLabel(), nullptr);
}
