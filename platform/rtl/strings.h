// String lists: the abstract TStrings (lines with attached objects, text
// forms, name=value pairs, update counting, streaming) and TStringList, the
// general-purpose list with sorting and duplicate rules. Control-backed lists
// (a combo box's items, a memo's lines) derive from TStrings and supply
// Get/GetCount/Insert/Delete/Clear (and Put, GetObject, PutObject when they
// keep them).
#pragma once

#include "platform/rtl/object.h"

#include <functional>
#include <string>
#include <vector>

namespace rtl {

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
    RTL_DECLARE_CLASS(TStrings)
public:
    TStrings() = default;
    TStrings(const TStrings &) = delete;
    TStrings &operator=(const TStrings &) = delete;

    // ---- What a concrete list supplies.
    virtual int GetCount() const = 0;
    virtual std::string Get(int index) const = 0;
    // Default: keeps the line's object, deletes the line, inserts the new one.
    virtual void Put(int index, const std::string &s);
    virtual TObject *GetObject(int index) const;        // default: nullptr
    virtual void PutObject(int index, TObject *object); // default: ignored
    virtual void Insert(int index, const std::string &s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int GetCapacity() const { return GetCount(); }
    virtual void SetCapacity(int) {}

    // ---- Lines and objects.
    int Count() const { return GetCount(); }
    std::string Strings(int index) const { return Get(index); }
    TObject *Objects(int index) const { return GetObject(index); }
    int Capacity() const { return GetCapacity(); }

    virtual int Add(const std::string &s);
    virtual int AddObject(const std::string &s, TObject *object);
    virtual void InsertObject(int index, const std::string &s, TObject *object);
    virtual void AddStrings(const TStrings &strings);
    virtual void Move(int curIndex, int newIndex);
    virtual void Exchange(int index1, int index2);

    // Searches compare with CompareStrings: case-insensitive unless a list
    // says otherwise. -1 when not found.
    virtual int IndexOf(const std::string &s) const;
    int IndexOfName(const std::string &name) const;
    int IndexOfObject(const TObject *object) const;

    // Same count and the same lines, case-sensitive (objects not compared).
    bool Equals(const TStrings &other) const;

    // Assign from any TStrings: lines and objects (the objects are shared,
    // not copied). Other sources: inherited rule (EConvertError).
    void Assign(const TPersistent &source) override;

    // ---- Text forms.
    // Every line followed by CR LF. The setter splits at CR, LF or CR LF; a
    // final line end makes no empty last line.
    virtual std::string Text() const;
    virtual void SetText(const std::string &text);
    // Items separated by commas; an item that is empty or holds a blank, a
    // control character, a comma or a double quote is quoted with inner
    // quotes doubled. The setter splits at commas and at unquoted blanks and
    // control characters.
    std::string CommaText() const;
    void SetCommaText(const std::string &text);
    // As CommaText with Delimiter and QuoteChar in place of ',' and '"'.
    std::string DelimitedText() const;
    void SetDelimitedText(const std::string &text);
    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char c) { FDelimiter = c; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char c) { FQuoteChar = c; }

    // ---- name=value lines.
    // The part before the first '=' ("" when the line has none).
    std::string Names(int index) const;
    // The part after the first '=' of the first line whose name matches.
    std::string Values(const std::string &name) const;
    // Replaces or adds "name=value"; an empty value deletes the line.
    void SetValue(const std::string &name, const std::string &value);
    std::string ValueFromIndex(int index) const;

    // ---- Updates. OnChanging/OnChange fire around every change, but while
    // updates are pending only once: OnChanging at the outer BeginUpdate,
    // OnChange at the outer EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // ---- Streams and files: the bytes as they are, no code-page conversion.
    // LoadFromStream reads from the stream's position to its end.
    virtual void LoadFromStream(TStream &stream);
    virtual void SaveToStream(TStream &stream) const;
    void LoadFromFile(const std::string &fileName);
    // Written to a temporary file in the same folder and renamed into place.
    void SaveToFile(const std::string &fileName) const;

    // The comparison used by IndexOf, IndexOfName and Values: < 0, 0, > 0.
    virtual int CompareStrings(const std::string &a, const std::string &b) const;

    // Stored forms keep the lines as the list property "Strings".
    void DefineProperties(TFiler &filer) override;

protected:
    // Called with true at the outer BeginUpdate and false at the outer
    // EndUpdate (a control can stop repainting in between).
    virtual void SetUpdateState(bool updating);
    // Raises EListError "List index out of bounds (%d)".
    [[noreturn]] static void IndexError(int index);

private:
    std::string GetDelimitedText(char delimiter, char quote) const;
    void SetDelimitedTextWith(const std::string &text, char delimiter, char quote);

    int FUpdateCount = 0;
    char FDelimiter = ',';
    char FQuoteChar = '"';
};

class TStringList : public TStrings {
    RTL_DECLARE_CLASS(TStringList)
public:
    // Compares the lines at index1 and index2 of list: < 0, 0, > 0.
    using TStringListSortCompare = std::function<int(const TStringList &list, int, int)>;

    TStringList() = default;
    ~TStringList() override;

    int GetCount() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int index) const override;
    // Raises EStringListError "Operation not allowed on sorted list" when sorted.
    void Put(int index, const std::string &s) override;
    TObject *GetObject(int index) const override;
    void PutObject(int index, TObject *object) override;
    // Insert and Move raise on a sorted list as Put does.
    void Insert(int index, const std::string &s) override;
    void InsertObject(int index, const std::string &s, TObject *object) override;
    void Delete(int index) override;
    void Clear() override;
    void Move(int curIndex, int newIndex) override;
    // Raises on a sorted list too (it would break the order Find relies on).
    void Exchange(int index1, int index2) override;
    int GetCapacity() const override { return static_cast<int>(FItems.capacity()); }
    // Raises EListError "List capacity out of bounds (%d)" below Count.
    void SetCapacity(int capacity) override;

    // On a sorted list: inserted in order; a duplicate is ignored
    // (dupIgnore, the index of the existing line is returned), added
    // (dupAccept) or refused with EStringListError "String list does not
    // allow duplicates" (dupError).
    int Add(const std::string &s) override;
    int AddObject(const std::string &s, TObject *object) override;
    int IndexOf(const std::string &s) const override;

    // Binary search on a sorted list: true when found, index = position of
    // the first match, else where s would be inserted.
    bool Find(const std::string &s, int &index) const;
    void Sort();
    void CustomSort(const TStringListSortCompare &compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates d) { FDuplicates = d; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool caseSensitive);
    // When set, the list deletes the objects of lines it deletes or clears.
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool owns) { FOwnsObjects = owns; }

    // AnsiCompareStr when CaseSensitive, else AnsiCompareText.
    int CompareStrings(const std::string &a, const std::string &b) const override;

    std::function<void(TObject *sender)> OnChange;
    std::function<void(TObject *sender)> OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    void Changed();
    void Changing();

private:
    struct Item {
        std::string String;
        TObject *Object = nullptr;
    };
    void CheckIndex(int index, int limit) const;
    void CheckNotSorted() const;
    void InsertItem(int index, const std::string &s, TObject *object);

    std::vector<Item> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
    TDuplicates FDuplicates = dupIgnore;
};

} // namespace rtl
