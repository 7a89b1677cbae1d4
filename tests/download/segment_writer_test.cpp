// How a segment's body becomes blocks in the receive file.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <vector>

#include "download/SegmentWriter.h"
#include "tests/download/download_test_support.h"

using namespace ostrel::download;

namespace {

// Records every block, checks that DoneSize never counts bytes not yet written, and can fail.
struct Recorder : BlockOutput {
  Recorder(const std::atomic<int32_t>& done, int64_t segmentStart) : done(done), start(segmentStart) {}
  bool WriteAt(const char* data, size_t size, int64_t offset) override {
    if (static_cast<int>(sizes.size()) == failAt) return false;
    EXPECT_EQ(start + done.load(), offset) << "DoneSize ahead of the written bytes";
    sizes.push_back(size);
    offsets.push_back(offset);
    bytes.insert(bytes.end(), data, data + size);
    return true;
  }
  const std::atomic<int32_t>& done;
  int64_t start;
  int failAt = -1;
  std::vector<size_t> sizes;
  std::vector<int64_t> offsets;
  std::string bytes;
};

struct Slot {
  std::atomic<int32_t> done{0};
  std::atomic<bool> stop{false};
  std::array<char, kBlockSize> buffer{};
};

size_t FeedInPieces(SegmentWriter& writer, const std::string& body, size_t pieceSize) {
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
  // 25000 bytes from 0: blocks of 10240, 10240 and 4520, whatever the piece sizes; the one
  // surplus byte that the range brings is refused.
  const std::string body = testkit::RandomBytes(25001);
  for (size_t piece : {size_t{25001}, size_t{1000}, size_t{7777}, size_t{10240}, size_t{1}}) {
    Slot slot;
    Recorder out(slot.done, 0);
    SegmentWriter writer(out, 0, 25000, slot.done, slot.stop, slot.buffer);
    EXPECT_EQ(FeedInPieces(writer, body, piece), 25000u) << "pieces of " << piece;
    EXPECT_EQ(out.sizes, (std::vector<size_t>{10240, 10240, 4520}));
    EXPECT_EQ(out.offsets, (std::vector<int64_t>{0, 10240, 20480}));
    EXPECT_EQ(writer.state(), SegmentWriter::State::Complete);
    EXPECT_EQ(slot.done.load(), 25000);
    EXPECT_TRUE(std::equal(out.bytes.begin(), out.bytes.end(), body.begin()));
  }
  // Segment 25000..50001 with 10240 done continues at 35240.
  Slot resumed;
  resumed.done = 10240;
  Recorder out(resumed.done, 25000);
  SegmentWriter writer(out, 35240, 50001 - 35240, resumed.done, resumed.stop, resumed.buffer);
  EXPECT_EQ(FeedInPieces(writer, testkit::RandomBytes(14761), 4096), 14761u);
  EXPECT_EQ(out.offsets.front(), 35240);
  EXPECT_EQ(resumed.done.load(), 25001);
}

TEST(SegmentWriter, AStopRequestIsSeenOnlyBetweenBlocks) {
  Slot slot;
  Recorder out(slot.done, 0);
  SegmentWriter writer(out, 0, 50000, slot.done, slot.stop, slot.buffer);
  const std::string body = testkit::RandomBytes(50000);
  // Half a block arrives, then the stop request: the block being gathered is still completed.
  EXPECT_EQ(writer.Feed(body.data(), 5000), 5000u);
  slot.stop = true;
  EXPECT_EQ(writer.Feed(body.data() + 5000, 20000), 10240u - 5000u);
  EXPECT_EQ(writer.state(), SegmentWriter::State::Stopped);
  EXPECT_EQ(out.sizes, (std::vector<size_t>{10240}));
  EXPECT_EQ(slot.done.load(), 10240);
}

TEST(SegmentWriter, AFailedWriteEndsTheBodyWithoutCountingTheBlock) {
  Slot slot;
  Recorder out(slot.done, 0);
  out.failAt = 1;
  SegmentWriter writer(out, 0, 30000, slot.done, slot.stop, slot.buffer);
  const std::string body = testkit::RandomBytes(30000);
  EXPECT_LT(writer.Feed(body.data(), body.size()), body.size());
  EXPECT_EQ(writer.state(), SegmentWriter::State::WriteFailed);
  EXPECT_EQ(slot.done.load(), 10240);
}
