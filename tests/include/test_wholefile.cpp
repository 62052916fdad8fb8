#include <doctest/doctest.h>

#include <cstdio>
#include <string>

#include "include/wholefile.h"

namespace {

// A file name of its own in the working folder, removed again at the end.
struct ScratchFile {
  std::string path;
  explicit ScratchFile(const char* name) : path(std::string("wholefile-") + name + ".tmp") {
    std::remove(path.c_str());
  }
  ~ScratchFile() { std::remove(path.c_str()); }
};

}  // namespace

TEST_CASE("a file written whole reads back byte for byte") {
  ScratchFile f("roundtrip");
  std::string bytes("line one\r\nline two\n", 19);
  bytes.push_back('\0');
  bytes += std::string(200000, 'x');  // several read chunks
  REQUIRE(wholefile::Write(f.path, bytes));
  std::string back = "left over";
  REQUIRE(wholefile::Read(f.path, back));
  CHECK(back == bytes);

  SUBCASE("writing again replaces the old contents") {
    REQUIRE(wholefile::Write(f.path, "short"));
    REQUIRE(wholefile::Read(f.path, back));
    CHECK(back == "short");
  }
  SUBCASE("an empty file reads as empty") {
    REQUIRE(wholefile::Write(f.path, ""));
    REQUIRE(wholefile::Read(f.path, back));
    CHECK(back.empty());
  }
}

TEST_CASE("a file larger than the limit is refused") {
  ScratchFile f("limit");
  REQUIRE(wholefile::Write(f.path, std::string(100, 'a')));
  std::string bytes;
  CHECK(wholefile::Read(f.path, bytes, 100));
  CHECK(bytes.size() == 100);
  CHECK_FALSE(wholefile::Read(f.path, bytes, 99));
}

TEST_CASE("a missing file cannot be read, and no file is written into a missing folder") {
  std::string bytes = "kept?";
  CHECK_FALSE(wholefile::Read("wholefile-no-such-file.tmp", bytes));
  CHECK(bytes.empty());
  CHECK_FALSE(wholefile::Write("wholefile-no-such-folder/x.tmp", "data"));
}
