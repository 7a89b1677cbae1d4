#include "support/UnzipEntryData.h"

UnzipWorkspace::UnzipWorkspace()
    : output_(new unsigned char[kOutputSize]), input_(new unsigned char[kInputSize]) {
  inflaterReady_ = inflateInit2(&inflater_, -MAX_WBITS) == Z_OK;  // raw deflate data
}

UnzipWorkspace::~UnzipWorkspace() {
  if (inflaterReady_) inflateEnd(&inflater_);
}

namespace {

bool CopyAsIs(zip_file_t* file, UnzipWorkspace& ws, const UnzipSink& sink) {
  for (;;) {
    const zip_int64_t n = zip_fread(file, ws.output(), UnzipWorkspace::kOutputSize);
    if (n < 0) return false;
    if (n == 0) return true;
    if (!sink(ws.output(), static_cast<size_t>(n))) return false;
  }
}

bool Inflate(zip_file_t* file, const UnzipEntry& entry, UnzipWorkspace& ws, const UnzipSink& sink) {
  z_stream* z = ws.inflater();
  if (!z || inflateReset(z) != Z_OK) return false;
  z->avail_in = 0;
  bool producedAny = false;
  for (;;) {
    if (z->avail_in == 0) {
      const zip_int64_t n = zip_fread(file, ws.input(), UnzipWorkspace::kInputSize);
      if (n < 0) return false;
      // Data that ends before the deflate stream does: only an empty entry
      // stored without any stream is accepted.
      if (n == 0) return !producedAny && entry.size == 0;
      z->next_in = ws.input();
      z->avail_in = static_cast<uInt>(n);
    }
    z->next_out = ws.output();
    z->avail_out = UnzipWorkspace::kOutputSize;
    const int result = inflate(z, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END && !(result == Z_BUF_ERROR && z->avail_in == 0)) return false;
    const size_t produced = UnzipWorkspace::kOutputSize - z->avail_out;
    if (produced > 0) {
      producedAny = true;
      if (!sink(ws.output(), produced)) return false;
    }
    if (result == Z_STREAM_END) return true;
  }
}

}  // namespace

bool ReadZipEntryData(zip_t* archive, const UnzipEntry& entry, UnzipWorkspace& workspace, const UnzipSink& sink) {
  if (entry.encrypted) return false;  // no password is ever supplied
  const bool raw = entry.method == ZIP_CM_STORE || entry.method == ZIP_CM_DEFLATE;
  zip_file_t* file = zip_fopen_index(archive, entry.index, raw ? ZIP_FL_COMPRESSED : 0);
  if (!file) return false;
  bool ok = entry.method == ZIP_CM_DEFLATE ? Inflate(file, entry, workspace, sink) : CopyAsIs(file, workspace, sink);
  if (zip_fclose(file) != 0) ok = false;
  return ok;
}
