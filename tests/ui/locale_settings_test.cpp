// The user's locale as format settings: separators, formats converted to the
// class library's specifiers, names in Windows-1252, and the texts that the
// program writes and reads back with them.
#include "platform/ui/locale_settings.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/numbers.h"

#include <gtest/gtest.h>

using namespace ui;

TEST(LocaleSettings, GermanDecimalCommaLocale)
{
    const rtl::TFormatSettings fs = FormatSettingsFromLocale(QLocale("de_DE"));
    EXPECT_EQ(fs.DecimalSeparator, ',');
    EXPECT_EQ(fs.ThousandSeparator, '.');
    EXPECT_EQ(fs.DateSeparator, '.');
    EXPECT_EQ(fs.TimeSeparator, ':');
    EXPECT_EQ(fs.ShortDateFormat, "dd/MM/yyyy"); // two-digit year widened
    EXPECT_EQ(fs.LongTimeFormat, "hh:nn:ss");    // time zone left out
    EXPECT_EQ(fs.ShortTimeFormat, "hh:nn");
    EXPECT_EQ(fs.LongMonthNames[2], "M\xe4rz");
    EXPECT_EQ(fs.LongDayNames[0], "Sonntag"); // Sunday first
    EXPECT_EQ(GetDateOrder(fs.ShortDateFormat), TDateOrder::DMY);

    // What the program writes with these settings.
    const rtl::TDateTime t = rtl::EncodeDate(2024, 3, 5) + rtl::EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(rtl::DateToStr(t, fs), "05.03.2024");
    EXPECT_EQ(rtl::TimeToStr(t, fs), "14:07:09");
    EXPECT_EQ(rtl::LevelText(63.25, fs), "63,3");
    EXPECT_EQ(rtl::FormatDateTime("dddddd", t, fs), "Dienstag, 5. M\xe4rz 2024");
}

TEST(LocaleSettings, TwelveHourClockAndOtherSeparators)
{
    const rtl::TFormatSettings us = FormatSettingsFromLocale(QLocale("en_US"));
    EXPECT_EQ(us.ShortDateFormat, "M/d/yyyy");
    EXPECT_EQ(us.LongTimeFormat, "h:nn:ss AMPM");
    EXPECT_EQ(GetDateOrder(us.ShortDateFormat), TDateOrder::MDY);
    const rtl::TDateTime t = rtl::EncodeDate(2024, 12, 31) + rtl::EncodeTime(15, 4, 5, 0);
    EXPECT_EQ(rtl::TimeToStr(t, us), "3:04:05 " + us.TimePMString);

    // Finnish: '.' between hours and minutes; Swedish: ISO dates, year first.
    const rtl::TFormatSettings fi = FormatSettingsFromLocale(QLocale("fi_FI"));
    EXPECT_EQ(fi.TimeSeparator, '.');
    EXPECT_EQ(rtl::TimeToStr(t, fi), "15.04.05");
    const rtl::TFormatSettings sv = FormatSettingsFromLocale(QLocale("sv_SE"));
    EXPECT_EQ(sv.DateSeparator, '-');
    EXPECT_EQ(rtl::DateToStr(t, sv), "2024-12-31");
    EXPECT_EQ(GetDateOrder(sv.ShortDateFormat), TDateOrder::YMD);
    // A group separator that is a narrow no-break space becomes 0xA0.
    EXPECT_EQ(FormatSettingsFromLocale(QLocale("fr_FR")).ThousandSeparator, '\xa0');
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

TEST(LocaleSettings, AnsiTextCrossesTheBoundary)
{
    EXPECT_EQ(AnsiToQString("M\xe4rz \x80"), QString::fromUtf8("M\u00e4rz \u20ac"));
    EXPECT_EQ(QStringToAnsi(QString::fromUtf8("M\u00e4rz \u20ac")), "M\xe4rz \x80");
    EXPECT_EQ(QStringToAnsi(QString::fromUtf8("\u5e74")), "?");
}
