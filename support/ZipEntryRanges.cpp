#include "support/ZipEntryRanges.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/file.h"
#include "support/ZipCentralDirectory.h"

namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kDescriptorSignature = 0x08074b50;
constexpr uint64_t kLocalSize = 30;
constexpr uint64_t kShortestDescriptor = 12;

struct Range {
  uint64_t start = 0;
  uint64_t end = 0;  // one past the last byte
  size_t entry = 0;
};

uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// The library's own view of entry i: the same name (up to a NUL, as it gives
// names) and the same compressed size.
bool LibraryAgrees(zip_t* archive, zip_uint64_t i, const ZipCentralEntry& entry) {
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(archive, i, ZIP_FL_ENC_RAW, &st) != 0 || !(st.valid & ZIP_STAT_NAME) ||
      !(st.valid & ZIP_STAT_COMP_SIZE) || !st.name)
    return false;
  const size_t nameSize = std::strlen(st.name);
  return st.comp_size == entry.compressedSize && nameSize == strnlen(entry.name.c_str(), entry.name.size()) &&
         entry.name.compare(0, nameSize, st.name) == 0;
}

bool Agrees(zip_t* archive, const ZipCentralDirectory& directory) {
  if (zip_get_num_entries(archive, 0) != static_cast<zip_int64_t>(directory.entries.size())) return false;
  for (size_t i = 0; i < directory.entries.size(); ++i)
    if (!LibraryAgrees(archive, i, directory.entries[i])) return false;
  return true;
}

// Where the entry's bytes end: after its data and data descriptor.
std::optional<Range> RangeOf(platform::File& file, const ZipCentralEntry& entry) {
  unsigned char local[kLocalSize];
  if (file.ReadAt(local, sizeof local, static_cast<int64_t>(entry.localOffset)) != int64_t(sizeof local) ||
      Le32(local) != kLocalSignature)
    return std::nullopt;
  const uint64_t dataStart = entry.localOffset + kLocalSize + Le16(local + 26) + Le16(local + 28);
  if (entry.compressedSize > UINT64_MAX - dataStart - kShortestDescriptor - 4) return std::nullopt;
  uint64_t end = dataStart + entry.compressedSize;
  if (entry.flags & kZipFlagDataDescriptor) {
    unsigned char signature[4];
    const bool hasSignature =
        file.ReadAt(signature, 4, static_cast<int64_t>(end)) == 4 && Le32(signature) == kDescriptorSignature;
    end += kShortestDescriptor + (hasSignature ? 4 : 0);
  }
  return Range{entry.localOffset, end, 0};
}

std::string Name(const ZipCentralDirectory& directory, size_t i) {
  const std::string& name = directory.entries[i].name;
  return name.substr(0, strnlen(name.c_str(), name.size()));
}

}  // namespace

ZipRangesCheck CheckZipEntryRanges(const std::string& hostPath, zip_t* archive) {
  // Opened as every file here is: a link in its place is not followed.
  platform::File file = platform::File::Open(hostPath, platform::File::Mode::Read);
  if (!file.IsOpen()) return {ZipRangesResult::kUnreadable, platform::FileErrorText(file.Error())};
  const std::optional<ZipCentralDirectory> directory =
      ReadZipCentralDirectory(file, [archive](const ZipCentralDirectory& d) { return Agrees(archive, d); });
  if (!directory) return {ZipRangesResult::kUnreadable, "the central directory"};

  std::vector<Range> ranges;
  ranges.reserve(directory->entries.size());
  for (size_t i = 0; i < directory->entries.size(); ++i) {
    std::optional<Range> range = RangeOf(file, directory->entries[i]);
    if (!range) return {ZipRangesResult::kUnreadable, "the local header of " + Name(*directory, i)};
    range->entry = i;
    if (range->end > directory->offset)
      return {ZipRangesResult::kOverlapping, Name(*directory, i) + " and the central directory"};
    ranges.push_back(*range);
  }
  std::sort(ranges.begin(), ranges.end(),
            [](const Range& a, const Range& b) { return a.start != b.start ? a.start < b.start : a.entry < b.entry; });
  for (size_t i = 1; i < ranges.size(); ++i)
    if (ranges[i].start < ranges[i - 1].end)
      return {ZipRangesResult::kOverlapping,
              Name(*directory, ranges[i - 1].entry) + " and " + Name(*directory, ranges[i].entry)};
  return {};
}
