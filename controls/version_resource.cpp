#include "controls/version_resource.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/sysutils.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <string_view>

namespace controls {

namespace {

// The version block of the running program; empty when it was built without one.
std::string OwnBlock()
{
    QFile file(QString::fromLatin1(kVersionResource));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool IsRunningProgram(const std::string &path)
{
    if (path.empty() || !QCoreApplication::instance())
        return false;
    QFileInfo given(QString::fromStdString(path));
    QFileInfo own(QCoreApplication::applicationFilePath());
    return given.exists() && given.canonicalFilePath() == own.canonicalFilePath();
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// "0409 04B0 ..." as 16-bit little-endian words; false for anything else.
bool ParseWords(std::string_view text, std::string &out)
{
    out.clear();
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 4 > text.size())
            return false;
        unsigned word = 0;
        for (size_t k = 0; k < 4; ++k) {
            int d = HexDigit(text[i + k]);
            if (d < 0)
                return false;
            word = word * 16 + static_cast<unsigned>(d);
        }
        if (i + 4 < text.size() && text[i + 4] != ' ')
            return false;
        out += static_cast<char>(word & 0xFF);
        out += static_cast<char>(word >> 8);
        i += 4;
    }
    return !out.empty();
}

} // namespace

std::uint32_t GetFileVersionInfoSize(const std::string &path)
{
    if (!IsRunningProgram(path))
        return 0;
    return static_cast<std::uint32_t>(OwnBlock().size());
}

bool GetFileVersionInfo(const std::string &path, std::string &block)
{
    if (!IsRunningProgram(path))
        return false;
    block = OwnBlock();
    return !block.empty();
}

bool VerQueryValue(const std::string &block, const std::string &subBlock, std::string &value)
{
    std::string_view rest(block);
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        size_t tab = line.find('\t');
        if (tab == std::string_view::npos || !rtl::SameText(line.substr(0, tab), subBlock))
            continue;
        std::string_view text = line.substr(tab + 1);
        if (rtl::SameText(subBlock, "\\VarFileInfo\\Translation"))
            return ParseWords(text, value);
        // Strings are UTF-8 in the block and Windows-1252 in the program.
        value = rtl::Utf8ToCodePage(std::string(text), rtl::SystemCodePage);
        return true;
    }
    return false;
}

} // namespace controls
