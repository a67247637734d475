// A fresh folder for one test under the system's temporary folder ($TMPDIR,
// else /tmp), removed with everything in it when the test ends (folders a
// test made read-only are made writable again first), and reading a file
// back byte for byte.
//
//     testsupport::TTempDir dir("nivora-registry");
//     WriteFile(dir / "registry");
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <system_error>

namespace testsupport {

class TTempDir {
public:
    explicit TTempDir(const std::string &prefix = "nivora")
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()))
            FPath = pattern;
    }
    ~TTempDir()
    {
        if (FPath.empty())
            return;
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto it = fs::recursive_directory_iterator(FPath, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_directory(ec))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(FPath, ec);
    }
    TTempDir(const TTempDir &) = delete;
    TTempDir &operator=(const TTempDir &) = delete;

    // Empty when no folder could be made.
    const std::filesystem::path &Path() const { return FPath; }
    std::string operator/(const std::string &name) const { return (FPath / name).string(); }
    // How many entries the folder holds (a test that writes one file expects
    // no temporary file beside it).
    size_t EntryCount() const { return EntryCountOf(FPath); }
    static size_t EntryCountOf(const std::filesystem::path &folder)
    {
        std::error_code ec;
        size_t n = 0;
        for (auto it = std::filesystem::directory_iterator(folder, ec);
             !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
            ++n;
        return n;
    }

private:
    std::filesystem::path FPath;
};

// The whole content of a file, byte for byte; empty when it cannot be read.
inline std::string FileBytes(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace testsupport
