// crc_bench FILE: zlib's crc32 over FILE, read in 128 KiB blocks like ostrel-crc.
// Prints the CRC in ostrel-crc's text form so the two can be compared.
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ostrel-crc-bench FILE\n");
    return 2;
  }
  const int fd = open(argv[1], O_RDONLY);
  if (fd < 0) {
    std::perror(argv[1]);
    return 1;
  }
  std::vector<unsigned char> buffer(128 * 1024);
  uLong crc = crc32(0L, Z_NULL, 0);
  for (;;) {
    const ssize_t n = read(fd, buffer.data(), buffer.size());
    if (n < 0) {
      std::perror(argv[1]);
      return 1;
    }
    if (n == 0) break;
    crc = crc32(crc, buffer.data(), static_cast<uInt>(n));
  }
  close(fd);
  std::printf("%02lX  %s\n", crc, argv[1]);
  return 0;
}
