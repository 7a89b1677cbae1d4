#include "platform/posix/registry_hive.h"

#include <cinttypes>
#include <cstdio>

#include "platform/ascii_case.h"
#include "platform/text.h"
#include "platform/posix/registry_escape.h"
#include "platform/posix/utf16.h"

namespace platform::posix {
namespace {

// Seconds between 1601-01-01 (FILETIME) and 1970-01-01.
constexpr int64_t kFileTimeEpochOffset = 11644473600;

using platform::EqualsNoCase;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

bool IsBlank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

// Parses the name part of a value line ("name"= or @=, blanks allowed around
// "="); pos is left on the value.
bool ParseValueName(const std::string& line, std::string& name, size_t& pos) {
  const auto skipBlanks = [&] {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  };
  if (!line.empty() && line[0] == '@') {
    name.clear();
    pos = 1;
  } else {
    if (line.empty() || line[0] != '"') return false;
    pos = 1;
    if (!UnescapeUntil(line, pos, '"', name)) return false;
    ++pos;  // the closing quote
  }
  skipBlanks();
  if (pos >= line.size() || line[pos] != '=') return false;
  ++pos;
  skipBlanks();
  return true;
}

// The right-hand side of a value with its continuation lines joined.
std::string JoinContinuations(const std::string& raw) {
  std::string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size() && raw[i + 1] == '\n') {
      i += 2;
      while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t')) ++i;
      --i;
      continue;
    }
    out += raw[i];
  }
  return out;
}

std::optional<std::string> DecodeHexUtf16(const std::string& list) {
  std::string bytes;
  int digits = 0;
  unsigned v = 0;
  for (char c : list) {
    const int h = HexDigitValue(c);
    if (h >= 0) {
      if (++digits > 2) return std::nullopt;
      v = v * 16 + h;
    } else if (c == ',') {
      if (digits == 0) return std::nullopt;
      bytes += static_cast<char>(v);
      digits = 0, v = 0;
    } else if (c != ' ' && c != '\t') {
      return std::nullopt;
    }
  }
  if (digits > 0) bytes += static_cast<char>(v);
  std::u16string units;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  while (!units.empty() && units.back() == 0) units.pop_back();
  return Utf16ToUtf8(units);
}

std::string QuotedName(const std::string& name) { return name.empty() ? "@" : "\"" + EscapeQuoted(name) + "\""; }

}  // namespace

std::optional<std::string> NormalizeKeyPath(const std::string& keyPath) {
  std::string p = keyPath;
  if (!p.empty() && p.front() == '\\') p.erase(0, 1);
  if (!p.empty() && p.back() == '\\') p.pop_back();
  if (p.empty() || p.find("\\\\") != std::string::npos || p.front() == '\\' || p.back() == '\\') return std::nullopt;
  return p;
}

std::optional<std::string> DecodeTextValue(const std::string& rhsRaw) {
  const std::string rhs = JoinContinuations(rhsRaw);
  size_t pos;
  if (rhs.rfind("\"", 0) == 0) {
    pos = 1;
  } else if (rhs.rfind("str(1):\"", 0) == 0 || rhs.rfind("str(2):\"", 0) == 0) {
    pos = 8;
  } else if (rhs.rfind("hex(1):", 0) == 0 || rhs.rfind("hex(2):", 0) == 0) {
    return DecodeHexUtf16(rhs.substr(7));
  } else {
    return std::nullopt;
  }
  std::string text;
  if (!UnescapeUntil(rhs, pos, '"', text)) return std::nullopt;
  return text;
}

Hive Hive::Empty(const std::string& relativeTo) {
  Hive h;
  h.preamble_ = {kHiveSignature, ";; All keys relative to " + EscapeKeyName(relativeTo), "", "#arch=win32"};
  return h;
}

std::optional<Hive> Hive::Parse(const std::string& text) {
  std::vector<std::string> lines = SplitLines(text);
  if (lines.empty() || lines[0] != kHiveSignature) return std::nullopt;
  Hive h;
  size_t i = 0;
  for (; i < lines.size() && (lines[i].empty() || lines[i][0] != '['); ++i) h.preamble_.push_back(lines[i]);
  while (!h.preamble_.empty() && IsBlank(h.preamble_.back())) h.preamble_.pop_back();

  Key* key = nullptr;
  for (; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!line.empty() && line[0] == '[') {
      size_t pos = 1;
      std::string path;
      if (UnescapeUntil(line, pos, ']', path)) {
        if (!path.empty() && path.front() == '\\') path.erase(0, 1);
        if (!path.empty() && path.back() == '\\') path.pop_back();
        h.keys_.push_back(Key{path, line.substr(pos + 1), {}});
        key = &h.keys_.back();
        continue;
      }
    }
    if (IsBlank(line)) continue;
    if (!key) {  // text between the header and the first key that isn't a key
      h.preamble_.push_back(line);
      continue;
    }
    Line entry;
    size_t pos;
    entry.raw = line;
    if (ParseValueName(line, entry.name, pos)) {
      entry.isValue = true;
      // Long hex values continue on the next lines, each ending with "\".
      while (!entry.raw.empty() && entry.raw.back() == '\\' && i + 1 < lines.size()) entry.raw += "\n" + lines[++i];
    }
    key->lines.push_back(std::move(entry));
  }
  return h;
}

std::string Hive::Serialize() const {
  std::string out;
  for (const std::string& line : preamble_) out += line + "\n";
  for (const Key& key : keys_) {
    out += "\n[" + EscapeKeyName(key.path) + "]" + key.headerRest + "\n";
    for (const Line& line : key.lines) out += line.raw + "\n";
  }
  return out;
}

Hive::Key* Hive::FindKey(const std::string& keyPath) {
  for (Key& k : keys_)
    if (EqualsNoCase(k.path, keyPath)) return &k;
  return nullptr;
}

const Hive::Key* Hive::FindKey(const std::string& keyPath) const { return const_cast<Hive*>(this)->FindKey(keyPath); }

const Hive::Line* Hive::FindValue(const Key& key, const std::string& valueName) const {
  for (const Line& line : key.lines)
    if (line.isValue && EqualsNoCase(line.name, valueName)) return &line;
  return nullptr;
}

bool Hive::KeyExists(const std::string& keyPath) const {
  const std::optional<std::string> path = NormalizeKeyPath(keyPath);
  if (!path) return false;
  for (const Key& k : keys_) {
    if (EqualsNoCase(k.path, *path)) return true;
    if (k.path.size() > path->size() && k.path[path->size()] == '\\' && EqualsNoCase(std::string_view(k.path).substr(0, path->size()), *path))
      return true;
  }
  return false;
}

bool Hive::HasValue(const std::string& keyPath, const std::string& valueName) const {
  bool found = false;
  ReadText(keyPath, valueName, &found);
  return found;
}

std::optional<std::string> Hive::ReadText(const std::string& keyPath, const std::string& valueName,
                                          bool* found) const {
  if (found) *found = false;
  const std::optional<std::string> path = NormalizeKeyPath(keyPath);
  const Key* key = path ? FindKey(*path) : nullptr;
  const Line* line = key ? FindValue(*key, valueName) : nullptr;
  if (!line) return std::nullopt;
  if (found) *found = true;
  std::string name;
  size_t pos = 0;
  ParseValueName(line->raw, name, pos);
  return DecodeTextValue(line->raw.substr(pos));
}

void Hive::WriteText(const std::string& keyPath, const std::string& valueName, const std::string& value,
                     int64_t unixTime) {
  const std::optional<std::string> path = NormalizeKeyPath(keyPath);
  if (!path) return;
  Key* key = FindKey(*path);
  if (!key) {
    keys_.push_back(Key{*path, "", {Line{false, "", "#time="}}});
    key = &keys_.back();
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, " %" PRId64, unixTime);
  key->headerRest = buf;
  std::snprintf(buf, sizeof buf, "#time=%" PRIx64, static_cast<uint64_t>(unixTime + kFileTimeEpochOffset) * 10000000u);
  for (Line& line : key->lines)
    if (!line.isValue && line.raw.rfind("#time=", 0) == 0) line.raw = buf;

  const Line* existing = FindValue(*key, valueName);
  const std::string name = existing ? existing->name : valueName;
  Line entry{true, name, QuotedName(name) + "=\"" + EscapeQuoted(value) + "\""};
  if (existing) {
    *const_cast<Line*>(existing) = std::move(entry);
  } else {
    key->lines.push_back(std::move(entry));
  }
}

}  // namespace platform::posix
