#include "i18n/lx_index.h"

#include "platform/rtl/codepage.h"

#include <algorithm>

namespace i18n {

std::string TlxStringsCollectionItem::Value(int lang) const
{
    if (lang < 1 || static_cast<size_t>(lang) > Values.size())
        return {};
    return Values[static_cast<size_t>(lang - 1)];
}

TlxStringsCollectionItem &TlxStringsCollection::Add()
{
    FItems.emplace_back();
    return FItems.back();
}

int TlxStringsCollection::IndexOfKey(const std::string &key) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (rtl::AnsiSameText(FItems[i].Key, key))
            return static_cast<int>(i);
    return -1;
}

int TlxStringsCollection::FindIndex(const std::string &key) const
{
    auto it = std::lower_bound(FItems.begin(), FItems.end(), key,
                               [](const TlxStringsCollectionItem &item, const std::string &k) {
                                   return rtl::AnsiCompareText(item.Key, k) < 0;
                               });
    if (it == FItems.end() || rtl::AnsiCompareText(it->Key, key) != 0)
        return -1;
    return static_cast<int>(it - FItems.begin());
}

std::string TlxStringsCollection::FindByKey(const std::string &key, int lang, bool *found) const
{
    int i = FindIndex(key);
    if (found)
        *found = i >= 0;
    if (i < 0)
        return {};
    return FItems[static_cast<size_t>(i)].Value(lang);
}

std::string TlxStringsCollection::FindByText(const std::string &text, int lang, bool *found) const
{
    auto it = std::lower_bound(FItems.begin(), FItems.end(), text,
                               [this](const TlxStringsCollectionItem &item, const std::string &t) {
                                   return rtl::AnsiCompareStr(item.Value(FSortID), t) < 0;
                               });
    bool hit = it != FItems.end() && it->Value(FSortID) == text;
    if (found)
        *found = hit;
    return hit ? it->Value(lang) : std::string();
}

void TlxStringsCollection::SortItems()
{
    if (FSortID == 0) {
        std::stable_sort(FItems.begin(), FItems.end(),
                         [](const TlxStringsCollectionItem &a, const TlxStringsCollectionItem &b) {
                             return rtl::AnsiCompareText(a.Key, b.Key) < 0;
                         });
    } else {
        std::stable_sort(
            FItems.begin(), FItems.end(),
            [this](const TlxStringsCollectionItem &a, const TlxStringsCollectionItem &b) {
                return rtl::AnsiCompareStr(a.Value(FSortID), b.Value(FSortID)) < 0;
            });
    }
}

} // namespace i18n
