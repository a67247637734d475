// The user's locale as format settings: separators, formats converted to the
// class library's specifiers, names in Windows-1252, and the texts that the
// program writes and reads back with them.
#include "platform/ui/locale_settings.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/numbers.h"

#include <gtest/gtest.h>

using namespace ui;

TEST(LocaleSettings, SeparatorsFormatsAndTheTextsWrittenWithThem)
{
    // Two-digit years are widened, time zones left out, a group separator that is a narrow
    // no-break space becomes 0xA0; Finnish has '.' between hours and minutes.
    const rtl::TDateTime t = rtl::EncodeDate(2024, 12, 31) + rtl::EncodeTime(15, 4, 5, 0);
    const struct {
        const char *locale;
        char decimal, thousand, date, time;
        const char *shortDate, *longTime, *dateText, *timeText;
        TDateOrder order;
    } cases[] = {
        {"de_DE", ',', '.', '.', ':', "dd/MM/yyyy", "hh:nn:ss", "31.12.2024", "15:04:05",
         TDateOrder::DMY},
        {"en_US", '.', ',', '/', ':', "M/d/yyyy", "h:nn:ss AMPM", "12/31/2024", "3:04:05 PM",
         TDateOrder::MDY},
        {"fi_FI", ',', '\xa0', '.', '.', "d/M/yyyy", "h:nn:ss", "31.12.2024", "15.04.05",
         TDateOrder::DMY},
        {"sv_SE", ',', '\xa0', '-', ':', "yyyy/MM/dd", "hh:nn:ss", "2024-12-31", "15:04:05",
         TDateOrder::YMD},
        {"fr_FR", ',', '\xa0', '/', ':', "dd/MM/yyyy", "hh:nn:ss", "31/12/2024", "15:04:05",
         TDateOrder::DMY},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.locale);
        const rtl::TFormatSettings fs = FormatSettingsFromLocale(QLocale(c.locale));
        EXPECT_EQ(fs.DecimalSeparator, c.decimal);
        EXPECT_EQ(fs.ThousandSeparator, c.thousand);
        EXPECT_EQ(fs.DateSeparator, c.date);
        EXPECT_EQ(fs.TimeSeparator, c.time);
        EXPECT_EQ(fs.ShortDateFormat, c.shortDate);
        EXPECT_EQ(fs.LongTimeFormat, c.longTime);
        EXPECT_EQ(GetDateOrder(fs.ShortDateFormat), c.order);
        EXPECT_EQ(rtl::DateToStr(t, fs), c.dateText);
        EXPECT_EQ(rtl::TimeToStr(t, fs), c.timeText);
    }
    // Names in Windows-1252, Sunday first, and the levels and long dates written with them.
    const rtl::TFormatSettings de = FormatSettingsFromLocale(QLocale("de_DE"));
    EXPECT_EQ(de.ShortTimeFormat, "hh:nn");
    EXPECT_EQ(de.LongMonthNames[2], "M\xe4rz");
    EXPECT_EQ(de.LongDayNames[0], "Sonntag");
    EXPECT_EQ(rtl::LevelText(63.25, de), "63,3");
    EXPECT_EQ(rtl::FormatDateTime("dddddd", rtl::EncodeDate(2024, 3, 5), de),
              "Dienstag, 5. M\xe4rz 2024");
}

TEST(LocaleSettings, DateTimesWrittenInEachLanguageReadBack)
{
    // The locales of the program's eight languages (and British English):
    // the date and time texts the program writes must convert back.
    const char *names[] = {"en_US", "fr_FR", "de_DE", "it_IT", "es_ES",
                           "sv_SE", "fi_FI", "da_DK", "en_GB"};
    const rtl::TDateTime t = rtl::EncodeDate(2024, 11, 28) + rtl::EncodeTime(21, 5, 9, 0);
    for (const char *name : names) {
        const rtl::TFormatSettings fs = FormatSettingsFromLocale(QLocale(name));
        const std::string text = rtl::DateToStr(t, fs) + " " + rtl::TimeToStr(t, fs);
        rtl::TDateTime back = 0;
        ASSERT_TRUE(rtl::TryStrToDateTime(text, back, fs)) << name << ": " << text;
        EXPECT_NEAR(back, t, 0.5 / rtl::SecsPerDay) << name << ": " << text;
        EXPECT_NE(fs.DecimalSeparator, fs.ThousandSeparator) << name;
    }
}

TEST(LocaleSettings, QtFormatConversion)
{
    char sep = 0;
    // Quoted Qt text stays text; letters that would be specifiers are quoted.
    EXPECT_EQ(ConvertQtDateFormat("dddd 'den' d. MMMM yyyy", sep), "dddd 'den' d/ MMMM yyyy");
    EXPECT_EQ(sep, '.');
    sep = 0;
    EXPECT_EQ(ConvertQtDateFormat("yyyy'\u5e74'M'\u6708'd'\u65e5'", sep), "yyyy'?'M'?'d'?'");
    sep = '/';
    EXPECT_EQ(ConvertQtDateFormat("d 'de' MMMM 'de' yyyy", sep), "d 'de' MMMM 'de' yyyy");
    sep = 0;
    EXPECT_EQ(ConvertQtDateFormat("dd/MM/yyyy 'at' c", sep), "dd/MM/yyyy 'at' 'c'");
    // A quote inside quoted text, and a date format whose literal colon must
    // not turn into the time separator.
    sep = '/';
    EXPECT_EQ(ConvertQtDateFormat("d 'o''clock': M", sep), "d \"o'clock\"':' M");
    sep = 0;
    EXPECT_EQ(ConvertQtTimeFormat("H:mm:ss (t)", sep), "h:nn:ss");
    sep = 0;
    EXPECT_EQ(ConvertQtTimeFormat("ap h:mm", sep), "AMPM h:nn");
    sep = 0;
    EXPECT_EQ(ConvertQtTimeFormat("HH:mm:ss.zzz", sep), "hh:nn:ss.zzz");
}

TEST(LocaleSettings, ApplyUserLocaleSetsTheProgramWideSettings)
{
    const rtl::TFormatSettings saved = rtl::FormatSettings();
    QLocale::setDefault(QLocale("de_DE"));
    ApplyUserLocale();
    EXPECT_EQ(rtl::FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(GetDateOrder(), TDateOrder::DMY);
    // No locale chosen: settings whose dates read back.
    QLocale::setDefault(QLocale::c());
    ApplyUserLocale();
    EXPECT_EQ(rtl::FormatSettings().ShortDateFormat, rtl::CLikeFormatSettings().ShortDateFormat);
    rtl::TDateTime back = 0;
    const rtl::TDateTime t = rtl::EncodeDate(2024, 3, 5);
    EXPECT_TRUE(rtl::TryStrToDate(rtl::DateToStr(t), back));
    EXPECT_EQ(back, t);
    rtl::SetFormatSettings(saved);
}
