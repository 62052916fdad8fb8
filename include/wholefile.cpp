#include "include/wholefile.h"

#include <cstdio>
#include <memory>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace wholefile {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

bool ToDisk(std::FILE* f) {
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

}  // namespace

bool Read(const std::string& path, std::string& bytes, size_t limit) {
  bytes.clear();
  UniqueFile f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
    if (got > limit - bytes.size()) return false;
    bytes.append(chunk, got);
  }
  return std::ferror(f.get()) == 0;
}

bool Write(const std::string& path, const std::string& bytes) {
  std::FILE* raw = std::fopen(path.c_str(), "wb");
  if (!raw) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), raw) == bytes.size();
  ok = std::fflush(raw) == 0 && ok;
  ok = ok && ToDisk(raw);
  // fclose reports the last buffered write failing, so its result counts as well.
  ok = std::fclose(raw) == 0 && ok;
  return ok;
}

}  // namespace wholefile
