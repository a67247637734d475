// Helpers the translation walks share: the published-property list of an
// object filtered by kinds, locale-aware comparisons, and column operations
// over whole tables.
#pragma once

#include "platform/rtl/strings.h"
#include "platform/rtl/typinfo.h"

#include <string>

namespace i18n {

// The published properties of one object whose kind is in kinds, sorted by
// name ignoring case. The descriptions belong to the class information.
class TlxPropInfoList {
public:
    TlxPropInfoList(const rtl::TObject *instance, rtl::TTypeKinds kinds);

    int Count() const { return static_cast<int>(FList.size()); }
    const rtl::TPropInfo *Items(int index) const { return FList[static_cast<size_t>(index)]; }
    // The first property named name (ignoring case); nullptr when none.
    const rtl::TPropInfo *Find(const std::string &name) const;

private:
    rtl::TPropList FList;
};

// Locale-aware comparisons (Windows-1252): 0 when equal.
int CompareTextAnsi(const std::string &a, const std::string &b); // ignoring case
int CompareStrAnsi(const std::string &a, const std::string &b);

// The object held by an object-valued property; nullptr when the property is
// missing, of another kind, or holds none.
rtl::TObject *ObjectOfProperty(rtl::TObject *instance, const std::string &property);

// Index of the first entry whose key equals the key of entry (ignoring
// case); -1 when none.
int FindEntryByKey(const rtl::TStrings &table, const std::string &entry, char delim);

// Every entry with fewer than languages + 1 delimiters padded to that many.
void PadEntries(rtl::TStrings &table, char delim, int languages);

// DeleteColumn / MoveColumn on every row of a table.
void DeleteColumnInTable(rtl::TStrings &table, int n, char delim);
void MoveColumnInTable(rtl::TStrings &table, int from, int to, char delim);

} // namespace i18n
