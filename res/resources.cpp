#include "res/resources.h"

#include "platform/ascii_case.h"

namespace ostrel::res {

// Generated table (resource_table.cpp); one empty row closes it.
extern const Resource kTable[];
extern const std::size_t kTableSize;

const Resource* Find(std::string_view name) {
  for (const Resource& r : All())
    if (platform::EqualsNoCase(r.name, name)) return &r;  // stored in upper case, asked in any
  return nullptr;
}

std::span<const Resource> All() { return {kTable, kTableSize}; }

}  // namespace ostrel::res
