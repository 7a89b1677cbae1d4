#include "res/resources.h"

namespace ostrel::res {

// Generated table (resource_table.cpp); one empty row closes it.
extern const Resource kTable[];
extern const std::size_t kTableSize;

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view stored, std::string_view asked) {
  if (stored.size() != asked.size()) return false;
  for (std::size_t i = 0; i < asked.size(); ++i)
    if (stored[i] != Upper(asked[i])) return false;
  return true;
}

}  // namespace

const Resource* Find(std::string_view name) {
  for (const Resource& r : All())
    if (SameName(r.name, name)) return &r;
  return nullptr;
}

std::span<const Resource> All() { return {kTable, kTableSize}; }

}  // namespace ostrel::res
