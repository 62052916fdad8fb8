#include <doctest/doctest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "actions/closecomputerdlg.h"
#include "actions/uptime.h"
#include "closecomputerdlg_ids.h"
#include "include/GlobalData.h"
#include "include/handles.h"
#include "language/language.h"
#include "tests/actions/fakepower.h"
#include "tests/support/capture.h"
#include "tests/support/modal.h"
#include "tests/winsupport.h"

namespace {

// A program folder of its own whose English file holds the dialog's texts.
struct LanguageFixture {
  TempDir dir;
  GlobalPaths saved = Paths();
  LanguageFixture() {
    MakeFolder(dir / "language");
    WriteFileBytes(dir / "language\\English.txt",
                   "[String]\r\nL0088=Uptime:\r\nL0089=day(s)\r\nL0090=hour(s)\r\nL0091=minute(s)\r\n"
                   "L0093=Turn off computer\r\nL0094=Shut down\r\nL0095=Restart\r\nL0096=Sleep\r\n"
                   "L0097=Log off\r\nL0098=Hibernate\r\nL0099=Close\r\n");
    SetGlobalPaths(BuildGlobalPaths(dir.path()));
  }
  ~LanguageFixture() { SetGlobalPaths(saved); }
};

constexpr uint64_t kMinute = 60000, kHour = 60 * kMinute, kDay = 24 * kHour;

// Runs one step inside the dialog's modal loop once it is on screen (checked, unless `shown` is
// asked for: then it tells whether the dialog came up at all).
INT_PTR Run(CCloseComputerDlg& dlg, const std::function<void(HWND)>& step, bool* shown = nullptr) {
  if (!shown) return RunDialog(dlg, step);
  DialogScript script;
  script.Then([&] { return dlg.hwnd(); }, step).Start(8000);
  INT_PTR result = dlg.DoModal(nullptr);
  *shown = script.Done();
  return result;
}

struct ButtonCase {
  int id;
  std::vector<std::string> calls;
};

const ButtonCase kButtonCases[] = {
    {IDC_CC_SHUTDOWN, {"privilege", "exit 1 0"}},
    {IDC_CC_RESTART, {"privilege", "exit 2 0"}},
    {IDC_CC_SLEEP, {"privilege", "power suspend force"}},
    {IDC_CC_LOGOFF, {"exit 0 0"}},
    {IDC_CC_HIBERNATE, {"privilege", "power hibernate force"}},
};

uint64_t FixedUptime() { return kDay + 5 * kMinute; }

}  // namespace

TEST_CASE("shutdown dialog: each action button asks for its operation once and ends the dialog") {
  LanguageFixture lang;
  // Clicks and plain commands take turns; each closing dialog costs Wine a moment.
  bool byClick = true;
  for (const ButtonCase& c : kButtonCases) {
    byClick = !byClick;
    {
      CAPTURE(c.id);
      CAPTURE(byClick);
      FakePowerActions fake;
      CCloseComputerDlg dlg(fake, FixedUptime);
      INT_PTR result = Run(
          dlg,
          [&](HWND dialog) {
            CHECK(fake.calls.empty());  // nothing happens before the click
            HWND button = ::GetDlgItem(dialog, c.id);
            if (byClick) {
              ::SendMessageA(button, BM_CLICK, 0, 0);
            } else {
              ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            }
          });
      CHECK(result == IDCANCEL);
      CHECK(fake.calls == c.calls);
      CHECK(dlg.hwnd() == nullptr);
    }
  }
}

TEST_CASE("shutdown dialog: the close button and Esc end it without any operation") {
  LanguageFixture lang;
  FakePowerActions fake;
  {
    CCloseComputerDlg dlg(fake, FixedUptime);
    INT_PTR result = Run(dlg, [](HWND dialog) {
      ::SendMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    CHECK(result == IDCANCEL);
  }
  {
    CCloseComputerDlg dlg(fake, FixedUptime);
    INT_PTR result = Run(dlg, [](HWND dialog) {
      HWND focus = ::GetFocus();
      CHECK(focus == ::GetDlgItem(dialog, IDCANCEL));
      ::PostMessageA(focus ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    CHECK(result == IDCANCEL);
  }
  CHECK(fake.calls.empty());
}

TEST_CASE("shutdown dialog: other commands and notifications do nothing") {
  LanguageFixture lang;
  FakePowerActions fake;
  CCloseComputerDlg dlg(fake, FixedUptime);
  INT_PTR result = Run(dlg, [&](HWND dialog) {
    HWND button = ::GetDlgItem(dialog, IDC_CC_SHUTDOWN);
    // A focus notification from a button, an unknown id, and Enter (IDOK) must not act.
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CC_SHUTDOWN, BN_SETFOCUS), reinterpret_cast<LPARAM>(button));
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(4242, BN_CLICKED), 0);
    CHECK(::IsWindow(dialog));
    CHECK(fake.calls.empty());
    ::EndDialog(dialog, IDCANCEL);
  });
  CHECK(result == IDCANCEL);
  CHECK(fake.calls.empty());
}

TEST_CASE("shutdown dialog: topmost, captionless, frameless, with translated texts") {
  LanguageFixture lang;
  FakePowerActions fake;
  CCloseComputerDlg dlg(fake, FixedUptime);
  Run(dlg, [](HWND dialog) {
    LONG_PTR style = ::GetWindowLongPtrA(dialog, GWL_STYLE);
    LONG_PTR exStyle = ::GetWindowLongPtrA(dialog, GWL_EXSTYLE);
    CHECK((exStyle & WS_EX_TOPMOST) != 0);
    CHECK((style & WS_CAPTION) == 0);
    CHECK((style & (WS_THICKFRAME | WS_BORDER | WS_DLGFRAME)) == 0);
    CHECK((style & WS_POPUP) != 0);
    CHECK(TextOf(::GetDlgItem(dialog, IDC_CC_HEADING)) == "Turn off computer");
    CHECK(TextOf(::GetDlgItem(dialog, IDC_CC_SHUTDOWN)) == "Shut down");
    CHECK(TextOf(::GetDlgItem(dialog, IDC_CC_RESTART)) == "Restart");
    CHECK(TextOf(::GetDlgItem(dialog, IDC_CC_SLEEP)) == "Sleep");
    CHECK(TextOf(::GetDlgItem(dialog, IDC_CC_LOGOFF)) == "Log off");
    CHECK(TextOf(::GetDlgItem(dialog, IDC_CC_HIBERNATE)) == "Hibernate");
    // Centred on the work area.
    RECT area = {}, rc = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    ::GetWindowRect(dialog, &rc);
    CHECK(std::abs((rc.left + rc.right) - (area.left + area.right)) <= 2);
    CHECK(std::abs((rc.top + rc.bottom) - (area.top + area.bottom)) <= 2);
    ::EndDialog(dialog, IDCANCEL);
  });
}

TEST_CASE("shutdown dialog: the uptime line shows the formatted uptime and follows the timer") {
  LanguageFixture lang;
  FakePowerActions fake;
  uint64_t now = kDay + 5 * kMinute;
  CCloseComputerDlg dlg(fake, [&] { return now; });
  Run(dlg, [&](HWND dialog) {
    HWND line = ::GetDlgItem(dialog, IDC_CC_UPTIME);
    CHECK(TextOf(line) == "Uptime: 1 day(s) 5 minute(s)");
    now = 3 * kDay + 2 * kHour + 59 * kMinute;
    ::SendMessageA(dialog, WM_TIMER, 2, 0);  // not the uptime timer
    CHECK(TextOf(line) == "Uptime: 1 day(s) 5 minute(s)");
    ::SendMessageA(dialog, WM_TIMER, 1, 0);
    CHECK(TextOf(line) == "Uptime: 3 day(s) 2 hour(s) 59 minute(s)");
    now = 30000;
    ::SendMessageA(dialog, WM_TIMER, 1, 0);
    CHECK(TextOf(line) == "Uptime:");
    ::EndDialog(dialog, IDCANCEL);
  });
}

TEST_CASE("shutdown dialog: the system clock gives the time since start, past 32 bits") {
  LanguageFixture lang;
  uint64_t before = ::GetTickCount64();
  uint64_t uptime = CCloseComputerDlg::SystemUptime();
  CHECK(uptime >= before);
  FakePowerActions fake;
  CCloseComputerDlg dlg(fake);
  Run(dlg, [&](HWND dialog) {
    std::string shown = TextOf(::GetDlgItem(dialog, IDC_CC_UPTIME));
    uint64_t after = ::GetTickCount64();
    auto text = [](const std::string& key) { return GetLanguageText(key); };
    // The minute may turn between the two readings.
    CHECK((shown == uptime::FormatUptime(before, text) || shown == uptime::FormatUptime(after, text)));
    ::EndDialog(dialog, IDCANCEL);
  });
}

TEST_CASE("shutdown dialog: a second one cannot open while one is open, and can afterwards") {
  LanguageFixture lang;
  FakePowerActions fake, fakeSecond;
  CCloseComputerDlg first(fake, FixedUptime);
  bool secondRefused = false;
  INT_PTR secondResult = 0;
  Run(first, [&](HWND dialog) {
    CCloseComputerDlg second(fakeSecond, FixedUptime);
    DWORD start = ::GetTickCount();
    secondResult = second.DoModal(nullptr);
    CHECK(::GetTickCount() - start < 2000);  // ended at once, not on a timeout
    secondRefused = second.WasRefused();
    CHECK(second.hwnd() == nullptr);
    // The open dialog is left as it is.
    CHECK(::IsWindowVisible(dialog));
    CHECK(first.hwnd() == dialog);
    ::SendMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  });
  CHECK(secondResult == IDCANCEL);
  CHECK(secondRefused);
  CHECK_FALSE(first.WasRefused());
  CHECK(fakeSecond.calls.empty());

  CCloseComputerDlg third(fake, FixedUptime);
  bool shown = false;
  INT_PTR result = Run(third, [](HWND dialog) { ::EndDialog(dialog, IDCANCEL); }, &shown);
  CHECK(shown);
  CHECK(result == IDCANCEL);
  CHECK_FALSE(third.WasRefused());
}

TEST_CASE("shutdown dialog: the marker is named and shared, so another holder keeps it closed") {
  LanguageFixture lang;
  FakePowerActions fake;
  {
    // Another process's dialog, as far as this one can tell.
    KernelHandle other(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 50,
                                            names::kShutdownDialogMarker));
    REQUIRE(other);
    CCloseComputerDlg dlg(fake, FixedUptime);
    bool shown = false;
    INT_PTR result = Run(dlg, [](HWND dialog) { ::EndDialog(dialog, IDCANCEL); }, &shown);
    CHECK(result == IDCANCEL);
    CHECK(dlg.WasRefused());
    CHECK_FALSE(shown);
  }
  CCloseComputerDlg dlg(fake, FixedUptime);
  bool shown = false;
  Run(dlg, [](HWND dialog) {
    // While it is open the block exists, with its first four bytes cleared.
    KernelHandle probe(::OpenFileMappingA(FILE_MAP_READ, FALSE, names::kShutdownDialogMarker));
    REQUIRE(probe);
    MappedView view(::MapViewOfFile(probe.get(), FILE_MAP_READ, 0, 0, 4));
    REQUIRE(view);
    CHECK(*static_cast<const DWORD*>(view.get()) == 0);
    ::EndDialog(dialog, IDCANCEL);
  }, &shown);
  CHECK(shown);
  CHECK(fake.calls.empty());
  // Closed again: nobody holds the name any more.
  KernelHandle after(::OpenFileMappingA(FILE_MAP_READ, FALSE, names::kShutdownDialogMarker));
  CHECK_FALSE(after);
}

TEST_CASE("shutdown dialog: the background has a dark heading band, a light middle and a border") {
  LanguageFixture lang;
  FakePowerActions fake;
  CCloseComputerDlg dlg(fake, FixedUptime);
  Run(dlg, [](HWND dialog) {
    RECT client = {};
    ::GetClientRect(dialog, &client);
    ClientDc screen(dialog);
    MemoryDc dc(::CreateCompatibleDC(screen.get()));
    BitmapHandle bitmap(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    SelectedObject selected(dc.get(), bitmap.get());
    CHECK(::SendMessageA(dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0) != 0);
    auto bottomOf = [&](int id, bool top) {
      RECT rc = {};
      ::GetWindowRect(::GetDlgItem(dialog, id), &rc);
      ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
      return top ? rc.top : rc.bottom;
    };
    int headingBottom = bottomOf(IDC_CC_HEADING, false);
    int uptimeTop = bottomOf(IDC_CC_UPTIME, true);
    int x = client.right / 2;
    CHECK(::GetPixel(dc.get(), x, 5) == RGB(75, 0, 100));
    CHECK(::GetPixel(dc.get(), x, headingBottom - 1) == RGB(75, 0, 100));
    CHECK(::GetPixel(dc.get(), x, headingBottom) == RGB(115, 39, 148));
    CHECK(::GetPixel(dc.get(), x, uptimeTop - 1) == RGB(115, 39, 148));
    CHECK(::GetPixel(dc.get(), x, uptimeTop) == RGB(75, 0, 100));
    CHECK(::GetPixel(dc.get(), 0, (headingBottom + uptimeTop) / 2) == RGB(75, 0, 100));
    CHECK(::GetPixel(dc.get(), client.right - 1, (headingBottom + uptimeTop) / 2) == RGB(75, 0, 100));
    CHECK(::GetPixel(dc.get(), 1, (headingBottom + uptimeTop) / 2) == RGB(115, 39, 148));
    CHECK(SaveShot(WindowPixels(dialog), "shutdown", "shutdown.png"));
    ::EndDialog(dialog, IDCANCEL);
  });
}
