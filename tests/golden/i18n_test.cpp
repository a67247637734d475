// Golden vectors of the translation engine's stored forms and files, read into the sample
// form's component.
#include "tests/golden/check.h"

TEST(GoldenTranslation, StoredTranslationDataGivesItsTables)
{
    golden::CheckFamily("translation");
}

TEST(GoldenTranslation, IniFormFilesGiveTheirTables)
{
    golden::CheckFamily("ini_form");
}

TEST(GoldenTranslation, LxbFilesGiveTheSampleFormsComponent)
{
    golden::CheckFamily("lxb");
}

TEST(GoldenTranslation, StoredComponentPropertiesReadBack)
{
    golden::CheckFamily("component");
}
