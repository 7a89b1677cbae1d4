// ostrel-unzip ARCHIVE DEST: extracts every entry of ARCHIVE below DEST and
// prints how many were extracted. Exit status: 0 every entry that should be
// written was written, 1 the extraction failed (the reason goes to stderr),
// 2 usage.
#include <cstdio>

#include "platform/console.h"
#include "platform/host_path.h"
#include "support/PubZip.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = platform::ProgramArguments(argc, argv);
  if (args.size() != 2) {
    platform::PrintText(stderr, "usage: ostrel-unzip ARCHIVE DEST\n");
    return 2;
  }
  // Windows path texts ("C:\...") are mapped through the prefix, found once before any of them.
  for (const std::string& arg : args)
    if (platform::HasDriveLetter(arg) || platform::IsCurrentDriveRooted(arg)) platform::InitPrefix();
  const UnZipReport report = UnZipFileReport(args[0], args[1]);
  if (report.blocked || report.failed || report.rejectedNames)
    platform::PrintText(stderr, "ostrel-unzip: %zu not in place, %zu failed, %zu unsafe names skipped\n", report.blocked,
                 report.failed, report.rejectedNames);
  if (!report.ok()) platform::PrintText(stderr, "ostrel-unzip: %s: %s\n", args[0].c_str(), report.reason.c_str());
  platform::PrintText(stdout, "%zu\n", report.extracted);
  return report.ok() ? 0 : 1;
}
