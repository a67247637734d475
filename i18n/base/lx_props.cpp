#include "i18n/base/lx_props.h"

#include "i18n/base/lx_rows.h"

#include "platform/rtl/codepage.h"

namespace i18n {

TlxPropInfoList::TlxPropInfoList(const rtl::TObject *instance, rtl::TTypeKinds kinds)
    : FList(rtl::GetPropList(instance, kinds, true))
{
}

const rtl::TPropInfo *TlxPropInfoList::Find(const std::string &name) const
{
    for (const rtl::TPropInfo *p : FList)
        if (rtl::AnsiCompareText(p->Name(), name) == 0)
            return p;
    return nullptr;
}

int CompareTextAnsi(const std::string &a, const std::string &b)
{
    return rtl::AnsiCompareText(a, b);
}

int CompareStrAnsi(const std::string &a, const std::string &b)
{
    return rtl::AnsiCompareStr(a, b);
}

rtl::TObject *ObjectOfProperty(rtl::TObject *instance, const std::string &property)
{
    const rtl::TPropInfo *p = rtl::GetPropInfo(instance, property, rtl::tkClass);
    if (!p || !p->IsReadable())
        return nullptr;
    return rtl::GetObjectProp(instance, p);
}

int FindEntryByKey(const rtl::TStrings &table, const std::string &entry, char delim)
{
    const std::string key = GetEntryField(entry, delim, 0);
    for (int i = 0; i < table.Count(); ++i)
        if (rtl::AnsiSameText(GetEntryField(table.Strings(i), delim, 0), key))
            return i;
    return -1;
}

void PadEntries(rtl::TStrings &table, char delim, int languages)
{
    for (int i = 0; i < table.Count(); ++i) {
        std::string row = table.Strings(i);
        std::string padded = PadEntry(row, delim, languages);
        if (padded != row)
            table.Put(i, padded);
    }
}

void DeleteColumnInTable(rtl::TStrings &table, int n, char delim)
{
    for (int i = table.Count() - 1; i >= 0; --i)
        table.Put(i, DeleteColumn(table.Strings(i), n, delim));
}

void MoveColumnInTable(rtl::TStrings &table, int from, int to, char delim)
{
    if (from == to)
        return;
    for (int i = 0; i < table.Count(); ++i)
        table.Put(i, MoveColumn(table.Strings(i), from, to, delim));
}

} // namespace i18n
