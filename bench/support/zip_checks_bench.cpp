// ostrel-zip-checks-bench ARCHIVE DEST [RUNS]: times the checks that an
// extraction makes before it writes (the entries' byte ranges, the declared
// sizes against the free space, the leftover scan of the folders it writes
// into, DEST being an earlier extraction of ARCHIVE) without extracting.
// Prints the median of each in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <unordered_set>
#include <vector>

#include "support/UnzipEntries.h"
#include "support/UnzipSpace.h"
#include "support/UnzipTemporary.h"
#include "support/UnzipWorkers.h"
#include "support/ZipEntryName.h"
#include "support/ZipEntryRanges.h"
#include "support/ZipFolders.h"

namespace {

double MedianMs(int runs, const std::function<bool()>& step) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!step()) {
      std::fprintf(stderr, "ostrel-zip-checks-bench: a check failed\n");
      std::exit(1);
    }
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: ostrel-zip-checks-bench ARCHIVE DEST [RUNS]\n");
    return 2;
  }
  const std::string archive = argv[1], dest = argv[2];
  const int runs = argc == 4 ? std::max(1, std::atoi(argv[3])) : 11;
  const ZipArchive zip = OpenZipArchive(archive);
  if (!zip) return 1;
  const UnzipListing listing = ListUnzipEntries(zip.get());

  const double ranges =
      MedianMs(runs, [&] { return CheckZipEntryRanges(archive, zip.get()).result == ZipRangesResult::kOk; });
  const double space = MedianMs(runs, [&] {
    const std::optional<uint64_t> free = SystemFreeSpace(dest);
    return free && DeclaredUnzipBytes(listing.entries) > 0;
  });
  const double leftovers = MedianMs(runs, [&] {
    const platform::Folder root = platform::Folder::Open(dest);
    std::unordered_set<std::string> seen;
    for (const UnzipEntry& entry : listing.entries) {
      if (entry.isFolder) continue;
      const std::vector<std::string> folder(entry.parts.begin(), entry.parts.end() - 1);
      if (seen.insert(JoinZipEntryPath(folder)).second)
        RemoveUnzipLeftovers(OpenFolderBelow(root, entry.parts, folder.size(), false));
    }
    return root.IsOpen();
  });
  std::printf("%.2f %.2f %.2f\n", ranges, space, leftovers);
  return 0;
}
