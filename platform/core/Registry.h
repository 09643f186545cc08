#pragma once
// The registry of the platform as a per-user store of keys and values.
//
// Each root key (hive) is one text file in "$XDG_CONFIG_HOME/konverze/registry/"
// (default "~/.config/konverze/registry/"), named after the hive, e.g.
// "HKEY_CURRENT_USER.reg". Keys form a tree addressed by paths with "\" between
// the names; key and value names are compared without regard to ASCII letter
// case and keep the case they were created with. Values are texts or 32-bit
// integers.
//
// Every operation reads the hive file afresh and every change writes it back at
// once (to a temporary file renamed over the old one), so two registry objects,
// or two processes, never work on a stale copy and a crash leaves either the old
// or the new file, never half of one.

#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"

#include <cstdint>
#include <memory>
#include <string>

namespace core {

using HKEY = std::uint32_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

enum class TRegDataType { rdUnknown, rdString, rdInteger };

// The folder that holds the hive files, ending with "/".
std::string RegistryFolder();
// The file that holds the hive, e.g. ".../HKEY_CURRENT_USER.reg"; raises for an unknown root.
std::string RegistryHiveFile(HKEY root);

class TRegistry : public TObject {
public:
    TRegistry();
    ~TRegistry() override;
    std::string ClassName() const override { return "TRegistry"; }

    HKEY RootKey() const noexcept { return root_; }
    // Closes the current key and chooses another hive.
    void SetRootKey(HKEY root);
    // Path of the open key below the root, without leading "\"; empty when none is open.
    const std::string& CurrentPath() const noexcept { return currentPath_; }
    bool HasCurrentKey() const noexcept { return open_; }

    // A key beginning with "\" is taken from the root, any other below the open key.
    // Answers False when the key does not exist and may not be created.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    bool KeyExists(const std::string& key);
    bool CreateKey(const std::string& key);
    // Deletes the key with all its subkeys and values; False when it does not exist.
    bool DeleteKey(const std::string& key);
    // Copies the subtree oldName to newName (both below the open key), merging into
    // newName when it exists, and deletes oldName when deleteOld is set.
    // Does nothing when oldName does not exist or newName lies inside it.
    void MoveKey(const std::string& oldName, const std::string& newName, bool deleteOld);
    bool HasSubKeys();
    void GetKeyNames(TStrings& names);
    void GetValueNames(TStrings& names);

    bool ValueExists(const std::string& name);
    TRegDataType GetDataType(const std::string& name);
    bool DeleteValue(const std::string& name);
    // The empty name is the key's default value. A missing text value reads as empty;
    // a value of the other type raises ERegistryException.
    std::string ReadString(const std::string& name);
    void WriteString(const std::string& name, const std::string& value);
    // A missing or non-integer value raises ERegistryException.
    std::int32_t ReadInteger(const std::string& name);
    void WriteInteger(const std::string& name, std::int32_t value);
    bool ReadBool(const std::string& name) { return ReadInteger(name) != 0; }
    void WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

private:
    struct Hive;
    std::string Resolve(const std::string& key) const;
    void RequireOpenKey(const char* operation) const;
    void RequireWritable(const std::string& name) const;

    HKEY root_ = HKEY_CURRENT_USER;
    std::string currentPath_;
    bool open_ = false;
    bool readOnly_ = false;
};

} // namespace core
