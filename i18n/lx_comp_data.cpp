// The stored "TranslationData" of a translation component: the tables as
// sections of lines, read (8-bit or UTF-16) and written, and the definition
// that streams them with the component's published properties.
#include "i18n/lx_comp.h"

#include "i18n/base/lx_props.h"
#include "i18n/base/lx_rows.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/filer.h"
#include "platform/rtl/streams.h"

namespace i18n {

namespace {

// Lines split at CR, LF or CR LF.
std::vector<std::string> SplitLines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.push_back(text.substr(start));
    return lines;
}

// Section of a line: the type whose name it is (ignoring case), with
// unicode set for a name followed by "_Unicode"; -1 for other lines.
int SectionOfLine(const std::string &line, bool &unicode)
{
    for (int t = 0; t < kStringsTypeCount; ++t)
        if (rtl::AnsiSameText(line, StringsTypeName(t)))
            return t;
    for (int t = 0; t < kStringsTypeCount; ++t)
        if (rtl::AnsiSameText(line, std::string(StringsTypeName(t)) + "_Unicode")) {
            unicode = true;
            return t;
        }
    return -1;
}

std::string AsciiOf(const std::u16string &w)
{
    std::string s;
    s.reserve(w.size());
    for (char16_t c : w)
        s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
}

} // namespace

void TlxCustomLang::StoreLine(rtl::TStrings &table, const std::string &line)
{
    const std::string cls = OwnerClassName();
    auto insertOrAppend = [&]() {
        if (Owner() && rtl::AnsiSameText(GetEntryField(line, FLangDelim, 0), cls) &&
            line.find(FLangDelim) != std::string::npos)
            table.Insert(0, line);
        else
            table.Add(line);
    };
    if (!FIsInheritedOwner || FLXBLoading) {
        insertOrAppend();
        return;
    }
    const int i = FindEntryByKey(table, line, FLangDelim);
    if (i < 0) {
        insertOrAppend();
        return;
    }
    const std::string merged = MergeEntries(table.Strings(i), line, FLangDelim);
    table.Delete(i);
    table.Insert(i, merged);
}

std::string TlxCustomLang::WideRowToAnsi(const std::u16string &row)
{
    if (static_cast<int>(FCharsets.size()) < FNumOfLanguages)
        RebuildCharsetCache();
    const char16_t d = static_cast<unsigned char>(FLangDelim);
    std::string out = WideToCharset(GetWideEntryField(row, d, 0), rtl::DEFAULT_CHARSET);
    out += FLangDelim;
    for (int n = 1; n <= FNumOfLanguages; ++n) {
        out += WideToCharset(GetWideEntryField(row, d, n), FCharsets[static_cast<size_t>(n - 1)]);
        out += FLangDelim;
    }
    return out;
}

void TlxCustomLang::ReadTranslationData(const std::string &bytes)
{
    std::string text;
    std::u16string wide;
    if (bytes.size() >= 2) {
        if (bytes[1] != 0) {
            text = bytes;
        } else {
            wide.resize(bytes.size() / 2);
            for (size_t i = 0; i < wide.size(); ++i)
                wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                                static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
            text = rtl::WideToCodePage(wide, rtl::SystemCodePage);
        }
    }
    const std::vector<std::string> lines = SplitLines(text);
    bool unicodeSeen = false;
    ReadSection(lines, false, nullptr);
    for (const auto &line : lines)
        SectionOfLine(line, unicodeSeen);
    UpdateCharsetCache();
    if (unicodeSeen) {
        // The extended items' values stored as UTF-16 convert language by
        // language too.
        const char16_t d = static_cast<unsigned char>(FLangDelim);
        for (int i = 0; i < FExtendedTranslations.Count(); ++i) {
            TlxExtendedItem &item = FExtendedTranslations.Items(i);
            if (!item.HasWideValues())
                continue;
            const std::string row = WideRowToAnsi(std::u16string(1, u'#') + d + item.WideValues());
            item.SetValues(row.substr(row.find(FLangDelim) + 1));
        }
        TlxWideStringsAdapter wideLines;
        wideLines.SetWideText(wide);
        ReadSection({}, true, &wideLines);
    }
    if (!IsLoading())
        RebuildIndexes();
}

void TlxCustomLang::ReadSection(const std::vector<std::string> &lines, bool wide,
                                const TlxWideStringsAdapter *wideLines)
{
    const size_t count = wide ? static_cast<size_t>(wideLines->WideLineCount()) : lines.size();
    auto lineAt = [&](size_t i) {
        return wide ? AsciiOf(wideLines->WideLine(static_cast<int>(i))) : lines[i];
    };
    rtl::TStrings *table = nullptr;
    bool inSection = false;
    for (size_t i = 0; i < count; ++i) {
        bool unicode = false;
        int section = SectionOfLine(lineAt(i), unicode);
        if (section >= 0) {
            inSection = true;
            table = nullptr;
            if (i + 1 == count)
                break; // a header as the last line does nothing
            if (wide && (section == stFonts || section == stCharSets))
                continue; // kept from the first pass
            table = TableByName(std::string(StringsTypeName(section)).substr(2));
            // An inherited form merges into the tables it already holds,
            // except in the designer, which edits the form's own.
            if (table && (HasState(rtl::csDesigning) || !FIsInheritedOwner))
                table->Clear();
            continue;
        }
        if (!inSection || !table)
            continue;
        std::string line =
            wide ? WideRowToAnsi(wideLines->WideLine(static_cast<int>(i))) : lines[i];
        StoreLine(*table, DecodeLineBreaks(line));
    }
}

void TlxCustomLang::ReadTranslationData(rtl::TStream &stream)
{
    std::string bytes;
    char buffer[4096];
    while (true) {
        int64_t n = stream.Read(buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ReadTranslationData(bytes);
}

std::string TlxCustomLang::TranslationDataBytes()
{
    std::string out;
    for (int t = 0; t < kStringsTypeCount; ++t) {
        rtl::TStrings *table = TableOfType(t);
        if (!table)
            continue;
        out += StringsTypeName(t);
        out += "\r\n";
        for (int i = 0; i < table->Count(); ++i) {
            out += EncodeLineBreaks(table->Strings(i));
            out += "\r\n";
        }
    }
    return out;
}

void TlxCustomLang::DefineProperties(rtl::TFiler &filer)
{
    rtl::TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "TranslationData", [this](rtl::TStream &s) { ReadTranslationData(s); },
        [this](rtl::TStream &s) { WriteTranslationData(s); }, HasTranslationData());
}

void TlxCustomLang::WriteTranslationData(rtl::TStream &stream)
{
    std::string bytes = TranslationDataBytes();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

} // namespace i18n
