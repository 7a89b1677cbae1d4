// Reading the uncompressed data of one archive entry.
#pragma once

#include <zip.h>
#include <zlib.h>

#include <cstddef>
#include <functional>
#include <memory>

#include "support/UnzipEntries.h"

// The buffers and the inflater of one worker, reused for every entry.
class UnzipWorkspace {
 public:
  UnzipWorkspace();
  ~UnzipWorkspace();
  UnzipWorkspace(const UnzipWorkspace&) = delete;
  UnzipWorkspace& operator=(const UnzipWorkspace&) = delete;

  static constexpr size_t kOutputSize = 1 << 20;  // written to the file in one piece
  static constexpr size_t kInputSize = 256 << 10;  // read from the archive in one piece

  unsigned char* output() { return output_.get(); }
  unsigned char* input() { return input_.get(); }
  z_stream* inflater() { return inflaterReady_ ? &inflater_ : nullptr; }

 private:
  std::unique_ptr<unsigned char[]> output_;
  std::unique_ptr<unsigned char[]> input_;
  z_stream inflater_{};
  bool inflaterReady_ = false;
};

// Receives the data in order; false stops the reading.
using UnzipSink = std::function<bool(const unsigned char* data, size_t size)>;

// Streams the entry's uncompressed data to sink. Stored and deflated entries are
// read raw and inflated here; other methods go through the library. The data
// is not checked against the entry's CRC-32 here. False when the data cannot be
// read or inflated, or when sink refused it.
bool ReadZipEntryData(zip_t* archive, const UnzipEntry& entry, UnzipWorkspace& workspace, const UnzipSink& sink);
