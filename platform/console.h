// The command line and the console of the command-line tools: arguments and messages as UTF-8,
// whatever the system's code page is.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The program's arguments after its name, as UTF-8. Windows: read from the UTF-16 command line
// (never the ANSI argv, which loses every character the code page can't write); elsewhere argv.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Writes UTF-8 text to stream (stdout or stderr). A Windows console gets it as UTF-16 through
// WriteConsoleW; anything else (a file, a pipe, a terminal on Linux) gets the UTF-8 bytes.
void WriteText(std::FILE* stream, std::string_view utf8);

// printf into WriteText (the C99 formats, %zu included, on every system).
#ifdef __MINGW32__
#define OSTREL_PRINTF_FORMAT __attribute__((format(gnu_printf, 2, 3)))
#else
#define OSTREL_PRINTF_FORMAT __attribute__((format(printf, 2, 3)))
#endif
void PrintText(std::FILE* stream, const char* format, ...) OSTREL_PRINTF_FORMAT;

}  // namespace platform
