// The cut into segments, the names of the resume files, and the state file format.
#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>

#include "download/DownloadSegment.h"
#include "download/ResumeNames.h"
#include "download/StateFile.h"
#include "tests/download/download_test_support.h"

using namespace download;
using testing_support::ScratchDir;

TEST(SegmentCut, TruncatesAndGivesTheRemainderToTheLastSegment) {
  const SegmentTable cut = CutIntoSegments(1001, 2);
  EXPECT_EQ(cut[0], (SegmentRecord{0, 500, 0}));
  EXPECT_EQ(cut[1], (SegmentRecord{500, 1001, 0}));

  // One byte in two: the first segment is empty, the second holds the byte.
  const SegmentTable tiny = CutIntoSegments(1, 2);
  EXPECT_EQ(tiny[0], (SegmentRecord{0, 0, 0}));
  EXPECT_EQ(tiny[1], (SegmentRecord{0, 1, 0}));

  const SegmentTable ten = CutIntoSegments(2147483647, 10);
  EXPECT_EQ(ten[9].StartPos, 9 * 214748364);
  EXPECT_EQ(ten[9].EndPos, 2147483647);
}

TEST(ResumeNames, SplitAtTheLastSeparatorOfEitherKind) {
  const TargetParts windows = SplitTarget("C:\\Program Files\\Ostrel\\pkg.zip");
  EXPECT_EQ(windows.Directory, "C:\\Program Files\\Ostrel\\");
  EXPECT_EQ(windows.BaseName, "pkg.zip");
  EXPECT_EQ(ReceiveFileName(windows), "C:\\Program Files\\Ostrel\\pkg.zip.rpc");
  EXPECT_EQ(StateFileName(windows), "C:\\Program Files\\Ostrel\\pkg.zip.rpc.cfg");

  const TargetParts host = SplitTarget("/tmp/a\\b/c.bin");
  EXPECT_EQ(host.Directory, "/tmp/a\\b/");
  EXPECT_EQ(host.BaseName, "c.bin");
  EXPECT_EQ(SplitTarget("plain.zip").Directory, "");
}

TEST(ResumeNames, NumberedNamesKeepTheExtensionOfTheFileNameOnly) {
  EXPECT_EQ(NumberedName("D:\\Pkg\\pkg.zip", 1), "D:\\Pkg\\pkg(1).zip");
  EXPECT_EQ(NumberedName("/x/archive.tar.gz", 12), "/x/archive.tar(12).gz");
  EXPECT_EQ(NumberedName("/x/README", 2), "/x/README(2)");
  EXPECT_EQ(NumberedName("/x.d/README", 3), "/x.d/README(3)");  // a dot in a folder is no extension
  EXPECT_EQ(NumberedName("C:\\v1.2\\setup", 1), "C:\\v1.2\\setup(1)");

  std::set<std::string> taken = {"/d/pkg.zip", "/d/pkg(1).zip"};
  auto exists = [&](const std::string& p) { return taken.count(p) > 0; };
  EXPECT_EQ(FirstFreeName("/d/pkg.zip", exists), "/d/pkg(2).zip");
  EXPECT_EQ(FirstFreeName("/d/other.zip", exists), "/d/other.zip");
}

namespace {

DownloadState TwoSegments() {
  DownloadState s;
  s.TotalSize = 1001;
  s.SegmentCount = 2;
  s.Segments[0] = {0, 500, 300};
  s.Segments[1] = {500, 1001, 501};
  return s;
}

}  // namespace

TEST(StateFile, IsLittleEndianHeaderAndTwelveBytesPerSegment) {
  const std::vector<uint8_t> bytes = EncodeState(TwoSegments());
  const std::vector<uint8_t> expected = {
      0xE9, 0x03, 0, 0, 2, 0, 0, 0,              // TotalSize 1001, SegmentCount 2
      0, 0, 0, 0, 0xF4, 0x01, 0, 0, 0x2C, 0x01, 0, 0,  // 0, 500, 300
      0xF4, 0x01, 0, 0, 0xE9, 0x03, 0, 0, 0xF5, 0x01, 0, 0,  // 500, 1001, 501
  };
  EXPECT_EQ(bytes.size(), 32u);
  EXPECT_EQ(bytes, expected);

  const auto decoded = DecodeState(bytes);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->TotalSize, 1001);
  EXPECT_EQ(decoded->SegmentCount, 2);
  EXPECT_EQ(decoded->Segments[0], (SegmentRecord{0, 500, 300}));
  EXPECT_EQ(decoded->Segments[1], (SegmentRecord{500, 1001, 501}));
}

TEST(StateFile, ValuesThatDoNotDescribeADownloadAreRefused) {
  auto refused = [](const DownloadState& s) { return !DecodeState(EncodeState(s)).has_value(); };
  std::vector<uint8_t> good = EncodeState(TwoSegments());

  EXPECT_FALSE(DecodeState({}).has_value());
  EXPECT_FALSE(DecodeState(std::vector<uint8_t>(good.begin(), good.end() - 1)).has_value());  // short
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_FALSE(DecodeState(longer).has_value());
  EXPECT_FALSE(DecodeState(std::vector<uint8_t>(32, 0)).has_value());  // all zero

  DownloadState s = TwoSegments();
  s.TotalSize = 0;
  EXPECT_TRUE(refused(s));
  s = TwoSegments();
  s.TotalSize = -5;
  EXPECT_TRUE(refused(s));
  EXPECT_FALSE(DecodeState({0xE9, 0x03, 0, 0, 0, 0, 0, 0}).has_value());  // count 0: no records
  s = TwoSegments();
  s.Segments[1].StartPos = 400;  // overlaps segment 1
  EXPECT_TRUE(refused(s));
  s = TwoSegments();
  s.Segments[1].StartPos = 600;  // leaves a gap
  EXPECT_TRUE(refused(s));
  s = TwoSegments();
  s.Segments[1].EndPos = 2000;  // beyond the size
  EXPECT_TRUE(refused(s));
  s = TwoSegments();
  s.Segments[0].DoneSize = 501;  // more than the segment holds
  EXPECT_TRUE(refused(s));
  s = TwoSegments();
  s.Segments[0].DoneSize = -1;
  EXPECT_TRUE(refused(s));

  std::vector<uint8_t> eleven = {0xE9, 0x03, 0, 0, 11, 0, 0, 0};
  eleven.resize(8 + 12 * 11, 0);
  EXPECT_FALSE(DecodeState(eleven).has_value());
}

TEST(StateFile, SaveReplacesTheOldFileWholeOrNotAtAll) {
  ScratchDir dir;
  const std::string path = dir / "pkg.zip.rpc.cfg";
  ASSERT_TRUE(WriteStateFile(path, TwoSegments()));
  EXPECT_EQ(testing_support::ReadFile(path).size(), 32u);
  EXPECT_FALSE(testing_support::Exists(path + ".tmp"));

  DownloadState later = TwoSegments();
  later.Segments[0].DoneSize = 500;
  ASSERT_TRUE(WriteStateFile(path, later));
  EXPECT_EQ(ReadStateFile(path)->Segments[0].DoneSize, 500);

  // When the new state cannot be written, the old one stays intact.
  ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0755), 0);
  DownloadState failing = TwoSegments();
  failing.Segments[0].DoneSize = 100;
  EXPECT_FALSE(WriteStateFile(path, failing));
  const auto kept = ReadStateFile(path);
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->Segments[0].DoneSize, 500);

  EXPECT_FALSE(ReadStateFile(dir / "missing.rpc.cfg").has_value());
}
