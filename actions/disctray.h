// Disc tray control as MCI command strings, and the CD-ROM drives among the system's drive roots.
// Portable: no <windows.h>; the Win32 layer (devicecontrol) sends the commands and asks the drives.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// MCI commands are built as if into a buffer of this many bytes, terminator included.
constexpr size_t kMciCommandBufferSize = 128;
// The longest drive text whose open command still fits.
constexpr size_t kMaxMciDriveLength = 93;

// open, move the door, close: all three, in that order. Empty for a drive text that would not fit
// the command buffer, so a cut command never reaches MCI with a different meaning.
std::vector<std::string> DiscTrayCommands(const std::string& drive, bool open);

// Sends the commands of DiscTrayCommands, one at a time; their results are of no interest.
void SendDiscTrayCommands(const std::string& drive, bool open, const std::function<void(const std::string&)>& send);

// The root strings of a GetLogicalDriveStrings buffer of `size` bytes whose call returned `result`:
// nothing when the call failed (0) or the buffer was too small (result above size).
std::vector<std::string> DriveRootsFromBuffer(const char* buffer, size_t size, unsigned long result);

// The roots that `isCdrom` accepts, in their order, each without one trailing backslash ("D:").
std::vector<std::string> CdromDrivesFromRoots(const std::vector<std::string>& roots,
                                              const std::function<bool(const std::string& root)>& isCdrom);
