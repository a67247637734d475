// Sorted string collections: indexed copies of a translation component's
// Strings table, one item per row (key and one text per language), sorted by
// key (SortID 0) or by the texts of one language (SortID n >= 1) and
// searched by binary search. The component keeps two: the key index and the
// resource-strings index.
#pragma once

#include "platform/rtl/classes.h"
#include "platform/rtl/strings.h"

#include <string>

namespace i18n {

class TlxCustomLang;

// A collection that sorts its items by moving them, with a comparison given
// by the caller.
class TlxSortCollection : public rtl::TCollection {
    RTL_DECLARE_CLASS(TlxSortCollection)
public:
    using TCompare = int (*)(void *context, rtl::TCollectionItem *a, rtl::TCollectionItem *b);
    using rtl::TCollection::TCollection;

    virtual void QuickSort(int l, int r, TCompare compare, void *context);
    void Sort(TCompare compare, void *context);
};

class TlxStringsCollectionItem : public rtl::TCollectionItem {
    RTL_DECLARE_CLASS(TlxStringsCollectionItem)
public:
    using rtl::TCollectionItem::TCollectionItem;

    std::string Key;
    rtl::TStringList Values; // line i = language i + 1

    // Text of language lang (1-based); empty outside the values.
    std::string Value(int lang) const;
};

class TlxStringsCollection : public TlxSortCollection {
    RTL_DECLARE_CLASS(TlxStringsCollection)
public:
    explicit TlxStringsCollection(TlxCustomLang *owner = nullptr);

    int SortID() const { return FSortID; }
    void SetSortID(int id) { FSortID = id; }
    TlxCustomLang *Lang() const { return FLang; }

    TlxStringsCollectionItem &Add();
    TlxStringsCollectionItem &Items(int i) const;

    // Linear, case-insensitive search; -1 when absent.
    int IndexOfKey(const std::string &key) const;
    // Binary search of the key-sorted collection (ignoring case): the hit's
    // text of language lang; found (when given) tells a missing key from an
    // empty text. Among equal keys the one first in table order answers.
    std::string FindByKey(const std::string &key, int lang, bool *found = nullptr) const;
    // Binary search of the collection sorted by the texts of language SortID
    // (case-sensitive): the hit's text of language lang, or the test-mode
    // form of its language-1 text when that is empty.
    std::string FindByText(const std::string &text, int lang, bool *found = nullptr) const;

    // Sorts by key (SortID 0) or by the texts of language SortID.
    void SortItems();
    static int CompareByKey(void *context, rtl::TCollectionItem *a, rtl::TCollectionItem *b);
    static int CompareByColumn(void *context, rtl::TCollectionItem *a, rtl::TCollectionItem *b);

private:
    // The index of the hit, -1 without one; compare(item) < 0 when the
    // item sorts before the one looked for.
    template <class Compare> int Search(Compare compare) const;
    std::string FromStorage(const std::string &text, int lang) const;

    TlxCustomLang *FLang;
    int FSortID = 0;
};

} // namespace i18n
