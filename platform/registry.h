// The registry: string values under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
//
// Windows: RegOpenKeyExW / RegQueryValueExW to read, RegCreateKeyExW /
// RegSetValueExW to write, texts as UTF-16; HKEY_LOCAL_MACHINE in the 32-bit
// view (KEY_WOW64_32KEY) whatever the program's own width. Linux: text hive
// files in the prefix (posix/registry_hive.h).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Predefined root key handles, with their Windows values.
using RootKey = std::uintptr_t;
inline constexpr RootKey kHkeyCurrentUser = 0x80000001u;
inline constexpr RootKey kHkeyLocalMachine = 0x80000002u;

enum class RegResult {
  kOk = 0,
  kKeyNotFound,    // the key doesn't exist
  kValueNotFound,  // the key exists, the value doesn't
  kNotText,        // the value exists with a type other than a string
  kBadArgument,    // unknown root key or malformed key path
  kIoError,        // the hive can't be read or written
};

// Reads a string value (REG_SZ or REG_EXPAND_SZ, unexpanded); the empty name
// addresses the key's default value. out is empty unless the result is kOk.
RegResult RegReadString(RootKey root, const std::string& keyPath, const std::string& valueName, std::string& out);

// Writes a REG_SZ value, creating the key and every missing parent.
RegResult RegWriteString(RootKey root, const std::string& keyPath, const std::string& valueName,
                         const std::string& value);

}  // namespace platform
