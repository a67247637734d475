// The typed registry of the class-library core. TRegistry opens keys under
// one of the predefined root keys and reads and writes typed values in them.
//
// Backends: by default the values live in one text file per user,
// $XDG_CONFIG_HOME/Nivora/registry (~/.config/Nivora/registry when
// XDG_CONFIG_HOME is unset); HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER are one
// tree there, the other root keys have trees of their own in the same file.
// Tests switch the whole process to an in-memory store (TRegistryBackendScope)
// so they never touch the user's files. The file format is described in
// platform/rtl/README.md.
//
// All TRegistry objects of the process that use the same file share one
// in-memory copy of it, so they see each other's changes at once; the copy is
// read again when the file changed on disk. Changes are written to the file
// when a key is closed (CloseKey, opening another key, changing RootKey), when
// the object is destroyed, on Flush, and after every change when LazyWrite is
// false. The file is replaced through a temporary file and a rename, so a
// failed write leaves the previous file as it was.
//
// Key paths are backslash separated; a path starting with '\' starts at the
// root key, any other path is relative to the current key (or to the root key
// when no key is open). Key and value names compare case-insensitively.
// String values hold 8-bit text (Windows-1252) byte for byte.
//
// Not thread-safe: used from the GUI thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"

namespace rtl {

// The predefined root keys (the handle values of the original platform).
using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

// Type of a stored value: rdString (REG_SZ), rdExpandString (REG_EXPAND_SZ),
// rdInteger (REG_DWORD), rdBinary (REG_BINARY); rdUnknown for a missing value.
enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
    TRegDataType RegData = rdUnknown;
    int DataSize = 0; // bytes; a string counts its terminating NUL
};

enum class TRegistryBackend {
    File,   // the user's registry file (default)
    Memory, // one process-wide store in memory, never written anywhere
};

// Selects the store for TRegistry objects created from now on.
void SetRegistryBackend(TRegistryBackend backend);
TRegistryBackend GetRegistryBackend();
// Empties the in-memory store.
void ClearMemoryRegistry();
// The file the file backend uses under the current environment.
std::string RegistryFileName();

// Switches the process to a backend (the empty in-memory store by default)
// for its lifetime and restores the previous backend afterwards.
class TRegistryBackendScope {
public:
    explicit TRegistryBackendScope(TRegistryBackend backend = TRegistryBackend::Memory);
    ~TRegistryBackendScope();
    TRegistryBackendScope(const TRegistryBackendScope &) = delete;
    TRegistryBackendScope &operator=(const TRegistryBackendScope &) = delete;

private:
    TRegistryBackend FPrevious;
};

namespace detail {
class RegistryStore;
}

class TRegistry {
public:
    TRegistry(); // RootKey HKEY_CURRENT_USER, no key open, LazyWrite true
    ~TRegistry();
    TRegistry(const TRegistry &) = delete;
    TRegistry &operator=(const TRegistry &) = delete;

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY value); // closes the current key when it changes
    bool LazyWrite() const { return FLazyWrite; }
    void SetLazyWrite(bool value) { FLazyWrite = value; }
    // Path of the current key below the root key, without a leading '\'.
    const std::string &CurrentPath() const { return FCurrentPath; }
    bool HasCurrentKey() const { return FKeyOpen; }

    // Makes key the current key; creates it (and missing parents) when
    // canCreate is true. False when it does not exist or the root key is not
    // one of the predefined ones.
    bool OpenKey(const std::string &key, bool canCreate);
    // As OpenKey without creating; values of the key cannot be changed.
    bool OpenKeyReadOnly(const std::string &key);
    // Writes pending changes and leaves no key open.
    void CloseKey();
    bool CreateKey(const std::string &key); // false when it already exists
    bool DeleteKey(const std::string &key); // with all its subkeys and values
    bool KeyExists(const std::string &key);
    bool HasSubKeys();
    std::vector<std::string> GetKeyNames();   // subkeys of the current key
    std::vector<std::string> GetValueNames(); // values of the current key

    bool ValueExists(const std::string &name);
    bool DeleteValue(const std::string &name);
    TRegDataType GetDataType(const std::string &name); // rdUnknown when missing
    int GetDataSize(const std::string &name);          // -1 when missing
    bool GetDataInfo(const std::string &name, TRegDataInfo &info);

    // Reads raise ERegistryError "Invalid data type for '<name>'" when the
    // value is missing or of another type or size. ReadString returns an
    // empty text for a missing value and ReadBinaryData 0, as the class
    // library does; both raise for a value of another type.
    int ReadInteger(const std::string &name);
    bool ReadBool(const std::string &name);
    double ReadFloat(const std::string &name);       // binary of exactly 8 bytes
    std::string ReadString(const std::string &name); // string or expand string
    // Copies the binary value into buffer and returns its size; raises when
    // it does not fit into bufSize bytes.
    int ReadBinaryData(const std::string &name, void *buffer, int bufSize);
    std::vector<std::uint8_t> ReadBinaryData(const std::string &name);

    // Writes raise ERegistryError "Failed to set data for '<name>'" when no
    // key is open, the key was opened read-only or is gone, or (with
    // LazyWrite false) the file cannot be written; the value is unchanged then.
    void WriteInteger(const std::string &name, int value);
    void WriteBool(const std::string &name, bool value);
    void WriteFloat(const std::string &name, double value);
    void WriteString(const std::string &name, const std::string &value);
    void WriteExpandString(const std::string &name, const std::string &value);
    void WriteBinaryData(const std::string &name, const void *buffer, int bufSize);

    // Writes pending changes of the store now; false when the file could not
    // be written (the changes stay pending then), with the file's name and
    // the system's reason in error.
    bool Flush(std::string *error = nullptr);

private:
    bool ResolveKey(const std::string &key, int &root, std::vector<std::string> &path,
                    bool &relative) const;
    bool CurrentValue(const std::string &name, TRegDataType &type, std::vector<std::uint8_t> &data);
    void PutData(const std::string &name, TRegDataType type, std::vector<std::uint8_t> data);
    bool ChangeKey(const std::string &key, bool canCreate, bool readOnly);

    std::shared_ptr<detail::RegistryStore> FStore;
    HKEY FRootKey = HKEY_CURRENT_USER;
    bool FLazyWrite = true;
    bool FKeyOpen = false;
    bool FReadOnly = false;
    int FRoot = -1;                 // tree of the current key
    std::vector<std::string> FPath; // components of the current key
    std::string FCurrentPath;
};

} // namespace rtl
