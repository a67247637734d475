#include "platform/ui/locale_settings.h"

#include "platform/rtl/codepage.h"

namespace ui {

namespace {

// One character of the code page for a locale symbol, or fallback.
char SymbolChar(const QString &symbol, char fallback)
{
    if (symbol.size() != 1)
        return fallback;
    const char16_t c = symbol.front().unicode();
    if (c == 0x00A0 || c == 0x202F || c == 0x2009 || c == 0x2007)
        return '\xA0'; // the spaces that must not break become the no-break space
    const std::string s = QStringToAnsi(symbol);
    if (s.size() != 1 || (s[0] == '?' && c != u'?'))
        return fallback;
    return s[0];
}

// Text the class library would read as specifiers, quoted so it stays text.
void AppendLiteral(std::string &out, const QString &text)
{
    if (text.isEmpty())
        return;
    const std::string ansi = QStringToAnsi(text);
    const char quote = ansi.find('\'') == std::string::npos ? '\'' : '"';
    out += quote;
    out += ansi;
    out += quote;
}

bool IsSeparatorCandidate(QChar c)
{
    return !c.isLetterOrNumber() && !c.isSpace() && c != QLatin1Char('\'') &&
           c != QLatin1Char(',') && c != QLatin1Char('(') && c != QLatin1Char(')');
}

// The conversion of both kinds of format. Date specifiers: d M y; time
// specifiers: h H m s z, AP/ap/A/a; t (time zone) is left out.
std::string ConvertQtFormat(const QString &fmt, char &separator, bool time)
{
    const char classSeparator = time ? ':' : '/';
    QChar qtSeparator;
    if (separator != 0) {
        qtSeparator = AnsiToQString(std::string(1, separator)).front();
    } else {
        bool quoted = false;
        for (QChar c : fmt) {
            if (c == QLatin1Char('\'')) {
                quoted = !quoted;
            } else if (!quoted && IsSeparatorCandidate(c)) {
                qtSeparator = c;
                separator = SymbolChar(QString(c), classSeparator);
                break;
            }
        }
    }
    std::string out;
    const qsizetype n = fmt.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = fmt[i];
        if (c == QLatin1Char('\'')) {
            // Quoted text; '' stands for one quote.
            QString literal;
            qsizetype j = i + 1;
            if (j < n && fmt[j] == QLatin1Char('\'')) {
                literal = QStringLiteral("'");
                i = j + 1;
            } else {
                while (j < n) {
                    if (fmt[j] == QLatin1Char('\'')) {
                        if (j + 1 < n && fmt[j + 1] == QLatin1Char('\'')) {
                            literal += QLatin1Char('\'');
                            j += 2;
                            continue;
                        }
                        break;
                    }
                    literal += fmt[j++];
                }
                i = j + 1;
            }
            AppendLiteral(out, literal);
            continue;
        }
        if (c.isLetter()) {
            qsizetype count = 1;
            while (i + count < n && fmt[i + count] == c)
                ++count;
            const char16_t u = c.unicode();
            bool handled = true;
            if (!time && u == u'd') {
                out.append(static_cast<size_t>(std::min<qsizetype>(count, 4)), 'd');
            } else if (!time && u == u'M') {
                out.append(static_cast<size_t>(std::min<qsizetype>(count, 4)), 'M');
            } else if (!time && u == u'y') {
                out += count == 2 ? "yy" : "yyyy";
            } else if (time && (u == u'h' || u == u'H')) {
                out += count >= 2 ? "hh" : "h";
            } else if (time && u == u'm') {
                out += count >= 2 ? "nn" : "n";
            } else if (time && u == u's') {
                out += count >= 2 ? "ss" : "s";
            } else if (time && u == u'z') {
                out += count >= 2 ? "zzz" : "z";
            } else if (time && (u == u'a' || u == u'A')) {
                out += "AMPM";
                if (i + 1 < n && (fmt[i + 1] == QLatin1Char('p') || fmt[i + 1] == QLatin1Char('P')))
                    count = 2;
                else
                    count = 1;
            } else if (time && u == u't') {
                // The time zone has no class-library specifier: drop it, and
                // the brackets around it when they would stay empty.
                if (!out.empty() && out.back() == '(' && i + count < n &&
                    fmt[i + count] == QLatin1Char(')')) {
                    out.pop_back();
                    ++count;
                }
            } else {
                handled = false;
            }
            if (!handled)
                AppendLiteral(out, fmt.mid(i, count));
            i += count;
            continue;
        }
        if (!qtSeparator.isNull() && c == qtSeparator) {
            out += classSeparator;
        } else if (c == QLatin1Char('/') || c == QLatin1Char(':') || c.unicode() > 0x7F ||
                   c == QLatin1Char('"')) {
            AppendLiteral(out, QString(c));
        } else {
            out += static_cast<char>(c.unicode());
        }
        ++i;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

} // namespace

std::string ConvertQtDateFormat(const QString &qtFormat, char &separator)
{
    return ConvertQtFormat(qtFormat, separator, false);
}

std::string ConvertQtTimeFormat(const QString &qtFormat, char &separator)
{
    return ConvertQtFormat(qtFormat, separator, true);
}

rtl::TFormatSettings FormatSettingsFromLocale(const QLocale &locale)
{
    rtl::TFormatSettings fs = rtl::CLikeFormatSettings();
    // The C locale (no locale chosen) writes its short date with a month
    // name ("5 Mar 2024"), which the date readers cannot take back: it gets
    // the C-like settings whole.
    if (locale.language() == QLocale::C)
        return fs;
    fs.DecimalSeparator = SymbolChar(locale.decimalPoint(), fs.DecimalSeparator);
    fs.ThousandSeparator = SymbolChar(locale.groupSeparator(), fs.ThousandSeparator);
    if (fs.ThousandSeparator == fs.DecimalSeparator)
        fs.ThousandSeparator = fs.DecimalSeparator == ',' ? '.' : ',';
    // The list separator follows the decimal separator as on the desktop the
    // system came from: ';' where the comma is the decimal separator.
    fs.ListSeparator = fs.DecimalSeparator == ',' ? ';' : ',';

    char dateSeparator = 0;
    std::string shortDate =
        ConvertQtDateFormat(locale.dateFormat(QLocale::ShortFormat), dateSeparator);
    // Dates written to files keep their century: a short date with a
    // two-digit year is widened to four digits.
    if (shortDate.find("yyyy") == std::string::npos) {
        const size_t y = shortDate.find("yy");
        if (y != std::string::npos)
            shortDate.replace(y, 2, "yyyy");
    }
    if (!shortDate.empty()) {
        fs.ShortDateFormat = shortDate;
        fs.DateSeparator = dateSeparator != 0 ? dateSeparator : fs.DateSeparator;
    }
    char longDateSeparator = fs.DateSeparator;
    const std::string longDate =
        ConvertQtDateFormat(locale.dateFormat(QLocale::LongFormat), longDateSeparator);
    if (!longDate.empty())
        fs.LongDateFormat = longDate;

    char timeSeparator = 0;
    const std::string longTime =
        ConvertQtTimeFormat(locale.timeFormat(QLocale::LongFormat), timeSeparator);
    if (!longTime.empty()) {
        fs.LongTimeFormat = longTime;
        fs.TimeSeparator = timeSeparator != 0 ? timeSeparator : fs.TimeSeparator;
    }
    char shortTimeSeparator = fs.TimeSeparator;
    const std::string shortTime =
        ConvertQtTimeFormat(locale.timeFormat(QLocale::ShortFormat), shortTimeSeparator);
    if (!shortTime.empty())
        fs.ShortTimeFormat = shortTime;

    if (!locale.amText().isEmpty())
        fs.TimeAMString = QStringToAnsi(locale.amText());
    if (!locale.pmText().isEmpty())
        fs.TimePMString = QStringToAnsi(locale.pmText());
    fs.CurrencyString = QStringToAnsi(locale.currencySymbol());

    for (int m = 1; m <= 12; ++m) {
        fs.ShortMonthNames[m - 1] =
            QStringToAnsi(locale.standaloneMonthName(m, QLocale::ShortFormat));
        fs.LongMonthNames[m - 1] =
            QStringToAnsi(locale.standaloneMonthName(m, QLocale::LongFormat));
    }
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d; // the settings start on Sunday, Qt on Monday
        fs.ShortDayNames[d] = QStringToAnsi(locale.standaloneDayName(qtDay, QLocale::ShortFormat));
        fs.LongDayNames[d] = QStringToAnsi(locale.standaloneDayName(qtDay, QLocale::LongFormat));
    }
    return fs;
}

void ApplyUserLocale()
{
    rtl::SetFormatSettings(FormatSettingsFromLocale(QLocale()));
}

TDateOrder GetDateOrder(const std::string &shortDateFormat)
{
    char quote = 0;
    for (char c : shortDateFormat) {
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            continue;
        }
        switch (c) {
        case 'd':
        case 'D':
            return TDateOrder::DMY;
        case 'y':
        case 'Y':
            return TDateOrder::YMD;
        case 'm':
        case 'M':
            return TDateOrder::MDY;
        default:
            break;
        }
    }
    return TDateOrder::MDY;
}

TDateOrder GetDateOrder()
{
    return GetDateOrder(rtl::FormatSettings().ShortDateFormat);
}

} // namespace ui
