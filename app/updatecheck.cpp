#include "app/updatecheck.h"

#include <shellapi.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <utility>

#include "app/updateversion.h"
#include "include/GlobalData.h"
#include "include/LazyDll.h"
#include "include/miscfuns.h"
#include "language/language.h"

namespace {

constexpr char kDefaultVersionUrl[] = "https://quorvel.example/v";
constexpr char kDirectVersionUrl[] = "https://quorvel.example/download/version.txt";
constexpr char kDownloadPage[] = "https://quorvel.example/download";
constexpr DWORD kMinRetryMs = 10;

// wininet.dll is loaded by the update thread for its first download, not with the program: the
// window is up sooner, and a program whose check is off never loads it.
CLazyDll g_wininet("wininet.dll");

struct WininetFunctions {
  decltype(&::InternetOpenA) open = nullptr;
  decltype(&::InternetOpenUrlA) openUrl = nullptr;
  decltype(&::HttpQueryInfoA) queryInfo = nullptr;
  decltype(&::InternetReadFile) readFile = nullptr;
  decltype(&::InternetCloseHandle) closeHandle = nullptr;
  decltype(&::DeleteUrlCacheEntryA) deleteCacheEntry = nullptr;
  bool complete() const { return open && openUrl && queryInfo && readFile && closeHandle && deleteCacheEntry; }
};

// Looked up once; every pointer is null when the DLL or one of them is missing.
const WininetFunctions& Wininet() {
  static const WininetFunctions functions = [] {
    WininetFunctions f;
    f.open = g_wininet.Function<decltype(f.open)>("InternetOpenA");
    f.openUrl = g_wininet.Function<decltype(f.openUrl)>("InternetOpenUrlA");
    f.queryInfo = g_wininet.Function<decltype(f.queryInfo)>("HttpQueryInfoA");
    f.readFile = g_wininet.Function<decltype(f.readFile)>("InternetReadFile");
    f.closeHandle = g_wininet.Function<decltype(f.closeHandle)>("InternetCloseHandle");
    f.deleteCacheEntry = g_wininet.Function<decltype(f.deleteCacheEntry)>("DeleteUrlCacheEntryA");
    return f.complete() ? f : WininetFunctions();
  }();
  return functions;
}

void ForgetCachedCopy(const std::string& url) {
  if (Wininet().deleteCacheEntry) Wininet().deleteCacheEntry(url.c_str());
}

}  // namespace

struct CUpdateCheck::State {
  UpdateCheckConfig config;
  HWND notify = nullptr;
  KernelHandle stop{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<int> attempts{0};
  std::string found;  // written once, before kMsgUpdateFound is posted
  // The internet session of the download under way. Whoever takes it out closes it: the thread
  // when its download is done, the stop to cut a download short (its pending calls then fail).
  std::atomic<HINTERNET> session{nullptr};

  bool Stopped() const { return ::WaitForSingleObject(stop.get(), 0) == WAIT_OBJECT_0; }
  void CloseSession() {
    // A session exists only once the thread has loaded wininet.dll.
    if (HINTERNET h = session.exchange(nullptr)) Wininet().closeHandle(h);
  }
};

namespace {

// At most kMaxVersionFileBytes + 1 bytes: enough to tell a version line from anything longer.
std::string ReadHead(const std::string& path) {
  FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes(update::kMaxVersionFileBytes + 1, '\0');
  DWORD got = 0;
  if (!::ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
  bytes.resize(got);
  return bytes;
}

// More than any version file has; the rest of a larger answer is not needed.
constexpr DWORD kMaxDownloadBytes = 64 * 1024;

// Downloads `url` into the file `target`, bypassing the cache. The stop closes the session under
// way, which makes the pending call fail at once.
bool DownloadToFile(CUpdateCheck::State& s, const std::string& url, const std::string& target) {
  const WininetFunctions& inet = Wininet();
  if (!inet.open) return false;
  HINTERNET session = inet.open("Quorvel", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session) return false;
  s.session.store(session);
  // A stop that came before the session was there has nothing to close: look once more.
  if (s.Stopped()) {
    s.CloseSession();
    return false;
  }
  bool ok = false;
  HINTERNET request = inet.openUrl(
      session, url.c_str(), nullptr, 0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES, 0);
  if (request) {
    DWORD status = 0, size = sizeof status;
    bool answered = true;
    // Only HTTP answers carry a status; a 404 page is no version file.
    if (inet.queryInfo(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
      answered = status >= 200 && status < 300;
    FileHandle file(answered ? ::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr)
                             : INVALID_HANDLE_VALUE);
    if (file) {
      ok = true;
      char buffer[4096];
      DWORD total = 0;
      for (;;) {
        DWORD got = 0;
        if (!inet.readFile(request, buffer, sizeof buffer, &got) || s.Stopped()) {
          ok = false;
          break;
        }
        if (got == 0) break;
        DWORD written = 0;
        if (!::WriteFile(file.get(), buffer, got, &written, nullptr) || written != got) {
          ok = false;
          break;
        }
        total += got;
        if (total >= kMaxDownloadBytes) break;
      }
    }
    inet.closeHandle(request);
  }
  s.CloseSession();
  return ok;
}

void RemoveFile(const std::string& path) {
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path.c_str());
}

void ShowUpdateBox(CUpdateCheck::State& s) {
  const UpdateCheckConfig& c = s.config;
  std::string text = FormatLanguageText(
      "L0163", {lang::FormatArg::Str(c.productName), lang::FormatArg::Str(s.found), lang::FormatArg::Str(c.productVersion)});
  // No owner: the box belongs to this thread, so the window stays usable while it is up.
  int answer = ::MessageBoxA(nullptr, text.c_str(), c.productName.c_str(),
                             MB_OKCANCEL | MB_ICONINFORMATION | MB_SETFOREGROUND);
  // A box closed by the program's exit is no answer.
  if (answer == IDOK && !s.Stopped())
    ::ShellExecuteA(nullptr, nullptr, c.downloadPage.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// -1: the download failed; 0: no newer version; 1: a newer version was found.
int CheckOnce(CUpdateCheck::State& s) {
  const UpdateCheckConfig& c = s.config;
  ForgetCachedCopy(c.versionUrl);
  if (!c.directUrl.empty()) ForgetCachedCopy(c.directUrl);
  char tempFolder[MAX_PATH + 1] = {};
  DWORD n = ::GetTempPathA(sizeof tempFolder, tempFolder);
  if (n == 0 || n > MAX_PATH) return -1;
  std::string guid = CMiscFuns::NewGuidText();
  if (guid.empty()) return -1;
  std::string target = std::string(tempFolder, n) + guid + ".txt";
  if (!DownloadToFile(s, c.versionUrl, target)) {
    RemoveFile(target);  // a download cut off halfway may leave a piece
    return -1;
  }
  std::string head = ReadHead(target);
  RemoveFile(target);
  std::optional<std::string> announced = update::ParseVersionFile(head);
  if (!announced || !update::IsNewerVersion(*announced, c.productVersion)) return 0;
  s.found = *announced;
  ::PostMessageA(s.notify, kMsgUpdateFound, 0, 0);
  if (!s.Stopped()) ShowUpdateBox(s);
  return 1;
}

DWORD WINAPI UpdateThread(void* param) {
  // The thread holds its own share of the state: a stop that gives up waiting frees nothing it uses.
  std::unique_ptr<std::shared_ptr<CUpdateCheck::State>> owned(static_cast<std::shared_ptr<CUpdateCheck::State>*>(param));
  std::shared_ptr<CUpdateCheck::State> state = *owned;
  owned.reset();
  ComScope com;
  for (int attempt = 1; attempt <= state->config.maxAttempts && !state->Stopped(); ++attempt) {
    state->attempts.fetch_add(1);
    if (CheckOnce(*state) != -1) break;
    if (attempt == state->config.maxAttempts) break;
    // The stop event ends the pause at once.
    if (::WaitForSingleObject(state->stop.get(), state->config.retryMs) == WAIT_OBJECT_0) break;
  }
  return 0;
}

BOOL CALLBACK CloseBox(HWND hwnd, LPARAM) {
  char cls[16] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0) ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

}  // namespace

UpdateCheckConfig UpdateConfigFromSettings(const std::string& settingsIni) {
  UpdateCheckConfig c;
  c.versionUrl = CMiscFuns::GetIniString(names::kSettingsSection, "UpdateUrl", kDefaultVersionUrl, settingsIni);
  c.directUrl = c.versionUrl == kDefaultVersionUrl ? kDirectVersionUrl : "";
  int retry = CMiscFuns::GetIniInt(names::kSettingsSection, "UpdateRetryMs", 120000, settingsIni);
  c.retryMs = static_cast<DWORD>(std::max<int>(retry, static_cast<int>(kMinRetryMs)));
  c.productName = CMiscFuns::GetOwnVersionString("ProductName");
  c.productVersion = CMiscFuns::GetOwnVersionString("ProductVersion");
  c.downloadPage = kDownloadPage;
  return c;
}

CUpdateCheck::~CUpdateCheck() { Stop(0); }

bool CUpdateCheck::Start(HWND notify, const UpdateCheckConfig& config) {
  if (m_thread || config.versionUrl.empty() || config.maxAttempts <= 0) return false;
  auto state = std::make_shared<State>();
  if (!state->stop) return false;
  state->config = config;
  state->notify = notify;
  auto param = std::make_unique<std::shared_ptr<State>>(state);
  DWORD id = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, UpdateThread, param.get(), 0, &id);
  if (!thread) return false;
  param.release();  // the thread owns it now
  m_state = std::move(state);
  m_thread.reset(thread);
  m_threadId = id;
  return true;
}

bool CUpdateCheck::Stop(DWORD ms) {
  if (!m_thread) return true;
  ::SetEvent(m_state->stop.get());
  // A download under way is cut short rather than waited for.
  m_state->CloseSession();
  DWORD start = ::GetTickCount();
  for (;;) {
    // The box may come up just after a look, so look again each round.
    ::EnumThreadWindows(m_threadId, CloseBox, 0);
    DWORD elapsed = ::GetTickCount() - start;
    DWORD slice = elapsed >= ms ? 0 : std::min<DWORD>(20, ms - elapsed);
    if (::WaitForSingleObject(m_thread.get(), slice) == WAIT_OBJECT_0) return true;
    if (::GetTickCount() - start >= ms) return false;
  }
}

bool CUpdateCheck::Running() const { return m_thread && ::WaitForSingleObject(m_thread.get(), 0) == WAIT_TIMEOUT; }

bool CUpdateCheck::WaitFinished(DWORD ms) const {
  return !m_thread || ::WaitForSingleObject(m_thread.get(), ms) == WAIT_OBJECT_0;
}

int CUpdateCheck::Attempts() const { return m_state ? m_state->attempts.load() : 0; }

std::string CUpdateCheck::FoundVersion() const { return m_state ? m_state->found : std::string(); }
