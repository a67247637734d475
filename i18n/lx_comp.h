// The translation components: TlxCustomLang (one per form, holding the
// form's texts of every language in its tables) and TlxLang (the main
// window's variant). The dispatcher TlxLangDispatcher that switches every
// linked component at once is in lx_dispatcher.h, which comes with this
// header; TlxLangLinked, the variant on every other window, is in
// lx_linked.h. The members of TlxCustomLang are defined by topic in the
// files the README of this folder lists.
//
// All of this runs on the GUI thread only.
#pragma once

#include "i18n/base/lx_ext.h"
#include "i18n/base/lx_index.h"
#include "i18n/lx_dispatcher.h"

#include "platform/rtl/classes.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rtl {
class TStream;
class TPropInfo;
} // namespace rtl

namespace i18n {

// The kinds of translated text; the order is the section order of the stored
// translation data.
enum TStringsType : int {
    stCaptions,
    stHints,
    stDisplayLabels,
    stFonts,
    stMultiLines,
    stDlgsCaptions,
    stStrings,
    stOtherStrings,
    stLocales,
    stCollections,
    stCharSets,
    stListView_TreeView_Items,
};
inline constexpr int kStringsTypeCount = 12;
// The most languages a component or the dispatcher takes.
inline constexpr int kMaxLanguages = 1000;

// A routine that sees every text just before a language switch writes it to
// a property of object, and every line just before it goes into a string
// list, and may change it. None is installed unless someone sets one.
using TTranslateHook = void (*)(rtl::TObject *object, const std::string &property,
                                std::string &text);
void SetTranslateHook(TTranslateHook hook);
TTranslateHook TranslateHook();

// "stCaptions", "stHints", ...
const char *StringsTypeName(int type);

// A language number or name outside the component's languages, or (with
// DoRaiseExceptions) a missing string id.
class ELanguageError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

enum TTranslateType { ttNoChange, ttGetDefault };
enum TlxLangOption : unsigned { loUseExtUDStrings = 1, loUseExtCommonStrings = 2 };

// The 86 dialog and button caption names; the first 15 are those of the
// message dialogs.
extern const char *const kDialogNames[86];
inline constexpr int kMessageDialogNames = 15;
// The 15 locale keys of the Locales table.
extern const char *const kLocaleKeys[15];
// The 19 font charset names and their values.
struct TCharsetName {
    const char *Name;
    int Value;
};
extern const TCharsetName kCharsetNames[19];
// The value of a charset name (case-insensitive); -1 when unknown.
int CharsetValueOf(const std::string &name);

class TlxWideStringsAdapter;
class TLXBFileManager;
class TlxMemIniFile;

// The translation component of one form. Everything a stored form or a
// translation file sets is a published property (the tables included); the
// accessors below are the same properties for the program's code.
class TlxCustomLang : public rtl::TComponent {
    RTL_DECLARE_CLASS(TlxCustomLang)
public:
    // Raises rtl::Exception "Only one TlxCustomLang component per
    // Form/DataModule allowed!" when owner already owns one.
    explicit TlxCustomLang(rtl::TComponent *owner);
    ~TlxCustomLang() override;

    // ---- Languages.
    int ActiveLanguage() const { return FActiveLanguage; }
    // Re-translates the owner form when the value changes. Outside
    // 1..NumOfLanguages: ELanguageError (ignored while loading).
    void SetActiveLanguage(int n);
    int NumOfLanguages() const { return FNumOfLanguages; }
    // Cuts or pads every row; ELanguageError below 1 or above
    // kMaxLanguages.
    void SetNumOfLanguages(int n);
    const std::string &Language() const { return FLanguage; }
    // Switches to the language of that name; ELanguageError when it is not
    // among LangNames (while loading the name is appended instead).
    void SetLanguage(const std::string &name);
    rtl::TStringList &LangNames() { return FLangNames; }
    void SetLangNames(const rtl::TStrings &names);
    TlxLangDispatcher *LangDispatcher() const { return FLangDispatcher; }
    void SetLangDispatcher(TlxLangDispatcher *dispatcher);
    int DefaultLanguage() const { return FDefaultLanguage; }
    void SetDefaultLanguage(int n); // ignored outside 1..NumOfLanguages
    bool UseDefaultLanguage() const { return FUseDefaultLanguage; }
    void SetUseDefaultLanguage(bool b) { FUseDefaultLanguage = b; }

    // ---- Settings.
    char LangDelim() const { return FLangDelim; }
    // Replaces the delimiter in every stored row (only stores while loading).
    void SetLangDelim(char delim);
    TTranslateType TranslateType() const { return FTranslateType; }
    void SetTranslateType(TTranslateType t) { FTranslateType = t; }
    unsigned Options() const { return FOptions; }
    void SetOptions(unsigned options);
    bool DoRaiseExceptions() const { return FDoRaiseExceptions; }
    void SetDoRaiseExceptions(bool b) { FDoRaiseExceptions = b; }
    bool AutoSkipEmpties() const { return FAutoSkipEmpties; }
    // Turned on outside loading, collects the form's texts again.
    void SetAutoSkipEmpties(bool b);
    bool ChangeLocales() const { return FChangeLocales; }
    // Turned on with an empty Locales table, adds the 15 locale rows.
    void SetChangeLocales(bool b);
    bool IsInheritedOwner() const { return FIsInheritedOwner; }
    void SetIsInheritedOwner(bool b) { FIsInheritedOwner = b; }
    bool NeedAllDlgs() const { return FNeedAllDlgs; }
    void SetNeedAllDlgs(bool b);
    int ChangingCursor() const { return FChangingCursor; }
    void SetChangingCursor(int c) { FChangingCursor = c; }
    std::string Version() const { return "6.3.1"; }
    void SetVersion(const std::string &) {} // always "6.3.1"
    // The language the program's resource strings are written in, and
    // whether this component translates them (see base/lx_resstr.h).
    bool HandleResourceStrings() const { return FHandleResourceStrings; }
    void SetHandleResourceStrings(bool b) { FHandleResourceStrings = b; }
    int ResourceLanguageIndex() const { return FResourceLanguageIndex; }
    // Outside 1..NumOfLanguages (not loading): ELanguageError, unchanged.
    void SetResourceLanguageIndex(int n);
    bool TranslateExtendedFirst() const { return FTranslateExtendedFirst; }
    void SetTranslateExtendedFirst(bool b) { FTranslateExtendedFirst = b; }
    // Every text but those of Fonts and CharSets, and the extended items'
    // values, held in UTF-8; switching converts them (ConvertStorage).
    bool StoreAsUTF8() const { return FStoreAsUTF8; }
    void SetStoreAsUTF8(bool b);
    bool UseTaskMsgDlg() const { return FUseTaskMsgDlg; }
    void SetUseTaskMsgDlg(bool b) { FUseTaskMsgDlg = b; }
    rtl::TStringList &DoNotTranslate() { return FDoNotTranslate; }
    void SetDoNotTranslate(const rtl::TStrings &names);
    rtl::TStringList &ExcludedProperties() { return FExcludedProperties; }
    void SetExcludedProperties(const rtl::TStrings &names);
    rtl::TStringList &StringsTypes() { return FStringsTypes; }
    void SetStringsTypes(const rtl::TStrings &names);
    rtl::TStringList &SmartExcludeProps() { return FSmartExcludeProps; }
    void SetSmartExcludeProps(const rtl::TStrings &names);
    bool IsStringsClass(const std::string &className) const;
    // The property is excluded for the component: listed in
    // ExcludedProperties, "Component.Property" in SmartExcludeProps, or
    // "Name".
    bool IsPropertyExcluded(const std::string &component, const std::string &property) const;
    // Deletes the rows that ExcludedProperties and SmartExcludeProps now
    // exclude (whole tables for "Caption", "Hint", "DisplayLabel", "Font",
    // "Charset").
    void PurgeExcludedProperties();
    // At design time: deletes the rows of the components DoNotTranslate
    // names (a name, "!" and a class name, or the form's class name).
    void PurgeDoNotTranslate();
    // At design time, on removal: deletes the rows of table that belong to
    // component (the form's when it is the owner).
    void PurgeComponentEntries(rtl::TStrings &table, rtl::TComponent *component, int kind,
                               rtl::TOperation operation);
    // A component of the form was renamed: its rows in every table, in
    // DoNotTranslate and SmartExcludeProps, and its extended items follow
    // the new name (the form's rename renames its class name "T" + name).
    // Nothing when newName is empty.
    virtual void RenameComponentEntries(const std::string &oldName, const std::string &newName);
    // ---- Collecting the form's texts (lx_collect.cpp).
    // Fills the tables from the form as it is now: every translatable text
    // gets a row, rows of vanished components and properties go, and a row
    // dropped for a renamed component is reused by a new row of the same
    // text. Existing rows take the current text into the active language's
    // column only at design time (csDesigning), and never into an empty
    // text of a language other than 1.
    virtual void CollectTexts();
    // The components' texts of one kind of table.
    void CollectTableTexts(rtl::TStrings &table, int kind);
    // The string lists the components' "Properties" objects hold.
    void CollectPropertiesLists();
    // Drops rows whose property no longer exists or is of the wrong kind.
    void RemoveInvalidProperties();
    // Deletes the row (kind 9: every row) that begins with the key of
    // component key and property propertyName.
    void DeleteTableEntry(rtl::TStrings &table, const std::string &key, int kind,
                          const std::string &propertyName);
    // A row taken out during this collection whose active-language text
    // (language 1's when empty) equals text, ignoring case; empty when none.
    std::string FindRemovedRow(const std::string &text);
    // Decode backslash escapes in looked-up strings (off by default).
    bool DecodeEscapesInStrings() const { return FDecodeEscapes; }
    void SetDecodeEscapesInStrings(bool b) { FDecodeEscapes = b; }

    // Fired at the end of every TranslateOwner.
    std::function<void(rtl::TObject *sender)> OnChangeLanguage;

    // ---- Extended items (base/lx_ext.h; lx_comp_ext.cpp).
    TlxExtendedItems &ExtendedTranslations() { return FExtendedTranslations; }
    void SetExtendedTranslations(const TlxExtendedItems &items);
    // The object that holds the last property of the path; nullptr when a
    // step does not resolve.
    rtl::TObject *ResolvePath(const std::string &identifier);
    // The kind of the path's last property (tkClass only for a string
    // list); tkUnknown when unresolved.
    rtl::TTypeKind PropertyKindOf(const std::string &identifier);
    // The property's value as text, and the reverse (failures swallowed).
    std::string GetPathPropertyText(const std::string &identifier);
    void SetPathPropertyText(const std::string &identifier, const std::string &text);
    // Values with text in language n and the others empty.
    std::string MakeValuesRow(const std::string &text, int n) const;
    // Field n of a values row, falling back to DefaultLanguage.
    std::string ExtendedTextFor(const std::string &row, int n) const;
    void ApplyExtendedItems();
    // Takes the current value of each item's property into the active
    // language's place; an item whose path no longer resolves is deleted.
    void RefreshExtendedItems();

    // ---- Locales, charsets, UTF-8 storage, test mode (lx_locale.cpp).
    // Text in the code page of a charset from and to UTF-8.
    static std::string CharsetToUtf8(const std::string &text, int charset);
    static std::string Utf8ToCharset(const std::string &text, int charset);
    // Converts every stored text to UTF-8 or back, language by language.
    void ConvertStorage(bool toUtf8);
    // A string property's text as the tables hold it.
    std::string GetStringPropertyText(rtl::TObject *object, const std::string &property);
    // The dispatcher's test mode is on.
    bool TestModeActive() const;
    // The test mode's form of text, with the dispatcher's settings.
    std::string TestModeText(const std::string &text) const;

    // ---- Tables.
    rtl::TStringList &Captions() { return FTables[stCaptions]; }
    rtl::TStringList &Hints() { return FTables[stHints]; }
    rtl::TStringList &DisplayLabels() { return FTables[stDisplayLabels]; }
    rtl::TStringList &Fonts() { return FTables[stFonts]; }
    rtl::TStringList &MultiLines() { return FTables[stMultiLines]; }
    rtl::TStringList &DlgsCaptions() { return FTables[stDlgsCaptions]; }
    rtl::TStringList &Strings() { return FTables[stStrings]; }
    rtl::TStringList &OtherStrings() { return FTables[stOtherStrings]; }
    rtl::TStringList &Locales() { return FTables[stLocales]; }
    rtl::TStringList &Collections() { return FTables[stCollections]; }
    rtl::TStringList &CharSets() { return FTables[stCharSets]; }
    // Table writers: assign the lines and re-apply that table to the form
    // (DlgsCaptions: only assign). The Strings writer rebuilds the key index.
    void SetTable(TStringsType type, const rtl::TStrings &lines);

    // The table of a kind: the published property named like the kind
    // without "st" ("Captions" for stCaptions); nullptr when this component
    // publishes none.
    virtual rtl::TStrings *TableOfType(int type);
    // The table whose kind name without "st" equals name (ignoring case).
    rtl::TStrings *TableByName(const std::string &name);
    // Rows the walk took out of the tables because they address nothing.
    const rtl::TStringList *RemovedRows() const { return FRemovedRows.get(); }

    // ---- The stored "TranslationData" property, defined beside the
    // published ones (lx_comp_data.cpp).
    void DefineProperties(rtl::TFiler &filer) override;
    bool HasTranslationData() const { return true; }
    // Replaces the tables from the stream (from its position to its end).
    // Never raises for malformed data: what cannot be read is ignored.
    void ReadTranslationData(rtl::TStream &stream);
    void WriteTranslationData(rtl::TStream &stream);
    void ReadTranslationData(const std::string &bytes);
    std::string TranslationDataBytes();

    // ---- Look-ups (lx_comp_lookup.cpp).
    // Text of string id in the active language, the language-1 text when
    // that is empty; "" when the id is missing (ELanguageError with
    // DoRaiseExceptions).
    std::string GetStringById(const std::string &id);
    // As GetStringById, but falls back to language 1 only with ttGetDefault.
    std::string GetStringByIdExact(const std::string &id);
    std::string LookupTableText(rtl::TStrings &table, const std::string &key, bool fallBack);
    std::string GetRowText(rtl::TStrings &table, int index, bool fallBack);
    std::string FindKeyText(rtl::TStrings &table, const std::string &key, int language);
    // Writes text into column language of the row of key (padding a short
    // row); the Strings table's key index follows.
    void StoreText(rtl::TStrings &table, const std::string &text, int language,
                   const std::string &key);

    // ---- Applying the active language to the owner form (lx_walk.cpp).
    // Writes the texts of the active language into the owner and its
    // components. A row that addresses nothing usable is skipped; rows of
    // vanished components are moved to RemovedRows first.
    virtual void TranslateOwner();
    // Applies one table (kind = its TStringsType).
    void ApplyTableTexts(rtl::TStrings &table, int kind);
    // Moves rows that address nothing to RemovedRows; with AutoSkipEmpties
    // deletes rows without any text.
    void RemoveObsoleteRows(rtl::TStrings &table, int kind);
    // Kind 0/1: the component's Caption/Hint comes from its Action.
    bool IsActionText(rtl::TComponent *component, int kind);

    // ---- Table maintenance.
    void ChangeDelimiter(char oldDelim, char newDelim);
    void PadAllEntries();
    // Fills index from the Strings table (key, then one text per language),
    // sorted by key (sortId 0) or by the texts of language sortId.
    void RebuildStringsIndex(TlxStringsCollection &index, int sortId);
    // The key index, and with HandleResourceStrings the resource-strings
    // index sorted by the texts of ResourceLanguageIndex.
    void RebuildIndexes();
    const TlxStringsCollection &KeyIndex();
    const TlxStringsCollection &ResourceIndex();
    // Charset of language n (1-based) from the CharSets row of the owner.
    int LanguageCharset(int n);
    // The charset of every language (RebuildCharsetCache), and with it the
    // active language's (UpdateCharsetCache).
    void RebuildCharsetCache();
    void UpdateCharsetCache();
    int ActiveCharset() const { return FActiveCharset; }

    // Locale defaults captured at creation, in the order of kLocaleKeys.
    const std::string &LocaleDefault(int i) const
    {
        return FLocaleDefaults[static_cast<size_t>(i)];
    }

    // Completes loading: key index, link to the dispatcher, and (for an
    // inherited form) translation of the owner.
    void Loaded() override;

    // ---- Translation files (LXB files: lx_lxb.cpp; ini-form files:
    // lx_inifile.cpp). A component reads the file its dispatcher names when
    // it links.
    //
    // Reads this form's component from a LXB file and applies it. False
    // (nothing changed) when the file cannot be opened or holds no such
    // form; a file that is no LXB file raises "Unrecognized stream format!",
    // a damaged one rtl::EReadError, and nothing changes then either.
    virtual bool LoadFromLXB(const std::string &fileName);
    // One table from a LXB file; the other tables stay. Raises as above.
    virtual bool ImportLXBSection(int type, const std::string &fileName);

    // Ini-form files: one section per kind of text, keys "<form class>.<row
    // key>", the texts of a row joined by the file's delimiter (sep, "~!@#"
    // when the file names none). Reading replaces the component's language
    // names by the file's (when it has any) and, unless a batch of sections
    // is read, re-applies the table. -1: no such table (or, reading, the
    // section could not be read; what was read stays). Writing keeps what
    // the stream or file holds for other forms and sections.
    virtual int ReadIniSection(int type, rtl::TStream &stream, bool clearFirst);
    virtual int WriteIniSection(int type, rtl::TStream &stream, const std::string &sep);
    // Every section and the extended items.
    virtual void ReadIniStream(rtl::TStream &stream, bool clearFirst, bool noTranslate);
    virtual void WriteIniStream(rtl::TStream &stream, const std::string &sep);
    // The same on files. A file that does not exist reads nothing (-1,
    // false); files are written whole to a temporary file and renamed into
    // place (rtl::EWriteError / EFCreateError when that fails; the old file
    // stays).
    virtual int ReadSectionFile(int type, const std::string &fileName, bool clearFirst);
    virtual int WriteSectionFile(int type, const std::string &fileName, const std::string &sep);
    // False, changing nothing, also for a file without a text of this form.
    virtual bool ReadLanguageFile(const std::string &fileName, bool clearFirst);
    virtual void WriteLanguageFile(const std::string &fileName, const std::string &sep);
    virtual int ReadStringsFile(const std::string &fileName, bool clearFirst);
    virtual int WriteStringsFile(const std::string &fileName, const std::string &sep);
    // Every section and the extended items, without re-applying them.
    virtual bool ReadAllSections(const std::string &fileName, bool clearFirst);
    // Merges one table from a file (ini-form or LXB) into this component's
    // languages: the file's columns are matched to LangNames by name (a
    // language the file lacks gets empty texts, one the component lacks is
    // dropped) and rows the file lacks are kept. False, with the table as
    // it was, when the file does not exist or cannot be read.
    virtual bool ImportSection(int type, const std::string &fileName);
    // Every table; stops at the first that fails.
    virtual bool ImportAllSections(const std::string &fileName);
    virtual bool ImportFile(const std::string &fileName);
    // The texts of one language of an ini-form file (named as the file
    // names it, case-sensitive) into the column of the language of that
    // name, added when LangNames lacks it. A language the file lacks changes
    // nothing (rtl::Exception "<language> not found in <file>" with
    // DoRaiseExceptions).
    virtual void ImportLanguageSection(int type, const std::string &fileName,
                                       const std::string &language);
    virtual void ImportLanguageExtended(const std::string &fileName, const std::string &language);
    virtual void ImportLanguage(const std::string &fileName, const std::string &language);
    // The language names a file (ini-form or LXB) gives; empty when none.
    virtual void ReadFileLanguageNames(const std::string &fileName, rtl::TStrings &names);
    // The languages a translation file marked as fixed.
    rtl::TStringList &FixedLanguages() { return FFixedLanguages; }
    // Set while the component is filled from a LXB file: no loading work, no
    // collecting, no translating; table rows are appended unmerged.
    bool LXBLoading() const { return FLXBLoading; }
    void SetLXBLoading(bool b) { FLXBLoading = b; }

protected:
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

    bool IsLoading() const;
    // Internal: set the active language without a switch (dispatcher, default
    // language look-ups).
    void SetActiveLanguageField(int n) { FActiveLanguage = n; }

    int FTableToTranslate = -1;

private:
    friend class TlxLangDispatcher;
    friend struct TIniFiles;  // lx_inifile.cpp
    friend struct TCollector; // lx_collect.cpp
    struct CollectionTarget;

    bool ResolveCollectionKey(const std::string &key, CollectionTarget &target);
    void ApplyCollections(rtl::TStrings &table);
    void ApplyRow(const std::string &row, int kind);
    void ApplyFontRow(rtl::TComponent *target, const rtl::TPropInfo *prop,
                      const std::string &component, const std::string &text);
    void ApplyTextRow(rtl::TComponent *target, const rtl::TPropInfo *prop, const std::string &sub,
                      int kind, const std::string &text);
    void ApplyOwnerTexts();
    void ApplyLocale(const std::string &key, const std::string &text);
    std::string RowText(const std::string &row, int kind);
    std::string FromStorage(const std::string &text, int charset) const;
    std::string ToStorage(const std::string &text, int charset) const;
    int CharsetOf(int language);
    void BindExtendedItems();
    void ApplyExtendedItemsGuarded();
    void TakeResourceStrings();
    void ReleaseResourceStrings();
    bool IsTranslatableClass(const std::string &className) const;
    std::string GetPropertyText(rtl::TObject *object, const rtl::TPropInfo *prop);
    void AssignTextProperty(rtl::TObject *object, const rtl::TPropInfo *prop,
                            const std::string &text);
    void MoveOut(rtl::TStrings &table, int index);

    // The checks of language numbers, shared with the dispatcher: the message
    // for n outside 1..count, and ELanguageError for a count below 1 or
    // above kMaxLanguages.
    static std::string RangeMessage(int n, int count);
    static void CheckLanguageCount(int n);

    std::string LookupIn(rtl::TStrings &table, int type, const std::string &key, bool fallBack);
    TlxCustomLang *ExternalSource(int type);
    void AdjustDialogRows();
    // Clears the tables that ExcludedProperties excludes whole; marks
    // (when given) the kinds whose rows are purged one by one instead.
    void ClearExcludedTables(bool *purged = nullptr);
    std::string DialogDefaultCaption(int i) const;
    void ReadSection(const std::vector<std::string> &lines, bool wide,
                     const TlxWideStringsAdapter *wideLines);
    void StoreLine(rtl::TStrings &table, const std::string &line);
    std::string WideRowToAnsi(const std::u16string &row);
    std::string OwnerClassName() const;

    rtl::TStringList FTables[kStringsTypeCount]; // [stListView_TreeView_Items] unused
    int FActiveLanguage = 1;
    int FNumOfLanguages = 1;
    bool FChangeLocales = false;
    std::unique_ptr<rtl::TStringList> FRemovedRows;
    std::string FLocaleDefaults[15];
    TlxLangDispatcher *FLangDispatcher = nullptr;
    char FLangDelim = 1;
    rtl::TStringList FDoNotTranslate;
    std::string FLanguage;
    rtl::TStringList FLangNames;
    TTranslateType FTranslateType = ttNoChange;
    unsigned FOptions = 0;
    bool FNeedAllDlgs = false;
    int FChangingCursor = -1;
    rtl::TStringList FExcludedProperties;
    bool FDoRaiseExceptions = false;
    rtl::TStringList FStringsTypes;
    rtl::TStringList FSmartExcludeProps;
    bool FIsInheritedOwner = false;
    bool FOwnerHasNoFont = true;
    int FDefaultLanguage = 1;
    bool FUseDefaultLanguage = false;
    bool FAutoSkipEmpties = true;
    TlxStringsCollection FKeyIndex{this};
    bool FIndexDirty = true;
    std::vector<int> FCharsets;
    int FActiveCharset = 1;
    bool FDecodeEscapes = false;
    bool FHandleResourceStrings = false;
    int FResourceLanguageIndex = 1;
    bool FTranslateExtendedFirst = false;
    bool FStoreAsUTF8 = false;
    bool FUseTaskMsgDlg = true;
    bool FLXBLoading = false;
    TlxStringsCollection FResourceIndex{this};
    TlxExtendedItems FExtendedTranslations{this};
    TlxCustomLang *FCharsetSource = nullptr; // another form's CharSets, for empty rows
    // Translation files.
    rtl::TStringList FFixedLanguages;
    TlxMemIniFile *FSharedIni = nullptr; // while ReadIniStream reads a batch
    bool FBatchImport = false;           // sections read or imported as one batch
};

class TlxLang : public TlxCustomLang {
    RTL_DECLARE_CLASS(TlxLang)
public:
    explicit TlxLang(rtl::TComponent *owner) : TlxCustomLang(owner) {}
};

} // namespace i18n
