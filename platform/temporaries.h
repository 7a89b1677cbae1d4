// The temporaries that a killed writer left behind beside a file.
#pragma once

#include <string>

namespace platform {

// Removes the regular files beside hostPath named as CreateTemporaryBeside(hostPath, tag, ...)
// names its files: the last component of hostPath, tag, "-" and six characters of [a-z0-9].
// Links (whatever they point at), folders and every other name stay; nothing is removed
// through a link. Returns how many files were removed.
int RemoveTemporariesBeside(const std::string& hostPath, const std::string& tag);

}  // namespace platform
