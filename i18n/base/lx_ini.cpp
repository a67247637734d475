#include "i18n/base/lx_ini.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/numbers.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

#include <filesystem>

namespace i18n {

// ---------------------------------------------------------------------------
// Typed values

int TlxCustomIniFile::ReadInteger(const std::string &section, const std::string &ident,
                                  int defaultValue)
{
    const std::string s = ReadString(section, ident, std::string());
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        uint64_t value = 0;
        for (size_t i = 2; i < s.size(); ++i) {
            const int digit = rtl::HexDigitValue(s[i]);
            if (digit < 0 || i >= 10) // at most eight digits: a 32-bit pattern
                return defaultValue;
            value = value * 16 + static_cast<uint64_t>(digit);
        }
        return static_cast<int>(static_cast<uint32_t>(value));
    }
    int value;
    return rtl::TryStrToInt(s, value) ? value : defaultValue;
}

void TlxCustomIniFile::WriteInteger(const std::string &section, const std::string &ident, int value)
{
    WriteString(section, ident, rtl::IntToStr(value));
}

bool TlxCustomIniFile::ReadBool(const std::string &section, const std::string &ident,
                                bool defaultValue)
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TlxCustomIniFile::WriteBool(const std::string &section, const std::string &ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

namespace {

// The value converted by parse; the default for an empty value or one that
// does not convert.
template <class T, class Parse>
T ReadConverted(TlxCustomIniFile &ini, const std::string &section, const std::string &ident,
                T defaultValue, Parse parse)
{
    const std::string s = ini.ReadString(section, ident, std::string());
    T value{};
    if (s.empty() || !parse(s, value))
        return defaultValue;
    return value;
}

} // namespace

rtl::TDateTime TlxCustomIniFile::ReadDate(const std::string &section, const std::string &ident,
                                          rtl::TDateTime defaultValue)
{
    return ReadConverted(
        *this, section, ident, defaultValue,
        [](const std::string &s, rtl::TDateTime &v) { return rtl::TryStrToDate(s, v); });
}

rtl::TDateTime TlxCustomIniFile::ReadDateTime(const std::string &section, const std::string &ident,
                                              rtl::TDateTime defaultValue)
{
    return ReadConverted(
        *this, section, ident, defaultValue,
        [](const std::string &s, rtl::TDateTime &v) { return rtl::TryStrToDateTime(s, v); });
}

double TlxCustomIniFile::ReadFloat(const std::string &section, const std::string &ident,
                                   double defaultValue)
{
    return ReadConverted(*this, section, ident, defaultValue,
                         [](const std::string &s, double &v) { return rtl::TryStrToFloat(s, v); });
}

rtl::TDateTime TlxCustomIniFile::ReadTime(const std::string &section, const std::string &ident,
                                          rtl::TDateTime defaultValue)
{
    return ReadConverted(
        *this, section, ident, defaultValue,
        [](const std::string &s, rtl::TDateTime &v) { return rtl::TryStrToTime(s, v); });
}

void TlxCustomIniFile::WriteDate(const std::string &section, const std::string &ident,
                                 rtl::TDateTime value)
{
    WriteString(section, ident, rtl::DateToStr(value));
}

void TlxCustomIniFile::WriteDateTime(const std::string &section, const std::string &ident,
                                     rtl::TDateTime value)
{
    WriteString(section, ident, rtl::DateTimeToStr(value));
}

void TlxCustomIniFile::WriteFloat(const std::string &section, const std::string &ident,
                                  double value)
{
    WriteString(section, ident, rtl::FloatToStr(value));
}

void TlxCustomIniFile::WriteTime(const std::string &section, const std::string &ident,
                                 rtl::TDateTime value)
{
    WriteString(section, ident, rtl::TimeToStr(value));
}

bool TlxCustomIniFile::SectionExists(const std::string &section)
{
    rtl::TStringList keys;
    ReadSection(section, keys);
    return keys.Count() > 0;
}

// ---------------------------------------------------------------------------
// TMemIniEntry

TMemIniEntry::TMemIniEntry()
{
    FKeys.SetSorted(true);
    FKeys.SetDuplicates(rtl::dupAccept);
    FKeys.SetOwnsObjects(true);
}

int TMemIniEntry::IndexOfKey(const std::string &ident) const
{
    int index;
    return FKeys.Find(ident, index) ? index : -1;
}

const std::string &TMemIniEntry::ValueAt(int index) const
{
    return static_cast<TMemIniValue *>(FKeys.Objects(index))->Value;
}

void TMemIniEntry::Add(const std::string &ident, const std::string &value)
{
    FKeys.AddObject(ident, new TMemIniValue(value));
}

// ---------------------------------------------------------------------------
// TlxMemIniFile

TlxMemIniFile::TlxMemIniFile(const std::string &fileName) : TlxCustomIniFile(fileName)
{
    FSections.SetSorted(true);
    FSections.SetDuplicates(rtl::dupIgnore);
    FSections.SetOwnsObjects(true);
    std::error_code ec;
    if (fileName.empty() || !std::filesystem::is_regular_file(fileName, ec))
        return;
    std::vector<uint8_t> bytes;
    if (!rtl::TryReadAllBytes(fileName, bytes))
        return;
    rtl::TStringList lines;
    lines.SetText(std::string(bytes.begin(), bytes.end()));
    SetStrings(lines);
}

TlxMemIniFile::~TlxMemIniFile() = default;

void TlxMemIniFile::Clear()
{
    FSections.Clear();
    FModified = true;
}

TMemIniEntry *TlxMemIniFile::Entry(const std::string &section) const
{
    int index;
    if (!FSections.Find(section, index))
        return nullptr;
    return static_cast<TMemIniEntry *>(FSections.Objects(index));
}

TMemIniEntry &TlxMemIniFile::AddSection(const std::string &section)
{
    if (TMemIniEntry *entry = Entry(section))
        return *entry;
    auto *entry = new TMemIniEntry;
    FSections.AddObject(section, entry);
    return *entry;
}

void TlxMemIniFile::SetStrings(const rtl::TStrings &lines)
{
    FSections.Clear();
    TMemIniEntry *entry = nullptr;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = lines.Strings(i);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            entry = &AddSection(line.substr(1, line.size() - 2));
            continue;
        }
        if (!entry)
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            entry->Add(line, std::string());
        else
            entry->Add(line.substr(0, eq), line.substr(eq + 1));
    }
    FModified = false;
}

void TlxMemIniFile::GetStrings(rtl::TStrings &lines) const
{
    lines.BeginUpdate();
    lines.Clear();
    for (int s = 0; s < FSections.Count(); ++s) {
        lines.Add("[" + FSections.Strings(s) + "]");
        const auto *entry = static_cast<const TMemIniEntry *>(FSections.Objects(s));
        for (int k = 0; k < entry->Keys().Count(); ++k)
            lines.Add(entry->Keys().Strings(k) + "=" + entry->ValueAt(k));
        lines.Add(std::string());
    }
    lines.EndUpdate();
}

void TlxMemIniFile::LoadFromStream(rtl::TStream &stream)
{
    rtl::TStringList lines;
    lines.LoadFromStream(stream);
    SetStrings(lines);
}

std::string TlxMemIniFile::ReadString(const std::string &section, const std::string &ident,
                                      const std::string &defaultValue)
{
    const TMemIniEntry *entry = Entry(section);
    const int index = entry ? entry->IndexOfKey(ident) : -1;
    return index >= 0 ? entry->ValueAt(index) : defaultValue;
}

void TlxMemIniFile::WriteString(const std::string &section, const std::string &ident,
                                const std::string &value)
{
    TMemIniEntry &entry = AddSection(section);
    const int index = entry.IndexOfKey(ident);
    if (index >= 0)
        static_cast<TMemIniValue *>(entry.Keys().Objects(index))->Value = value;
    else
        entry.Add(ident, value);
    FModified = true;
}

void TlxMemIniFile::ReadSection(const std::string &section, rtl::TStrings &strings)
{
    strings.BeginUpdate();
    strings.Clear();
    if (const TMemIniEntry *entry = Entry(section))
        for (int k = 0; k < entry->Keys().Count(); ++k)
            strings.Add(entry->Keys().Strings(k));
    strings.EndUpdate();
}

void TlxMemIniFile::ReadSections(rtl::TStrings &strings)
{
    strings.BeginUpdate();
    strings.Clear();
    for (int s = 0; s < FSections.Count(); ++s)
        strings.Add(FSections.Strings(s));
    strings.EndUpdate();
}

void TlxMemIniFile::ReadSectionValues(const std::string &section, rtl::TStrings &strings)
{
    strings.BeginUpdate();
    strings.Clear();
    if (const TMemIniEntry *entry = Entry(section))
        for (int k = 0; k < entry->Keys().Count(); ++k)
            strings.Add(entry->ValueAt(k));
    strings.EndUpdate();
}

void TlxMemIniFile::EraseSection(const std::string &section)
{
    int index;
    if (FSections.Find(section, index)) {
        FSections.Delete(index);
        FModified = true;
    }
}

void TlxMemIniFile::DeleteKey(const std::string &section, const std::string &ident)
{
    TMemIniEntry *entry = Entry(section);
    const int index = entry ? entry->IndexOfKey(ident) : -1;
    if (index >= 0) {
        entry->Keys().Delete(index);
        FModified = true;
    }
}

void TlxMemIniFile::UpdateFile()
{
    rtl::TStringList lines;
    GetStrings(lines);
    lines.SaveToFile(FileName());
    FModified = false;
}

} // namespace i18n
