// Ini-form translation files of a translation component: reading and
// writing its tables and extended items as ini sections, and importing them
// into its languages.
#include "i18n/base/lx_ext.h"
#include "i18n/base/lx_ini.h"
#include "i18n/base/lx_props.h"
#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"
#include "i18n/lx_lxb.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typinfo.h"

#include <algorithm>
#include <filesystem>

namespace i18n {

namespace {

// The ini section of each kind of text, in TStringsType order.
const char *const kSectionNames[kStringsTypeCount] = {
    "Captions", "Hints", "DisplayLabels", "Fonts",       "Multilines", "Dialogs",
    "Strings",  "Other", "Locales",       "Collections", "CharSets",   "ListView_TreeView_Items"};

const char kOptions[] = "OPTIONS";
const char kDelimiterKey[] = "DELIMITER";
const char kUtf8Key[] = "IsUTF8File";
const char kFixedKey[] = "Language_Fixed";
const char kNameKey[] = "Language_";
const char kNamesSection[] = "Language names - for internal use only!";
const char kMisspeltNamesSection[] = "Language names - for intenal use only!";
const char kExtended[] = "Extended";
const char kTypeKindSuffix[] = "_TypeKind";
const char kDefaultSeparator[] = "~!@#";

bool StartsWithText(const std::string &s, const std::string &prefix)
{
    return s.size() >= prefix.size() && rtl::AnsiSameText(s.substr(0, prefix.size()), prefix);
}

bool EndsWithText(const std::string &s, const std::string &suffix)
{
    return s.size() >= suffix.size() &&
           rtl::AnsiSameText(s.substr(s.size() - suffix.size()), suffix);
}

// Keys of collection items carry their index in brackets, which an ini key
// cannot: "Grid.Cols[2].Title" is stored as "Grid.Cols-2+.Title".
bool HasIndexedKeys(int type)
{
    return type == stCollections || type == stListView_TreeView_Items;
}

std::string KeyToFile(std::string key, int type)
{
    if (HasIndexedKeys(type))
        for (char &c : key)
            c = c == '[' ? '-' : c == ']' ? '+' : c;
    return key;
}

std::string KeyFromFile(std::string key, int type)
{
    if (HasIndexedKeys(type))
        for (char &c : key)
            c = c == '-' ? '[' : c == '+' ? ']' : c;
    return key;
}

std::string Separator(TlxCustomIniFile &ini)
{
    const std::string sep = ini.ReadString(kOptions, kDelimiterKey, kDefaultSeparator);
    return sep.empty() ? kDefaultSeparator : sep;
}

// The language names a file gives, up to the first missing one.
void ReadNames(TlxCustomIniFile &ini, rtl::TStrings &names)
{
    names.Clear();
    for (int k = 1; k <= kMaxLanguages; ++k) {
        const std::string name = ini.ReadString(kNamesSection, kNameKey + rtl::IntToStr(k), "");
        if (name.empty())
            break;
        names.Add(name);
    }
}

// A file's value as row texts: its separators become the delimiter (a
// delimiter inside a text is dropped), line breaks come back.
std::string ValueToTexts(const std::string &value, const std::string &sep, char delim)
{
    std::string clean;
    for (char c : value)
        if (c != delim)
            clean += c;
    return DecodeLineBreaks(
        rtl::StringReplace(clean, sep, std::string(1, delim), rtl::rfReplaceAll));
}

std::string TextsToValue(const std::string &texts, const std::string &sep, char delim)
{
    return EncodeLineBreaks(
        rtl::StringReplace(texts, std::string(1, delim), sep, rtl::rfReplaceAll));
}

// The text of file column k (1-based) of a value.
std::string ValueColumn(const std::string &value, const std::string &sep, int k)
{
    size_t start = 0;
    for (int i = 1; i < k; ++i) {
        const size_t at = value.find(sep, start);
        if (at == std::string::npos)
            return {};
        start = at + sep.size();
    }
    const size_t end = value.find(sep, start);
    return DecodeLineBreaks(value.substr(start, end == std::string::npos ? end : end - start));
}

bool IsLXBFile(const std::string &fileName)
{
    return rtl::AnsiUpperCase(rtl::ExtractFileExt(fileName)) == ".LXB";
}

bool FileExists(const std::string &fileName)
{
    std::error_code ec;
    return !fileName.empty() && std::filesystem::is_regular_file(fileName, ec);
}

// The ini object of a whole file; false when it does not exist or cannot be
// read.
bool LoadFile(const std::string &fileName, TlxMemIniFile &ini)
{
    std::vector<uint8_t> bytes;
    if (!FileExists(fileName) || !rtl::TryReadAllBytes(fileName, bytes))
        return false;
    rtl::TStringList lines;
    lines.SetText(std::string(bytes.begin(), bytes.end()));
    ini.SetStrings(lines);
    return true;
}

// The whole file in a memory stream; false when it does not exist or cannot
// be read.
bool LoadData(const std::string &fileName, rtl::TMemoryStream &data)
{
    try {
        if (!FileExists(fileName))
            return false;
        data.LoadFromFile(fileName);
        return true;
    } catch (const rtl::EStreamError &) {
        return false;
    }
}

void LoadStream(rtl::TStream &stream, TlxMemIniFile &ini)
{
    stream.SetPosition(0);
    ini.LoadFromStream(stream);
}

// Replaces the stream's contents by the ini object's lines.
void StoreStream(const TlxMemIniFile &ini, rtl::TStream &stream)
{
    rtl::TStringList lines;
    ini.GetStrings(lines);
    const std::string text = lines.Text();
    stream.SetSize(0);
    stream.SetPosition(0);
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

// The file's bytes in a memory stream (empty when it does not exist yet).
// A file that exists but cannot be read raises: it is never overwritten.
void ReadExisting(const std::string &fileName, rtl::TMemoryStream &data)
{
    if (!FileExists(fileName))
        return;
    const std::vector<uint8_t> bytes = rtl::ReadAllBytes(fileName);
    if (!bytes.empty())
        data.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    data.SetPosition(0);
}

void SaveFile(const std::string &fileName, const rtl::TMemoryStream &data)
{
    rtl::WriteFileAtomically(fileName, data.Bytes());
}

} // namespace

// The ini-form work on a component, with access to its inner state.
struct TIniFiles {
    // Sets the batch flag for its lifetime and puts the former value back on
    // every way out.
    class TBatch {
    public:
        explicit TBatch(TlxCustomLang &lang) : FLang(lang), FSaved(lang.FBatchImport)
        {
            lang.FBatchImport = true;
        }
        ~TBatch() { FLang.FBatchImport = FSaved; }
        TBatch(const TBatch &) = delete;
        TBatch &operator=(const TBatch &) = delete;

    private:
        TlxCustomLang &FLang;
        bool FSaved;
    };

    static std::string OwnerName(const TlxCustomLang &lang)
    {
        return lang.Owner() ? lang.Owner()->Name() : std::string();
    }

    // The file's language names, when it gives any, become the component's;
    // with them its fixed languages.
    static void ReadLanguages(TlxCustomLang &lang, TlxCustomIniFile &ini)
    {
        if (!ini.SectionExists(kNamesSection))
            return;
        rtl::TStringList names;
        ReadNames(ini, names);
        if (names.Count() == 0)
            return; // a names section without "Language_1" names nothing
        if (names.Count() != lang.NumOfLanguages())
            lang.SetNumOfLanguages(names.Count());
        lang.SetLangNames(names);
        lang.FFixedLanguages.Clear();
        for (int k = 1; k <= names.Count(); ++k)
            if (ini.ReadBool(kOptions, kFixedKey + rtl::IntToStr(k), false))
                lang.FFixedLanguages.Add(names.Strings(k - 1));
    }

    // The section of one kind into its table. languages: take the file's
    // language names.
    static int ReadSection(TlxCustomLang &lang, int type, TlxCustomIniFile &ini, bool clearFirst,
                           bool languages)
    {
        rtl::TStrings *table = lang.TableOfType(type);
        if (!table)
            return -1;
        if (clearFirst)
            table->Clear();
        try {
            const std::string sep = Separator(ini);
            if (languages)
                ReadLanguages(lang, ini);
            lang.SetStoreAsUTF8(ini.ReadBool(kOptions, kUtf8Key, false));

            const char d = lang.FLangDelim;
            const std::string cls = lang.OwnerClassName();
            const std::string name = OwnerName(lang);
            rtl::TStringList keys;
            ini.ReadSection(kSectionNames[type], keys);
            int count = 0;
            for (int i = 0; i < keys.Count(); ++i) {
                const std::string fileKey = keys.Strings(i);
                if (i > 0 && rtl::AnsiSameText(fileKey, keys.Strings(i - 1)))
                    continue; // the first of equal keys answers
                std::string key = KeyFromFile(fileKey, type);
                bool byClass = true;
                if (!cls.empty() && StartsWithText(key, cls + "."))
                    key.erase(0, cls.size() + 1);
                else if (!name.empty() && StartsWithText(key, name + ".")) {
                    key.erase(0, name.size() + 1);
                    byClass = false;
                } else
                    continue; // another form's
                const size_t dot = key.find('.');
                const std::string component = dot == std::string::npos ? key : key.substr(0, dot);
                if (lang.FDoNotTranslate.IndexOf(component) >= 0)
                    continue;

                const std::string value = ini.ReadString(kSectionNames[type], fileKey, "\xFF");
                if (value == "\xFF")
                    continue;
                std::string row = key + d;
                if (value.find(sep) == std::string::npos)
                    row += ValueToTexts(value, sep, d) + d; // one text: language 1
                else
                    row += ValueToTexts(value, sep, d);
                if (row.back() != d)
                    row += d;
                if (StartsWithText(row, (byClass ? cls : name) + d))
                    table->Insert(0, row);
                else
                    table->Add(row);
                ++count;
            }
            return count;
        } catch (const rtl::Exception &) {
            return -1;
        }
    }

    // Whether the file has a key of this form in a section of a table or
    // of the extended items.
    static bool HoldsForm(TlxCustomLang &lang, TlxCustomIniFile &ini)
    {
        const std::string cls = lang.OwnerClassName() + ".";
        const std::string name = OwnerName(lang);
        rtl::TStringList keys;
        for (int t = 0; t <= kStringsTypeCount; ++t) {
            ini.ReadSection(t < kStringsTypeCount ? kSectionNames[t] : kExtended, keys);
            for (int i = 0; i < keys.Count(); ++i)
                if (StartsWithText(keys.Strings(i), cls) ||
                    (!name.empty() && t < kStringsTypeCount &&
                     StartsWithText(keys.Strings(i), name + ".")))
                    return true;
        }
        return false;
    }

    // What follows the reading of a table outside a batch.
    static void TableRead(TlxCustomLang &lang, int type)
    {
        if (lang.FBatchImport)
            return;
        if (rtl::TStrings *table = lang.TableOfType(type))
            lang.RemoveObsoleteRows(*table, type);
        if (type == stStrings)
            lang.RebuildIndexes();
        lang.TranslateOwner();
    }

    // Calls fn(identifier, value) for every extended item the file holds for
    // this form.
    template <class Fn>
    static void ForEachExtendedKey(TlxCustomLang &lang, TlxCustomIniFile &ini, Fn fn)
    {
        const std::string prefix = lang.OwnerClassName() + ".";
        rtl::TStringList keys;
        ini.ReadSection(kExtended, keys);
        for (int i = 0; i < keys.Count(); ++i) {
            const std::string key = keys.Strings(i);
            if (StartsWithText(key, prefix) && !EndsWithText(key, kTypeKindSuffix))
                fn(key.substr(prefix.size()), ini.ReadString(kExtended, key, ""));
        }
    }

    // The extended item of identifier, added (with its property's kind) when
    // there is none.
    static TlxExtendedItem &ItemFor(TlxCustomLang &lang, const std::string &identifier,
                                    bool *added = nullptr)
    {
        TlxExtendedItems &items = lang.ExtendedTranslations();
        TlxExtendedItem *item = items.FindByIdentifier(identifier);
        if (added)
            *added = !item;
        if (!item) {
            item = &items.Add();
            item->SetIdentifier(identifier);
            item->SetPropertyType(lang.PropertyKindOf(identifier));
        }
        return *item;
    }

    static void ReadExtended(TlxCustomLang &lang, TlxCustomIniFile &ini, bool clearFirst)
    {
        if (clearFirst)
            lang.ExtendedTranslations().Clear();
        const std::string sep = Separator(ini);
        const char d = lang.FLangDelim;
        ForEachExtendedKey(lang, ini, [&](const std::string &identifier, const std::string &value) {
            std::string values = ValueToTexts(value, sep, d);
            if (values.empty() || values.back() != d)
                values += d;
            ItemFor(lang, identifier).SetValues(values);
        });
    }

    static void WriteOptions(TlxCustomLang &lang, TlxMemIniFile &ini, const std::string &sep)
    {
        ini.WriteString(kOptions, kDelimiterKey, sep);
        ini.WriteBool(kOptions, kUtf8Key, lang.StoreAsUTF8());
        ini.EraseSection(kNamesSection);
        ini.EraseSection(kMisspeltNamesSection);
        for (int k = 1; k <= lang.NumOfLanguages(); ++k) {
            const std::string name = k <= lang.FLangNames.Count() ? lang.FLangNames.Strings(k - 1)
                                                                  : "Language N" + rtl::IntToStr(k);
            ini.WriteString(kNamesSection, kNameKey + rtl::IntToStr(k), name);
            const std::string fixedKey = kFixedKey + rtl::IntToStr(k);
            if (lang.FFixedLanguages.IndexOf(name) >= 0)
                ini.WriteBool(kOptions, fixedKey, true);
            else
                ini.DeleteKey(kOptions, fixedKey);
        }
    }

    static int WriteSection(TlxCustomLang &lang, int type, TlxMemIniFile &ini,
                            const std::string &sep)
    {
        rtl::TStrings *table = lang.TableOfType(type);
        if (!table)
            return -1;
        WriteOptions(lang, ini, sep);
        const char d = lang.FLangDelim;
        const std::string cls = lang.OwnerClassName();
        const char *section = kSectionNames[type];
        for (int i = 0; i < table->Count(); ++i) {
            const std::string row = table->Strings(i);
            const size_t first = row.find(d);
            const std::string key = row.substr(0, first);
            const std::string texts = first == std::string::npos ? "" : row.substr(first + 1);
            ini.WriteString(section, cls + "." + KeyToFile(key, type), TextsToValue(texts, sep, d));
        }
        // Entries an older naming keyed by the form's name instead.
        const std::string name = OwnerName(lang);
        if (!name.empty() && !rtl::AnsiSameText(name, cls)) {
            rtl::TStringList keys;
            ini.ReadSection(section, keys);
            for (int i = 0; i < keys.Count(); ++i)
                if (keys.Strings(i).compare(0, name.size() + 1, name + ".") == 0)
                    ini.DeleteKey(section, keys.Strings(i));
        }
        return table->Count();
    }

    static void WriteExtended(TlxCustomLang &lang, TlxMemIniFile &ini, const std::string &sep)
    {
        const std::string prefix = lang.OwnerClassName() + ".";
        const TlxExtendedItems &items = lang.ExtendedTranslations();
        for (int i = 0; i < items.Count(); ++i) {
            TlxExtendedItem &item = items.Items(i);
            const std::string key = prefix + item.Identifier();
            ini.WriteString(kExtended, key, TextsToValue(item.Values(), sep, lang.FLangDelim));
            ini.WriteString(kExtended, key + kTypeKindSuffix,
                            rtl::GetEnumProp(&item, "PropertyType"));
        }
    }

    // Reorders the texts of every row from the file's languages to the
    // component's, by name.
    static void MatchLanguages(TlxCustomLang &lang, rtl::TStrings &table,
                               const rtl::TStrings &fileNames)
    {
        if (fileNames.Count() == 0 ||
            rtl::AnsiSameText(rtl::Trim(lang.FLangNames.Text()), rtl::Trim(fileNames.Text())))
            return;
        const int n = lang.NumOfLanguages();
        std::vector<int> column(static_cast<size_t>(n), -1); // file column of each language
        for (int j = 0; j < n && j < lang.FLangNames.Count(); ++j)
            column[static_cast<size_t>(j)] = fileNames.IndexOf(lang.FLangNames.Strings(j));
        const char d = lang.FLangDelim;
        for (int i = 0; i < table.Count(); ++i) {
            const std::string row = table.Strings(i);
            std::string out = GetEntryField(row, d, 0) + d;
            for (int j = 0; j < n; ++j) {
                const int k = column[static_cast<size_t>(j)];
                if (k >= 0)
                    out += GetEntryField(row, d, k + 1);
                out += d;
            }
            table.Put(i, out);
        }
    }

    static bool ImportSection(TlxCustomLang &lang, int type, const std::string &fileName)
    {
        if (!FileExists(fileName))
            return false;
        rtl::TStrings *table = lang.TableOfType(type);
        if (!table)
            return true;
        rtl::TStringList saved;
        saved.Assign(*table);
        try {
            rtl::TStringList fileNames;
            lang.ReadFileLanguageNames(fileName, fileNames);
            if (IsLXBFile(fileName)) {
                if (!lang.ImportLXBSection(type, fileName))
                    throw rtl::EReadError("No translations of this form in " + fileName);
            } else {
                TlxMemIniFile ini("");
                if (!LoadFile(fileName, ini) || ReadSection(lang, type, ini, true, false) < 0)
                    throw rtl::EReadError("Cannot read " + fileName);
            }
            MatchLanguages(lang, *table, fileNames);
            for (int i = 0; i < saved.Count(); ++i)
                if (FindEntryByKey(*table, saved.Strings(i), lang.FLangDelim) < 0)
                    table->Add(saved.Strings(i));
        } catch (const rtl::Exception &) {
            table->Assign(saved);
            return false;
        }
        TableRead(lang, type);
        return true;
    }

    // The file and the columns of language in it and in the component; false
    // when the file cannot be read or names no such language.
    static bool OpenLanguage(TlxCustomLang &lang, const std::string &fileName,
                             const std::string &language, TlxMemIniFile &ini, int &fileColumn,
                             int &column)
    {
        if (!LoadFile(fileName, ini))
            return false;
        fileColumn = FileColumn(lang, ini, fileName, language);
        if (fileColumn <= 0)
            return false;
        column = LanguageColumn(lang, language);
        return true;
    }

    static void RemoveAllObsoleteRows(TlxCustomLang &lang)
    {
        for (int t = 0; t < kStringsTypeCount; ++t)
            if (rtl::TStrings *table = lang.TableOfType(t))
                lang.RemoveObsoleteRows(*table, t);
    }

    // The column of language in LangNames (1-based), added when missing.
    static int LanguageColumn(TlxCustomLang &lang, const std::string &language)
    {
        const int index = lang.FLangNames.IndexOf(language);
        if (index >= 0)
            return index + 1;
        const int n = lang.NumOfLanguages() + 1;
        lang.SetNumOfLanguages(n);
        lang.FLangNames.Put(n - 1, language);
        return n;
    }

    // The file's column of language (1-based); 0 when the file has none of
    // that name (then an error with DoRaiseExceptions).
    static int FileColumn(TlxCustomLang &lang, TlxCustomIniFile &ini, const std::string &fileName,
                          const std::string &language)
    {
        rtl::TStringList names;
        ReadNames(ini, names);
        for (int k = 0; k < names.Count(); ++k)
            if (names.Strings(k) == language)
                return k + 1;
        if (lang.DoRaiseExceptions())
            throw rtl::Exception(language + " not found in " + fileName);
        return 0;
    }

    static void ImportLanguageSection(TlxCustomLang &lang, int type, TlxCustomIniFile &ini,
                                      int fileColumn, int column)
    {
        rtl::TStrings *table = lang.TableOfType(type);
        if (!table)
            return;
        const std::string sep = Separator(ini);
        const std::string prefix = lang.OwnerClassName() + ".";
        const char d = lang.FLangDelim;
        rtl::TStringList keys;
        ini.ReadSection(kSectionNames[type], keys);
        for (int i = 0; i < keys.Count(); ++i) {
            const std::string key = KeyFromFile(keys.Strings(i), type);
            if (!StartsWithText(key, prefix))
                continue;
            std::string text = ValueColumn(ini.ReadString(kSectionNames[type], keys.Strings(i), ""),
                                           sep, fileColumn);
            text.erase(std::remove(text.begin(), text.end(), d), text.end());
            const std::string rowKey = key.substr(prefix.size());
            if (FindEntryByKey(*table, rowKey + d, d) >= 0)
                lang.StoreText(*table, text, column, rowKey);
            else
                table->Add(rowKey + d + lang.MakeValuesRow(text, column));
        }
        TableRead(lang, type);
    }

    static void ImportLanguageExtended(TlxCustomLang &lang, TlxCustomIniFile &ini, int fileColumn,
                                       int column)
    {
        const std::string sep = Separator(ini);
        const char d = lang.FLangDelim;
        ForEachExtendedKey(lang, ini, [&](const std::string &identifier, const std::string &value) {
            std::string text = ValueColumn(value, sep, fileColumn);
            text.erase(std::remove(text.begin(), text.end(), d), text.end());
            bool added = false;
            TlxExtendedItem &item = ItemFor(lang, identifier, &added);
            if (added) {
                item.SetValues(lang.MakeValuesRow(text, column));
                return;
            }
            // The values have no key: put one in front for the row helpers.
            const std::string row =
                ReplaceField(std::string(1, d) + item.Values(), d, column, text);
            item.SetValues(row.substr(1));
        });
    }
};

// ---------------------------------------------------------------------------
// Streams

int TlxCustomLang::ReadIniSection(int type, rtl::TStream &stream, bool clearFirst)
{
    if (!TableOfType(type))
        return -1;
    int count;
    if (FSharedIni) {
        count = TIniFiles::ReadSection(*this, type, *FSharedIni, clearFirst, true);
    } else {
        TlxMemIniFile ini("");
        try {
            LoadStream(stream, ini);
        } catch (const rtl::Exception &) {
            return -1;
        }
        count = TIniFiles::ReadSection(*this, type, ini, clearFirst, true);
    }
    TIniFiles::TableRead(*this, type);
    return count;
}

int TlxCustomLang::WriteIniSection(int type, rtl::TStream &stream, const std::string &sep)
{
    if (!TableOfType(type))
        return -1;
    TlxMemIniFile ini("");
    LoadStream(stream, ini);
    const int count = TIniFiles::WriteSection(*this, type, ini, sep);
    StoreStream(ini, stream);
    return count;
}

void TlxCustomLang::ReadIniStream(rtl::TStream &stream, bool clearFirst, bool noTranslate)
{
    TIniFiles::TBatch batch(*this);
    TlxMemIniFile ini("");
    LoadStream(stream, ini);
    struct TShared {
        TlxMemIniFile *&Ref;
        ~TShared() { Ref = nullptr; }
    } shared{FSharedIni};
    FSharedIni = &ini;
    for (int t = 0; t < kStringsTypeCount; ++t)
        if (rtl::TStrings *table = TableOfType(t);
            table && ReadIniSection(t, stream, clearFirst) > 0)
            RemoveObsoleteRows(*table, t);
    TIniFiles::ReadExtended(*this, ini, clearFirst);
    FSharedIni = nullptr;
    RebuildIndexes();
    if (!noTranslate)
        TranslateOwner();
}

void TlxCustomLang::WriteIniStream(rtl::TStream &stream, const std::string &sep)
{
    TlxMemIniFile ini("");
    LoadStream(stream, ini);
    for (int t = 0; t < kStringsTypeCount; ++t)
        TIniFiles::WriteSection(*this, t, ini, sep);
    TIniFiles::WriteOptions(*this, ini, sep);
    TIniFiles::WriteExtended(*this, ini, sep);
    rtl::TMemoryStream data;
    StoreStream(ini, data);
    stream.SetSize(0);
    stream.SetPosition(0);
    data.SetPosition(0);
    if (data.Size() > 0)
        stream.CopyFrom(data, data.Size());
}

// ---------------------------------------------------------------------------
// Files

int TlxCustomLang::ReadSectionFile(int type, const std::string &fileName, bool clearFirst)
{
    rtl::TMemoryStream data;
    if (!LoadData(fileName, data))
        return -1;
    return ReadIniSection(type, data, clearFirst);
}

int TlxCustomLang::WriteSectionFile(int type, const std::string &fileName, const std::string &sep)
{
    if (!TableOfType(type))
        return -1;
    rtl::TMemoryStream data;
    ReadExisting(fileName, data);
    const int count = WriteIniSection(type, data, sep);
    SaveFile(fileName, data);
    return count;
}

bool TlxCustomLang::ReadLanguageFile(const std::string &fileName, bool clearFirst)
{
    rtl::TMemoryStream data;
    if (!LoadData(fileName, data))
        return false;
    // A file without a text of this form is no translation of it: reading
    // it would only clear the tables.
    TlxMemIniFile ini("");
    LoadStream(data, ini);
    if (!TIniFiles::HoldsForm(*this, ini))
        return false;
    ReadIniStream(data, clearFirst, false);
    return true;
}

void TlxCustomLang::WriteLanguageFile(const std::string &fileName, const std::string &sep)
{
    rtl::TMemoryStream data;
    ReadExisting(fileName, data);
    WriteIniStream(data, sep);
    SaveFile(fileName, data);
}

int TlxCustomLang::ReadStringsFile(const std::string &fileName, bool clearFirst)
{
    return ReadSectionFile(stStrings, fileName, clearFirst);
}

int TlxCustomLang::WriteStringsFile(const std::string &fileName, const std::string &sep)
{
    return WriteSectionFile(stStrings, fileName, sep);
}

bool TlxCustomLang::ReadAllSections(const std::string &fileName, bool clearFirst)
{
    rtl::TMemoryStream data;
    if (!LoadData(fileName, data))
        return false;
    ReadIniStream(data, clearFirst, true);
    return true;
}

// ---------------------------------------------------------------------------
// Imports

bool TlxCustomLang::ImportSection(int type, const std::string &fileName)
{
    return TIniFiles::ImportSection(*this, type, fileName);
}

bool TlxCustomLang::ImportAllSections(const std::string &fileName)
{
    bool ok = true;
    {
        TIniFiles::TBatch batch(*this);
        for (int t = 0; t < kStringsTypeCount && ok; ++t)
            ok = ImportSection(t, fileName);
    }
    TIniFiles::RemoveAllObsoleteRows(*this);
    RebuildIndexes();
    return ok;
}

bool TlxCustomLang::ImportFile(const std::string &fileName)
{
    const bool ok = ImportAllSections(fileName);
    TranslateOwner();
    return ok;
}

void TlxCustomLang::ImportLanguageSection(int type, const std::string &fileName,
                                          const std::string &language)
{
    TlxMemIniFile ini("");
    int fileColumn, column;
    if (TableOfType(type) &&
        TIniFiles::OpenLanguage(*this, fileName, language, ini, fileColumn, column))
        TIniFiles::ImportLanguageSection(*this, type, ini, fileColumn, column);
}

void TlxCustomLang::ImportLanguageExtended(const std::string &fileName, const std::string &language)
{
    TlxMemIniFile ini("");
    int fileColumn, column;
    if (!TIniFiles::OpenLanguage(*this, fileName, language, ini, fileColumn, column))
        return;
    TIniFiles::ImportLanguageExtended(*this, ini, fileColumn, column);
    if (!FBatchImport)
        TranslateOwner();
}

void TlxCustomLang::ImportLanguage(const std::string &fileName, const std::string &language)
{
    TlxMemIniFile ini("");
    int fileColumn, column;
    if (!TIniFiles::OpenLanguage(*this, fileName, language, ini, fileColumn, column))
        return;
    {
        TIniFiles::TBatch batch(*this);
        for (int t = 0; t < kStringsTypeCount; ++t)
            TIniFiles::ImportLanguageSection(*this, t, ini, fileColumn, column);
        TIniFiles::ImportLanguageExtended(*this, ini, fileColumn, column);
    }
    TIniFiles::RemoveAllObsoleteRows(*this);
    RebuildIndexes();
    TranslateOwner();
}

void TlxCustomLang::ReadFileLanguageNames(const std::string &fileName, rtl::TStrings &names)
{
    names.Clear();
    if (IsLXBFile(fileName)) {
        TLXBFileManager manager;
        manager.LoadLanguageNames(fileName, OwnerClassName(), *this, names);
        return;
    }
    TlxMemIniFile ini("");
    if (LoadFile(fileName, ini))
        ReadNames(ini, names);
}

} // namespace i18n
