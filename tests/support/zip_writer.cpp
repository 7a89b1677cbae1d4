#include "zip_writer.h"

#include <zip.h>

#include <stdexcept>

void WriteZip(const fs::path& archive, const std::vector<TestEntry>& entries) {
  int error = 0;
  zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
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

ZipBytes::ZipBytes(fs::path archive) : path_(std::move(archive)), bytes_(ReadFile(path_)) {}

void ZipBytes::Save() const { WriteFile(path_, bytes_); }

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
