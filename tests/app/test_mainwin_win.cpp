#include <doctest/doctest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "aboutdlg_ids.h"
#include "app/aboutdlg.h"
#include "app/traymessagedlg.h"
#include "app/updatecheck.h"
#include "include/GlobalData.h"
#include "include/miscfuns.h"
#include "include/msgwait.h"
#include "language/language.h"
#include "tests/include/controls_support.h"
#include "tests/support/modal.h"
#include "tests/support/programfolder.h"
#include "tests/winsupport.h"

namespace {

using LanguageFixture = ProgramFolder;

void SaveShot(const Pixels& px, const std::string& name) { CHECK(SaveShot(px, "mainwin", name)); }

int DistinctColours(const Pixels& px) {
  std::vector<uint32_t> seen;
  for (uint32_t c : px.bgra) {
    if (seen.size() > 64) break;
    bool known = false;
    for (uint32_t s : seen) known = known || s == (c & 0xFFFFFF);
    if (!known) seen.push_back(c & 0xFFFFFF);
  }
  return static_cast<int>(seen.size());
}

std::string HttpBase() {
  std::string port = ReadFileBytes(std::string(QUORVEL_HTTP_FIXTURE_DIR) + "\\port");
  while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
  REQUIRE_FALSE(port.empty());
  return "http://127.0.0.1:" + port + "/";
}

// The update check's message box, once its thread shows one.
HWND FindBoxOf(DWORD threadId) {
  HWND found = nullptr;
  ::EnumThreadWindows(
      threadId,
      [](HWND hwnd, LPARAM out) {
        char cls[16] = {};
        ::GetClassNameA(hwnd, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0 && ::IsWindowVisible(hwnd)) {
          *reinterpret_cast<HWND*>(out) = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

UpdateCheckConfig TestConfig(const std::string& url) {
  UpdateCheckConfig c;
  c.versionUrl = url;
  c.productName = "Quorvel";
  c.productVersion = "1.0";
  c.downloadPage = "https://quorvel.example/download";
  c.retryMs = 20;
  return c;
}

bool WaitUntilPumping(const std::function<bool()>& condition, DWORD ms) {
  DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > ms) return false;
    WaitPumpingMessages(20);
  }
  return true;
}

// A window that counts the update notices posted to it.
struct UpdateSink {
  static int s_found;
  HWND window = nullptr;
  UpdateSink() {
    s_found = 0;
    CMiscFuns::RegisterWindowClassOnce("QuorvelTestUpdateSink", [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == kMsgUpdateFound) ++s_found;
      return ::DefWindowProcA(h, m, w, l);
    });
    window = ::CreateWindowExA(0, "QuorvelTestUpdateSink", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    REQUIRE(window);
  }
  ~UpdateSink() { ::DestroyWindow(window); }
  HWND hwnd() const { return window; }
  int found() {
    WaitPumpingMessages(50);
    return s_found;
  }
};
int UpdateSink::s_found = 0;

}  // namespace

TEST_CASE("about box: product, bold version line with date, legal link, acknowledgements and location") {
  for (const char* language : {"English.txt", "Deutsch.txt"}) {
    CAPTURE(language);
    LanguageFixture lang(language);
    GdiplusFixture gdiplus;
    CAboutDlg dlg;
    bool ran = false;
    INT_PTR result = RunDialog(dlg, [&](HWND box) {
      ran = true;
      CHECK(TextOf(box) == GetPlainLanguageText("L0147"));
      CHECK(TextOf(::GetDlgItem(box, IDC_ABOUT_PRODUCT)) == CMiscFuns::GetOwnVersionString("ProductName"));
      std::string version = CMiscFuns::GetOwnVersionString("ProductVersion");
      std::string date = FileDateText(CMiscFuns::GetModulePath());
      REQUIRE(date.size() == 10);
      CHECK(TextOf(::GetDlgItem(box, IDC_ABOUT_VERSION)) ==
            FormatLanguageText("L0148", {lang::FormatArg::Str(version), lang::FormatArg::Str(date)}));
      CHECK(TextOf(::GetDlgItem(box, IDC_ABOUT_LEGAL)) == CMiscFuns::GetOwnVersionString("LegalCopyright"));
      CHECK(TextOf(::GetDlgItem(box, IDC_ABOUT_THANKS_LABEL)) == GetLanguageText("L0151"));
      CHECK(TextOf(::GetDlgItem(box, IDC_ABOUT_THANKS)) == GetLanguageText("L0193"));
      CHECK(TextOf(::GetDlgItem(box, IDC_ABOUT_LOCATION)) ==
            GetLanguageText("L0150") + "\r\n\r\n" + CMiscFuns::GetModulePath());
      CHECK(TextOf(::GetDlgItem(box, IDCANCEL)) == GetLanguageText("L0099"));
      CHECK(::SendDlgItemMessageA(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0) != 0);
      // The size the template gives.
      RECT expected = {0, 0, 333, 271}, client;
      ::MapDialogRect(box, &expected);
      ::GetClientRect(box, &client);
      CHECK(client.right == expected.right);
      CHECK(client.bottom == expected.bottom);
      WaitPumpingMessages(300);
      Pixels px = ScreenPixels(box);
      CHECK(px.width == client.right);
      CHECK(px.Count(RGB(255, 255, 255)) > px.width * px.height / 3);  // the plain background
      CHECK(DistinctColours(px) > 8);                                   // text, icon, link, frames
      SaveShot(px, std::string("about-") + (language[0] == 'E' ? "en" : "de") + ".png");
      // Esc closes it.
      ::SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    CHECK(ran);
    CHECK(result == IDCANCEL);
  }
}

TEST_CASE("tray popup: the volume notice slides in at the bottom right and shows icon and level") {
  LanguageFixture lang;
  GdiplusFixture gdiplus;
  CTrayMessageDlg popup;
  REQUIRE(popup.Create(nullptr));
  popup.SetMessage(224, "75");
  popup.SetDisplayTime(-1);
  popup.ShowMessage();
  RECT work, rc;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  CHECK(WaitUntilPumping([&] { return ::GetWindowRect(popup.hwnd(), &rc) && rc.bottom == work.bottom; }, 5000));
  CHECK(rc.right == work.right - 5);
  WaitPumpingMessages(200);
  Pixels px = ScreenPixels(popup.hwnd());
  CHECK(px.width > 100);
  CHECK(DistinctColours(px) > 8);
  SaveShot(px, "traypopup.png");
}

TEST_CASE("update check: without a server it tries ten times and ends quietly") {
  LanguageFixture lang;
  UpdateSink window;
  CUpdateCheck check;
  // Nobody listens on port 9 of this machine.
  REQUIRE(check.Start(window.hwnd(), TestConfig("http://127.0.0.1:9/version.txt")));
  CHECK(check.WaitFinished(60000));
  CHECK(check.Attempts() == 10);
  CHECK(window.found() == 0);
  CHECK(check.FoundVersion().empty());
  // One thread at most.
  CHECK_FALSE(check.Start(window.hwnd(), TestConfig("http://127.0.0.1:9/version.txt")));
}

TEST_CASE("update check: a stop wakes the pause between attempts at once") {
  LanguageFixture lang;
  UpdateSink window;
  CUpdateCheck check;
  UpdateCheckConfig c = TestConfig("http://127.0.0.1:9/version.txt");
  c.retryMs = 120000;
  REQUIRE(check.Start(window.hwnd(), c));
  CHECK(WaitUntilPumping([&] { return check.Attempts() == 1; }, 20000));
  DWORD start = ::GetTickCount();
  CHECK(check.Stop(5000));
  CHECK(::GetTickCount() - start < 3000);
  CHECK(check.Attempts() == 1);
}

TEST_CASE("update check: a newer version is announced, an equal one and garbage are not") {
  LanguageFixture lang;
  UpdateSink window;
  std::string base = HttpBase();
  {
    CUpdateCheck check;
    REQUIRE(check.Start(window.hwnd(), TestConfig(base + "newer.txt")));
    HWND box = nullptr;
    REQUIRE(WaitUntilPumping([&] { return (box = FindBoxOf(check.ThreadId())) != nullptr; }, 20000));
    CHECK(check.FoundVersion() == "99.5");
    CHECK(window.found() == 1);
    CHECK(TextOf(box) == "Quorvel");
    std::string text = TextOf(::GetDlgItem(box, 0xFFFF));
    CHECK(text == FormatLanguageText("L0163", {lang::FormatArg::Str("Quorvel"), lang::FormatArg::Str("99.5"),
                                               lang::FormatArg::Str("1.0")}));
    // Stopping closes the box (as Cancel) and the thread ends.
    DWORD start = ::GetTickCount();
    CHECK(check.Stop(5000));
    CHECK(::GetTickCount() - start < 3000);
    CHECK(check.Attempts() == 1);
  }
  for (const char* file : {"equal.txt", "garbage.txt", "long.txt"}) {
    CAPTURE(file);
    UpdateSink::s_found = 0;
    CUpdateCheck check;
    REQUIRE(check.Start(window.hwnd(), TestConfig(base + file)));
    CHECK(check.WaitFinished(20000));
    // A file that came down is an answer: no second attempt.
    CHECK(check.Attempts() == 1);
    CHECK(check.FoundVersion().empty());
    CHECK(window.found() == 0);
  }
}

TEST_CASE("update check: settings give the address and the pause; an empty address turns it off") {
  TempDir dir;
  std::string ini = dir / "Settings.ini";
  UpdateCheckConfig def = UpdateConfigFromSettings(ini);
  CHECK(def.versionUrl.rfind("https://quorvel.example/", 0) == 0);
  CHECK(def.retryMs == 120000);
  CHECK(def.maxAttempts == 10);
  WriteFileBytes(ini, "[Settings]\r\nUpdateUrl=http://127.0.0.1:1/v.txt\r\nUpdateRetryMs=-5\r\n");
  UpdateCheckConfig set = UpdateConfigFromSettings(ini);
  CHECK(set.versionUrl == "http://127.0.0.1:1/v.txt");
  CHECK(set.retryMs >= 10);
  WriteFileBytes(ini, "[Settings]\r\nUpdateUrl=\r\n");
  CUpdateCheck check;
  CHECK_FALSE(check.Start(nullptr, UpdateConfigFromSettings(ini)));
  CHECK_FALSE(check.Running());
}
