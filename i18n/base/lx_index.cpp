#include "i18n/base/lx_index.h"

#include "platform/rtl/codepage.h"

namespace i18n {

RTL_IMPLEMENT_CLASS(TlxSortCollection, rtl::TCollection)
RTL_IMPLEMENT_CLASS(TlxStringsCollectionItem, rtl::TCollectionItem)
RTL_IMPLEMENT_CLASS(TlxStringsCollection, TlxSortCollection)

void TlxSortCollection::QuickSort(int l, int r, TCompare compare, void *context)
{
    do {
        int i = l;
        int j = r;
        rtl::TCollectionItem *pivot =
            Items(static_cast<int>((static_cast<unsigned>(l) + static_cast<unsigned>(r)) >> 1));
        do {
            while (compare(context, Items(i), pivot) < 0)
                ++i;
            while (compare(context, Items(j), pivot) > 0)
                --j;
            if (i <= j) {
                if (i != j) {
                    rtl::TCollectionItem *second = Items(j);
                    Items(i)->SetIndex(j);
                    second->SetIndex(i);
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSort(l, j, compare, context);
        l = i;
    } while (l < r);
}

void TlxSortCollection::Sort(TCompare compare, void *context)
{
    if (Count() == 0)
        return;
    BeginUpdate();
    try {
        QuickSort(0, Count() - 1, compare, context);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TlxStringsCollectionItem::Value(int lang) const
{
    if (lang < 1 || lang > Values.Count())
        return {};
    return Values.Strings(lang - 1);
}

TlxStringsCollection::TlxStringsCollection(rtl::TComponent *owner)
    : TlxSortCollection(rtl::CollectionItemClass<TlxStringsCollectionItem>(), owner), FLang(owner)
{
}

TlxStringsCollectionItem &TlxStringsCollection::Add()
{
    return *static_cast<TlxStringsCollectionItem *>(TlxSortCollection::Add());
}

TlxStringsCollectionItem &TlxStringsCollection::Items(int i) const
{
    return *static_cast<TlxStringsCollectionItem *>(TlxSortCollection::Items(i));
}

int TlxStringsCollection::IndexOfKey(const std::string &key) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::AnsiSameText(Items(i).Key, key))
            return i;
    return -1;
}

template <class Compare> int TlxStringsCollection::Search(Compare compare) const
{
    if (Count() == 0)
        return -1;
    int lo = 0;
    int hi = Count() - 1;
    int hit = -1;
    do {
        const int mid = (lo + hi) / 2;
        const int r = compare(Items(mid));
        if (r == 0) {
            hit = mid;
            break;
        }
        if (r < 0) {
            if (lo == mid) {
                if (mid + 1 < Count() && compare(Items(mid + 1)) == 0)
                    hit = mid + 1;
                break;
            }
            lo = mid;
        } else {
            hi = mid;
        }
    } while (lo < hi);
    while (hit > 0 && compare(Items(hit - 1)) == 0)
        --hit;
    return hit;
}

std::string TlxStringsCollection::FromStorage(const std::string &text, int lang) const
{
    if (text.empty() || !FReading.Stored)
        return text;
    return FReading.Stored(text, lang);
}

std::string TlxStringsCollection::FindByKey(const std::string &key, int lang, bool *found) const
{
    const int i = Search(
        [&](const TlxStringsCollectionItem &item) { return rtl::AnsiCompareText(item.Key, key); });
    if (found)
        *found = i >= 0;
    return i < 0 ? std::string() : FromStorage(Items(i).Value(lang), lang);
}

std::string TlxStringsCollection::FindByText(const std::string &text, int lang, bool *found) const
{
    const int i = Search([&](const TlxStringsCollectionItem &item) {
        return rtl::AnsiCompareStr(item.Value(FSortID), text);
    });
    if (found)
        *found = i >= 0;
    if (i < 0)
        return {};
    std::string result = Items(i).Value(lang);
    if (result.empty() && lang > 1 && FReading.Untranslated)
        result = FReading.Untranslated(Items(i).Value(1));
    return FromStorage(result, lang);
}

namespace {
// Items that compare equal keep the order they were added in (the table's),
// so that the first of equal keys answers a look-up.
int InAddedOrder(int r, rtl::TCollectionItem *a, rtl::TCollectionItem *b)
{
    return r != 0 ? r : a->ID() - b->ID();
}
} // namespace

int TlxStringsCollection::CompareByKey(void *, rtl::TCollectionItem *a, rtl::TCollectionItem *b)
{
    return InAddedOrder(rtl::AnsiCompareText(static_cast<TlxStringsCollectionItem *>(a)->Key,
                                             static_cast<TlxStringsCollectionItem *>(b)->Key),
                        a, b);
}

int TlxStringsCollection::CompareByColumn(void *context, rtl::TCollectionItem *a,
                                          rtl::TCollectionItem *b)
{
    const int column = static_cast<TlxStringsCollection *>(context)->FSortID;
    if (column == 0)
        return 0;
    return InAddedOrder(
        rtl::AnsiCompareStr(static_cast<TlxStringsCollectionItem *>(a)->Value(column),
                            static_cast<TlxStringsCollectionItem *>(b)->Value(column)),
        a, b);
}

void TlxStringsCollection::SortItems()
{
    Sort(FSortID == 0 ? &CompareByKey : &CompareByColumn, this);
}

} // namespace i18n
