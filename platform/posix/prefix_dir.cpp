// The prefix in use: found once, kept for every mapping after.
#include <cstdlib>
#include <mutex>

#include "platform/host_path.h"
#include "platform/posix/prefix.h"

namespace platform {
namespace {

struct PrefixState {
  std::mutex mutex;
  bool found = false;
  bool seeded = false;
  std::string dir;
};

PrefixState& State() {
  static PrefixState state;
  return state;
}

std::string PrefixFromEnvironment() {
  if (const char* p = std::getenv("OSTREL_PREFIX"); p && *p) return p;
  std::string base;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) {
    base = x;
  } else if (const char* h = std::getenv("HOME"); h && *h) {
    base = std::string(h) + "/.local/share";
  } else {
    base = "/tmp";
  }
  return base + "/ostrel/prefix";
}

// Seeds dir outside the lock (seeding maps paths itself) and records the outcome.
bool Seed(const std::string& dir) {
  const bool ok = posix::SeedPrefix(dir);
  PrefixState& s = State();
  const std::lock_guard<std::mutex> lock(s.mutex);
  if (s.dir == dir) s.seeded = ok;
  return ok;
}

}  // namespace

bool InitPrefix() {
  const std::string dir = PrefixFromEnvironment();
  PrefixState& s = State();
  {
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (s.found && s.seeded && s.dir == dir) return true;
    s.found = true;
    s.seeded = false;
    s.dir = dir;
  }
  return Seed(dir);
}

void ForgetPrefix() {
  PrefixState& s = State();
  const std::lock_guard<std::mutex> lock(s.mutex);
  s.found = s.seeded = false;
  s.dir.clear();
}

std::string PrefixDir() {
  PrefixState& s = State();
  {
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (s.found) return s.dir;
  }
  InitPrefix();
  const std::lock_guard<std::mutex> lock(s.mutex);
  return s.dir;
}

namespace posix {

bool EnsurePrefix() {
  std::string dir;
  {
    PrefixState& s = State();
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (s.found && s.seeded) return true;
    if (s.found) dir = s.dir;
  }
  return dir.empty() ? InitPrefix() : Seed(dir);  // a prefix that couldn't be made is tried again
}

}  // namespace posix
}  // namespace platform
