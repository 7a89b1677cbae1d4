// The local calendar time of a moment, as the system's time zone gives it.
#pragma once

#include <ctime>

namespace platform {

std::tm LocalTime(std::time_t when);

}  // namespace platform
