// A picture file (PNG or anything else GDI+ reads) for drawing with its alpha. GDI+ is loaded and
// started with the first picture that is loaded, not at program start, so a program that waits
// hidden pays nothing for it; ShutdownPictures() ends it at exit.
#pragma once

#include <windows.h>

#include <string>

class CPicture {
 public:
  CPicture() = default;
  CPicture(const CPicture&) = delete;
  CPicture& operator=(const CPicture&) = delete;
  CPicture(CPicture&& other) noexcept;
  CPicture& operator=(CPicture&& other) noexcept;
  ~CPicture() { Reset(); }

  // Reads the file. False when the path is empty, names no file or a folder, or the file is no
  // picture GDI+ can read; the picture is then empty.
  bool Load(const std::string& path);
  void Reset();
  explicit operator bool() const { return m_image != nullptr; }
  UINT width() const { return m_width; }
  UINT height() const { return m_height; }
  // Draws the whole picture stretched over the rectangle (x, y, w, h) of `dc`, blended by its alpha.
  bool Draw(HDC dc, int x, int y, int w, int h) const;

 private:
  void* m_image = nullptr;  // the GDI+ image
  UINT m_width = 0, m_height = 0;
};

// Ends GDI+ once no picture is left (at once, or when the last one goes). A picture loaded later
// starts it again.
void ShutdownPictures();
// Whether GDI+ is started now.
bool PicturesStarted();
