#include "skin/AppDir.h"

std::string AppDir;
