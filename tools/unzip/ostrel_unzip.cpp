// ostrel-unzip ARCHIVE DEST: extracts every entry of ARCHIVE below DEST and
// prints how many were extracted. Exit status: 0 at least one entry extracted,
// 1 none, 2 usage.
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
  if (!report.opened) std::fprintf(stderr, "ostrel-unzip: %s: cannot read the archive\n", argv[1]);
  if (report.skipped || report.failed || report.rejectedNames)
    std::fprintf(stderr, "ostrel-unzip: %zu skipped, %zu failed, %zu unsafe names\n", report.skipped, report.failed,
                 report.rejectedNames);
  std::printf("%zu\n", report.extracted);
  return report.extracted > 0 ? 0 : 1;
}
