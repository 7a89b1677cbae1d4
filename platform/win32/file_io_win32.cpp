// Reading, writing and sizing an open File.
#include <windows.h>

#include <algorithm>

#include "platform/file.h"
#include "platform/file_events.h"
#include "platform/win32/folder_state.h"

namespace platform {
namespace {

HANDLE Handle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

constexpr size_t kMaxChunk = 1u << 30;

OVERLAPPED At(int64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset));
  at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
  return at;
}

int LastError() { return static_cast<int>(GetLastError()); }

// A positioned call on Windows moves the file pointer; Read and Write go on where they were, as
// with pread and pwrite.
class KeepPosition {
 public:
  explicit KeepPosition(HANDLE h) : h_(h) { kept_ = SetFilePointerEx(h, LARGE_INTEGER{}, &at_, FILE_CURRENT); }
  ~KeepPosition() {
    if (kept_) SetFilePointerEx(h_, at_, nullptr, FILE_BEGIN);
  }
  KeepPosition(const KeepPosition&) = delete;
  KeepPosition& operator=(const KeepPosition&) = delete;

 private:
  HANDLE h_;
  LARGE_INTEGER at_{};
  BOOL kept_;
};

}  // namespace

bool File::WriteAt(const void* data, size_t size, int64_t offset) {
  if (!IsOpen() || offset < 0) return Fail(IsOpen() ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
  const KeepPosition keep(Handle(handle_));
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    OVERLAPPED at = At(offset);
    DWORD n = 0;
    if (!WriteFile(Handle(handle_), next, static_cast<DWORD>(std::min(size, kMaxChunk)), &n, &at)) return Fail(LastError());
    if (n == 0) return Fail(ERROR_WRITE_FAULT);
    next += n;
    size -= n;
    offset += n;
  }
  return true;
}

bool File::Write(const void* data, size_t size) {
  if (!IsOpen()) return Fail(ERROR_INVALID_HANDLE);
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    DWORD n = 0;
    if (!WriteFile(Handle(handle_), next, static_cast<DWORD>(std::min(size, kMaxChunk)), &n, nullptr))
      return Fail(LastError());
    if (n == 0) return Fail(ERROR_WRITE_FAULT);
    next += n;
    size -= n;
  }
  return true;
}

int64_t File::ReadAt(void* data, size_t size, int64_t offset) {
  if (!IsOpen() || offset < 0) return Fail(IsOpen() ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE), -1;
  const KeepPosition keep(Handle(handle_));
  char* next = static_cast<char*>(data);
  size_t got = 0;
  while (got < size) {
    OVERLAPPED at = At(offset + static_cast<int64_t>(got));
    DWORD n = 0;
    if (!ReadFile(Handle(handle_), next + got, static_cast<DWORD>(std::min(size - got, kMaxChunk)), &n, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return Fail(LastError()), -1;
    }
    if (n == 0) break;
    got += n;
  }
  return static_cast<int64_t>(got);
}

int64_t File::Read(void* data, size_t size) {
  if (!IsOpen()) return Fail(ERROR_INVALID_HANDLE), -1;
  DWORD n = 0;
  if (!ReadFile(Handle(handle_), data, static_cast<DWORD>(std::min(size, kMaxChunk)), &n, nullptr)) {
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    return Fail(LastError()), -1;
  }
  return n;
}

int64_t File::Length() const {
  LARGE_INTEGER size;
  if (!IsOpen() || !GetFileSizeEx(Handle(handle_), &size)) return -1;
  return size.QuadPart;
}

bool File::SetLength(int64_t size) {
  if (!IsOpen() || size < 0) return Fail(ERROR_INVALID_PARAMETER);
  // SetEndOfFile cuts at the file pointer: move it there and back, so Read and Write go on
  // where they were.
  LARGE_INTEGER zero{}, here{}, target{};
  target.QuadPart = size;
  const HANDLE h = Handle(handle_);
  if (!SetFilePointerEx(h, zero, &here, FILE_CURRENT) || !SetFilePointerEx(h, target, nullptr, FILE_BEGIN))
    return Fail(LastError());
  const bool ok = SetEndOfFile(h);
  const int error = LastError();
  SetFilePointerEx(h, here, nullptr, FILE_BEGIN);
  return ok || Fail(error);
}

// Setting the length allocates the clusters on NTFS and FAT: a full disk fails here.
bool File::Reserve(int64_t size) { return SetLength(size); }

bool File::Sync() {
  if (!IsOpen()) return Fail(ERROR_INVALID_HANDLE);
  if (!FlushFileBuffers(Handle(handle_))) return Fail(LastError());
  BY_HANDLE_FILE_INFORMATION info;
  if (win32::HandleInfo(Handle(handle_), info))
    ReportFileEvent(FileEvent::kDataSynced, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow);
  return true;
}

bool File::SetModifiedTime(int64_t unixSeconds) {
  if (!IsOpen()) return Fail(ERROR_INVALID_HANDLE);
  // 100-ns steps since 1601-01-01.
  const uint64_t ticks = static_cast<uint64_t>(unixSeconds + 11644473600LL) * 10000000ULL;
  FILETIME when{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  return SetFileTime(Handle(handle_), nullptr, nullptr, &when) || Fail(LastError());
}

// Windows takes the hint only when the file is opened.
void File::AdviseSequentialRead() {}

}  // namespace platform
