#include "skin/ResourceSource.h"

#include "res/resources.h"

namespace ostrel::skin {
namespace {

ResourceSource& Current() {
  static ResourceSource source;
  return source;
}

}  // namespace

std::optional<std::span<const uint8_t>> FindPicture(std::string_view name) {
  if (Current()) return Current()(name);
  if (const res::Resource* r = res::Find(name)) return r->Bytes();
  return std::nullopt;
}

void SetResourceSource(ResourceSource source) { Current() = std::move(source); }

}  // namespace ostrel::skin
