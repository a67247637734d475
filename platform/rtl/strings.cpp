#include "platform/rtl/strings.h"

#include "platform/rtl/filer.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

#include <algorithm>
#include <numeric>

namespace rtl {

namespace {

// BeginUpdate now, EndUpdate when the scope ends (also on an exception).
class UpdateScope {
public:
    explicit UpdateScope(TStrings &strings) : FStrings(strings) { FStrings.BeginUpdate(); }
    ~UpdateScope() { FStrings.EndUpdate(); }
    UpdateScope(const UpdateScope &) = delete;
    UpdateScope &operator=(const UpdateScope &) = delete;

private:
    TStrings &FStrings;
};

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

// ---- TStrings -------------------------------------------------------------

RTL_IMPLEMENT_CLASS(TStrings, TPersistent)

void TStrings::IndexError(int index)
{
    throw EListError(Format("List index out of bounds (%d)", index));
}

void TStrings::Put(int index, const std::string &s)
{
    TObject *object = GetObject(index);
    Delete(index);
    InsertObject(index, s, object);
}

TObject *TStrings::GetObject(int) const
{
    return nullptr;
}

void TStrings::PutObject(int, TObject *) {}

int TStrings::Add(const std::string &s)
{
    const int index = GetCount();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string &s, TObject *object)
{
    const int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const std::string &s, TObject *object)
{
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::AddStrings(const TStrings &strings)
{
    UpdateScope update(*this);
    const int n = strings.GetCount(); // fixed, so adding a list to itself ends
    for (int i = 0; i < n; ++i)
        AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    UpdateScope update(*this);
    const std::string s = Get(curIndex);
    TObject *object = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, object);
}

void TStrings::Exchange(int index1, int index2)
{
    UpdateScope update(*this);
    const std::string s1 = Get(index1);
    TObject *object1 = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s1);
    PutObject(index2, object1);
}

int TStrings::CompareStrings(const std::string &a, const std::string &b) const
{
    return AnsiCompareText(a, b);
}

int TStrings::IndexOf(const std::string &s) const
{
    const int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (CompareStrings(Get(i), s) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfName(const std::string &name) const
{
    const int n = GetCount();
    for (int i = 0; i < n; ++i) {
        const std::string line = Get(i);
        const size_t eq = line.find('=');
        if (eq != std::string::npos && CompareStrings(line.substr(0, eq), name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject *object) const
{
    const int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (GetObject(i) == object)
            return i;
    return -1;
}

bool TStrings::Equals(const TStrings &other) const
{
    const int n = GetCount();
    if (n != other.GetCount())
        return false;
    for (int i = 0; i < n; ++i)
        if (Get(i) != other.Get(i))
            return false;
    return true;
}

void TStrings::Assign(const TPersistent &source)
{
    const auto *strings = dynamic_cast<const TStrings *>(&source);
    if (!strings) {
        TPersistent::Assign(source);
        return;
    }
    if (strings == this)
        return;
    UpdateScope update(*this);
    Clear();
    AddStrings(*strings);
}

std::string TStrings::Text() const
{
    std::string text;
    const int n = GetCount();
    for (int i = 0; i < n; ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const std::string &text)
{
    UpdateScope update(*this);
    Clear();
    size_t start = 0;
    const size_t n = text.size();
    while (start < n) {
        size_t end = start;
        while (end < n && text[end] != '\r' && text[end] != '\n')
            ++end;
        Add(text.substr(start, end - start));
        if (end < n && text[end] == '\r')
            ++end;
        if (end < n && text[end] == '\n')
            ++end;
        start = end;
    }
}

std::string TStrings::GetDelimitedText(char delimiter, char quote) const
{
    std::string result;
    const int n = GetCount();
    for (int i = 0; i < n; ++i) {
        const std::string s = Get(i);
        const bool needsQuotes = s.empty() || std::any_of(s.begin(), s.end(), [&](char c) {
                                     return IsBlankOrControl(c) || c == quote || c == delimiter;
                                 });
        if (i > 0)
            result += delimiter;
        result += needsQuotes ? AnsiQuotedStr(s, quote) : s;
    }
    return result;
}

void TStrings::SetDelimitedTextWith(const std::string &text, char delimiter, char quote)
{
    UpdateScope update(*this);
    Clear();
    const size_t n = text.size();
    size_t p = 0;
    auto skipBlanks = [&] {
        while (p < n && IsBlankOrControl(text[p]))
            ++p;
    };
    skipBlanks();
    while (p < n) {
        std::string item;
        if (text[p] == quote) {
            item = AnsiExtractQuotedStr(text, quote, p);
        } else {
            const size_t first = p;
            while (p < n && !IsBlankOrControl(text[p]) && text[p] != delimiter)
                ++p;
            item = text.substr(first, p - first);
        }
        Add(item);
        skipBlanks();
        if (p < n && text[p] == delimiter) {
            if (p + 1 == n) // a delimiter at the very end stands for an empty last item
                Add(std::string());
            ++p;
            skipBlanks();
        }
    }
}

std::string TStrings::CommaText() const
{
    return GetDelimitedText(',', '"');
}

void TStrings::SetCommaText(const std::string &text)
{
    SetDelimitedTextWith(text, ',', '"');
}

std::string TStrings::DelimitedText() const
{
    return GetDelimitedText(FDelimiter, FQuoteChar);
}

void TStrings::SetDelimitedText(const std::string &text)
{
    SetDelimitedTextWith(text, FDelimiter, FQuoteChar);
}

std::string TStrings::Names(int index) const
{
    const std::string line = Get(index);
    const size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const
{
    const std::string line = Get(index);
    const size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

std::string TStrings::Values(const std::string &name) const
{
    const int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValue(const std::string &name, const std::string &value)
{
    const int index = IndexOfName(name);
    if (!value.empty()) {
        if (index < 0)
            Add(name + "=" + value);
        else
            Put(index, name + "=" + value);
    } else if (index >= 0) {
        Delete(index);
    }
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::LoadFromStream(TStream &stream)
{
    const int64_t size = stream.Size() - stream.Position();
    std::string bytes(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    SetText(bytes);
}

void TStrings::SaveToStream(TStream &stream) const
{
    const std::string text = Text();
    if (!text.empty())
        stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string &fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string &fileName) const
{
    TSafeFileStream stream(fileName);
    SaveToStream(stream);
    stream.Commit();
}

// ---- TStringList ----------------------------------------------------------

RTL_IMPLEMENT_CLASS(TStringList, TStrings)

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (Item &item : FItems)
            delete item.Object;
}

void TStringList::CheckIndex(int index, int limit) const
{
    if (index < 0 || index >= limit)
        IndexError(index);
}

void TStringList::CheckNotSorted() const
{
    if (FSorted)
        throw EStringListError("Operation not allowed on sorted list");
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

std::string TStringList::Get(int index) const
{
    CheckIndex(index, GetCount());
    return FItems[index].String;
}

void TStringList::Put(int index, const std::string &s)
{
    CheckNotSorted();
    CheckIndex(index, GetCount());
    Changing();
    FItems[index].String = s;
    Changed();
}

TObject *TStringList::GetObject(int index) const
{
    CheckIndex(index, GetCount());
    return FItems[index].Object;
}

void TStringList::PutObject(int index, TObject *object)
{
    CheckIndex(index, GetCount());
    Changing();
    FItems[index].Object = object;
    Changed();
}

void TStringList::InsertItem(int index, const std::string &s, TObject *object)
{
    Changing();
    FItems.insert(FItems.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Insert(int index, const std::string &s)
{
    InsertObject(index, s, nullptr);
}

void TStringList::InsertObject(int index, const std::string &s, TObject *object)
{
    CheckNotSorted();
    CheckIndex(index, GetCount() + 1);
    InsertItem(index, s, object);
}

int TStringList::Add(const std::string &s)
{
    return AddObject(s, nullptr);
}

int TStringList::AddObject(const std::string &s, TObject *object)
{
    int index = GetCount();
    if (FSorted && Find(s, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Delete(int index)
{
    CheckIndex(index, GetCount());
    Changing();
    TObject *object = FItems[index].Object;
    FItems.erase(FItems.begin() + index);
    if (FOwnsObjects)
        delete object;
    Changed();
}

void TStringList::Clear()
{
    if (FItems.empty())
        return;
    Changing();
    std::vector<Item> items;
    items.swap(FItems);
    if (FOwnsObjects)
        for (Item &item : items)
            delete item.Object;
    Changed();
}

void TStringList::Move(int curIndex, int newIndex)
{
    CheckNotSorted();
    CheckIndex(curIndex, GetCount());
    CheckIndex(newIndex, GetCount());
    if (curIndex == newIndex)
        return;
    Changing();
    Item item = std::move(FItems[curIndex]);
    FItems.erase(FItems.begin() + curIndex);
    FItems.insert(FItems.begin() + newIndex, std::move(item));
    Changed();
}

void TStringList::Exchange(int index1, int index2)
{
    CheckNotSorted();
    CheckIndex(index1, GetCount());
    CheckIndex(index2, GetCount());
    Changing();
    std::swap(FItems[index1], FItems[index2]);
    Changed();
}

void TStringList::SetCapacity(int capacity)
{
    if (capacity < GetCount())
        throw EListError(Format("List capacity out of bounds (%d)", capacity));
    if (static_cast<size_t>(capacity) > FItems.capacity())
        FItems.reserve(static_cast<size_t>(capacity));
    else
        FItems.shrink_to_fit(); // at least Count stays reserved
}

int TStringList::CompareStrings(const std::string &a, const std::string &b) const
{
    return FCaseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

bool TStringList::Find(const std::string &s, int &index) const
{
    int lo = 0, hi = GetCount();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (CompareStrings(FItems[mid].String, s) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    index = lo;
    return lo < GetCount() && CompareStrings(FItems[lo].String, s) == 0;
}

int TStringList::IndexOf(const std::string &s) const
{
    if (!FSorted)
        return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

void TStringList::Sort()
{
    CustomSort([](const TStringList &list, int a, int b) {
        return list.CompareStrings(list.FItems[a].String, list.FItems[b].String);
    });
}

void TStringList::CustomSort(const TStringListSortCompare &compare)
{
    if (FSorted || GetCount() < 2)
        return;
    // The comparison sees the list unchanged while the order is worked out,
    // so its indexes always name the original lines. Equal lines keep their
    // order.
    std::vector<int> order(FItems.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return compare(*this, a, b) < 0; });
    Changing();
    std::vector<Item> sorted;
    sorted.reserve(FItems.size());
    for (int i : order)
        sorted.push_back(std::move(FItems[i]));
    FItems.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted == FSorted)
        return;
    if (sorted)
        Sort();
    FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
    if (caseSensitive == FCaseSensitive)
        return;
    FCaseSensitive = caseSensitive;
    if (FSorted) { // the order depends on the comparison: sort again
        FSorted = false;
        Sort();
        FSorted = true;
    }
}

void TStrings::DefineProperties(TFiler &filer)
{
    filer.DefineProperty(
        "Strings",
        [this](TReader &reader) {
            BeginUpdate();
            try {
                Clear();
                reader.ReadListBegin();
                while (!reader.EndOfList())
                    Add(reader.ReadString());
                reader.ReadListEnd();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
        },
        [this](TWriter &writer) {
            writer.WriteListBegin();
            for (int i = 0; i < Count(); ++i)
                writer.WriteString(Strings(i));
            writer.WriteListEnd();
        },
        Count() > 0);
}

} // namespace rtl
