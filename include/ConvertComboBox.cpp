#include "include/ConvertComboBox.h"

#include <vector>

CConvertComboBox::~CConvertComboBox() { Detach(); }

bool CConvertComboBox::SubclassWindow(HWND combo) { return Attach(combo); }

namespace {
// CBS_DROPDOWNLIST is CBS_SIMPLE | CBS_DROPDOWN: the kind is the low two bits, not a flag.
bool IsDropDownList(HWND combo) { return (::GetWindowLongPtrA(combo, GWL_STYLE) & 3) == CBS_DROPDOWNLIST; }

std::string ItemText(HWND combo, int index) {
  LRESULT len = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (len == CB_ERR || len < 0) return std::string();
  std::vector<char> buf(static_cast<size_t>(len) + 1, '\0');
  LRESULT got = ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
  if (got == CB_ERR || got < 0) return std::string();
  return std::string(buf.data(), static_cast<size_t>(got) < buf.size() ? static_cast<size_t>(got) : buf.size() - 1);
}
}  // namespace

int CConvertComboBox::AddItem(const std::string& key, const std::string& display) {
  if (!hwnd()) return CB_ERR;
  auto index = static_cast<int>(::SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(display.c_str())));
  if (index >= 0) m_map.Add(key, display);
  return index;
}

bool CConvertComboBox::SelectKey(const std::string& key) {
  if (!hwnd() || !m_map.HasKey(key)) return false;
  std::string display = m_map.DisplayOf(key);
  ::SetWindowTextA(hwnd(), display.c_str());
  if (!IsDropDownList(hwnd())) return true;
  auto sel = static_cast<int>(::SendMessageA(hwnd(), CB_GETCURSEL, 0, 0));
  return sel >= 0 && ::lstrcmpiA(ItemText(hwnd(), sel).c_str(), display.c_str()) == 0;
}

std::string CConvertComboBox::SelectedKey() const {
  if (!hwnd()) return std::string();
  if (IsDropDownList(hwnd())) {
    auto sel = static_cast<int>(::SendMessageA(hwnd(), CB_GETCURSEL, 0, 0));
    if (sel < 0) return std::string();
    return m_map.KeyOf(ItemText(hwnd(), sel));
  }
  int len = ::GetWindowTextLengthA(hwnd());
  std::string text(static_cast<size_t>(len > 0 ? len : 0) + 1, '\0');
  int got = ::GetWindowTextA(hwnd(), &text[0], len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return m_map.KeyOf(text);
}

void CConvertComboBox::ResetContent() {
  if (hwnd()) ::SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
  m_map.Clear();
}

LRESULT CConvertComboBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SETTEXT && IsDropDownList(hwnd())) {
    const char* text = lParam ? reinterpret_cast<const char*>(lParam) : "";
    auto count = static_cast<int>(::SendMessageA(hwnd(), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      if (::lstrcmpiA(ItemText(hwnd(), i).c_str(), text) == 0) {
        ::SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        break;
      }
    }
    return TRUE;
  }
  return CallOriginal(msg, wParam, lParam);
}
