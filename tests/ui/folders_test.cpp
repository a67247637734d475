// The program's folders and their fall-backs.
#include "platform/ui/folders.h"

#include "tests/support/temp_folders.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace ui;

namespace {

class Folders : public ::testing::Test {
protected:
    // A regular file where a folder is expected: nothing can be made in or
    // under it, even for root.
    QString MakeFile(const QString &name)
    {
        QFile f(FRoot + "/" + name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return f.fileName();
    }

    testsupport::TTempFolders FFolders;
    const QString FRoot = FFolders.path();
};

} // namespace

TEST_F(Folders, DataFolderIsMadeUnderTheDocumentsFolder)
{
    EXPECT_EQ(DocumentsFolder(), FRoot + "/Documents/");
    EXPECT_EQ(MakeDataFolder(), FRoot + "/Documents/MX4820/");
    EXPECT_TRUE(QDir(FRoot + "/Documents/MX4820").exists());
    EXPECT_EQ(MakeDataFolder(), FRoot + "/Documents/MX4820/"); // already there
    EXPECT_EQ(WorkingFolder(MakeDataFolder()), FRoot + "/Documents/MX4820/temp");
}

// An installed program ("<prefix>/bin/nivora") finds the package's
// documentation below the same prefix.
TEST(SystemFolders, TheDocumentationFolderIsThePackagesBelowThePrefix)
{
    const TFolderRoots roots = SystemFolderRoots();
    QDir prefix(roots.Executable);
    prefix.cdUp();
    EXPECT_EQ(roots.Documentation, prefix.absoluteFilePath("share/doc/nivora"));
}

TEST_F(Folders, DataFolderFallsBackToTheDocumentsFolder)
{
    MakeFile("Documents/MX4820"); // a file of that name: the folder cannot be made
    EXPECT_EQ(MakeDataFolder(), FRoot + "/Documents/");
    EXPECT_EQ(WorkingFolder(MakeDataFolder()), FRoot + "/Documents/temp");

    SetFolderRoots({QString(), FRoot + "/bin", FRoot + "/data"});
    EXPECT_EQ(MakeDataFolder(), "");
    // No data folder: the working folder lies beside the executable.
    EXPECT_EQ(WorkingFolder(""), FRoot + "/bin/temp");
}

TEST_F(Folders, FilesWrittenBesideTheExecutableFallBackToTheUserDataFolder)
{
    EXPECT_EQ(WritableProgramFolder(), FRoot + "/bin/");
    EXPECT_EQ(WritableProgramFile("temp\\LEQ.txt"), FRoot + "/bin/temp/LEQ.txt");

    const QString notAFolder = MakeFile("installed");
    SetFolderRoots({FRoot + "/Documents", notAFolder, FRoot + "/data"});
    EXPECT_FALSE(IsFolderWritable(notAFolder));
    EXPECT_EQ(WritableProgramFolder(), FRoot + "/data/");
    EXPECT_TRUE(QDir(FRoot + "/data").exists());
    EXPECT_EQ(WritableProgramFile("temp/LEQ.txt"), FRoot + "/data/temp/LEQ.txt");
    EXPECT_EQ(WorkingFolder(""), FRoot + "/data/temp");
    // Files the program only reads are still looked up beside the executable.
    EXPECT_EQ(ProgramFile("template/graph.ghf"), notAFolder + "/template/graph.ghf");
    // The probe leaves nothing behind.
    EXPECT_EQ(
        QDir(FRoot + "/bin").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList());
}

TEST(FolderPaths, JoinUsesOneForwardSlash)
{
    EXPECT_EQ(JoinPath("/a/b/", "/c\\d.txt"), "/a/b/c/d.txt");
    EXPECT_EQ(JoinPath("C:\\data", "x"), "C:/data/x");
    EXPECT_EQ(JoinPath("", "x"), "x");
}
