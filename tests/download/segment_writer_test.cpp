// How a segment's body becomes large writes in the receive file.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "download/SegmentWriter.h"
#include "tests/download/download_test_support.h"

using namespace ostrel::download;
using Sizes = std::vector<size_t>;

namespace {

// Records every write, checks that DoneSize never counts bytes not yet written, and can fail.
struct Recorder : BlockOutput {
  Recorder(const std::atomic<int32_t>& done, int64_t segmentStart) : done(done), start(segmentStart) {}
  bool WriteAt(const char* data, size_t size, int64_t offset) override {
    if (static_cast<int>(sizes.size()) == failAt) return false;
    EXPECT_EQ(start + done.load(), offset) << "DoneSize ahead of the written bytes";
    sizes.push_back(size);
    bytes.append(data, size);
    return true;
  }
  const std::atomic<int32_t>& done;
  int64_t start;
  int failAt = -1;
  Sizes sizes;
  std::string bytes;
};

// One worker's side of a segment that starts at 0: its counters, a 4096-byte buffer, a writer.
struct Worker {
  explicit Worker(int32_t length, int32_t doneBefore = 0) : done(doneBefore), out(done, 0) {
    writer = std::make_unique<SegmentWriter>(out, doneBefore, length - doneBefore, done, stop, buffer);
  }
  std::atomic<int32_t> done;
  std::atomic<bool> stop{false};
  std::vector<char> buffer = std::vector<char>(4096);
  Recorder out;
  std::unique_ptr<SegmentWriter> writer;
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

TEST(SegmentWriter, GathersSmallPiecesIntoWholeBuffersAndWritesLargeOnesStraight) {
  // 10000 bytes plus the surplus byte of the range, which is refused.
  const std::string body = testkit::RandomBytes(10001);
  const struct {
    size_t piece;
    Sizes writes;
  } cases[] = {
      // Pieces under a quarter of the buffer (1024) are gathered, larger ones written as they are.
      {1, {4096, 4096, 1808}},    {1000, {4096, 4096, 1808}}, {3000, {3000, 3000, 3000, 1000}},
      {7777, {7777, 2223}},       {10001, {10000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.piece);
    Worker w(10000);
    EXPECT_EQ(FeedInPieces(*w.writer, body, c.piece), 10000u);
    EXPECT_EQ(w.out.sizes, c.writes);
    EXPECT_EQ(w.out.bytes, body.substr(0, 10000));
    EXPECT_EQ(w.writer->state(), SegmentWriter::State::Complete);
    EXPECT_EQ(w.done.load(), 10000);
  }
  // A large piece after small ones: what the buffer holds is written first.
  Worker mixed(10000);
  EXPECT_EQ(mixed.writer->Feed(body.data(), 500), 500u);
  EXPECT_EQ(mixed.writer->Feed(body.data() + 500, 3000), 3000u);
  EXPECT_EQ(mixed.out.sizes, (Sizes{500, 3000}));
  EXPECT_EQ(mixed.out.bytes, body.substr(0, 3500));
  // A resumed segment continues where its DoneSize says.
  Worker resumed(10000, 6000);
  EXPECT_EQ(FeedInPieces(*resumed.writer, body, 1000), 4000u);
  EXPECT_EQ(resumed.out.sizes, (Sizes{4000}));
  EXPECT_EQ(resumed.done.load(), 10000);
}

TEST(SegmentWriter, AByteWaitsInTheBufferNoLongerThanTheFlushAge) {
  Worker w(10000);
  const auto before = SegmentWriter::Clock::now();
  EXPECT_EQ(w.writer->Feed("abc", 3), 3u);
  w.writer->Tick(before);
  EXPECT_EQ(w.done.load(), 0);
  w.writer->Tick(SegmentWriter::Clock::now() + kFlushAge);
  EXPECT_EQ(w.out.sizes, (Sizes{3}));
  EXPECT_EQ(w.done.load(), 3);
  w.writer->Tick(SegmentWriter::Clock::now() + kFlushAge);  // nothing left to write
  EXPECT_EQ(w.out.sizes.size(), 1u);
}

TEST(SegmentWriter, AStopRequestEndsTheBodyAtTheNextPieceAndFlushKeepsWhatCame) {
  Worker w(10000);
  const std::string body = testkit::RandomBytes(10000);
  EXPECT_EQ(w.writer->Feed(body.data(), 1000), 1000u);
  w.stop = true;
  EXPECT_EQ(w.writer->Feed(body.data() + 1000, 1000), 0u);
  EXPECT_EQ(w.writer->state(), SegmentWriter::State::Stopped);
  EXPECT_EQ(w.done.load(), 0);
  EXPECT_TRUE(w.writer->Flush());
  EXPECT_EQ(w.out.sizes, (Sizes{1000}));
  EXPECT_EQ(w.done.load(), 1000);
  EXPECT_EQ(w.writer->state(), SegmentWriter::State::Stopped);
}

TEST(SegmentWriter, AFailedWriteEndsTheBodyWithoutCountingIt) {
  Worker w(30000);
  w.out.failAt = 1;
  const std::string body = testkit::RandomBytes(30000);
  EXPECT_LT(FeedInPieces(*w.writer, body, 1000), body.size());
  EXPECT_EQ(w.writer->state(), SegmentWriter::State::WriteFailed);
  EXPECT_EQ(w.done.load(), 4096);
  EXPECT_TRUE(w.writer->Flush());  // nothing more is written after a failure
  EXPECT_EQ(w.out.sizes.size(), 1u);
}
