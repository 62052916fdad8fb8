// The program's one long-lived window: hidden at start, shown on request; it owns the window a
// second instance finds, and it ends the program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/hotkeyreg.h"
#include "app/trayicon.h"
#include "app/traymessagedlg.h"
#include "app/updatecheck.h"
#include "include/BoldTextStatic.h"
#include "include/DialogBase.h"
#include "include/GradientLineStatic.h"
#include "include/HyperLinkButton.h"
#include "include/IconButton.h"

#include <map>
#include <set>
#include "include/handles.h"

// An invisible child of the main window whose class a second instance searches for; it passes the
// show request on to its parent.
class CMsgWindow {
 public:
  bool Create(HWND parent);
  HWND hwnd() const { return m_hWnd; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND m_hWnd = nullptr;  // a child: destroyed with its parent
};

class CMainDlg : public CDialogBase {
 public:
  CMainDlg();
  // The window's WM_DESTROY takes the tray icon and the hotkeys away while the members still exist.
  ~CMainDlg() override { Destroy(); }

  // Creates the window as a modeless dialog without owner, hidden; it stays so until asked to show.
  bool Create();
  const CTrayMessageDlg& volumePopup() const { return m_volumePopup; }
  const CTrayIcon& trayIcon() const { return m_trayIcon; }

  // Status lines from the hotkey table's counters.
  void RefreshStatus(const HotkeyStats& stats);
  // Unregisters, registers again from the files, and refreshes the status lines.
  void ReRegisterHotkeys();
  const CUpdateCheck& updateCheck() const { return m_update; }
  bool busy() const { return m_busy; }
  // The tray menu, its disc tray submenus with an entry for each of `drives` (their texts) in order.
  static MenuHandle BuildTrayMenu(const std::vector<std::string>& drives);

  // The editing commands, each reached from its button and its tray menu entry, each run inside
  // the one busy guard (RunModal) so that no second editor or import can start meanwhile.
  void OnOptionsCommand();
  void OnManageHotkeysCommand(bool addMode);
  void OnTextShortcutsCommand();
  void OnExportCommand();
  void OnImportCommand();

 private:
  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  BOOL OnInitDialog();
  void OnShowRequest();
  void OnEndSession(bool sessionEnds);
  void OnCommand(int id);
  void OnDestroy();
  void OnLButtonDown(LPARAM lParam);
  void OnHotkey(WPARAM id);
  void OnVolumeNotify(int iconId, const char* text);
  void OnTrayNotify(UINT mouseMessage);
  void OnTimer(UINT_PTR id);
  void OnTaskbarCreated();
  BOOL OnEraseBackground(HDC dc);
  void OnUpdateFound();
  void MakeUpdateButtonBold();
  bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result);
  // Runs a menu or button command; the tray menu passes its guard on to the command it chose.
  void RunCommand(int id);

  // The first registration of the hotkeys, inside the busy guard, and the status lines.
  void RegisterAtStart();
  void AddTrayIcon();
  void ShowTrayMenu();
  void FirstRun();
  void ToggleShown();
  void ShowNormal();
  void RunModal(const std::function<void()>& dialog);

  // Texts, icons, the buttons' and statics' set-up, the skin and the button pictures and the
  // layered style, once, when the window is first shown.
  void DressForFirstShow();
  void LoadSkin();
  void MakeTitleFont();
  void OnDpiChanged() override;
  void ApplySkinRegion();
  void SetUpButtons();
  void SetUpStatics();
  void SetVersionLines();
  void MakeLayered();
  void PlaceCaptionButtons();
  void LoadIcons();
  void HideToTray();
  // Destroys the window and ends the message loop with exit code 2.
  void Quit();

  CMsgWindow m_msgWindow;
  CHotkeyTable m_hotkeys;
  CTrayMessageDlg m_volumePopup;
  CTrayIcon m_trayIcon;
  std::map<UINT, std::string> m_driveByCommand;  // disc tray entries of the menu being shown
  IconHandle m_bigIcon, m_smallIcon, m_titleIcon;
  BitmapHandle m_skin;
  FontHandle m_titleFont, m_boldButtonFont;
  CIconButton m_minimize, m_close, m_options;
  CIconButton m_large[5];
  CBoldTextStatic m_statusHeader, m_versionHeader, m_versionText;
  CBoldTextStatic m_statusLines[4], m_versionLines[3];
  CGradientLineStatic m_separator;
  CHyperLinkButton m_company;
  CUpdateCheck m_update;
  bool m_dressed = false;
  // Set until the window is created and hidden. A show request that comes meanwhile (a second
  // start while the tray icon is being added) waits for the hide, so that the hide cannot undo it.
  bool m_starting = false, m_showAskedWhileStarting = false;
  // Set while a tray notification or a dialog opened from the window runs: the tray and a second
  // start then leave the window alone, and no second editor can open.
  bool m_busy = false;
  // Set while the tray menu hands its guard to the command chosen from it.
  bool m_guardHandedOver = false;
  // The files of the hotkeys whose action lists are running (nested lists included).
  std::set<std::string> m_runningHotkeys;
};

// Product name and version from the executable, for captions and the title.
std::string ProductCaption();
// ProductName + " v" + ProductVersion: the window's title and the tray icon's tip.
std::string ProductTitle();
