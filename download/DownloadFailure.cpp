#include "download/DownloadFailure.h"

namespace ostrel::download {

namespace {

std::string WithDetail(const char* what, const std::string& detail) {
  return detail.empty() ? std::string(what) : std::string(what) + ": " + detail;
}

}  // namespace

std::string DownloadFailure::Text() const {
  switch (Kind) {
    case FailureKind::None: return "no failure";
    case FailureKind::Transfer: return WithDetail("transfer failed", Detail);
    case FailureKind::HttpStatus: return "HTTP " + Detail;
    case FailureKind::SizeUnknown: return WithDetail("the server gives no usable size", Detail);
    case FailureKind::RangeNotHonoured: return WithDetail("the server does not honour Range", Detail);
    case FailureKind::LengthMismatch: return WithDetail("the response disagrees with the resource's size", Detail);
    case FailureKind::ContentEncoding: return WithDetail("the server sent an encoded body", Detail);
    case FailureKind::DiskFull: return WithDetail("no space left for the file", Detail);
    case FailureKind::FileError: return WithDetail("file error", Detail);
    case FailureKind::ReceiveFileMissing: return WithDetail("the receive file is missing", Detail);
  }
  return "unknown failure";
}

}  // namespace ostrel::download
