#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "actions/disctray.h"

using Lines = std::vector<std::string>;

TEST_CASE("disc tray commands, in order") {
  CHECK(DiscTrayCommands("D:", true) ==
        Lines{"open D: type cdaudio alias mycd wait", "set mycd door open wait", "close mycd wait"});
  CHECK(DiscTrayCommands("E:", false) ==
        Lines{"open E: type cdaudio alias mycd wait", "set mycd door closed wait", "close mycd wait"});
}

TEST_CASE("disc tray commands are sent all three, whatever the drive") {
  Lines sent;
  auto send = [&sent](const std::string& c) { sent.push_back(c); };
  SendDiscTrayCommands("Q:", false, send);
  CHECK(sent == Lines{"open Q: type cdaudio alias mycd wait", "set mycd door closed wait", "close mycd wait"});
  sent.clear();
  SendDiscTrayCommands("", true, send);
  CHECK(sent.size() == 3);
}

TEST_CASE("a drive text that does not fit the command buffer is refused, not cut") {
  std::string longest(kMaxMciDriveLength, 'x');
  Lines fits = DiscTrayCommands(longest, true);
  REQUIRE(fits.size() == 3);
  CHECK(fits[0].size() == kMciCommandBufferSize - 1);
  CHECK(DiscTrayCommands(longest + "x", true).empty());
  CHECK(DiscTrayCommands(std::string(100000, 'D'), false).empty());

  Lines sent;
  SendDiscTrayCommands(longest + "x", true, [&sent](const std::string& c) { sent.push_back(c); });
  CHECK(sent.empty());
}

TEST_CASE("drive roots from the system's buffer") {
  const char buffer[16] = "C:\\\0D:\\\0E:\\\0";
  CHECK(DriveRootsFromBuffer(buffer, sizeof(buffer), 12) == Lines{"C:\\", "D:\\", "E:\\"});
  CHECK(DriveRootsFromBuffer(buffer, sizeof(buffer), 0).empty());
  CHECK(DriveRootsFromBuffer(buffer, sizeof(buffer), 17).empty());  // the buffer was too small
  CHECK(DriveRootsFromBuffer(nullptr, 0, 12).empty());
  const char zeroed[8] = {};
  CHECK(DriveRootsFromBuffer(zeroed, sizeof(zeroed), 4).empty());
  // Without a final terminator nothing is read past the buffer.
  const char unterminated[4] = {'C', ':', '\\', 'x'};
  CHECK(DriveRootsFromBuffer(unterminated, sizeof(unterminated), 4) == Lines{"C:\\x"});
}

TEST_CASE("CD-ROM drives among the roots") {
  auto isCdrom = [](const std::string& root) { return root == "D:\\" || root == "F:\\" || root == "G:"; };
  CHECK(CdromDrivesFromRoots({"C:\\", "D:\\", "E:\\", "F:\\"}, isCdrom) == Lines{"D:", "F:"});
  CHECK(CdromDrivesFromRoots({"C:\\", "E:\\"}, isCdrom).empty());
  CHECK(CdromDrivesFromRoots({}, isCdrom).empty());
  CHECK(CdromDrivesFromRoots({"G:"}, isCdrom) == Lines{"G:"});  // only one backslash, and only if there
}
