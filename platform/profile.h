// INI files through the private-profile reading rules (GetPrivateProfileStringA).
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The value of key in section of the INI file, or def when the file, section
// or key is missing. Section and key names compare without regard to case
// and without the blanks around them; the value loses the blanks around it
// and one pair of matching surrounding quotes (' or "). At most bufferSize - 1
// characters come back. Never creates the file. A file that is not valid
// UTF-8 is read in the target systems' code page (GBK), whatever the system's is.
std::string GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& def,
                                     const std::string& file, size_t bufferSize);

}  // namespace platform
