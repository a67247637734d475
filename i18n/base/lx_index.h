// Sorted string collections: indexed copies of a translation component's
// Strings table, one item per row (key and one text per language), sorted by
// key (SortID 0) or by the texts of one language (SortID n >= 1) and
// searched by binary search. The component keeps two: the key index and the
// resource-strings index. It tells them how their texts read (TReading).
#pragma once

#include "platform/rtl/classes.h"
#include "platform/rtl/strings.h"

#include <functional>
#include <string>
#include <utility>

namespace i18n {

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
    // owner: the translation component whose Strings table the collection
    // copies.
    explicit TlxStringsCollection(rtl::TComponent *owner = nullptr);

    // How the owner shows the texts: Stored gives the text a stored text
    // (not empty) of language lang shows as, Untranslated the form an empty
    // text of a language above 1 takes from the language-1 text (empty: it
    // stays empty). Without them texts show as stored and stay empty.
    struct TReading {
        std::function<std::string(const std::string &text, int lang)> Stored;
        std::function<std::string(const std::string &language1Text)> Untranslated;
    };
    void SetReading(TReading reading) { FReading = std::move(reading); }

    int SortID() const { return FSortID; }
    void SetSortID(int id) { FSortID = id; }
    rtl::TComponent *Lang() const { return FLang; }

    TlxStringsCollectionItem &Add();
    TlxStringsCollectionItem &Items(int i) const;

    // Linear, case-insensitive search; -1 when absent.
    int IndexOfKey(const std::string &key) const;
    // Binary search of the key-sorted collection (ignoring case): the hit's
    // text of language lang; found (when given) tells a missing key from an
    // empty text. Among equal keys the one first in table order answers.
    std::string FindByKey(const std::string &key, int lang, bool *found = nullptr) const;
    // Binary search of the collection sorted by the texts of language SortID
    // (case-sensitive): the hit's text of language lang, or the Untranslated
    // form of its language-1 text (the owner's test mode) when that is empty.
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

    rtl::TComponent *FLang;
    TReading FReading;
    int FSortID = 0;
};

} // namespace i18n
