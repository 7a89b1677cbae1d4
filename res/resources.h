// The pictures built into the executable, found by name without regard to case.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace ostrel::res {

struct Resource {
  std::string_view name;  // upper case, without extension
  const unsigned char* data;
  std::size_t size;

  std::span<const unsigned char> Bytes() const { return {data, size}; }
};

// The resource of that name (ASCII letters compared without regard to case), or nullptr.
const Resource* Find(std::string_view name);

// Every embedded resource, sorted by name.
std::span<const Resource> All();

}  // namespace ostrel::res
