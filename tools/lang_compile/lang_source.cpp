#include "tools/lang_compile/lang_source.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/sysutils.h"

#include <cstdint>

namespace langsrc {

const std::array<const char *, kLanguageCount> kLanguageCodes = {"en", "fr", "de", "it",
                                                                 "es", "sv", "fi", "da"};

const std::array<const char *, kTableCount> kTableNames = {
    "Captions", "Hints",        "DisplayLabels", "Fonts",       "MultiLines", "DlgsCaptions",
    "Strings",  "OtherStrings", "Locales",       "Collections", "CharSets"};

namespace {

constexpr int kDlgsCaptions = 5;
constexpr int kLocales = 8;
constexpr char kDelim = 1;

bool IsBlank(std::string_view s)
{
    for (char c : s)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

std::string_view TrimSpaces(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

int LanguageIndex(std::string_view code)
{
    for (int i = 0; i < kLanguageCount; ++i)
        if (code == kLanguageCodes[static_cast<size_t>(i)])
            return i;
    return -1;
}

// A UTF-8 text (escapes already resolved) in Windows-1252. False when it
// is not valid UTF-8, holds a character Windows-1252 lacks, or a control
// character other than CR and LF.
bool ToWindows1252(const std::string &utf8, std::string &out, std::string &why)
{
    for (unsigned char c : utf8)
        if ((c < 0x20 && c != '\r' && c != '\n') || c == 0x7F) {
            why = c == '\t' ? "a tab is not allowed in a text (use spaces)"
                            : "a control character is not allowed";
            return false;
        }
    // C1 controls (U+0080..U+009F) would be stored as bytes that look like
    // Windows-1252 punctuation to nothing else; refuse them.
    for (size_t i = 0; i + 1 < utf8.size(); ++i)
        if (static_cast<unsigned char>(utf8[i]) == 0xC2 &&
            static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            why = "a control character is not allowed";
            return false;
        }
    out = rtl::Utf8ToCodePage(utf8, rtl::SystemCodePage);
    if (rtl::CodePageToUtf8(out, rtl::SystemCodePage) != utf8) {
        why = "not valid UTF-8, or a character that Windows-1252 cannot hold";
        return false;
    }
    return true;
}

// Resolves the escapes \\ \n \r \s of a text.
bool Unescape(std::string_view text, std::string &out, std::string &why)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 1 >= text.size()) {
            why = "a lone backslash at the end of the text (write \\\\)";
            return false;
        }
        switch (text[++i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 's':
            out += ' ';
            break;
        default:
            why = std::string("unknown escape \\") + text[i] + " (known: \\\\ \\n \\r \\s)";
            return false;
        }
    }
    return true;
}

struct TParser {
    explicit TParser(std::vector<TError> &errors) : Errors(errors) {}

    std::vector<TError> &Errors;
    TSource Source;
    int Table = -1;
    bool SeenSection = false;
    TRow Row;
    bool InRow = false;
    bool Refused = false; // the current row's key was refused: skip its lines
    int NextLanguage = 0;

    void Error(int line, std::string message) { Errors.push_back({line, std::move(message)}); }

    void EndRow()
    {
        if (!InRow)
            return;
        InRow = false;
        if (NextLanguage < kLanguageCount) {
            std::string missing;
            for (int i = NextLanguage; i < kLanguageCount; ++i)
                missing += std::string(missing.empty() ? "" : ", ") + kLanguageCodes[size_t(i)];
            Error(Row.Line, "row \"" + rtl::CodePageToUtf8(Row.Key, rtl::SystemCodePage) +
                                "\" lacks the language(s) " + missing);
            return;
        }
        if (Table < 0)
            return;
        for (const TRow &other : Source.Tables[size_t(Table)])
            if (rtl::AnsiSameText(other.Key, Row.Key)) {
                Error(Row.Line, "key \"" + rtl::CodePageToUtf8(Row.Key, rtl::SystemCodePage) +
                                    "\" already has a row on line " + std::to_string(other.Line));
                return;
            }
        Source.Tables[size_t(Table)].push_back(Row);
    }

    void Directive(int n, std::string_view line)
    {
        std::string_view rest = TrimSpaces(line.substr(1));
        if (rest.rfind("component", 0) != 0) {
            Error(n, "unknown directive (known: @component TlxLang | TlxLangLinked)");
            return;
        }
        std::string_view kind = TrimSpaces(rest.substr(9));
        if (SeenSection)
            Error(n, "@component must come before the first section");
        else if (kind == "TlxLang")
            Source.Kind = TComponentKind::Main;
        else if (kind == "TlxLangLinked")
            Source.Kind = TComponentKind::Linked;
        else
            Error(n, "unknown component \"" + std::string(kind) +
                         "\" (known: TlxLang, TlxLangLinked)");
    }

    void Section(int n, std::string_view line)
    {
        EndRow();
        Refused = false;
        SeenSection = true;
        std::string_view trimmed = TrimSpaces(line);
        if (trimmed.size() < 2 || trimmed.back() != ']') {
            Error(n, "a section header is [Name]");
            Table = -1;
            return;
        }
        std::string name(trimmed.substr(1, trimmed.size() - 2));
        Table = TableIndex(name);
        if (Table < 0) {
            Error(n, "unknown section [" + name + "]");
        } else if (!HasTable(Source.Kind, Table)) {
            Error(n, "a " +
                         std::string(Source.Kind == TComponentKind::Main ? "TlxLang"
                                                                         : "TlxLangLinked") +
                         " component has no " + name + " table");
            Table = -1;
        }
    }

    void Key(int n, std::string_view line)
    {
        EndRow();
        Row = TRow{};
        Row.Line = n;
        InRow = true;
        Refused = false;
        NextLanguage = 0;
        std::string why;
        std::string_view key = TrimSpaces(line);
        if (key.find('\t') != std::string_view::npos) {
            Error(n, "a key holds no tab");
            InRow = false;
            Refused = true;
        } else if (!ToWindows1252(std::string(key), Row.Key, why)) {
            Error(n, "key: " + why);
            InRow = false;
            Refused = true;
        }
        if (!SeenSection)
            Error(n, "a row before the first section");
    }

    void Text(int n, std::string_view line)
    {
        size_t start = line.find_first_not_of(' ');
        size_t colon = line.find(':', start);
        if (start != std::string_view::npos && line[start] == '\t') {
            Error(n, "indent language lines with spaces, not tabs");
            return;
        }
        std::string_view code = colon == std::string_view::npos ? std::string_view()
                                                                : line.substr(start, colon - start);
        int language = LanguageIndex(code);
        if (language < 0) {
            Error(n, "an indented line is \"<language>: <text>\" with a language of "
                     "en fr de it es sv fi da");
            return;
        }
        if (!InRow) {
            // The lines of a row whose key was refused were reported with it.
            if (!Refused)
                Error(n, "a language line without a key above it");
            return;
        }
        if (language != NextLanguage) {
            Error(n, std::string("expected language ") +
                         (NextLanguage < kLanguageCount ? kLanguageCodes[size_t(NextLanguage)]
                                                        : "none (all eight are given)") +
                         ", found " + std::string(code));
            InRow = false;
            Refused = true;
            return;
        }
        std::string_view raw = line.substr(colon + 1);
        std::string unescaped, why;
        if (raw.find('\t') != std::string_view::npos) {
            Error(n, "a tab is not allowed in a text (use spaces)");
        } else if (!Unescape(TrimSpaces(raw), unescaped, why) ||
                   !ToWindows1252(unescaped, Row.Texts[size_t(language)], why)) {
            Error(n, why);
        }
        ++NextLanguage;
    }
};

} // namespace

int TableIndex(std::string_view name)
{
    for (int i = 0; i < kTableCount; ++i)
        if (name == kTableNames[size_t(i)])
            return i;
    return -1;
}

bool HasTable(TComponentKind kind, int table)
{
    if (table < 0 || table >= kTableCount)
        return false;
    return kind == TComponentKind::Main || (table != kDlgsCaptions && table != kLocales);
}

const TRow *TSource::Find(int table, std::string_view key) const
{
    if (table < 0 || table >= kTableCount)
        return nullptr;
    for (const TRow &row : Tables[size_t(table)])
        if (rtl::SameText(row.Key, key))
            return &row;
    return nullptr;
}

TSource ParseSource(std::string_view utf8, std::vector<TError> &errors)
{
    TParser p(errors);
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF")
        utf8.remove_prefix(3);
    int n = 0;
    while (!utf8.empty() || n == 0) {
        ++n;
        size_t end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (IsBlank(line))
            continue;
        size_t first = line.find_first_not_of(" \t");
        if (line[first] == '#')
            continue;
        if (first == 0 && line[0] == '@')
            p.Directive(n, line);
        else if (first == 0 && line[0] == '[')
            p.Section(n, line);
        else if (first == 0)
            p.Key(n, line);
        else
            p.Text(n, line);
    }
    p.EndRow();
    return p.Source;
}

std::string BuildTranslationData(const TSource &source, const std::string &formClass)
{
    std::string out;
    auto appendRow = [&out](const TRow &row) {
        std::string line = row.Key + kDelim;
        for (const std::string &text : row.Texts)
            line += text + kDelim;
        for (char c : line)
            out += c == '\r' ? '\x19' : c == '\n' ? '\x1A' : c;
        out += "\r\n";
    };
    for (int t = 0; t < kTableCount; ++t) {
        if (!HasTable(source.Kind, t))
            continue;
        out += std::string("st") + kTableNames[size_t(t)] + "\r\n";
        const auto &rows = source.Tables[size_t(t)];
        for (const TRow &row : rows)
            if (rtl::AnsiSameText(row.Key, formClass))
                appendRow(row);
        for (const TRow &row : rows)
            if (!rtl::AnsiSameText(row.Key, formClass))
                appendRow(row);
    }
    return out;
}

std::string FormatErrors(const std::string &fileName, const std::vector<TError> &errors)
{
    std::string out;
    for (const TError &e : errors)
        out += fileName + ":" + (e.Line > 0 ? std::to_string(e.Line) + ":" : "") + " " + e.Message +
               "\n";
    return out;
}

} // namespace langsrc
