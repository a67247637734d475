// The typed registry: an in-memory tree of keys and values per store, the
// text file that holds the file store, and TRegistry on top of them.
#include "platform/rtl/registry.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <map>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

namespace rtl {
namespace detail {

namespace {

// Roots of the store; HKEY_LOCAL_MACHINE shares the HKEY_CURRENT_USER tree.
constexpr int RootCount = 5;
constexpr std::array<const char *, RootCount> RootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_USERS", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

int RootIndex(HKEY key)
{
    switch (key) {
    case HKEY_CLASSES_ROOT:
        return 0;
    case HKEY_CURRENT_USER:
    case HKEY_LOCAL_MACHINE:
        return 1;
    case HKEY_USERS:
        return 2;
    case HKEY_CURRENT_CONFIG:
        return 3;
    case HKEY_DYN_DATA:
        return 4;
    default:
        return -1;
    }
}

// Lower case of a Windows-1252 byte, for case-insensitive names.
unsigned char FoldByte(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    if (c == 0x8A || c == 0x8C || c == 0x8E)
        return static_cast<unsigned char>(c + 0x10);
    if (c == 0x9F)
        return 0xFF;
    return c;
}

std::string Fold(const std::string &s)
{
    std::string out(s);
    for (char &c : out)
        c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
    return out;
}

bool SameText(const std::string &a, const std::string &b)
{
    return Fold(a) == Fold(b);
}

} // namespace

struct RegValue {
    std::string Name;
    TRegDataType Type = rdUnknown;
    std::vector<std::uint8_t> Data;
};

// Keys nest at most this deep, as on Windows. The tree is freed and written
// recursively, so a damaged file with a key nested thousands of levels deep
// must not get into it.
constexpr size_t MaxKeyDepth = 512;

struct RegNode {
    std::string Name;
    std::map<std::string, std::unique_ptr<RegNode>> Keys; // by folded name
    std::map<std::string, RegValue> Values;               // by folded name
};

namespace {

// ---- The file format ------------------------------------------------------

const char HexDigits[] = "0123456789abcdef";

bool HexByte(const std::string &s, size_t pos, std::uint8_t &out)
{
    if (pos + 2 > s.size())
        return false;
    int hi = HexDigitValue(s[pos]), lo = HexDigitValue(s[pos + 1]);
    if (hi < 0 || lo < 0)
        return false;
    out = static_cast<std::uint8_t>(hi * 16 + lo);
    return true;
}

// A key name inside a section header: '%' followed by two hex digits for
// control bytes, bytes from 0x7F up, '%', '[' and ']'.
std::string EncodeKeyName(const std::string &name)
{
    std::string out;
    for (unsigned char c : name) {
        if (c < 0x20 || c >= 0x7F || c == '%' || c == '[' || c == ']') {
            out += '%';
            out += HexDigits[c >> 4];
            out += HexDigits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool DecodeKeyName(const std::string &text, std::string &out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            std::uint8_t b;
            if (!HexByte(text, i + 1, b))
                return false;
            out += static_cast<char>(b);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return !out.empty();
}

// A quoted text: printable ASCII as is, \\ \" \r \n \t, any other byte \xHH.
std::string QuoteText(const std::string &s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                out += "\\x";
                out += HexDigits[c >> 4];
                out += HexDigits[c & 15];
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

// Reads a quoted text starting at pos (the opening quote); pos ends after
// the closing quote. False on a missing quote or a bad escape.
bool UnquoteText(const std::string &line, size_t &pos, std::string &out)
{
    out.clear();
    if (pos >= line.size() || line[pos] != '"')
        return false;
    for (size_t i = pos + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            pos = i + 1;
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= line.size())
            return false;
        switch (line[i]) {
        case '\\':
            out += '\\';
            break;
        case '"':
            out += '"';
            break;
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            std::uint8_t b;
            if (!HexByte(line, i + 1, b))
                return false;
            out += static_cast<char>(b);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return false;
}

std::string FormatValue(const RegValue &v)
{
    std::string line = QuoteText(v.Name) + "=";
    switch (v.Type) {
    case rdString:
    case rdExpandString:
        line += v.Type == rdString ? "sz:" : "expand:";
        line += QuoteText(std::string(v.Data.begin(), v.Data.end()));
        break;
    case rdInteger: {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i)
            n = (n << 8) | (i < static_cast<int>(v.Data.size()) ? v.Data[i] : 0);
        line += Format("dword:%08x", n);
        break;
    }
    default:
        line += "hex:";
        for (size_t i = 0; i < v.Data.size(); ++i) {
            if (i)
                line += ',';
            line += HexDigits[v.Data[i] >> 4];
            line += HexDigits[v.Data[i] & 15];
        }
    }
    return line;
}

// One value line; false when any part of it is malformed.
bool ParseValue(const std::string &line, RegValue &v)
{
    size_t pos = 0;
    if (!UnquoteText(line, pos, v.Name) || pos >= line.size() || line[pos] != '=')
        return false;
    size_t colon = line.find(':', pos + 1);
    if (colon == std::string::npos)
        return false;
    std::string type = line.substr(pos + 1, colon - pos - 1);
    std::string data = line.substr(colon + 1);
    v.Data.clear();
    if (type == "sz" || type == "expand") {
        v.Type = type == "sz" ? rdString : rdExpandString;
        size_t p = 0;
        std::string text;
        if (!UnquoteText(data, p, text) || p != data.size())
            return false;
        v.Data.assign(text.begin(), text.end());
        return true;
    }
    if (type == "dword") {
        v.Type = rdInteger;
        if (data.size() != 8)
            return false;
        std::uint32_t n = 0;
        for (char c : data) {
            int h = HexDigitValue(c);
            if (h < 0)
                return false;
            n = (n << 4) | static_cast<std::uint32_t>(h);
        }
        for (int i = 0; i < 4; ++i)
            v.Data.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
        return true;
    }
    if (type == "hex") {
        v.Type = rdBinary;
        for (size_t p = 0; p < data.size(); p += 3) {
            std::uint8_t b;
            if (!HexByte(data, p, b) || (p + 2 < data.size() && data[p + 2] != ','))
                return false;
            v.Data.push_back(b);
        }
        return data.empty() || data.size() % 3 == 2;
    }
    return false;
}

void WriteNode(std::string &out, const std::string &header, const RegNode &node, bool isRoot)
{
    if (!isRoot || !node.Values.empty()) {
        out += "\n[" + header + "]\n";
        for (const auto &[folded, v] : node.Values)
            out += FormatValue(v) + "\n";
    }
    for (const auto &[folded, child] : node.Keys)
        WriteNode(out, header + "\\" + EncodeKeyName(child->Name), *child, false);
}

struct FileStamp {
    bool Exists = false;
    dev_t Dev = 0;
    ino_t Ino = 0;
    off_t Size = 0;
    long long MTimeNs = 0;
    bool operator==(const FileStamp &) const = default;
};

FileStamp StampOf(const std::string &fileName)
{
    FileStamp s;
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0) {
        s.Exists = true;
        s.Dev = st.st_dev;
        s.Ino = st.st_ino;
        s.Size = st.st_size;
        s.MTimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    }
    return s;
}

} // namespace

// ---- The store ------------------------------------------------------------

// The keys and values of all roots, with the changes not yet written to the
// file kept as a journal, so that a file changed by someone else can be read
// again and the pending changes applied on top of it.
class RegistryStore {
public:
    explicit RegistryStore(std::string fileName) : FFileName(std::move(fileName)) {}

    bool IsMemory() const { return FFileName.empty(); }

    void Clear()
    {
        for (auto &r : FRoots)
            r = RegNode{};
        FJournal.clear();
    }

    // Reads the file again when it changed since it was last read or written.
    void Refresh()
    {
        if (IsMemory())
            return;
        FileStamp stamp = StampOf(FFileName);
        if (FLoaded && stamp == FStamp)
            return;
        Reload(stamp);
    }

    // False, with the file and the reason in error, when the file could not
    // be written.
    bool Save(std::string *error = nullptr)
    {
        if (FJournal.empty())
            return true;
        if (IsMemory()) {
            FJournal.clear();
            return true;
        }
        Refresh();
        if (FUnreadable) { // never replace a file that could not be read
            if (error)
                *error = Format("Cannot read file \"%s\"; it is kept as it is.", FFileName.c_str());
            return false;
        }
        std::string text = "; Nivora registry\n";
        for (int r = 0; r < RootCount; ++r)
            WriteNode(text, RootNames[r], FRoots[r], true);
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(FFileName).parent_path(), ec);
        if (!TryWriteFileAtomically(FFileName, text.data(), text.size(), error))
            return false;
        FStamp = StampOf(FFileName);
        FJournal.clear();
        return true;
    }

    bool Dirty() const { return !FJournal.empty(); }

    // Drops the last change and rebuilds the tree without it.
    void UndoLast()
    {
        if (FJournal.empty())
            return;
        FJournal.pop_back();
        if (IsMemory()) {
            auto journal = std::move(FJournal);
            Clear();
            for (auto &op : journal)
                Apply(op);
            FJournal = std::move(journal);
        } else {
            Reload(StampOf(FFileName));
        }
    }

    RegNode *Find(int root, const std::vector<std::string> &path)
    {
        RegNode *node = &FRoots[root];
        for (const auto &name : path) {
            auto it = node->Keys.find(Fold(name));
            if (it == node->Keys.end())
                return nullptr;
            node = it->second.get();
        }
        return node;
    }

    RegNode *CreateKey(int root, const std::vector<std::string> &path)
    {
        if (RegNode *node = Find(root, path))
            return node;
        if (path.size() > MaxKeyDepth)
            return nullptr;
        Record({OpKind::CreateKey, root, path, {}});
        return Find(root, path);
    }

    bool DeleteKey(int root, const std::vector<std::string> &path)
    {
        if (path.empty() || !Find(root, path))
            return false;
        Record({OpKind::DeleteKey, root, path, {}});
        return true;
    }

    bool SetValue(int root, const std::vector<std::string> &path, RegValue value)
    {
        if (!Find(root, path))
            return false;
        Record({OpKind::SetValue, root, path, std::move(value)});
        return true;
    }

    bool DeleteValue(int root, const std::vector<std::string> &path, const std::string &name)
    {
        RegNode *node = Find(root, path);
        if (!node || !node->Values.count(Fold(name)))
            return false;
        RegValue v;
        v.Name = name;
        Record({OpKind::DeleteValue, root, path, std::move(v)});
        return true;
    }

private:
    enum class OpKind { SetValue, DeleteValue, CreateKey, DeleteKey };
    struct Op {
        OpKind Kind;
        int Root;
        std::vector<std::string> Path;
        RegValue Value;
    };

    void Record(Op op)
    {
        Apply(op);
        FJournal.push_back(std::move(op));
    }

    void Apply(const Op &op)
    {
        if (op.Kind == OpKind::CreateKey) {
            RegNode *node = &FRoots[op.Root];
            for (const auto &name : op.Path) {
                auto &slot = node->Keys[Fold(name)];
                if (!slot) {
                    slot = std::make_unique<RegNode>();
                    slot->Name = name;
                }
                node = slot.get();
            }
            return;
        }
        if (op.Kind == OpKind::DeleteKey) {
            std::vector<std::string> parent(op.Path.begin(), op.Path.end() - 1);
            if (RegNode *node = Find(op.Root, parent))
                node->Keys.erase(Fold(op.Path.back()));
            return;
        }
        RegNode *node = Find(op.Root, op.Path);
        if (!node)
            return;
        std::string key = Fold(op.Value.Name);
        if (op.Kind == OpKind::DeleteValue) {
            node->Values.erase(key);
        } else {
            auto it = node->Values.find(key);
            if (it == node->Values.end()) {
                node->Values.emplace(key, op.Value);
            } else {
                // The stored spelling of the name stays.
                it->second.Type = op.Value.Type;
                it->second.Data = op.Value.Data;
            }
        }
    }

    void Reload(const FileStamp &stamp)
    {
        for (auto &r : FRoots)
            r = RegNode{};
        FUnreadable = false;
        if (stamp.Exists) {
            std::vector<std::uint8_t> bytes;
            if (TryReadAllBytes(FFileName, bytes))
                Parse(std::string(bytes.begin(), bytes.end()));
            else
                FUnreadable = true;
        }
        for (const auto &op : FJournal)
            Apply(op);
        FStamp = stamp;
        FLoaded = true;
    }

    // Reads what is valid: a malformed line is skipped, a malformed section
    // header drops the values below it up to the next header, and a last
    // line without its line end (a cut-off file) is ignored.
    void Parse(const std::string &text)
    {
        RegNode *current = nullptr;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                break;
            std::string line = text.substr(start, end - start);
            start = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line[0] == ';' || line[0] == '#')
                continue;
            if (line[0] == '[') {
                current = ParseSection(line);
            } else if (line[0] == '"' && current) {
                RegValue v;
                if (ParseValue(line, v)) {
                    std::string key = Fold(v.Name);
                    current->Values.insert_or_assign(key, std::move(v));
                }
            }
        }
    }

    RegNode *ParseSection(const std::string &line)
    {
        if (line.size() < 3 || line.back() != ']')
            return nullptr;
        std::string inner = line.substr(1, line.size() - 2);
        std::vector<std::string> parts;
        size_t p = 0;
        while (true) {
            size_t q = inner.find('\\', p);
            parts.push_back(inner.substr(p, q == std::string::npos ? q : q - p));
            if (q == std::string::npos)
                break;
            p = q + 1;
        }
        int root = -1;
        for (int r = 0; r < RootCount; ++r)
            if (SameText(parts[0], RootNames[r]))
                root = r;
        if (SameText(parts[0], "HKEY_LOCAL_MACHINE"))
            root = 1;
        if (root < 0 || parts.size() - 1 > MaxKeyDepth)
            return nullptr;
        RegNode *node = &FRoots[root];
        for (size_t i = 1; i < parts.size(); ++i) {
            std::string name;
            if (!DecodeKeyName(parts[i], name))
                return nullptr;
            auto &slot = node->Keys[Fold(name)];
            if (!slot) {
                slot = std::make_unique<RegNode>();
                slot->Name = name;
            }
            node = slot.get();
        }
        return node;
    }

    std::string FFileName;
    std::array<RegNode, RootCount> FRoots;
    std::vector<Op> FJournal;
    FileStamp FStamp;
    bool FLoaded = false;
    bool FUnreadable = false;
};

} // namespace detail

// ---- Backend selection ----------------------------------------------------

namespace {

TRegistryBackend gBackend = TRegistryBackend::File;

std::shared_ptr<detail::RegistryStore> &MemoryStore()
{
    static auto store = std::make_shared<detail::RegistryStore>(std::string());
    return store;
}

std::shared_ptr<detail::RegistryStore> FileStore(const std::string &fileName)
{
    static std::map<std::string, std::shared_ptr<detail::RegistryStore>> stores;
    auto &slot = stores[fileName];
    if (!slot)
        slot = std::make_shared<detail::RegistryStore>(fileName);
    return slot;
}

[[noreturn]] void ReadError(const std::string &name)
{
    throw ERegistryError(Format("Invalid data type for '%s'", name.c_str()));
}

[[noreturn]] void WriteError(const std::string &name)
{
    throw ERegistryError(Format("Failed to set data for '%s'", name.c_str()));
}

std::vector<std::string> SplitKey(const std::string &key)
{
    std::vector<std::string> parts;
    size_t p = 0;
    while (p <= key.size()) {
        size_t q = key.find('\\', p);
        if (q == std::string::npos)
            q = key.size();
        if (q > p)
            parts.push_back(key.substr(p, q - p));
        p = q + 1;
    }
    return parts;
}

} // namespace

void SetRegistryBackend(TRegistryBackend backend)
{
    gBackend = backend;
}

TRegistryBackend GetRegistryBackend()
{
    return gBackend;
}

void ClearMemoryRegistry()
{
    MemoryStore()->Clear();
}

std::string RegistryFileName()
{
    std::string base;
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char *home = std::getenv("HOME");
        if (home && *home) {
            base = home;
        } else if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
            base = pw->pw_dir;
        } else {
            base = ".";
        }
        base += "/.config";
    }
    return base + "/Nivora/registry";
}

TRegistryBackendScope::TRegistryBackendScope(TRegistryBackend backend) : FPrevious(gBackend)
{
    ClearMemoryRegistry();
    gBackend = backend;
}

TRegistryBackendScope::~TRegistryBackendScope()
{
    gBackend = FPrevious;
    ClearMemoryRegistry();
}

// ---- TRegistry ------------------------------------------------------------

TRegistry::TRegistry()
    : FStore(gBackend == TRegistryBackend::Memory ? MemoryStore() : FileStore(RegistryFileName()))
{
}

TRegistry::~TRegistry()
{
    try {
        CloseKey();
    } catch (...) {
        // nothing may leave a destructor; pending changes stay in the store
    }
}

void TRegistry::SetRootKey(HKEY value)
{
    if (value == FRootKey)
        return;
    FRootKey = value;
    CloseKey();
}

bool TRegistry::ResolveKey(const std::string &key, int &root, std::vector<std::string> &path,
                           bool &relative) const
{
    relative = key.empty() || key[0] != '\\';
    if (relative && FKeyOpen) {
        root = FRoot;
        path = FPath;
    } else {
        root = detail::RootIndex(FRootKey);
        path.clear();
    }
    if (root < 0)
        return false;
    for (auto &part : SplitKey(key))
        path.push_back(std::move(part));
    return true;
}

bool TRegistry::ChangeKey(const std::string &key, bool canCreate, bool readOnly)
{
    FStore->Refresh();
    int root;
    std::vector<std::string> path;
    bool relative;
    if (!ResolveKey(key, root, path, relative))
        return false;
    if (canCreate ? !FStore->CreateKey(root, path) : !FStore->Find(root, path))
        return false;
    CloseKey();
    FRoot = root;
    FPath = std::move(path);
    FKeyOpen = true;
    FReadOnly = readOnly;
    FCurrentPath.clear();
    for (const auto &part : FPath)
        FCurrentPath += (FCurrentPath.empty() ? "" : "\\") + part;
    if (!FLazyWrite)
        FStore->Save();
    return true;
}

bool TRegistry::OpenKey(const std::string &key, bool canCreate)
{
    return ChangeKey(key, canCreate, false);
}

bool TRegistry::OpenKeyReadOnly(const std::string &key)
{
    return ChangeKey(key, false, true);
}

void TRegistry::CloseKey()
{
    FStore->Save();
    FKeyOpen = false;
    FReadOnly = false;
    FRoot = -1;
    FPath.clear();
    FCurrentPath.clear();
}

bool TRegistry::Flush(std::string *error)
{
    return FStore->Save(error);
}

bool TRegistry::CreateKey(const std::string &key)
{
    FStore->Refresh();
    int root;
    std::vector<std::string> path;
    bool relative;
    if (!ResolveKey(key, root, path, relative) || !FStore->CreateKey(root, path))
        throw ERegistryError(Format("Failed to create key %s", key.c_str()));
    if (!FLazyWrite)
        FStore->Save();
    return true;
}

bool TRegistry::DeleteKey(const std::string &key)
{
    FStore->Refresh();
    int root;
    std::vector<std::string> path;
    bool relative;
    if (!ResolveKey(key, root, path, relative) || !FStore->DeleteKey(root, path))
        return false;
    if (!FLazyWrite)
        FStore->Save();
    return true;
}

bool TRegistry::KeyExists(const std::string &key)
{
    FStore->Refresh();
    int root;
    std::vector<std::string> path;
    bool relative;
    return ResolveKey(key, root, path, relative) && FStore->Find(root, path) != nullptr;
}

bool TRegistry::HasSubKeys()
{
    return !GetKeyNames().empty();
}

std::vector<std::string> TRegistry::GetKeyNames()
{
    std::vector<std::string> names;
    if (!FKeyOpen)
        return names;
    FStore->Refresh();
    if (const detail::RegNode *node = FStore->Find(FRoot, FPath))
        for (const auto &[folded, child] : node->Keys)
            names.push_back(child->Name);
    return names;
}

std::vector<std::string> TRegistry::GetValueNames()
{
    std::vector<std::string> names;
    if (!FKeyOpen)
        return names;
    FStore->Refresh();
    if (const detail::RegNode *node = FStore->Find(FRoot, FPath))
        for (const auto &[folded, v] : node->Values)
            names.push_back(v.Name);
    return names;
}

bool TRegistry::CurrentValue(const std::string &name, TRegDataType &type,
                             std::vector<std::uint8_t> &data)
{
    if (!FKeyOpen)
        return false;
    FStore->Refresh();
    const detail::RegNode *node = FStore->Find(FRoot, FPath);
    if (!node)
        return false;
    auto it = node->Values.find(detail::Fold(name));
    if (it == node->Values.end())
        return false;
    type = it->second.Type;
    data = it->second.Data;
    return true;
}

bool TRegistry::ValueExists(const std::string &name)
{
    TRegDataInfo info;
    return GetDataInfo(name, info);
}

bool TRegistry::DeleteValue(const std::string &name)
{
    if (!FKeyOpen || FReadOnly)
        return false;
    FStore->Refresh();
    if (!FStore->DeleteValue(FRoot, FPath, name))
        return false;
    if (!FLazyWrite)
        FStore->Save();
    return true;
}

bool TRegistry::GetDataInfo(const std::string &name, TRegDataInfo &info)
{
    std::vector<std::uint8_t> data;
    info = TRegDataInfo{};
    if (!CurrentValue(name, info.RegData, data)) {
        info = TRegDataInfo{};
        return false;
    }
    info.DataSize = static_cast<int>(data.size());
    if (info.RegData == rdString || info.RegData == rdExpandString)
        ++info.DataSize; // the terminating NUL, as the platform counts it
    return true;
}

TRegDataType TRegistry::GetDataType(const std::string &name)
{
    TRegDataInfo info;
    return GetDataInfo(name, info) ? info.RegData : rdUnknown;
}

int TRegistry::GetDataSize(const std::string &name)
{
    TRegDataInfo info;
    return GetDataInfo(name, info) ? info.DataSize : -1;
}

int TRegistry::ReadInteger(const std::string &name)
{
    TRegDataType type;
    std::vector<std::uint8_t> data;
    if (!CurrentValue(name, type, data) || type != rdInteger || data.size() != 4)
        ReadError(name);
    std::uint32_t n =
        data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    return static_cast<int>(n);
}

bool TRegistry::ReadBool(const std::string &name)
{
    return ReadInteger(name) != 0;
}

double TRegistry::ReadFloat(const std::string &name)
{
    TRegDataType type;
    std::vector<std::uint8_t> data;
    if (!CurrentValue(name, type, data) || type != rdBinary || data.size() != sizeof(double))
        ReadError(name);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | data[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string TRegistry::ReadString(const std::string &name)
{
    TRegDataType type;
    std::vector<std::uint8_t> data;
    if (!CurrentValue(name, type, data))
        return std::string();
    if (type != rdString && type != rdExpandString)
        ReadError(name);
    return std::string(data.begin(), data.end());
}

int TRegistry::ReadBinaryData(const std::string &name, void *buffer, int bufSize)
{
    TRegDataType type;
    std::vector<std::uint8_t> data;
    if (!CurrentValue(name, type, data))
        return 0;
    if (type != rdBinary || static_cast<long long>(data.size()) > bufSize)
        ReadError(name);
    if (!data.empty())
        std::memcpy(buffer, data.data(), data.size());
    return static_cast<int>(data.size());
}

std::vector<std::uint8_t> TRegistry::ReadBinaryData(const std::string &name)
{
    TRegDataType type;
    std::vector<std::uint8_t> data;
    if (!CurrentValue(name, type, data))
        return {};
    if (type != rdBinary)
        ReadError(name);
    return data;
}

void TRegistry::PutData(const std::string &name, TRegDataType type, std::vector<std::uint8_t> data)
{
    if (!FKeyOpen || FReadOnly)
        WriteError(name);
    FStore->Refresh();
    detail::RegValue v;
    v.Name = name;
    v.Type = type;
    v.Data = std::move(data);
    if (!FStore->SetValue(FRoot, FPath, std::move(v)))
        WriteError(name); // the key was deleted meanwhile
    if (!FLazyWrite && !FStore->Save()) {
        FStore->UndoLast();
        WriteError(name);
    }
}

void TRegistry::WriteInteger(const std::string &name, int value)
{
    auto n = static_cast<std::uint32_t>(value);
    PutData(name, rdInteger,
            {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
             static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)});
}

void TRegistry::WriteBool(const std::string &name, bool value)
{
    WriteInteger(name, value);
}

void TRegistry::WriteFloat(const std::string &name, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::vector<std::uint8_t> data(8);
    for (int i = 0; i < 8; ++i)
        data[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    PutData(name, rdBinary, std::move(data));
}

void TRegistry::WriteString(const std::string &name, const std::string &value)
{
    PutData(name, rdString, std::vector<std::uint8_t>(value.begin(), value.end()));
}

void TRegistry::WriteExpandString(const std::string &name, const std::string &value)
{
    PutData(name, rdExpandString, std::vector<std::uint8_t>(value.begin(), value.end()));
}

void TRegistry::WriteBinaryData(const std::string &name, const void *buffer, int bufSize)
{
    if (bufSize < 0 || (bufSize > 0 && !buffer))
        WriteError(name);
    const auto *p = static_cast<const std::uint8_t *>(buffer);
    PutData(name, rdBinary, std::vector<std::uint8_t>(p, p + bufSize));
}

} // namespace rtl
