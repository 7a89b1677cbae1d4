#include "tools/demosite/platform_scripts.h"

namespace ostrel::demosite {

namespace {

// The folder of the running script, absolute, in the shell variable "here".
constexpr const char* kFindOwnFolder = "here=$(cd \"$(dirname \"$0\")\" && pwd) || exit 1\n";

}  // namespace

std::string LauncherScript() {
  std::string script =
      "#!/bin/sh\n"
      "# OstrelPro launcher (demonstration): records the time it ran beside itself.\n";
  script += kFindOwnFolder;
  script += "date '+%Y-%m-%d %H:%M:%S' >\"$here/";
  script += kLaunchMarker;
  script += "\" || exit 1\n";
  script += "echo \"";
  script += kLauncherGreeting;
  script += "\"\n";
  script += "echo \"installed in $here\"\n";
  return script;
}

std::string MainProgramScript() {
  return "#!/bin/sh\n"
         "# OstrelPro main program (demonstration).\n"
         "echo \"OstrelPro main program ran\"\n";
}

std::string UninstallerScript() {
  std::string script =
      "#!/bin/sh\n"
      "# OstrelPro uninstaller (demonstration): names the folder it would remove.\n";
  script += kFindOwnFolder;
  script += "echo \"OstrelPro would be removed from $(dirname \"$here\")\"\n";
  return script;
}

}  // namespace ostrel::demosite
