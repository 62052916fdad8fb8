// What every dialog of the program shares: one dialog procedure that ties the window to its object
// (the object comes in WM_INITDIALOG's lParam and is kept in DWLP_USER) and hands each message on
// to HandleMessage; modal and modeless creation from a template of this module; the window while
// it exists. Also the placing and the big icon most dialogs set up in WM_INITDIALOG.
//
//   class CMyDlg : public CDialogBase {
//    public:
//     CMyDlg() : CDialogBase(IDD_MY) {}
//    private:
//     INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
//   };
#pragma once

#include <windows.h>

#include "include/dpi.h"
#include "include/handles.h"

// One control of a dialog's table: its id, an icon resource and the language key of its text.
struct IconControl {
  int id;
  UINT icon;
  const char* textKey;
};

// Where CentreWindow puts a window.
enum class Centring {
  OverOwner,   // over its owner while the owner is shown and not minimized, else on the work area
  OnWorkArea,  // on the work area of the owner's monitor (the window's own when it has no owner)
};

// Centres `window` as asked, kept inside the work area so that no edge leaves the screen.
void CentreWindow(HWND window, Centring where);

// How a dialog's controls take their texts. The program's dialogs are ANSI; a dialog whose
// controls show texts the user wrote (the predefined texts) is Unicode, so that its edits and
// trees keep characters beyond the system's code page. Unicode is for modal dialogs: their own
// message loop is then Unicode too and delivers every character typed (the program's main loop,
// which serves modeless dialogs, is ANSI).
enum class DialogText { Ansi, Unicode };

class CDialogBase {
 public:
  CDialogBase(const CDialogBase&) = delete;
  CDialogBase& operator=(const CDialogBase&) = delete;

  // Runs the dialog modally over `parent`: EndDialog's result, -1 when the template cannot be loaded.
  INT_PTR DoModal(HWND parent);
  // Creates the dialog modeless, as a child of `parent` or owned by it (the template says which);
  // the window already made when there is one; null on failure.
  HWND Create(HWND parent);
  // Destroys the window, if there is one, while the object still answers its messages.
  void Destroy();

  // The window while it exists: null before WM_INITDIALOG and after WM_NCDESTROY.
  HWND hwnd() const { return m_hWnd; }
  UINT TemplateId() const { return m_templateId; }

 protected:
  explicit CDialogBase(UINT templateId, DialogText text = DialogText::Ansi) : m_templateId(templateId), m_text(text) {}
  // A window still there is let go of first and then destroyed: the object's members are gone by
  // now. Classes whose window must see its WM_DESTROY (or its children's) call Destroy() in their
  // own destructor.
  virtual ~CDialogBase();

  // The dialog procedure's answer to one message. This one sends the usual messages to the
  // handlers below; a class's own map takes what else it needs and passes the rest on here.
  virtual INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // WM_INITDIALOG; TRUE lets the dialog manager give the focus to the first control.
  virtual BOOL OnInitDialog() { return TRUE; }
  // WM_COMMAND from a control, a menu or an accelerator. This one runs OnOK and OnCancel for
  // clicks of IDOK and IDCANCEL (Enter and Esc included).
  virtual void OnCommand(int id, int code);
  virtual void OnOK() { ::EndDialog(m_hWnd, IDOK); }
  virtual void OnCancel() { ::EndDialog(m_hWnd, IDCANCEL); }
  // WM_NOTIFY: the answer, which goes to DWLP_MSGRESULT.
  virtual LRESULT OnNotify(const NMHDR& /*hdr*/) { return 0; }
  // WM_ERASEBKGND: TRUE when the background is painted (the base answers so for the dialog).
  virtual BOOL OnEraseBackground(HDC /*dc*/) { return FALSE; }
  // WM_CTLCOLOR* (`msg` says which): the brush behind the control, null for the system's colours.
  virtual HBRUSH OnControlColour(UINT /*msg*/, HDC /*dc*/) { return nullptr; }

  // The window's big icon from an icon resource of this module, at the window's dpi (again after
  // each change of dpi).
  void SetBigIcon(UINT iconId);
  // After the window (or, for a child dialog, its top-level window) took a new dpi: the children
  // are moved and have the new dialog font by then; a dialog renews here what it made at the old
  // dpi (image lists, list columns, its own fonts and pictures). Dpi() is the new dpi.
  virtual void OnDpiChanged() {}
  int Dpi() const { return dpi::WindowDpi(m_hWnd); }
  // A 96-dpi figure at the window's dpi.
  int Scaled(int value96) const { return dpi::Scale(value96, Dpi()); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  void OnDpiMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  UINT m_templateId;
  UINT m_bigIconId = 0;
  IconHandle m_bigIcon;
  dpi::CDpiFonts m_dpiFonts;
  DialogText m_text;

 protected:
  // Set by the dialog procedure only; derived classes read it.
  HWND m_hWnd = nullptr;
};
