// One HTTP GET into a file, the way the installer fetches its manifest, drivers, base service
// and, as a fallback, its package: bounded in time and size, stoppable, and checked before the
// file is put under its name.
//
// The body is written to a temporary file beside the target ("<name>.part-XXXXXX") and renamed
// over the target only when the response is acceptable:
//   - the final status is 2xx and the body is sent as is (no Content-Encoding but identity);
//   - the body is not empty and, when a Content-Length is given, exactly that long;
//   - where the target is a program, an installer package or an archive (.exe, .msi, .zip in
//     any letter case), the body is not HTML: neither served as "text/html" nor beginning with
//     an HTML document's opening ("<!DOCTYPE html", "<html"). Other targets (the manifest) may be.
// An old file of the target's name is removed before the request, so after a failure nothing is
// under that name. The call's own temporary goes on every failure path, and the temporaries that
// a killed earlier call for the same target left beside it are removed first. A failed request
// is noted with its reason in the single requests' log (RequestLog.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

// The progress events of one single-request download: begin with the expected byte count (0
// when the server doesn't say), work with the bytes received so far after each piece (the
// installer window processes its pending messages there), end once the transfer is over. Empty
// members are skipped.
struct DownloadProgressHandlers {
  std::function<void(int64_t expectedBytes)> begin;
  std::function<void(int64_t receivedBytes)> work;
  std::function<void()> end;
};

// The bounds of one call. The defaults are those of every call: no data for 3000 ms ends it.
struct DownloadOptions {
  std::chrono::milliseconds idleTimeout{3000};  // no byte (header or body) for this long
  std::chrono::milliseconds deadline{0};        // the whole call, connection included; 0 = none
  int64_t maxBytes = 0;                         // the body's size limit; 0 = none
  // Polled at least every 100 ms during the transfer (and once before it); true ends the call.
  std::function<bool()> abort{};
};

enum class FetchError {
  None,
  BlankUrl,     // nothing was done
  LocalFile,    // the folder, the temporary or the target can't be made, written or renamed
  Transfer,     // no connection, a cut or refused transfer, a certificate that doesn't verify
  IdleTimeout,  // no data for idleTimeout
  Deadline,     // the deadline passed
  Aborted,      // the abort check said so
  HttpStatus,   // a final status outside 200 to 299
  Encoded,      // a Content-Encoding other than identity
  Html,         // an HTML page where a program, package or archive is expected
  TooLarge,     // longer than maxBytes (announced or received)
  Short,        // fewer bytes than the Content-Length
  Empty,        // no body at all
};

struct FetchResult {
  FetchError error = FetchError::None;
  std::string reason;  // for people: "HTTP 404", "no data for 3000 ms", ...
  explicit operator bool() const { return error == FetchError::None; }
};

// One GET of url (blanks around it ignored) into fileName, a Windows path text; missing folders
// of fileName are created. With progress, its events are sent during the call.
FetchResult FetchToFile(const std::string& url, const std::string& fileName, const DownloadOptions& options,
                        const DownloadProgressHandlers* progress);

// Removes the temporaries that killed calls for fileName (a Windows path text) left beside it.
void RemoveSingleDownloadLeftovers(const std::string& fileName);

// The target's extension says it must not be an HTML page: ".exe", ".msi", ".zip" (any case).
bool ExpectsBinaryBody(const std::string& fileName);
