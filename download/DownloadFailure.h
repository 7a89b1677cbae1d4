// Why a download failed, beside the notice: a kind a program can act on and a detail for people.
// The first failure of a run is kept in the job; later ones (other workers) only notify.
#pragma once

#include <string>

namespace ostrel::download {

enum class FailureKind {
  None,
  Transfer,          // connection refused or dropped, time-out, too many redirects, https
  HttpStatus,        // a final status outside 200 to 299
  SizeUnknown,       // the size probe found no usable Content-Length
  RangeNotHonoured,  // the body does not start at the asked offset
  LengthMismatch,    // the response's length, range end or total disagrees with the resource
  ContentEncoding,   // the body is encoded (gzip, ...) although identity was asked for
  DiskFull,          // no room for the receive file
  FileError,         // the receive file or the state file cannot be made, opened or written
  ReceiveFileMissing,
  ResourceChanged,   // the resource is no longer the version the resumed download began with
  ProxyUnreachable,  // no connection to the proxy
  ProxyRefused,      // the proxy's own answer: 407, 403, ... (to CONNECT, or as the status)
};

struct DownloadFailure {
  DownloadFailure() = default;
  DownloadFailure(FailureKind k, std::string d, std::string p = {})
      : kind(k), detail(std::move(d)), proxy(std::move(p)) {}

  FailureKind kind = FailureKind::None;
  std::string detail;  // e.g. "404", "Couldn't connect to server", "Content-Range total 5 for 6"
  std::string proxy;   // the proxy the request went through ("http://host:port"); empty: none

  explicit operator bool() const { return kind != FailureKind::None; }
  // One line for people: "HTTP 404", "transfer failed: Couldn't connect to server", ...; a
  // failure through a proxy names it.
  std::string Text() const;

 private:
  std::string KindText() const;  // the text without the proxy
};

}  // namespace ostrel::download
