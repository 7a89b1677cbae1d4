// AppDir: the folder of the running executable as a Windows path with a trailing "\",
// set by the window's show handler before the first picture is loaded.
#pragma once

#include <string>

extern std::string AppDir;
