// ostrel-unzip ARCHIVE DEST: extracts every entry of ARCHIVE below DEST and
// prints how many were extracted. Exit status: 0 every entry that should be
// written was written, 1 the extraction failed (the reason goes to stderr),
// 2 usage.
#include <cstdio>

#include "platform/host_path.h"
#include "support/PubZip.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ostrel-unzip ARCHIVE DEST\n");
    return 2;
  }
  // Windows path texts ("C:\...") are mapped through the prefix, found once before any of them.
  for (int i = 1; i < argc; ++i)
    if (platform::HasDriveLetter(argv[i]) || platform::IsCurrentDriveRooted(argv[i])) platform::InitPrefix();
  const UnZipReport report = UnZipFileReport(argv[1], argv[2]);
  if (report.blocked || report.failed || report.rejectedNames)
    std::fprintf(stderr, "ostrel-unzip: %zu not in place, %zu failed, %zu unsafe names skipped\n", report.blocked,
                 report.failed, report.rejectedNames);
  if (!report.ok()) std::fprintf(stderr, "ostrel-unzip: %s: %s\n", argv[1], report.reason.c_str());
  std::printf("%zu\n", report.extracted);
  return report.ok() ? 0 : 1;
}
