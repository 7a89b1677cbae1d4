// Where the loader reads a picture's bytes: the pictures built into the executable,
// unless a test puts its own source in place.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace ostrel::skin {

using ResourceSource = std::function<std::optional<std::span<const uint8_t>>(std::string_view name)>;

// The bytes of the resource of that name (without regard to case), or nothing.
std::optional<std::span<const uint8_t>> FindPicture(std::string_view name);

// Replaces the source; an empty function restores the embedded pictures.
void SetResourceSource(ResourceSource source);

}  // namespace ostrel::skin
