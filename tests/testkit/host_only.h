// What some tests need from the host that only Linux offers, behind calls both builds have,
// and the skip that names the reason on Windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace testkit {

// Sets the variable in this process's environment, or removes it when value is empty.
void SetEnv(const std::string& name, const std::optional<std::string>& value);
// True when permission bits stop this process: not for root, and never on Windows, whose
// read-only attribute neither hides a file's contents nor closes a folder.
bool PermissionBitsBindUs();
// The path of UTF-8 text, and a path's UTF-8 text with "/" between names, whatever the
// system's code page is.
std::filesystem::path Utf8Path(const std::string& utf8);
// The file's identity on its volume (Linux: its inode, Windows: its file index), as the
// platform layer's file events name it; nothing when it can't be read.
std::optional<uint64_t> FileIdentity(const std::string& path);
std::string Utf8Text(const std::filesystem::path& path);

}  // namespace testkit

// Ends the current test as skipped on Windows, naming what it needs: at the start of a test
// whose body is kept from the Windows build by `#ifndef _WIN32`, or before a Linux-only case.
#ifdef _WIN32
#define TESTKIT_SKIP_ON_WINDOWS(why) GTEST_SKIP() << "Linux only: " << why
#else
#define TESTKIT_SKIP_ON_WINDOWS(why) static_cast<void>(0)
#endif
