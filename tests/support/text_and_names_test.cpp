#include <gtest/gtest.h>

#include "platform/text_codec.h"
#include "support/UnzipEntries.h"
#include "support/ZipEntryName.h"

namespace {

const std::string kZhongwenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文
const std::string kZhongwenGbk = "\xD6\xD0\xCE\xC4";

TEST(TextCodec, Utf8ValidityIsStrict) {
  for (const char* good : {"", "plain.txt", "\xE4\xB8\xAD", "\xC2\x80", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"})
    EXPECT_TRUE(platform::IsValidUtf8(good)) << good;
  for (const char* bad : {"\x80", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xF5\x80\x80\x80", "\xE4\xB8", "\xD6\xD0\xCE\xC4", "a\xFF"})
    EXPECT_FALSE(platform::IsValidUtf8(bad)) << bad;
}

TEST(TextCodec, CodePage936RoundTrip) {
  EXPECT_EQ(platform::GbkToUtf8(kZhongwenGbk), kZhongwenUtf8);
  EXPECT_EQ(platform::Utf8ToGbk(kZhongwenUtf8), kZhongwenGbk);
  EXPECT_EQ(platform::GbkToUtf8("ascii"), "ascii");
  EXPECT_FALSE(platform::GbkToUtf8("\xD6"));          // cut-off character
  EXPECT_FALSE(platform::Utf8ToGbk("\xF0\x9F\x98\x80"));  // not in the code page
  EXPECT_FALSE(platform::Utf8ToGbk("\xFF"));
  // Lenient: a broken byte is marked and the rest still decodes.
  EXPECT_EQ(platform::GbkToUtf8Lenient("\xFF" + kZhongwenGbk), "\xEF\xBF\xBD" + kZhongwenUtf8);
}

TEST(ZipEntryNames, DecodedAsUtf8WhenValidElseAsCodePage936) {
  EXPECT_EQ(DecodeZipEntryName(kZhongwenUtf8 + ".txt"), kZhongwenUtf8 + ".txt");
  EXPECT_EQ(DecodeZipEntryName(kZhongwenGbk + "\\" + kZhongwenGbk + ".txt"),
            kZhongwenUtf8 + "\\" + kZhongwenUtf8 + ".txt");
}

TEST(ZipEntryNames, SplitIntoPartsBelowTheDestination) {
  struct Case {
    const char* name;
    std::vector<std::string> parts;
    bool folder;
  };
  for (const Case& c : std::vector<Case>{{"a.txt", {"a.txt"}, false},
                                         {"dir/sub/a.txt", {"dir", "sub", "a.txt"}, false},
                                         {"dir\\sub\\a.txt", {"dir", "sub", "a.txt"}, false},
                                         {"./dir//a.txt", {"dir", "a.txt"}, false},
                                         {"dir/", {"dir"}, true},
                                         {"dir\\", {"dir"}, true},
                                         {"a..b/c.", {"a..b", "c."}, false},
                                         {"x/C:y", {"x", "C:y"}, false}}) {
    const auto path = ZipEntryPathFromName(c.name);
    ASSERT_TRUE(path) << c.name;
    EXPECT_EQ(path->parts, c.parts) << c.name;
    EXPECT_EQ(path->isDirectory, c.folder) << c.name;
  }
}

TEST(ZipEntryNames, NamesThatCouldLeaveTheDestinationAreRejected) {
  for (const char* name : {"", "/etc/passwd", "\\evil.txt", "\\\\server\\share\\x", "C:\\evil.txt", "c:evil.txt",
                           "C:", "../x", "a/../../x", "a\\..\\x", "..", "./", "//"})
    EXPECT_FALSE(ZipEntryPathFromName(name)) << name;
  EXPECT_FALSE(ZipEntryPathFromName(std::string("a\0/../../x", 10)));
  EXPECT_FALSE(ZipEntryPathFromName(std::string("a\0b", 3)));
}

TEST(ZipEntryAttributes, DosReadOnlyAndUnixPermissions) {
  UnzipEntry dos;
  ApplyStoredAttributes(ZIP_OPSYS_DOS, 0x21, dos);  // archive + read-only
  EXPECT_TRUE(dos.readOnly);
  EXPECT_FALSE(dos.unixMode);

  UnzipEntry exe;
  ApplyStoredAttributes(ZIP_OPSYS_UNIX, (zip_unix_type::kRegular | 04755u) << 16, exe);
  EXPECT_EQ(exe.unixMode, 0755u);  // no set-id bit

  UnzipEntry link;
  ApplyStoredAttributes(ZIP_OPSYS_UNIX, (zip_unix_type::kLink | 0777u) << 16, link);
  EXPECT_FALSE(link.unixMode);  // a plain file with the default mode
  EXPECT_FALSE(link.isFolder);

  UnzipEntry folder;
  ApplyStoredAttributes(ZIP_OPSYS_UNIX, (zip_unix_type::kFolder | 0755u) << 16, folder);
  EXPECT_TRUE(folder.isFolder);

  UnzipEntry unixWithoutMode;  // Unix archive without a mode: the DOS byte counts
  ApplyStoredAttributes(ZIP_OPSYS_UNIX, 0x01, unixWithoutMode);
  EXPECT_TRUE(unixWithoutMode.readOnly);
}

}  // namespace
