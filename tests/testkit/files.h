// Whole files and made-up contents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace testkit {

// The file's bytes; empty when it can't be read.
std::string ReadFile(const std::filesystem::path& path);
// Replaces the file with bytes, making its folders first; false when not all of them were written.
bool WriteFile(const std::filesystem::path& path, const std::string& bytes);
// Every path below root in UTF-8, relative with "/" between names and sorted, folders with a
// trailing "/" (links not entered).
std::vector<std::string> ListTree(const std::filesystem::path& root);
// Every path below root (as ListTree names it) with what it holds: a file's bytes, then its
// attributes ("rw" or "ro"; on Windows also "hidden" and "system"). Two snapshots are equal when
// the trees hold the same names, bytes and attributes.
std::map<std::string, std::string> TreeSnapshot(const std::filesystem::path& root);
// The attributes of one path, as TreeSnapshot writes them.
std::string AttributesText(const std::filesystem::path& path);

// size pseudo-random bytes, the same for the same seed.
std::string RandomBytes(size_t size, uint32_t seed = 1);

}  // namespace testkit
