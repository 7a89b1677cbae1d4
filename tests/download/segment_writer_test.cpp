// How a segment's body becomes blocks in the receive file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <vector>

#include "download/SegmentWriter.h"
#include "tests/download/download_test_support.h"

using namespace download;

namespace {

// Records every block and checks that DoneSize never counts bytes not yet written.
class RecordingOutput : public BlockOutput {
 public:
  RecordingOutput(const std::atomic<int32_t>& doneSize, int64_t segmentStart)
      : doneSize_(doneSize), segmentStart_(segmentStart) {}

  bool WriteAt(const char* data, size_t size, int64_t offset) override {
    if (failAfter_ >= 0 && static_cast<int>(sizes.size()) >= failAfter_) return false;
    EXPECT_EQ(segmentStart_ + doneSize_.load(), offset) << "DoneSize ahead of the written bytes";
    sizes.push_back(size);
    offsets.push_back(offset);
    bytes.insert(bytes.end(), data, data + size);
    return true;
  }

  void FailFromBlock(int index) { failAfter_ = index; }

  std::vector<size_t> sizes;
  std::vector<int64_t> offsets;
  std::vector<char> bytes;

 private:
  const std::atomic<int32_t>& doneSize_;
  int64_t segmentStart_;
  int failAfter_ = -1;
};

struct WriterCase {
  std::atomic<int32_t> done{0};
  std::atomic<bool> stop{false};
  std::array<char, kBlockSize> buffer{};
};

// Feeds body in pieces of pieceSize; returns the total consumed.
size_t FeedInPieces(SegmentWriter& writer, const std::vector<char>& body, size_t pieceSize) {
  size_t consumed = 0;
  while (consumed < body.size()) {
    const size_t piece = std::min(pieceSize, body.size() - consumed);
    const size_t took = writer.Feed(body.data() + consumed, piece);
    consumed += took;
    if (took < piece) break;
  }
  return consumed;
}

}  // namespace

TEST(SegmentWriter, WritesWholeBlocksWhateverThePiecesOfTheBody) {
  // 25000 bytes: blocks of 10240, 10240 and 4520, at their offsets, whatever the piece sizes.
  const std::vector<char> body = testing_support::RandomBytes(25001);  // one surplus byte
  for (size_t piece : {size_t{25001}, size_t{1000}, size_t{7777}, size_t{10240}, size_t{1}}) {
    WriterCase c;
    RecordingOutput out(c.done, 0);
    SegmentWriter writer(out, 0, 25000, c.done, c.stop, c.buffer);
    const size_t consumed = FeedInPieces(writer, body, piece);
    EXPECT_EQ(out.sizes, (std::vector<size_t>{10240, 10240, 4520})) << "pieces of " << piece;
    EXPECT_EQ(out.offsets, (std::vector<int64_t>{0, 10240, 20480}));
    EXPECT_EQ(consumed, 25000u) << "the surplus byte is refused";
    EXPECT_EQ(writer.state(), SegmentWriter::State::Complete);
    EXPECT_EQ(c.done.load(), 25000);
    EXPECT_TRUE(std::equal(out.bytes.begin(), out.bytes.end(), body.begin()));
  }
}

TEST(SegmentWriter, AResumedSegmentContinuesAtItsNextByte) {
  // Segment 25000..50001 with 10240 done: the writer starts at 35240.
  WriterCase c;
  c.done = 10240;
  RecordingOutput out(c.done, 25000);
  SegmentWriter writer(out, 35240, 50001 - 35240, c.done, c.stop, c.buffer);
  const std::vector<char> body = testing_support::RandomBytes(50001 - 35240);
  EXPECT_EQ(FeedInPieces(writer, body, 4096), body.size());
  EXPECT_EQ(out.offsets.front(), 35240);
  EXPECT_EQ(c.done.load(), 25001);
  EXPECT_EQ(writer.state(), SegmentWriter::State::Complete);
}

TEST(SegmentWriter, AStopRequestIsSeenOnlyBetweenBlocks) {
  WriterCase c;
  RecordingOutput out(c.done, 0);
  SegmentWriter writer(out, 0, 50000, c.done, c.stop, c.buffer);
  const std::vector<char> body = testing_support::RandomBytes(50000);

  // Half a block arrives, then the stop request: the block being gathered is still completed.
  EXPECT_EQ(writer.Feed(body.data(), 5000), 5000u);
  c.stop = true;
  const size_t took = writer.Feed(body.data() + 5000, 20000);
  EXPECT_EQ(took, 10240u - 5000u);
  EXPECT_EQ(writer.state(), SegmentWriter::State::Stopped);
  EXPECT_EQ(out.sizes, (std::vector<size_t>{10240}));
  EXPECT_EQ(c.done.load(), 10240);
  EXPECT_EQ(writer.Feed(body.data() + 10240, 100), 0u);
}

TEST(SegmentWriter, AFailedWriteEndsTheBodyWithoutCountingTheBlock) {
  WriterCase c;
  RecordingOutput out(c.done, 0);
  out.FailFromBlock(1);
  SegmentWriter writer(out, 0, 30000, c.done, c.stop, c.buffer);
  const std::vector<char> body = testing_support::RandomBytes(30000);
  EXPECT_LT(writer.Feed(body.data(), body.size()), body.size());
  EXPECT_EQ(writer.state(), SegmentWriter::State::WriteFailed);
  EXPECT_EQ(c.done.load(), 10240);
}

TEST(SegmentWriter, WritesIntoTheFileAtTheSegmentsOffsets) {
  testing_support::ScratchDir dir;
  const std::string path = dir / "f.rpc";
  testing_support::WriteFile(path, std::vector<char>(30000, 0));
  const int fd = ::open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  WriterCase c;
  FileBlockOutput out(fd);
  SegmentWriter writer(out, 12345, 15000, c.done, c.stop, c.buffer);
  const std::vector<char> body = testing_support::RandomBytes(15000);
  EXPECT_EQ(FeedInPieces(writer, body, 3000), body.size());
  ::close(fd);
  const std::vector<char> file = testing_support::ReadFile(path);
  ASSERT_EQ(file.size(), 30000u);
  EXPECT_TRUE(std::equal(body.begin(), body.end(), file.begin() + 12345));
  EXPECT_EQ(file[12344], 0);
  EXPECT_EQ(file[27345], 0);
}
