#include "zip_writer.h"

#include <zip.h>
#include <zlib.h>

#include <stdexcept>

#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"

void WriteZip(const fs::path& archive, const std::vector<TestEntry>& entries) {
  int error = 0;
  zip_t* zip = zip_open(testkit::Utf8Text(archive).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!zip) throw std::runtime_error("zip_open failed");
  for (const TestEntry& e : entries) {
    zip_int64_t index;
    if (!e.name.empty() && e.name.back() == '/') {
      index = zip_dir_add(zip, e.name.c_str(), ZIP_FL_ENC_GUESS);
    } else {
      zip_source_t* source = zip_source_buffer(zip, e.data.data(), e.data.size(), 0);
      index = zip_file_add(zip, e.name.c_str(), source, ZIP_FL_ENC_GUESS);
      if (index >= 0 && e.method >= 0)
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), e.method, 0);
    }
    if (index < 0) throw std::runtime_error("cannot add " + e.name + ": " + zip_strerror(zip));
    if (e.attributes)
      zip_file_set_external_attributes(zip, static_cast<zip_uint64_t>(index), 0, e.attributes->first,
                                       e.attributes->second);
  }
  if (zip_close(zip) != 0) throw std::runtime_error("zip_close failed");
}

ZipBytes::ZipBytes(fs::path archive) : path_(std::move(archive)), bytes_(testkit::ReadFile(path_)) {}

void ZipBytes::Save() const { testkit::WriteFile(path_, bytes_); }

uint32_t ZipBytes::Get(size_t at, int bytes) const {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes_.at(at + i));
  return v;
}

void ZipBytes::Put(size_t at, int bytes, uint32_t value) {
  for (int i = 0; i < bytes; ++i) bytes_.at(at + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
}

size_t ZipBytes::Central(size_t entry) const {
  const size_t end = bytes_.size() - 22;  // end record without comment
  if (Get(end, 4) != 0x06054b50) throw std::runtime_error("no end record");
  size_t at = Get(end + 16, 4);
  for (size_t i = 0; i < entry; ++i) at += 46 + Get(at + 28, 2) + Get(at + 30, 2) + Get(at + 32, 2);
  if (Get(at, 4) != 0x02014b50) throw std::runtime_error("no central entry");
  return at;
}

size_t ZipBytes::Local(size_t entry) const { return Get(Central(entry) + 42, 4); }

void ZipBytes::ClearUtf8Flag(size_t entry) {
  Put(Central(entry) + 8, 2, Get(Central(entry) + 8, 2) & ~0x0800u);
  Put(Local(entry) + 6, 2, Get(Local(entry) + 6, 2) & ~0x0800u);
}

void ZipBytes::SetCrc(size_t entry, uint32_t crc) {
  Put(Central(entry) + 16, 4, crc);
  Put(Local(entry) + 14, 4, crc);
}

void ZipBytes::SetUncompressedSize(size_t entry, uint32_t size) {
  Put(Central(entry) + 24, 4, size);
  Put(Local(entry) + 22, 4, size);
}

void ZipBytes::SetNameByte(size_t entry, size_t pos, char byte) {
  bytes_.at(Central(entry) + 46 + pos) = byte;
  bytes_.at(Local(entry) + 30 + pos) = byte;
}

void ZipBytes::FlipFirstDataByte(size_t entry) {
  const size_t local = Local(entry);
  bytes_.at(local + 30 + Get(local + 26, 2) + Get(local + 28, 2)) ^= 0x55;
}

uint32_t ZipBytes::CompressedSize(size_t entry) const { return Get(Central(entry) + 20, 4); }

void ZipBytes::SetCompressedSize(size_t entry, uint32_t size) {
  Put(Central(entry) + 20, 4, size);
  Put(Local(entry) + 18, 4, size);
}

void ZipBytes::ShareLocalHeader(size_t entry, size_t other) { Put(Central(entry) + 42, 4, Local(other)); }

namespace {

std::string Le(uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

uint32_t Crc(const std::string& data) {
  return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

// Version, flags, method (stored), time and date, CRC-32, sizes, name size.
std::string CommonFields(const RawEntry& e) {
  const bool descriptor = e.descriptor != RawEntry::kNoDescriptor;
  const uint32_t size = descriptor ? 0 : static_cast<uint32_t>(e.data.size());
  return Le(20, 2) + Le(descriptor ? 0x0008 : 0, 2) + Le(0, 2) + Le(0, 2) + Le(0x21, 2) +
         Le(descriptor ? 0 : Crc(e.data), 4) + Le(size, 4) + Le(size, 4) + Le(static_cast<uint32_t>(e.name.size()), 2);
}

std::string LocalRecord(const RawEntry& e) {
  std::string out = Le(0x04034b50, 4) + CommonFields(e) + Le(0, 2) + e.name + e.data;
  if (e.descriptor == RawEntry::kSignedDescriptor) out += Le(0x08074b50, 4);
  const auto size = static_cast<uint32_t>(e.data.size());
  if (e.descriptor != RawEntry::kNoDescriptor) out += Le(Crc(e.data), 4) + Le(size, 4) + Le(size, 4);
  return out;
}

// The central record; the central directory always has the real sizes.
std::string CentralRecord(const RawEntry& e, uint32_t offset) {
  RawEntry sized = e;
  sized.descriptor = RawEntry::kNoDescriptor;
  const std::string common = CommonFields(sized);
  const std::string flags = Le(e.descriptor != RawEntry::kNoDescriptor ? 0x0008 : 0, 2);
  return Le(0x02014b50, 4) + Le(20, 2) + common.substr(0, 2) + flags + common.substr(4) + Le(0, 2) + Le(0, 2) +
         Le(0, 2) + Le(0, 2) + Le(0, 4) + Le(offset, 4) + e.name;
}

std::string EndRecord(size_t count, size_t directorySize, size_t directoryOffset) {
  const auto n = static_cast<uint32_t>(count);
  return Le(0x06054b50, 4) + Le(0, 2) + Le(0, 2) + Le(n, 2) + Le(n, 2) + Le(static_cast<uint32_t>(directorySize), 4) +
         Le(static_cast<uint32_t>(directoryOffset), 4) + Le(0, 2);
}

}  // namespace

void WriteRawZip(const fs::path& archive, const std::vector<RawEntry>& entries) {
  std::string body, directory;
  for (const RawEntry& e : entries) {
    directory += CentralRecord(e, static_cast<uint32_t>(body.size()));
    body += LocalRecord(e);
  }
  testkit::WriteFile(archive, body + directory + EndRecord(entries.size(), directory.size(), body.size()));
}

void WriteEntryInsideAnother(const fs::path& archive, const RawEntry& outer, const RawEntry& inner) {
  RawEntry wrapping = outer;
  wrapping.data = LocalRecord(inner);
  const std::string body = LocalRecord(wrapping);
  const auto innerOffset = static_cast<uint32_t>(30 + outer.name.size());  // right after the outer local header
  const std::string directory = CentralRecord(wrapping, 0) + CentralRecord(inner, innerOffset);
  testkit::WriteFile(archive, body + directory + EndRecord(2, directory.size(), body.size()));
}
