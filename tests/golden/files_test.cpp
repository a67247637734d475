// Golden vectors of the program's own files, read through its readers.
#include "tests/golden/check.h"

TEST(GoldenFiles, CollectionFilesGiveTheirDataSets)
{
    golden::CheckFamily("rec");
}

TEST(GoldenFiles, DataTextFilesGiveTheirLinesAndCells)
{
    golden::CheckFamily("text");
}

TEST(GoldenFiles, ChartFilesRestoreTheirCharts)
{
    golden::CheckFamily("chart");
}

TEST(GoldenFiles, RegistryFilesGiveTheirKeysAndValues)
{
    golden::CheckFamily("registry");
}
