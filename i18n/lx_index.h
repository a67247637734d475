// The sorted key index of a translation component's Strings table: one item
// per row (key and one text per language), sorted by key (SortID 0) or by
// the text of one language (SortID n >= 1), searched by binary search.
#pragma once

#include <string>
#include <vector>

namespace i18n {

class TlxStringsCollectionItem {
public:
    std::string Key;
    std::vector<std::string> Values; // item i = language i + 1

    // Text of language lang (1-based); empty outside the values.
    std::string Value(int lang) const;
};

class TlxStringsCollection {
public:
    int SortID() const { return FSortID; }
    void SetSortID(int id) { FSortID = id; }

    int Count() const { return static_cast<int>(FItems.size()); }
    const TlxStringsCollectionItem &Items(int i) const { return FItems.at(static_cast<size_t>(i)); }
    TlxStringsCollectionItem &Items(int i) { return FItems.at(static_cast<size_t>(i)); }
    TlxStringsCollectionItem &Add();
    void Clear() { FItems.clear(); }

    // Linear, case-insensitive search; -1 when absent.
    int IndexOfKey(const std::string &key) const;
    // Binary search of the key-sorted index. Among equal keys the one first
    // in table order answers. found (when given) tells a missing key from an
    // empty text; a language outside the item's values gives an empty text.
    std::string FindByKey(const std::string &key, int lang, bool *found = nullptr) const;
    // Binary search of the index sorted by the texts of language SortID
    // (case-sensitive); the hit's text of language lang.
    std::string FindByText(const std::string &text, int lang, bool *found = nullptr) const;

    // Sorts by key (SortID 0) or by the texts of language SortID; equal
    // items keep their order.
    void SortItems();

private:
    int FindIndex(const std::string &key) const;

    int FSortID = 0;
    std::vector<TlxStringsCollectionItem> FItems;
};

} // namespace i18n
