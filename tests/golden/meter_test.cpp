// Golden vectors of the meter's replies and memories, read by the meter side's decoders.
#include "tests/golden/check.h"

TEST(GoldenMeter, StatusRepliesDecodeToTheirPanelFields)
{
    golden::CheckFamily("status");
}

TEST(GoldenMeter, InformationRepliesGiveTheirTexts)
{
    golden::CheckFamily("information");
}

TEST(GoldenMeter, LeqMemoryGivesItsRecordRows)
{
    golden::CheckFamily("leq");
}

TEST(GoldenMeter, LoggerImagesGiveTheirDataSets)
{
    golden::CheckFamily("logger");
}
