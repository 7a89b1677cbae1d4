#include "download/DownloadFailure.h"

namespace ostrel::download {

namespace {

std::string WithDetail(const std::string& what, const std::string& detail) {
  return detail.empty() ? what : what + ": " + detail;
}

}  // namespace

std::string DownloadFailure::Text() const {
  if (proxy.empty() || kind == FailureKind::ProxyUnreachable || kind == FailureKind::ProxyRefused) return KindText();
  return KindText() + " (through the proxy " + proxy + ")";
}

std::string DownloadFailure::KindText() const {
  switch (kind) {
    case FailureKind::None: return "no failure";
    case FailureKind::Transfer: return WithDetail("transfer failed", detail);
    case FailureKind::HttpStatus: return "HTTP " + detail;
    case FailureKind::SizeUnknown: return WithDetail("the server gives no usable size", detail);
    case FailureKind::RangeNotHonoured: return WithDetail("the server does not honour Range", detail);
    case FailureKind::LengthMismatch: return WithDetail("the response disagrees with the resource's size", detail);
    case FailureKind::ContentEncoding: return WithDetail("the server sent an encoded body", detail);
    case FailureKind::DiskFull: return WithDetail("no space left for the file", detail);
    case FailureKind::FileError: return WithDetail("file error", detail);
    case FailureKind::ReceiveFileMissing: return WithDetail("the receive file is missing", detail);
    case FailureKind::ResourceChanged: return WithDetail("the resource changed since the download began", detail);
    case FailureKind::ProxyUnreachable: return WithDetail("the proxy " + proxy + " can't be reached", detail);
    case FailureKind::ProxyRefused: return WithDetail("the proxy " + proxy + " refused the request", detail);
  }
  return "unknown failure";
}

}  // namespace ostrel::download
