// Translation sources: the human-editable UTF-8 text of a window's texts in
// the eight languages (resources/lang/<FormClass>.txt, layout in
// resources/lang/README.md), and their conversion into the bytes of the
// stored "TranslationData" property that the translation components read.
//
// Qt-free: used by the build-time converter (nivora_lang_compile) and by the
// tests that check every source.
#pragma once

#include "i18n/base/lx_languages.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace langsrc {

// Languages in column order: English, French, German, Italian, Spanish,
// Swedish, Finnish, Danish.
using i18n::kLanguageCount;
extern const std::array<const char *, kLanguageCount> kLanguageCodes; // "en", "fr", ...

// The kinds of text, in the section order of the stored data (the
// translation engine's TStringsType ordinals 0..10).
inline constexpr int kTableCount = 11;
// Table names as used in the source's section headers ("Captions", ...).
extern const std::array<const char *, kTableCount> kTableNames;
// Index of a table name (exact spelling); -1 when unknown.
int TableIndex(std::string_view name);

enum class TComponentKind {
    Linked, // TlxLangLinked: every window but the main one
    Main,   // TlxLang: the main window (has DlgsCaptions and Locales)
};

// True when a component of that kind has the table (and writes its section).
bool HasTable(TComponentKind kind, int table);

// One row: a key and its text in each language, in Windows-1252.
struct TRow {
    std::string Key;
    std::array<std::string, kLanguageCount> Texts;
    int Line = 0; // line of the key in the source
};

struct TSource {
    TComponentKind Kind = TComponentKind::Linked;
    std::array<std::vector<TRow>, kTableCount> Tables;

    // The row of key in a table (key compared ignoring ASCII case); nullptr when absent.
    const TRow *Find(int table, std::string_view key) const;
};

struct TError {
    int Line = 0; // 0: the file as a whole
    std::string Message;
};

// Reads a source. Every problem is reported (with its line); the source is
// usable only when errors is empty.
TSource ParseSource(std::string_view utf8, std::vector<TError> &errors);

// The stored "TranslationData" bytes of a source: for each table the
// component has, in order, the header line "st<Name>", then one line per
// row "key D text1 D ... text8 D" (D = byte 1, CR stored as 0x19, LF as
// 0x1A), every line ended by CR LF. The row keyed formClass comes first in
// its table, as the reader puts it.
std::string BuildTranslationData(const TSource &source, const std::string &formClass);

// "<file>:<line>: <message>" lines for the errors.
std::string FormatErrors(const std::string &fileName, const std::vector<TError> &errors);

} // namespace langsrc
