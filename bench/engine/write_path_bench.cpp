// ostrel-write-bench [MiB]: times the engine's write path alone, without a network. A body of
// MiB mebibytes (default 1024) goes through a SegmentWriter in pieces of the sizes libcurl hands
// over (10240 bytes, 256 KiB), into a fresh receive file in the working folder, once per write
// buffer size (the engine uses 64 KiB on Linux, 256 KiB on Windows); a buffer of 10240 with
// pieces of 10240 is the old path, one write per block. Prints, per case, the write calls, the
// time spent in them, the whole time and the throughput. Run it under Wine to see what a write
// call costs on Windows.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "download/ReceiveFile.h"
#include "download/SegmentWriter.h"

using namespace ostrel::download;
using Clock = std::chrono::steady_clock;

namespace {

// Counts and times the writes that reach the file.
struct TimedOutput : BlockOutput {
  explicit TimedOutput(platform::File& file) : file(file) {}
  bool WriteAt(const char* data, size_t size, int64_t offset) override {
    const auto start = Clock::now();
    const bool ok = file.WriteAt(data, size, offset);
    inWrites += Clock::now() - start;
    ++calls;
    return ok;
  }
  platform::File& file;
  Clock::duration inWrites{};
  long calls = 0;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

bool RunCase(int32_t size, size_t bufferSize, size_t pieceSize, const std::vector<char>& body) {
  const std::string path = "ostrel-write-bench.tmp";
  if (CreateReceiveFile(path, size) != CreateResult::Ok) return false;
  platform::File file = OpenReceiveFileForWriting(path);
  TimedOutput output(file);
  std::atomic<int32_t> done{0};
  std::atomic<bool> stop{false};
  std::vector<char> buffer(bufferSize);
  SegmentWriter writer(output, 0, size, done, stop, buffer);
  const auto start = Clock::now();
  for (int64_t at = 0; at < size && writer.state() == SegmentWriter::State::Receiving;) {
    const size_t piece = std::min<int64_t>(static_cast<int64_t>(pieceSize), size - at);
    writer.Feed(body.data() + at % static_cast<int64_t>(body.size() - pieceSize), piece);
    at += static_cast<int64_t>(piece);
  }
  const double whole = Seconds(Clock::now() - start);
  file.Close();
  platform::RemovePath(path);
  if (done.load() != size) return false;
  std::printf("%10zu %8zu %10ld %12.3f %9.3f %9.1f\n", bufferSize, pieceSize, output.calls,
              Seconds(output.inWrites), whole, size / 1048576.0 / whole);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const long mib = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1024;
  if (mib < 1 || mib > 2047) {
    std::fprintf(stderr, "usage: ostrel-write-bench [MiB, 1 to 2047]\n");
    return 2;
  }
  const auto size = static_cast<int32_t>(mib * 1048576);
  std::vector<char> body(4 << 20);
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 2654435761u >> 24);
  std::printf("%ld MiB through the segment writer into %s\n", mib, "ostrel-write-bench.tmp");
  std::printf("%10s %8s %10s %12s %9s %9s\n", "buffer", "piece", "writes", "in writes s", "whole s", "MiB/s");
  for (const size_t piece : {size_t{10240}, size_t{262144}})
    for (const size_t buffer : {size_t{10240}, size_t{65536}, size_t{262144}, size_t{1 << 20}})
      if (!RunCase(size, buffer, piece, body)) {
        std::fprintf(stderr, "ostrel-write-bench: the receive file could not be written\n");
        return 1;
      }
  return 0;
}
