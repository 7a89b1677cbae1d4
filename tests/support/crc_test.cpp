#include <cstdint>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/CRC_32.h"
#include "support/PubCrc.h"
#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"
#include "tests/testkit/temp_dir.h"
#include "tests/testkit/temp_prefix.h"

namespace {

namespace fs = std::filesystem;

// The definition: one table lookup per byte.
uint32_t ReferenceUpdate(uint32_t crc, const unsigned char* p, size_t n) {
  while (n--) crc = CRC32Table[(crc ^ *p++) & 0xFF] ^ (crc >> 8);
  return crc;
}

const unsigned char* Bytes(const std::string& s, size_t offset = 0) {
  return reinterpret_cast<const unsigned char*>(s.data()) + offset;
}

TEST(Crc32Table, HasTheStandardEntriesOfThePolynomial) {
  EXPECT_EQ(CRC32Table[0], 0x00000000u);
  EXPECT_EQ(CRC32Table[1], 0x77073096u);
  EXPECT_EQ(CRC32Table[2], 0xEE0E612Cu);
  EXPECT_EQ(CRC32Table[3], 0x990951BAu);
  EXPECT_EQ(CRC32Table[255], 0x2D02EF8Du);
}

// Every implementation against the definition: lengths around the read block,
// short lengths at every misalignment, and a register carried across calls.
TEST(UpdateCRC32, EveryPathEqualsTheDefinition) {
  const std::string data = testkit::RandomBytes(140 * 1024, 7);
  struct Impl {
    const char* name;
    uint32_t (*update)(uint32_t, const unsigned char*, size_t);
  };
  std::vector<Impl> impls = {
      {"sliced", crc32_detail::UpdateSliced},
      {"dispatched", [](uint32_t crc, const unsigned char* p, size_t n) {
         UpdateCRC32(p, static_cast<uint32_t>(n), crc);
         return crc;
       }}};
  if (crc32_detail::FoldingAvailable())
    impls.push_back({"folded", crc32_detail::UpdateFolded});
  else
    std::printf("carry-less multiply not available: folding path not tested\n");

  for (const Impl& impl : impls) {
    SCOPED_TRACE(impl.name);
    for (size_t len : {32768 - 200, 131072 - 200})
      for (size_t n = len; n <= len + 400; ++n)
        ASSERT_EQ(impl.update(0xFFFFFFFF, Bytes(data, 3), n), ReferenceUpdate(0xFFFFFFFF, Bytes(data, 3), n)) << n;
    for (size_t offset = 0; offset < 16; ++offset)
      for (size_t n = 1; n <= 300; ++n)
        ASSERT_EQ(impl.update(0x12345678, Bytes(data, offset), n), ReferenceUpdate(0x12345678, Bytes(data, offset), n))
            << offset << "+" << n;
    const uint32_t whole = ReferenceUpdate(0xFFFFFFFF, Bytes(data), data.size());
    uint32_t chained = impl.update(0xFFFFFFFF, Bytes(data), 1000);
    chained = impl.update(chained, Bytes(data, 1000), data.size() - 1000);
    EXPECT_EQ(chained, whole);
  }
}

class FileCrc : public ::testing::Test {
 protected:
  // The path text of a new file holding data.
  std::string Make(const std::string& name, const std::string& data) {
    testkit::WriteFile(dir / name, data);
    return (dir / name).string();
  }
  testkit::TempDir dir;
};

TEST_F(FileCrc, TextFormsOfTheCheckValues) {
  EXPECT_EQ(GetFileCRC(Make("empty", "")), "00");
  EXPECT_EQ(GetFileCRC(Make("c", "c")), "6B9DF6F");  // seven digits: no leading zero
  EXPECT_EQ(GetFileCRC(Make("abc", "abc")), "352441C2");
  EXPECT_EQ(GetFileCRC(Make("check", "123456789")), "CBF43926");
  EXPECT_EQ(CrcText(0x0F), "0F");
  EXPECT_EQ(CrcText(0x10), "10");
}

TEST_F(FileCrc, CountsBytesAcrossReadBlocks) {
  const std::string data = testkit::RandomBytes(300 * 1024, 11);
  for (size_t n : {32767, 32768, 32769, 131071, 131072, 131073, 300 * 1024}) {
    const fs::path file = Make("f" + std::to_string(n), data.substr(0, n));
    uint32_t crc = 0;
    int64_t count = -1;
    uint16_t io = 99;
    CalcFileCRC32(file.string(), crc, count, io);
    EXPECT_EQ(io, 0);
    EXPECT_EQ(count, static_cast<int64_t>(n));
    EXPECT_EQ(crc, ~ReferenceUpdate(0xFFFFFFFF, Bytes(data), n)) << n;
  }
}

TEST_F(FileCrc, FailuresGiveTheEmptyTextAndASystemCode) {
  uint32_t crc = 1;
  int64_t count = 1234;
  uint16_t io = 0;
  CalcFileCRC32((dir / "missing").string(), crc, count, io);
  EXPECT_EQ(io, 2);
  EXPECT_EQ(crc, 0u);
  EXPECT_EQ(count, 1234);  // untouched by a failed open
  EXPECT_EQ(GetFileCRC((dir / "missing").string()), "");

  Make("plain", "x");
  CalcFileCRC32((dir / "plain" / "below").string(), crc, count, io);
  EXPECT_EQ(io, 3);  // a file where a folder should be

  CalcFileCRC32(dir.path().string(), crc, count, io);
#ifdef _WIN32
  EXPECT_TRUE(io == 5 || io == 267) << io;  // a folder: Windows denies access, Wine says "a folder"
#else
  EXPECT_EQ(io, 5);  // a folder
#endif
  EXPECT_EQ(GetFileCRC(dir.path().string()), "");
}

TEST_F(FileCrc, UnreadableFileGivesTheEmptyText) {
  if (!testkit::PermissionBitsBindUs()) GTEST_SKIP() << "permission bits do not stop this process";
  const fs::path file = Make("secret", "abc");
  fs::permissions(file, fs::perms::none);
  uint32_t crc;
  int64_t count = 0;
  uint16_t io = 0;
  CalcFileCRC32(file.string(), crc, count, io);
  EXPECT_EQ(io, 5);
  EXPECT_EQ(GetFileCRC(file.string()), "");
}

TEST_F(FileCrc, WindowsPathTextsGoThroughThePrefix) {
  TESTKIT_SKIP_ON_WINDOWS("the prefix; on Windows C:\\ is the real drive");
  testkit::TempPrefix prefix;
  testkit::WriteFile(prefix.driveC() / "Pkg" / "abc.zip", "abc");
  EXPECT_EQ(GetFileCRC("C:\\Pkg\\abc.zip"), "352441C2");
}

}  // namespace
