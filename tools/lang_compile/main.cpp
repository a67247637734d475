// nivora_lang_compile: converts a window's translation source (UTF-8 text,
// resources/lang/<FormClass>.txt) into the stored "TranslationData" bytes.
//
//   nivora_lang_compile <source.txt> <output.lxd> [<FormClass>]
//
// FormClass defaults to the source's file name without extension. Every
// problem of the source is reported as "<file>:<line>: <message>" and the
// output is then left untouched (exit code 1). The output is written to a
// temporary file beside it and renamed into place.
#include "tools/lang_compile/lang_source.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool ReadFile(const fs::path &path, std::string &out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    out = buffer.str();
    return !in.bad();
}

bool WriteFileAtomically(const fs::path &path, const std::string &bytes)
{
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: nivora_lang_compile <source.txt> <output.lxd> [<FormClass>]\n";
        return 2;
    }
    const fs::path source = argv[1];
    const fs::path output = argv[2];
    const std::string formClass = argc == 4 ? argv[3] : source.stem().string();

    std::string text;
    if (!ReadFile(source, text)) {
        std::cerr << source.string() << ": cannot be read\n";
        return 1;
    }
    std::vector<langsrc::TError> errors;
    langsrc::TSource parsed = langsrc::ParseSource(text, errors);
    if (!errors.empty()) {
        std::cerr << langsrc::FormatErrors(source.string(), errors);
        return 1;
    }
    if (!WriteFileAtomically(output, langsrc::BuildTranslationData(parsed, formClass))) {
        std::cerr << output.string() << ": cannot be written\n";
        return 1;
    }
    return 0;
}
