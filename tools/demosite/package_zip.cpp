#include "tools/demosite/package_zip.h"

#include <zip.h>

#include <optional>

#include "platform/text_codec.h"

namespace ostrel::demosite {

namespace {

// External attributes: the Unix mode with its file type in the high half, DOS flags in the low.
constexpr uint32_t kUnixFolder = 0040000;
constexpr uint32_t kUnixFile = 0100000;
constexpr uint32_t kDosDirectory = 0x10;

// The stored bytes of a name and the libzip flag that says how they are encoded.
std::optional<std::string> StoredName(const PackageEntry& entry, zip_flags_t& encoding) {
  if (entry.form == NameForm::kUtf8) {
    encoding = ZIP_FL_ENC_UTF_8;
    return entry.name;
  }
  // Stored as unmarked bytes; a reader that knows no code page takes them for CP437.
  encoding = ZIP_FL_ENC_CP437;
  std::optional<std::string> bytes = platform::Utf8ToGbk(entry.name);
  // Bytes that also read as UTF-8 would be taken for UTF-8 by the extractor.
  if (bytes && *bytes != entry.name && platform::IsValidUtf8(*bytes)) return std::nullopt;
  return bytes;
}

uint32_t ExternalAttributes(const PackageEntry& entry, bool isFolder) {
  const uint32_t type = isFolder ? kUnixFolder : kUnixFile;
  return ((type | (entry.unixMode & 07777)) << 16) | (isFolder ? kDosDirectory : 0);
}

bool AddEntry(zip_t* zip, const PackageEntry& entry, std::string& reason) {
  zip_flags_t encoding = 0;
  const std::optional<std::string> name = StoredName(entry, encoding);
  if (!name) {
    reason = "the name " + entry.name + " cannot be stored in code page 936";
    return false;
  }
  const bool isFolder = !entry.name.empty() && entry.name.back() == '/';
  zip_int64_t index = -1;
  if (isFolder) {
    index = zip_dir_add(zip, name->c_str(), encoding);
  } else {
    zip_source_t* source = zip_source_buffer(zip, entry.data.data(), entry.data.size(), 0);
    if (source) {
      index = zip_file_add(zip, name->c_str(), source, encoding);
      if (index < 0) zip_source_free(source);
    }
  }
  if (index < 0) {
    reason = "cannot add " + entry.name + ": " + zip_strerror(zip);
    return false;
  }
  const auto at = static_cast<zip_uint64_t>(index);
  const bool ok =
      (isFolder || zip_set_file_compression(zip, at, entry.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 9) == 0) &&
      zip_file_set_external_attributes(zip, at, 0, ZIP_OPSYS_UNIX, ExternalAttributes(entry, isFolder)) == 0 &&
      zip_file_set_dostime(zip, at, kDosTime, kDosDate, 0) == 0;
  if (!ok) reason = "cannot set the attributes of " + entry.name + ": " + zip_strerror(zip);
  return ok;
}

}  // namespace

bool WritePackageZip(const std::string& path, const std::vector<PackageEntry>& entries, std::string& reason) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!zip) {
    zip_error_t details;
    zip_error_init_with_code(&details, error);
    reason = path + ": " + zip_error_strerror(&details);
    zip_error_fini(&details);
    return false;
  }
  for (const PackageEntry& entry : entries) {
    if (!AddEntry(zip, entry, reason)) {
      zip_discard(zip);
      return false;
    }
  }
  if (zip_close(zip) != 0) {
    reason = path + ": " + zip_strerror(zip);
    zip_discard(zip);
    return false;
  }
  return true;
}

}  // namespace ostrel::demosite
