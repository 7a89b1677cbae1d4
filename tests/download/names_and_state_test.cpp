// The cut into segments, the names of the resume files, and the state file.
#include <gtest/gtest.h>


#include <filesystem>
#include <set>

#include "download/DownloadSegment.h"
#include "download/ResumeNames.h"
#include "download/StateFile.h"
#include "tests/download/download_test_support.h"

using namespace ostrel::download;
using testing_support::Halves;

TEST(SegmentCut, TruncatesAndGivesTheRemainderToTheLastSegment) {
  const SegmentTable cut = CutIntoSegments(1001, 2);
  EXPECT_EQ(cut[0], (SegmentRecord{0, 500, 0}));
  EXPECT_EQ(cut[1], (SegmentRecord{500, 1001, 0}));
  const SegmentTable tiny = CutIntoSegments(1, 2);  // the first segment is empty
  EXPECT_EQ(tiny[0], (SegmentRecord{0, 0, 0}));
  EXPECT_EQ(tiny[1], (SegmentRecord{0, 1, 0}));
  const SegmentTable ten = CutIntoSegments(2147483647, 10);
  EXPECT_EQ(ten[9], (SegmentRecord{9 * 214748364, 2147483647, 0}));
}

TEST(ResumeNames, FilesBesideTheTargetAndNumberedFinalNames) {
  const TargetParts windows = SplitTarget("C:\\Program Files\\Ostrel\\pkg.zip");
  EXPECT_EQ(windows.Directory, "C:\\Program Files\\Ostrel\\");
  EXPECT_EQ(ReceiveFileName(windows), "C:\\Program Files\\Ostrel\\pkg.zip.rpc");
  EXPECT_EQ(StateFileName(windows), "C:\\Program Files\\Ostrel\\pkg.zip.rpc.cfg");
  EXPECT_EQ(SplitTarget("/tmp/a\\b/c.bin").BaseName, "c.bin");

  EXPECT_EQ(NumberedName("D:\\Pkg\\pkg.zip", 1), "D:\\Pkg\\pkg(1).zip");
  EXPECT_EQ(NumberedName("/x/archive.tar.gz", 12), "/x/archive.tar(12).gz");
  EXPECT_EQ(NumberedName("/x.d/README", 3), "/x.d/README(3)");  // a dot in a folder is no extension
  std::set<std::string> taken = {"/d/pkg.zip", "/d/pkg(1).zip"};
  auto exists = [&](const std::string& p) { return taken.count(p) > 0; };
  EXPECT_EQ(FirstFreeName("/d/pkg.zip", exists), "/d/pkg(2).zip");
  EXPECT_EQ(FirstFreeName("/d/new.zip", exists), "/d/new.zip");
}

TEST(StateFile, IsLittleEndianHeaderAndTwelveBytesPerSegment) {
  const std::vector<uint8_t> bytes = EncodeState(Halves(1001, 300, 501));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0xE9, 0x03, 0, 0, 2, 0, 0, 0,                           //
                                         0, 0, 0, 0, 0xF4, 0x01, 0, 0, 0x2C, 0x01, 0, 0,         //
                                         0xF4, 0x01, 0, 0, 0xE9, 0x03, 0, 0, 0xF5, 0x01, 0, 0}));
  const auto decoded = DecodeState(bytes);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(EncodeState(*decoded), bytes);
}

TEST(StateFile, ValuesThatDoNotDescribeADownloadAreRefused) {
  const std::vector<uint8_t> good = EncodeState(Halves(1001, 300, 501));
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  std::vector<uint8_t> eleven = {0xE9, 0x03, 0, 0, 11, 0, 0, 0};
  eleven.resize(8 + 12 * 11, 0);
  for (const auto& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>(good.begin(), good.end() - 1),
                            longer, std::vector<uint8_t>(32, 0), std::vector<uint8_t>{0xE9, 3, 0, 0, 0, 0, 0, 0},
                            eleven})
    EXPECT_FALSE(DecodeState(bytes).has_value()) << bytes.size() << " bytes";

  auto refused = [](void (*change)(DownloadState&)) {
    DownloadState s = Halves(1001, 300, 501);
    change(s);
    return !DecodeState(EncodeState(s)).has_value();
  };
  EXPECT_TRUE(refused([](DownloadState& s) { s.TotalSize = 0; }));
  EXPECT_TRUE(refused([](DownloadState& s) { s.TotalSize = -5; }));
  EXPECT_TRUE(refused([](DownloadState& s) { s.Segments[1].StartPos = 400; }));  // overlap
  EXPECT_TRUE(refused([](DownloadState& s) { s.Segments[1].StartPos = 600; }));  // gap
  EXPECT_TRUE(refused([](DownloadState& s) { s.Segments[1].EndPos = 2000; }));   // beyond the size
  EXPECT_TRUE(refused([](DownloadState& s) { s.Segments[0].DoneSize = 501; }));  // beyond the segment
  EXPECT_TRUE(refused([](DownloadState& s) { s.Segments[0].DoneSize = -1; }));
}

TEST(StateFile, SaveReplacesTheOldFileWholeOrNotAtAll) {
  const testkit::TempDir scratch;
  const std::string dir = scratch.path().string(), path = dir + "/pkg.zip.rpc.cfg";
  ASSERT_TRUE(WriteStateFile(path, Halves(1001, 0, 0)));
  ASSERT_TRUE(WriteStateFile(path, Halves(1001, 500, 0)));
  EXPECT_EQ(testkit::ReadFile(path).size(), 32u);
  EXPECT_EQ(ReadStateFile(path)->Segments[0].DoneSize, 500);
  // A save that can't be put in place (a folder holds the name) fails and leaves no temporary.
  const std::string blocked = dir + "/blocked.rpc.cfg";
  ASSERT_TRUE(std::filesystem::create_directory(blocked));
  EXPECT_FALSE(WriteStateFile(blocked, Halves(1001, 100, 0)));
  const auto entries = std::distance(std::filesystem::directory_iterator(dir), {});
  EXPECT_EQ(entries, 2) << "a temporary file was left behind";
  EXPECT_FALSE(ReadStateFile(dir + "/missing.rpc.cfg").has_value());
  std::filesystem::remove_all(dir);
}
