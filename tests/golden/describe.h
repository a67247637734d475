// What the program's readers make of a golden vector, as fields (golden.h), and the families of
// vectors with their folders. The tests compare these fields with the expectation files;
// golden_write writes those files with them.
#pragma once

#include "tests/golden/golden.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace golden {

using TDescribe = TFields (*)(const std::filesystem::path &file, const TGiven &given);

struct TFamily {
    const char *Folder;  // under tests/data/golden; its expectations in <Folder>.txt
    const char *Comment; // the head of the expectation file
    TDescribe Describe;
};
const std::vector<TFamily> &Families();
const TFamily *FindFamily(std::string_view folder);

// The families read by the meter side's decoders (describe_meter.cpp), by the translation
// engine (describe_i18n.cpp) and by the program's file readers (describe_files.cpp).
std::vector<TFamily> MeterFamilies();
std::vector<TFamily> TranslationFamilies();
std::vector<TFamily> FileFamilies();

// Logger images; given lastAddress: "download" (the image's last byte, as a download ends,
// the default) or "image" (bytes 11..13, as a collection file is opened).
TFields DescribeLoggerImage(const std::filesystem::path &file, const TGiven &given);

} // namespace golden
