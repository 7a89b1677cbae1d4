// The error raised when a picture can't be found or decoded.
#pragma once

#include <stdexcept>
#include <string>

namespace ostrel::skin {

class SkinError : public std::runtime_error {
 public:
  explicit SkinError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace ostrel::skin
