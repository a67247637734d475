// What the program's readers make of a golden vector, as fields (golden.h): one function per
// reader family, and the families with their folders. The tests compare these fields with the
// expectation files; golden_write writes those files with them.
#pragma once

#include "tests/golden/golden.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace golden {

using TDescribe = TFields (*)(const std::filesystem::path &file, const TGiven &given);

// Status replies (32 bytes); given lastSecond, the seconds byte remembered from the last
// drawn clock (0 when not given).
TFields DescribeStatus(const std::filesystem::path &file, const TGiven &given);
// Information replies (32 bytes).
TFields DescribeInformation(const std::filesystem::path &file, const TGiven &given);
// LEQ memory as the meter sends it; given count, the record count the meter reports.
TFields DescribeLeqMemory(const std::filesystem::path &file, const TGiven &given);
// Logger images; given lastAddress: "download" (the image's last byte, as a download ends,
// the default) or "image" (bytes 11..13, as a collection file is opened).
TFields DescribeLoggerImage(const std::filesystem::path &file, const TGiven &given);
// Stored "TranslationData", ini-form files, LXB files and a translation component's stored
// properties, read into a component on the sample form (tests/golden/sample_form.h); given
// component ("TlxLang" or "TlxLangLinked", the default) and languages (8 when not given; not
// for the stored properties, which hold their own count).
TFields DescribeTranslationData(const std::filesystem::path &file, const TGiven &given);
TFields DescribeIniForm(const std::filesystem::path &file, const TGiven &given);
TFields DescribeLxb(const std::filesystem::path &file, const TGiven &given);
TFields DescribeStoredComponent(const std::filesystem::path &file, const TGiven &given);
// Data text files (".txt", ".csv"), the separator from the name as File > Open takes it;
// given columns, the list window's column count (7 when not given).
TFields DescribeDataText(const std::filesystem::path &file, const TGiven &given);
// Registry files, read through TRegistry from a private configuration folder.
TFields DescribeRegistryFile(const std::filesystem::path &file, const TGiven &given);
// Collection files (".REC") and chart files (".ghf"), through the program's readers (Qt).
TFields DescribeCollectionFile(const std::filesystem::path &file, const TGiven &given);
TFields DescribeChartFile(const std::filesystem::path &file, const TGiven &given);

struct TFamily {
    const char *Folder;  // under tests/data/golden; its expectations in <Folder>.txt
    const char *Comment; // the head of the expectation file
    TDescribe Describe;
};
const std::vector<TFamily> &Families();
const TFamily *FindFamily(std::string_view folder);

} // namespace golden
