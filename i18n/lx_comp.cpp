#include "i18n/lx_comp.h"

#include "i18n/base/lx_props.h"
#include "i18n/base/lx_resstr.h"
#include "i18n/base/lx_rows.h"
#include "i18n/lx_published.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typinfo.h"

namespace i18n {

RTL_IMPLEMENT_PUBLISHED_CLASS(TlxCustomLang, rtl::TComponent)
{
    using L = TlxCustomLang;
    P.String(
        "Version", "string", [](L &l) { return l.Version(); },
        [](L &l, const std::string &v) { l.SetVersion(v); });
    P.Boolean(
         "IsInheritedOwner", [](L &l) { return l.IsInheritedOwner(); },
         [](L &l, bool v) { l.SetIsInheritedOwner(v); })
        .Default(0);
    detail::PublishList(P, "StringsTypes", &L::StringsTypes, &L::SetStringsTypes);
    detail::PublishListIfAny(P, "SmartExcludeProps", &L::SmartExcludeProps,
                             &L::SetSmartExcludeProps);
    P.Boolean(
         "HandleResourceStrings", [](L &l) { return l.HandleResourceStrings(); },
         [](L &l, bool v) { l.SetHandleResourceStrings(v); })
        .Default(0);
    P.Integer(
         "ResourceLanguageIndex", "Word", [](L &l) { return l.ResourceLanguageIndex(); },
         [](L &l, int v) { l.SetResourceLanguageIndex(v); })
        .Default(1);
    P.Boolean(
         "TranslateExtendedFirst", [](L &l) { return l.TranslateExtendedFirst(); },
         [](L &l, bool v) { l.SetTranslateExtendedFirst(v); })
        .Default(0);
    P.Boolean(
         "UseDefaultLanguage", [](L &l) { return l.UseDefaultLanguage(); },
         [](L &l, bool v) { l.SetUseDefaultLanguage(v); })
        .Default(0);
    P.Integer(
         "DefaultLanguage", "Integer", [](L &l) { return l.DefaultLanguage(); },
         [](L &l, int v) { l.SetDefaultLanguage(v); })
        .Default(1);
    P.Boolean(
         "AutoSkipEmpties", [](L &l) { return l.AutoSkipEmpties(); },
         [](L &l, bool v) { l.SetAutoSkipEmpties(v); })
        .Default(1);
    P.Boolean(
         "StoreAsUTF8", [](L &l) { return l.StoreAsUTF8(); },
         [](L &l, bool v) { l.SetStoreAsUTF8(v); })
        .Default(0);
    P.Boolean(
         "UseTaskMsgDlg", [](L &l) { return l.UseTaskMsgDlg(); },
         [](L &l, bool v) { l.SetUseTaskMsgDlg(v); })
        .Default(1);
}

RTL_IMPLEMENT_PUBLISHED_CLASS(TlxLang, TlxCustomLang)
{
    detail::PublishLangProperties(P, true);
}

namespace {

const char *const kTypeNames[kStringsTypeCount] = {
    "stCaptions",   "stHints",        "stDisplayLabels", "stFonts",
    "stMultiLines", "stDlgsCaptions", "stStrings",       "stOtherStrings",
    "stLocales",    "stCollections",  "stCharSets",      "stListView_TreeView_Items"};

std::string WithoutAmpersands(const std::string &s)
{
    std::string out;
    for (char c : s)
        if (c != '&')
            out += c;
    return out;
}

std::string JoinNames(const std::string *names, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ',';
        out += names[i];
    }
    return out;
}

// The owner must not hold a translation component yet.
rtl::TComponent *CheckSingleLang(rtl::TComponent *owner)
{
    if (owner) {
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (owner->Components(i)->InheritsFrom(TlxCustomLang::StaticClassInfo()))
                throw rtl::Exception(
                    "Only one TlxCustomLang component per Form/DataModule allowed!");
    }
    return owner;
}

bool OwnerHasFont(rtl::TComponent *owner)
{
    if (!owner)
        return false;
    const rtl::TPropInfo *p = rtl::GetPropInfo(owner, "Font", rtl::tkClass);
    return p && p->PropClass() && std::string(p->PropClass()->Name) == "TFont";
}

// Passes every row of the table to edit (which changes it in place and says whether it did)
// and puts back the rows it changed.
template <class Edit> void EditRows(rtl::TStrings &table, Edit edit)
{
    for (int i = 0; i < table.Count(); ++i) {
        std::string row = table.Strings(i);
        if (edit(row))
            table.Put(i, row);
    }
}

} // namespace

const char *StringsTypeName(int type)
{
    if (type < 0 || type >= kStringsTypeCount)
        return "";
    return kTypeNames[type];
}

const char *const kDialogNames[86] = {"Warning",
                                      "Error",
                                      "Information",
                                      "Confirm",
                                      "&Yes",
                                      "&No",
                                      "OK",
                                      "Cancel",
                                      "&Abort",
                                      "&Retry",
                                      "&Ignore",
                                      "&All",
                                      "N&o To All",
                                      "Y&es To All",
                                      "&Help",
                                      "&Open",
                                      "Look &in:",
                                      "File &name:",
                                      "Files of &type:",
                                      "&Read-only",
                                      "&Save",
                                      "&Drives:",
                                      "Save &in:",
                                      "Save as &type:",
                                      "&Basic colors:",
                                      "&Custom colors:",
                                      "&Define Custom Colors >>",
                                      "Color",
                                      "|S&olid",
                                      "Hu&e:",
                                      "&Sat:",
                                      "&Lum:",
                                      "&Red:",
                                      "&Green:",
                                      "Bl&ue:",
                                      "&Add to Custom Colors",
                                      "&Font:",
                                      "Font st&yle:",
                                      "Si&ze:",
                                      "&Color:",
                                      "&Apply",
                                      "Effects",
                                      "Stri&keout",
                                      "&Underline",
                                      "Sample",
                                      "Sc&ript:",
                                      "Printer",
                                      "&Name:",
                                      "&Properties",
                                      "Status:",
                                      "Type:",
                                      "Where:",
                                      "Comment:",
                                      "Paper",
                                      "&Source:",
                                      "Orientation",
                                      "P&ortrait",
                                      "L&andscape",
                                      "Print to f&ile",
                                      "Print",
                                      "Pa&ges",
                                      "&Selection",
                                      "&from:",
                                      "&to:",
                                      "Copies",
                                      "Number of &copies:",
                                      "C&ollate",
                                      "Fi&nd what:",
                                      "Match &whole words only",
                                      "Match &case",
                                      "Direction",
                                      "&Up",
                                      "&Down",
                                      "&Find Next",
                                      "&Replace",
                                      "Replace &All",
                                      "Re&place with:",
                                      "Picture:",
                                      "Preview",
                                      "New Folder",
                                      "Folder:",
                                      "(None)",
                                      "Close",
                                      "Network",
                                      "Print Setup",
                                      "Find"};

const char *const kLocaleKeys[15] = {"Currency String",   "Thousand Separator", "Decimal Separator",
                                     "Date Separator",    "Short Date Format",  "Long Date Format",
                                     "Time Separator",    "Time AM String",     "Time PM String",
                                     "Short Time Format", "Long Time Format",   "Short Month Names",
                                     "Long Month Names",  "Short Day Names",    "Long Day Names"};

const TCharsetName kCharsetNames[19] = {
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255}};

int CharsetValueOf(const std::string &name)
{
    for (const auto &c : kCharsetNames)
        if (rtl::AnsiSameText(name, c.Name))
            return c.Value;
    return -1;
}

// ---------------------------------------------------------------------------
// Creation and destruction

TlxCustomLang::TlxCustomLang(rtl::TComponent *owner) : rtl::TComponent(CheckSingleLang(owner))
{
    FTables[stStrings].OnChange = [this](rtl::TObject *) { FIndexDirty = true; };
    // The indexes show their texts as the component does: stored UTF-8 in the
    // language's charset, an untranslated text in the test mode's form.
    const TlxStringsCollection::TReading reading{
        [this](const std::string &text, int lang) {
            return FStoreAsUTF8 ? Utf8ToCharset(text, LanguageCharset(lang)) : text;
        },
        [this](const std::string &text) {
            return TestModeActive() ? TestModeText(text) : std::string();
        }};
    FKeyIndex.SetReading(reading);
    FResourceIndex.SetReading(reading);
    FLangNames.Add("Language N1");
    FLanguage = "Language N1";
    for (int i = 0; i < kMessageDialogNames; ++i)
        FTables[stDlgsCaptions].Add(WithoutAmpersands(kDialogNames[i]) + FLangDelim +
                                    DialogDefaultCaption(i) + FLangDelim);

    const rtl::TFormatSettings &fs = rtl::FormatSettings();
    FLocaleDefaults[0] = fs.CurrencyString;
    FLocaleDefaults[1] = std::string(1, fs.ThousandSeparator);
    FLocaleDefaults[2] = std::string(1, fs.DecimalSeparator);
    FLocaleDefaults[3] = std::string(1, fs.DateSeparator);
    FLocaleDefaults[4] = fs.ShortDateFormat;
    FLocaleDefaults[5] = fs.LongDateFormat;
    FLocaleDefaults[6] = std::string(1, fs.TimeSeparator);
    FLocaleDefaults[7] = fs.TimeAMString;
    FLocaleDefaults[8] = fs.TimePMString;
    FLocaleDefaults[9] = fs.ShortTimeFormat;
    FLocaleDefaults[10] = fs.LongTimeFormat;
    FLocaleDefaults[11] = JoinNames(fs.ShortMonthNames, 12);
    FLocaleDefaults[12] = JoinNames(fs.LongMonthNames, 12);
    FLocaleDefaults[13] = JoinNames(fs.ShortDayNames, 7);
    FLocaleDefaults[14] = JoinNames(fs.LongDayNames, 7);

    FStringsTypes.Add("TIB_STRINGLIST");
    FStringsTypes.Add("TSTRINGLIST");
    FOwnerHasNoFont = !OwnerHasFont(owner);
    for (const char *p : {"Category",
                          "SecondaryShortCuts",
                          "HelpKeyword",
                          "InitialDir",
                          "HelpKeyword",
                          "ActivePage",
                          "ImeName",
                          "DefaultExt",
                          "FileName",
                          "FieldName",
                          "PickList",
                          "DisplayFormat",
                          "EditMask",
                          "KeyList",
                          "LookupDisplayFields",
                          "DropDownSpecRow",
                          "TableName",
                          "DatabaseName",
                          "IndexName",
                          "MasterFields"})
        FExcludedProperties.Add(p);
}

TlxCustomLang::~TlxCustomLang()
{
    ReleaseResourceStrings();
    if (FLangDispatcher)
        FLangDispatcher->UnlinkComponent(this);
}

std::string TlxCustomLang::DialogDefaultCaption(int i) const
{
    // The captions the message dialogs show are the names themselves.
    return kDialogNames[i];
}

std::string TlxCustomLang::OwnerClassName() const
{
    return Owner() ? Owner()->ClassName() : std::string();
}

bool TlxCustomLang::IsLoading() const
{
    return HasState(rtl::csLoading);
}

// ---------------------------------------------------------------------------
// Tables

rtl::TStrings *TlxCustomLang::TableOfType(int type)
{
    if (type < 0 || type >= kStringsTypeCount)
        return nullptr;
    const TlxPropInfoList props(this, rtl::tkClass);
    const rtl::TPropInfo *p = props.Find(std::string(kTypeNames[type]).substr(2));
    if (!p || !p->IsReadable())
        return nullptr;
    return dynamic_cast<rtl::TStrings *>(rtl::GetObjectProp(this, p));
}

rtl::TStrings *TlxCustomLang::TableByName(const std::string &name)
{
    for (int t = 0; t < kStringsTypeCount; ++t)
        if (rtl::AnsiSameText(std::string(kTypeNames[t]).substr(2), name))
            return TableOfType(t);
    return nullptr;
}

void TlxCustomLang::SetTable(TStringsType type, const rtl::TStrings &lines)
{
    rtl::TStrings *table = TableOfType(type);
    if (!table || table == &lines)
        return;
    table->Assign(lines);
    if (type == stStrings && !IsLoading())
        RebuildIndexes();
    if (type == stDlgsCaptions || IsLoading())
        return;
    FTableToTranslate = type;
    TranslateOwner();
    FTableToTranslate = -1;
}

void TlxCustomLang::ChangeDelimiter(char oldDelim, char newDelim)
{
    for (int t = 0; t < kStringsTypeCount; ++t) {
        rtl::TStrings *table = TableOfType(t);
        if (!table)
            continue;
        EditRows(*table, [&](std::string &row) {
            bool changed = false;
            for (char &c : row)
                if (c == oldDelim) {
                    c = newDelim;
                    changed = true;
                }
            return changed;
        });
    }
    for (int i = 0; i < FExtendedTranslations.Count(); ++i) {
        TlxExtendedItem &item = FExtendedTranslations.Items(i);
        std::string values = item.Values();
        for (char &c : values)
            if (c == oldDelim)
                c = newDelim;
        if (values != item.Values())
            item.SetValues(values);
    }
}

void TlxCustomLang::PadAllEntries()
{
    for (int t : {stStrings, stDlgsCaptions, stLocales}) {
        if (rtl::TStrings *table = TableOfType(t))
            PadEntries(*table, FLangDelim, FNumOfLanguages);
    }
}

void TlxCustomLang::RebuildStringsIndex(TlxStringsCollection &index, int sortId)
{
    index.BeginUpdate();
    index.Clear();
    rtl::TStrings &table = FTables[stStrings];
    for (int i = 0; i < table.Count(); ++i) {
        std::string row = table.Strings(i);
        auto &item = index.Add();
        item.Key = GetEntryField(row, FLangDelim, 0);
        for (int n = 1; n <= FNumOfLanguages; ++n)
            item.Values.Add(GetEntryField(row, FLangDelim, n));
    }
    index.EndUpdate();
    index.SetSortID(sortId);
    index.SortItems();
}

void TlxCustomLang::RebuildIndexes()
{
    if (HasState(rtl::csDesigning))
        return;
    RebuildStringsIndex(FKeyIndex, 0);
    if (FHandleResourceStrings && Owner())
        RebuildStringsIndex(FResourceIndex, FResourceLanguageIndex);
    FIndexDirty = false;
}

const TlxStringsCollection &TlxCustomLang::KeyIndex()
{
    if (FIndexDirty)
        RebuildIndexes();
    return FKeyIndex;
}

const TlxStringsCollection &TlxCustomLang::ResourceIndex()
{
    if (FIndexDirty)
        RebuildIndexes();
    return FResourceIndex;
}

bool TlxCustomLang::IsStringsClass(const std::string &className) const
{
    return FStringsTypes.IndexOf(className) >= 0;
}

int TlxCustomLang::LanguageCharset(int n)
{
    std::string text;
    if (!Owner() || FLXBLoading) {
        int saved = FActiveLanguage;
        FActiveLanguage = n;
        text = GetRowText(FTables[stCharSets], 0, false);
        FActiveLanguage = saved;
    } else {
        text = FindKeyText(FTables[stCharSets], OwnerClassName(), n);
    }
    // A form without a charset of its own for the language takes another
    // linked form's.
    if (text.empty() && FCharsetSource && FCharsetSource->Owner())
        text = FCharsetSource->FindKeyText(FCharsetSource->FTables[stCharSets],
                                           FCharsetSource->OwnerClassName(), n);
    if (!FCharsetSource && FLangDispatcher) {
        for (int i = 0; i < FLangDispatcher->LinkedCount(); ++i) {
            TlxCustomLang *other = FLangDispatcher->Linked(i);
            if (other != this && other->Owner() &&
                other->Owner()->InheritsFrom(std::string("TCustomForm")))
                FCharsetSource = other;
        }
        if (FCharsetSource)
            FCharsetSource->FreeNotification(this);
    }
    for (const auto &c : kCharsetNames)
        if (text == c.Name)
            return c.Value;
    return rtl::DEFAULT_CHARSET;
}

void TlxCustomLang::RebuildCharsetCache()
{
    FCharsets.assign(static_cast<size_t>(FNumOfLanguages), rtl::DEFAULT_CHARSET);
    for (int n = 1; n <= FNumOfLanguages; ++n)
        FCharsets[static_cast<size_t>(n - 1)] = LanguageCharset(n);
}

void TlxCustomLang::UpdateCharsetCache()
{
    RebuildCharsetCache();
    FActiveCharset = (FActiveLanguage >= 1 && FActiveLanguage <= FNumOfLanguages)
                         ? FCharsets[static_cast<size_t>(FActiveLanguage - 1)]
                         : rtl::DEFAULT_CHARSET;
}

// ---------------------------------------------------------------------------
// Languages and settings

std::string TlxCustomLang::RangeMessage(int n, int count)
{
    return rtl::Format("%d - is not a valid property value!\rValue must be within [1..%d]!", n,
                       count);
}

// A language count below 1 is refused; so is one beyond any use, which only a
// damaged stored form could carry (every language costs a column in every
// row and a name).
void TlxCustomLang::CheckLanguageCount(int n)
{
    if (n < 1)
        throw ELanguageError(rtl::IntToStr(n) +
                             " - is not a valid property value !\rValue must be more than ZERO !");
    if (n > kMaxLanguages)
        throw ELanguageError(rtl::Format("%d - is not a valid property value !\rValue must be "
                                         "at most %d !",
                                         n, kMaxLanguages));
}

void TlxCustomLang::SetActiveLanguage(int n)
{
    if (n == FActiveLanguage)
        return;
    if (n < 1 || n > FNumOfLanguages) {
        if (IsLoading())
            return;
        throw ELanguageError(RangeMessage(n, FNumOfLanguages));
    }
    FTableToTranslate = -1;
    // The changing cursor stands while the switch runs, whatever ends it.
    struct TCursorGuard {
        bool shown = false;
        ~TCursorGuard()
        {
            if (shown)
                rtl::SetScreenCursor(0);
        }
    } cursor;
    if (FChangingCursor != -1 && rtl::ScreenCursor() == 0 && !HasState(rtl::csDesigning)) {
        rtl::SetScreenCursor(FChangingCursor);
        cursor.shown = true;
    }
    // Edits made in the designer go into the old language's column first.
    if (HasState(rtl::csDesigning) && (FLangDispatcher || !IsLoading()))
        CollectTexts();
    FActiveLanguage = n;
    if (!IsLoading()) {
        if (FLangNames.Count() >= n)
            FLanguage = FLangNames.Strings(n - 1);
        TranslateOwner();
    }
}

void TlxCustomLang::SetNumOfLanguages(int n)
{
    if (n == FNumOfLanguages)
        return;
    CheckLanguageCount(n);
    if (n < FNumOfLanguages) {
        for (int t = 0; t < kStringsTypeCount; ++t) {
            rtl::TStrings *table = TableOfType(t);
            if (!table)
                continue;
            EditRows(*table, [&](std::string &row) {
                std::string cut = CutEntry(row, FLangDelim, n);
                if (cut == row)
                    return false;
                row = std::move(cut);
                return true;
            });
        }
    }
    FNumOfLanguages = n;
    while (FLangNames.Count() < n)
        FLangNames.Add("Language N" + rtl::IntToStr(FLangNames.Count() + 1));
    while (FLangNames.Count() > n)
        FLangNames.Delete(FLangNames.Count() - 1);
    if (!IsLoading()) {
        PadAllEntries();
        RebuildIndexes();
    }
}

void TlxCustomLang::SetLanguage(const std::string &name)
{
    if (name == FLanguage)
        return;
    int index = FLangNames.IndexOf(name);
    if (index < 0) {
        if (!IsLoading())
            throw ELanguageError("Language name shall be included in LangNames property!");
        FLangNames.Add(name);
    }
    FLanguage = name;
    if (!IsLoading() && !FLXBLoading && index >= 0)
        SetActiveLanguage(index + 1);
}

void TlxCustomLang::SetLangNames(const rtl::TStrings &names)
{
    if (&names == &FLangNames)
        return;
    FLangNames.Assign(names);
    if (FLangNames.Count() >= FActiveLanguage)
        FLanguage = FLangNames.Strings(FActiveLanguage - 1);
    if (FLangNames.Count() > 0)
        FNumOfLanguages = FLangNames.Count();
}

void TlxCustomLang::SetLangDispatcher(TlxLangDispatcher *dispatcher)
{
    if (dispatcher != FLangDispatcher && FLangDispatcher)
        FLangDispatcher->UnlinkComponent(this);
    FLangDispatcher = dispatcher;
    if (!dispatcher)
        return;
    dispatcher->FreeNotification(this);
    if (IsLoading()) {
        FNumOfLanguages = dispatcher->NumOfLanguages();
        FDefaultLanguage = dispatcher->DefaultLanguage();
        FUseDefaultLanguage = dispatcher->UseDefaultLanguage();
    } else if (Owner() && !FLXBLoading) {
        dispatcher->LinkComponent(this);
    }
}

void TlxCustomLang::SetResourceLanguageIndex(int n)
{
    if (n == FResourceLanguageIndex)
        return;
    if (!IsLoading() && (n < 1 || n > FNumOfLanguages))
        throw ELanguageError(RangeMessage(n, FNumOfLanguages));
    FResourceLanguageIndex = n;
    if (!IsLoading() && !HasState(rtl::csDesigning)) {
        FResourceIndex.SetSortID(n);
        FResourceIndex.SortItems();
    }
}

void TlxCustomLang::SetDefaultLanguage(int n)
{
    if (n >= 1 && n <= FNumOfLanguages)
        FDefaultLanguage = n;
}

void TlxCustomLang::SetLangDelim(char delim)
{
    if (delim == FLangDelim)
        return;
    if (!IsLoading())
        ChangeDelimiter(FLangDelim, delim);
    FLangDelim = delim;
    if (!IsLoading())
        RebuildIndexes();
}

void TlxCustomLang::SetNeedAllDlgs(bool b)
{
    FNeedAllDlgs = b;
    if (!IsLoading())
        AdjustDialogRows();
}

void TlxCustomLang::AdjustDialogRows()
{
    rtl::TStrings *dlgs = TableOfType(stDlgsCaptions);
    if (!dlgs)
        return;
    if (FNeedAllDlgs && dlgs->Count() < 86) {
        for (int pos = dlgs->Count() + 1; pos <= 86; ++pos) {
            std::string text =
                pos <= kMessageDialogNames ? DialogDefaultCaption(pos - 1) : kDialogNames[pos - 1];
            dlgs->Add(WithoutAmpersands(kDialogNames[pos - 1]) + FLangDelim + text + FLangDelim);
        }
    } else if (!FNeedAllDlgs && dlgs->Count() == 86) {
        for (int i = dlgs->Count() - 1; i >= 0; --i) {
            std::string key = GetEntryField(dlgs->Strings(i), FLangDelim, 0);
            bool standard = false;
            for (int k = 0; k < kMessageDialogNames && !standard; ++k)
                standard = rtl::AnsiSameText(key, WithoutAmpersands(kDialogNames[k]));
            if (!standard)
                dlgs->Delete(i);
        }
    }
}

// ---------------------------------------------------------------------------
// Component life

void TlxCustomLang::Loaded()
{
    rtl::TComponent::Loaded();
    if (!Owner() || FLXBLoading)
        return;
    AdjustDialogRows();
    if (FOptions & loUseExtCommonStrings) {
        // Taken from another component instead (LookupTableText).
        FTables[stDlgsCaptions].Clear();
        FTables[stLocales].Clear();
    }
    if (FLangDelim == '\t') {
        FLangDelim = 1;
        ChangeDelimiter('\t', FLangDelim);
    }
    // Rows written with tabs between the fields: every tab becomes the
    // delimiter.
    auto row0 = [this](int t) -> std::string {
        rtl::TStrings *table = TableOfType(t);
        return table && table->Count() > 0 ? table->Strings(0) : std::string();
    };
    bool tabbed = row0(stDlgsCaptions).find('\t') != std::string::npos ||
                  row0(stLocales).find('\t') != std::string::npos;
    for (int t : {stCaptions, stLocales, stHints})
        if (CountChars(row0(t), '\t') == FNumOfLanguages + 1)
            tabbed = true;
    if (tabbed)
        ChangeDelimiter('\t', FLangDelim);
    if (rtl::TStrings *locales = TableOfType(stLocales); locales && locales->Count() == 11)
        for (int i = 11; i < 15; ++i)
            locales->Add(std::string(kLocaleKeys[i]) + FLangDelim + FLocaleDefaults[i] +
                         FLangDelim);
    ClearExcludedTables();
    if (HasState(rtl::csDesigning))
        PadAllEntries();
    else
        RebuildIndexes();
    if (FLangDispatcher)
        FLangDispatcher->LinkComponent(this);
    if (FIsInheritedOwner)
        TranslateOwner();
    else
        UpdateCharsetCache();
    if (!HasState(rtl::csDesigning) && FHandleResourceStrings && !ResourceStringOwner())
        TakeResourceStrings();
    if (HasState(rtl::csDesigning))
        BindExtendedItems();
}

void TlxCustomLang::Notification(rtl::TComponent *component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
    if (operation != rtl::opRemove)
        return;
    if (component == FLangDispatcher) {
        FLangDispatcher = nullptr;
        FCharsetSource = nullptr; // found through the dispatcher
        return;
    }
    if (component == FCharsetSource) {
        FCharsetSource = nullptr;
        return;
    }
    if (component->InheritsFrom(TlxCustomLang::StaticClassInfo()))
        return;
    int i = FDoNotTranslate.IndexOf(component->Name());
    if (i >= 0 && !component->Name().empty())
        FDoNotTranslate.Delete(i);
    for (int kind : {stCaptions, stHints, stDisplayLabels, stFonts, stMultiLines, stOtherStrings,
                     stCharSets, stCollections})
        if (rtl::TStrings *table = TableOfType(kind))
            PurgeComponentEntries(*table, component, kind, operation);
    PurgeComponentEntries(FSmartExcludeProps, component, stOtherStrings, operation);
    const std::string prefix = component->Name() + ".";
    for (int n = FExtendedTranslations.Count() - 1; n >= 0; --n) {
        TlxExtendedItem &item = FExtendedTranslations.Items(n);
        if (item.Component() == component) {
            FExtendedTranslations.Delete(n); // bound to the component that goes
            continue;
        }
        if (!component->Name().empty() &&
            rtl::AnsiSameText(item.Identifier().substr(0, prefix.size()), prefix))
            FExtendedTranslations.Delete(n);
    }
}

} // namespace i18n
