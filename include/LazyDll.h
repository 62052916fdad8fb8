// A system DLL loaded the first time one of its functions is asked for, so that the program does
// not pay for libraries at start that it may never use (file dialogs, sounds, downloads). Once
// loaded it stays loaded until the process ends. Safe to use from several threads: two first calls
// at once load it twice, which only raises its reference count.
//
//   constinit-style use at namespace scope:
//     CLazyDll g_winmm("winmm.dll");
//     if (auto play = g_winmm.Function<decltype(&::sndPlaySoundA)>("sndPlaySoundA")) play(file, SND_ASYNC);
// decltype(&::f) names the type only: no import of f is made.
#pragma once

#include <windows.h>

#include <atomic>

class CLazyDll {
 public:
  explicit constexpr CLazyDll(const char* name) : m_name(name) {}
  CLazyDll(const CLazyDll&) = delete;
  CLazyDll& operator=(const CLazyDll&) = delete;

  // The DLL, loaded from the system folder on the first call; null when it cannot be loaded.
  HMODULE Module() {
    HMODULE m = m_module.load(std::memory_order_acquire);
    if (!m) {
      m = ::LoadLibraryExA(m_name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
      // Older systems without the search flag refuse it: the plain search finds system DLLs too.
      if (!m && ::GetLastError() == ERROR_INVALID_PARAMETER) m = ::LoadLibraryA(m_name);
      if (m) m_module.store(m, std::memory_order_release);
    }
    return m;
  }
  bool Loaded() const { return m_module.load(std::memory_order_acquire) != nullptr; }

  // The exported function `proc` as a pointer of type Fn; null when the DLL or the function is missing.
  template <typename Fn>
  Fn Function(const char* proc) {
    HMODULE m = Module();
    FARPROC p = m ? ::GetProcAddress(m, proc) : nullptr;
    // void (*)() converts to and from every function pointer type without a cast warning.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(p));
  }

 private:
  const char* m_name;
  std::atomic<HMODULE> m_module{nullptr};
};
