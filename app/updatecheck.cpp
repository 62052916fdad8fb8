#include "app/updatecheck.h"

#include <shellapi.h>
#include <urlmon.h>
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

// The download libraries are loaded by the update thread when it first needs them, not with the
// program: the window is up sooner and a program whose check is off never loads them.
CLazyDll g_urlmon("urlmon.dll"), g_wininet("wininet.dll");

void ForgetCachedCopy(const std::string& url) {
  if (auto forget = g_wininet.Function<decltype(&::DeleteUrlCacheEntryA)>("DeleteUrlCacheEntryA")) forget(url.c_str());
}

HRESULT DownloadToFile(const std::string& url, const std::string& file) {
  auto download = g_urlmon.Function<decltype(&::URLDownloadToFileA)>("URLDownloadToFileA");
  return download ? download(nullptr, url.c_str(), file.c_str(), 0, nullptr) : E_NOTIMPL;
}

}  // namespace

struct CUpdateCheck::State {
  UpdateCheckConfig config;
  HWND notify = nullptr;
  KernelHandle stop{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<int> attempts{0};
  std::string found;  // written once, before kMsgUpdateFound is posted

  bool Stopped() const { return ::WaitForSingleObject(stop.get(), 0) == WAIT_OBJECT_0; }
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
  HRESULT hr = DownloadToFile(c.versionUrl, target);
  if (FAILED(hr)) {
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
  DWORD start = ::GetTickCount();
  for (;;) {
    // The box may come up just after a look, so look again each round.
    ::EnumThreadWindows(m_threadId, CloseBox, 0);
    if (::WaitForSingleObject(m_thread.get(), 20) == WAIT_OBJECT_0) return true;
    if (::GetTickCount() - start >= ms) return false;
  }
}

bool CUpdateCheck::Running() const { return m_thread && ::WaitForSingleObject(m_thread.get(), 0) == WAIT_TIMEOUT; }

bool CUpdateCheck::WaitFinished(DWORD ms) const {
  return !m_thread || ::WaitForSingleObject(m_thread.get(), ms) == WAIT_OBJECT_0;
}

int CUpdateCheck::Attempts() const { return m_state ? m_state->attempts.load() : 0; }

std::string CUpdateCheck::FoundVersion() const { return m_state ? m_state->found : std::string(); }
