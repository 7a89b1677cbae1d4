#include "support/UnzipEntries.h"

#include <algorithm>

#include "support/UnzipJournal.h"
#include "support/ZipEntryName.h"

namespace {

constexpr zip_uint32_t kDosReadOnly = 0x01;
constexpr zip_uint32_t kDosHidden = 0x02;
constexpr zip_uint32_t kDosSystem = 0x04;
constexpr zip_uint32_t kDosDirectory = 0x10;

}  // namespace

void ApplyStoredAttributes(zip_uint8_t opsys, zip_uint32_t attributes, UnzipEntry& entry) {
  const uint32_t unixMode = attributes >> 16;
  if ((opsys == ZIP_OPSYS_UNIX || opsys == ZIP_OPSYS_OS_X) && unixMode != 0) {
    const uint32_t type = unixMode & zip_unix_type::kMask;
    if (type == zip_unix_type::kFolder) entry.isFolder = true;
    // Folders keep the default mode, links and special files become plain
    // files with the default mode; set-id and sticky bits are never restored.
    if (type == 0 || type == zip_unix_type::kRegular) entry.unixMode = unixMode & 0777;
    return;
  }
  if (attributes & kDosDirectory) entry.isFolder = true;
  entry.readOnly = (attributes & kDosReadOnly) != 0;
  entry.hidden = (attributes & kDosHidden) != 0;
  entry.system = (attributes & kDosSystem) != 0;
}

UnzipListing ListUnzipEntries(zip_t* archive) {
  UnzipListing listing;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, index, ZIP_FL_ENC_RAW, &st) != 0 || !(st.valid & ZIP_STAT_NAME) || !st.name) {
      ++listing.unreadable;
      continue;
    }
    const std::optional<ZipEntryPath> path = ZipEntryPathFromName(DecodeZipEntryName(st.name));
    // A name the extraction keeps for its own files is never an entry's.
    if (!path || std::any_of(path->parts.begin(), path->parts.end(), IsUnzipBookkeepingName)) {
      ++listing.rejectedNames;
      continue;
    }
    UnzipEntry entry;
    entry.index = index;
    entry.parts = path->parts;
    entry.isFolder = path->isDirectory;
    if (st.valid & ZIP_STAT_SIZE) entry.size = st.size;
    if (st.valid & ZIP_STAT_COMP_METHOD) entry.method = st.comp_method;
    if (st.valid & ZIP_STAT_ENCRYPTION_METHOD) entry.encrypted = st.encryption_method != ZIP_EM_NONE;
    if (st.valid & ZIP_STAT_CRC) entry.crc = st.crc;
    if (st.valid & ZIP_STAT_MTIME) entry.mtime = st.mtime;
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &opsys, &attributes) == 0)
      ApplyStoredAttributes(opsys, attributes, entry);
    listing.entries.push_back(std::move(entry));
  }
  return listing;
}
