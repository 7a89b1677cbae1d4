// A small HTTP/1.1 file server for tests and demos, with fault modes.
//
// Serves the files under rootDir on 127.0.0.1 only. Every response carries
// "Connection: close"; each connection runs on its own thread.
//
// Normal behaviour
//   GET/HEAD /<path>           the file rootDir/<path> (percent-decoded; any ".."
//                              segment, NUL byte or symlink leading outside
//                              rootDir is refused with 403); 404 when missing.
//                              HEAD carries Content-Length and
//                              "Accept-Ranges: bytes".
//   Range: bytes=A-B / A- / -N 206 with "Content-Range: bytes A-B/SIZE" and exactly
//                              those bytes; B beyond the end is clamped to SIZE-1;
//                              A >= SIZE answers 416 ("Content-Range: bytes */SIZE").
//                              A malformed or multi-part Range is ignored (200).
//
// Fault modes: /fault/<opts>/<path>, <opts> a comma-separated list of
//   status=N      every request is answered with status N and a short text body.
//   nolen         no Content-Length: HEAD without it, GET bodies close-delimited.
//   norange       Range is ignored: 200 with the whole file (and no Accept-Ranges).
//   badrange      a Range request gets 206 whose Content-Range and body start at
//                 offset 0 instead of the asked start (same length as asked).
//   drop=N        GET: the connection is closed after N body bytes.
//   stall=MS      GET: after stallat=N body bytes (default 0) the body pauses MS
//                 milliseconds, then goes on unless the peer has gone.
//   stallat=N     see stall.
//   stallhead=MS  a pause of MS milliseconds before the response headers.
//   rate=BPS      the body is paced to BPS bytes per second in small chunks.
//   redirect=N    302 to the same URL with redirect=N-1; the option is dropped at 0
//                 (/fault/redirect=1/a.bin -> /a.bin).
//   https         302 to https://127.0.0.1:<port>/<path>.
//   empty         200 with Content-Length: 0 and no body.
//   headlen=N     HEAD answers with Content-Length N (GET is unchanged).
//   gzip          responses say "Content-Encoding: gzip" (the bytes are the file's).
//   noetag        no ETag header.
// Every file response carries a strong ETag that changes whenever the file is written; a Range
// request whose If-Range names another ETag is answered with the whole file (200).
//   html          files are served as "Content-Type: text/html; charset=utf-8".
//   endless       GET: the body (the file, or its range) is sent over and over without
//                 Content-Length until the peer goes; rate= paces it.
//   A slow trickle is rate=N with a small N: one byte every 1000/N ms.
// A connection that opens with a TLS handshake (a client following the https redirect) is
// closed at once.
// Precedence: stallhead, then redirect, https, status, empty, then the file.
// An unknown or malformed option answers 400.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ostrel::testserver {

// One per request received (the request line and the headers, as sent; via names the proxies a
// request came through).
struct Request {
  std::string method, target, range, userAgent, acceptEncoding, via;
};

class TestHttpServer {
 public:
  // Serves rootDir on 127.0.0.1:port (0 = ephemeral). Starts serving on its own
  // threads before returning. Throws std::runtime_error when it can't listen.
  explicit TestHttpServer(std::string rootDir, uint16_t port = 0);
  // Stops accepting, ends every connection (even mid-transfer or stalled) and
  // joins every thread.
  ~TestHttpServer();

  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  uint16_t Port() const;
  // "http://127.0.0.1:<port>/" + path (path given without leading "/").
  std::string Url(const std::string& path) const;
  // Response body bytes written to sockets, all requests since start/reset.
  uint64_t BodyBytesSent() const;
  // In arrival order.
  std::vector<Request> Requests() const;
  void ResetCounters();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace ostrel::testserver
