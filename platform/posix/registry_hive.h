// One hive file in the text format of Wine's registry files:
//
//   WINE REGISTRY Version 2
//   ;; All keys relative to \\Machine
//
//   [Software\\Ostrel\\OstrelService] 1700000000
//   #time=1da1c2b3c4d5e6f
//   @="default value"
//   "Name"="text with \"quotes\" and \\ backslashes\n"
//   "Count"=dword:00000001
//   "Blob"=hex:01,02,03      (long lists go on over lines ending in "\")
//
// Everything read is kept on rewrite: the lines before the first key, each
// key's timestamp and "#" lines, and values of every type as written. Key and
// value names compare without regard to ASCII letter case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::posix {

inline constexpr char kHiveSignature[] = "WINE REGISTRY Version 2";

class Hive {
 public:
  // A hive with the usual header lines; relativeTo is e.g. "\\Machine".
  static Hive Empty(const std::string& relativeTo);
  // Parses a hive file's text. Nothing when it doesn't start with the signature.
  static std::optional<Hive> Parse(const std::string& text);
  std::string Serialize() const;

  // Whether the key exists: it has a section, or a key below it has one.
  bool KeyExists(const std::string& keyPath) const;
  // Whether the key holds the value (the empty name addresses the default value).
  bool HasValue(const std::string& keyPath, const std::string& valueName) const;
  // The value as text when it is a text value ("...", str(2):"...", hex(1)/hex(2):...).
  // Nothing when the key or value is missing or of another type; *found tells
  // whether the value exists at all.
  std::optional<std::string> ReadText(const std::string& keyPath, const std::string& valueName,
                                      bool* found = nullptr) const;
  // Writes a plain string value, creating the key; stamps the key with unixTime.
  void WriteText(const std::string& keyPath, const std::string& valueName, const std::string& value,
                 int64_t unixTime);

 private:
  struct Line {
    bool isValue = false;
    std::string name;  // decoded value name; empty for the default value
    std::string raw;   // the line(s) as in the file, without the final newline
  };
  struct Key {
    std::string path;        // decoded, without leading or trailing "\"
    std::string headerRest;  // what follows "]" on the section line, e.g. " 1700000000"
    std::vector<Line> lines;
  };

  Key* FindKey(const std::string& keyPath);
  const Key* FindKey(const std::string& keyPath) const;
  const Line* FindValue(const Key& key, const std::string& valueName) const;

  std::vector<std::string> preamble_;
  std::vector<Key> keys_;
};

// Strips one leading and trailing "\" from a key path; nothing when the path is
// empty or has an empty part ("a\\b").
std::optional<std::string> NormalizeKeyPath(const std::string& keyPath);

// Decodes the right-hand side of a value line when it is of a text type.
std::optional<std::string> DecodeTextValue(const std::string& rhs);

}  // namespace platform::posix
