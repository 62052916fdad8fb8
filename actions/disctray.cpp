#include "actions/disctray.h"

#include "include/textutil.h"

std::vector<std::string> DiscTrayCommands(const std::string& drive, bool open) {
  std::string openCommand = "open " + drive + " type cdaudio alias mycd wait";
  if (openCommand.size() >= kMciCommandBufferSize) return {};
  return {openCommand, std::string("set mycd door ") + (open ? "open" : "closed") + " wait", "close mycd wait"};
}

void SendDiscTrayCommands(const std::string& drive, bool open, const std::function<void(const std::string&)>& send) {
  for (const std::string& command : DiscTrayCommands(drive, open)) send(command);
}

std::vector<std::string> DriveRootsFromBuffer(const char* buffer, size_t size, unsigned long result) {
  if (buffer == nullptr || result == 0 || result > size) return {};
  return text::SplitNulList(buffer, size);
}

std::vector<std::string> CdromDrivesFromRoots(const std::vector<std::string>& roots,
                                              const std::function<bool(const std::string& root)>& isCdrom) {
  std::vector<std::string> drives;
  for (const std::string& root : roots) {
    if (isCdrom(root)) drives.push_back(text::WithoutTrailingBackslash(root));
  }
  return drives;
}
