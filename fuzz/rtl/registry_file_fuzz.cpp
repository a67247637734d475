// The registry file of any content, as a damaged or hand-edited file under XDG_CONFIG_HOME
// would be: reading it must never crash, and every key and value it yields must read back
// consistently through TRegistry. Nothing is written back (only reads, no key is changed).
#include "platform/rtl/registry.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::string gConfigHome; // the temporary XDG_CONFIG_HOME of this process

void RemoveConfigHome()
{
    std::error_code ec;
    std::filesystem::remove_all(gConfigHome, ec);
}

// Makes the temporary configuration folder once and points XDG_CONFIG_HOME at it.
const std::string &RegistryFile()
{
    static const std::string file = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "registry_file_fuzz.XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        gConfigHome = pattern;
        std::atexit(RemoveConfigHome);
        ::setenv("XDG_CONFIG_HOME", gConfigHome.c_str(), 1);
        std::filesystem::create_directories(gConfigHome + "/Nivora");
        std::string name = rtl::RegistryFileName();
        if (name != gConfigHome + "/Nivora/registry")
            std::abort();
        return name;
    }();
    return file;
}

// Puts the input in place as a new file (a new inode), so the shared in-memory copy of the
// registry always sees that the file changed and reads it again.
void WriteRegistryFile(const uint8_t *data, size_t size)
{
    const std::string &file = RegistryFile();
    const std::string next = file + ".next";
    int fd = ::open(next.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        std::abort();
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            std::abort();
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    if (std::rename(next.c_str(), file.c_str()) != 0)
        std::abort();
}

std::string AbsolutePath(const std::vector<std::string> &path)
{
    std::string key = "\\";
    for (const auto &part : path)
        key += (key.size() > 1 ? "\\" : "") + part;
    return key;
}

// Reads one value through every read of TRegistry; those of another type must raise
// ERegistryError, those of its own type must agree with the reported size.
void ReadValue(rtl::TRegistry &reg, const std::string &name)
{
    rtl::TRegDataInfo info;
    if (!reg.GetDataInfo(name, info))
        std::abort(); // a listed value must be found by its own name
    if (info.DataSize < 0 || reg.GetDataType(name) != info.RegData ||
        reg.GetDataSize(name) != info.DataSize || !reg.ValueExists(name))
        std::abort();
    const bool text = info.RegData == rtl::rdString || info.RegData == rtl::rdExpandString;
    const bool binary = info.RegData == rtl::rdBinary;
    const bool dword = info.RegData == rtl::rdInteger;
    if (!text && !binary && !dword)
        std::abort();
    try {
        const std::string s = reg.ReadString(name);
        if (!text || static_cast<int>(s.size()) + 1 != info.DataSize)
            std::abort();
    } catch (const rtl::ERegistryError &) {
        if (text)
            std::abort();
    }
    try {
        (void)reg.ReadInteger(name);
        (void)reg.ReadBool(name);
        if (!dword || info.DataSize != 4)
            std::abort();
    } catch (const rtl::ERegistryError &) {
        if (dword && info.DataSize == 4)
            std::abort();
    }
    try {
        (void)reg.ReadFloat(name);
        if (!binary || info.DataSize != 8)
            std::abort();
    } catch (const rtl::ERegistryError &) {
        if (binary && info.DataSize == 8)
            std::abort();
    }
    try {
        const std::vector<std::uint8_t> bytes = reg.ReadBinaryData(name);
        if (!binary || static_cast<int>(bytes.size()) != info.DataSize)
            std::abort();
        std::uint8_t small[8];
        try {
            if (reg.ReadBinaryData(name, small, sizeof small) != info.DataSize)
                std::abort();
        } catch (const rtl::ERegistryError &) {
            if (info.DataSize <= static_cast<int>(sizeof small))
                std::abort();
        }
    } catch (const rtl::ERegistryError &) {
        if (binary)
            std::abort();
    }
}

// Every access of TRegistry finds its key from the root again, so walking a chain of n nested
// keys costs n * n; keys below this depth are still read from the file, but not walked.
constexpr size_t kWalkDepth = 256;

// Walks a root key and everything below it, without recursion, so that a deeply nested file
// is read by the registry rather than stopped by this walk. Names that contain a backslash or
// are empty cannot be addressed by a path; they are listed but not opened.
void WalkRoot(rtl::TRegistry &reg)
{
    std::vector<std::vector<std::string>> pending(1); // the root key itself
    while (!pending.empty()) {
        std::vector<std::string> path = std::move(pending.back());
        pending.pop_back();
        if (!reg.OpenKeyReadOnly(AbsolutePath(path)))
            std::abort(); // a root, or a listed key reached by its own names
        for (const std::string &name : reg.GetValueNames())
            ReadValue(reg, name);
        const std::vector<std::string> keys = reg.GetKeyNames();
        if (reg.HasSubKeys() != !keys.empty())
            std::abort();
        if (path.size() >= kWalkDepth)
            continue;
        for (const std::string &key : keys) {
            if (key.empty() || key.find('\\') != std::string::npos)
                continue;
            pending.push_back(path);
            pending.back().push_back(key);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    WriteRegistryFile(data, size);
    static const rtl::HKEY kRoots[] = {rtl::HKEY_CLASSES_ROOT,   rtl::HKEY_CURRENT_USER,
                                       rtl::HKEY_LOCAL_MACHINE,  rtl::HKEY_USERS,
                                       rtl::HKEY_CURRENT_CONFIG, rtl::HKEY_DYN_DATA};
    rtl::TRegistry reg;
    for (rtl::HKEY root : kRoots) {
        reg.SetRootKey(root);
        WalkRoot(reg);
    }
    reg.CloseKey();
    return 0;
}
