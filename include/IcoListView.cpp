#include "include/IcoListView.h"

#include "include/dpi.h"

#include <algorithm>
#include <vector>

#include "include/controldraw.h"

namespace {

lm::Box ToBox(const RECT& r) { return lm::Box{r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const lm::Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }
COLORREF ToColour(lm::Rgb c) { return RGB(c.r, c.g, c.b); }
lm::Rgb ToRgb(COLORREF c) { return lm::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; }

// Solid fills go through the DC brush, so painting a row makes no GDI objects at all.
void Fill(HDC dc, const lm::Box& box, COLORREF colour) {
  if (box.Empty()) return;
  RECT rc = ToRect(box);
  ::SetDCBrushColor(dc, colour);
  ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

// A one-pixel frame: top and left lines in one colour, bottom and right in the other.
void Frame(HDC dc, const lm::Box& b, COLORREF topLeft, COLORREF bottomRight) {
  if (b.Empty()) return;
  Fill(dc, lm::Box{b.left, b.top, b.right - 1, b.top + 1}, topLeft);
  Fill(dc, lm::Box{b.left, b.top, b.left + 1, b.bottom - 1}, topLeft);
  Fill(dc, lm::Box{b.right - 1, b.top, b.right, b.bottom}, bottomRight);
  Fill(dc, lm::Box{b.left, b.bottom - 1, b.right, b.bottom}, bottomRight);
}

void Gradient(HDC dc, const lm::Box& box, COLORREF top, COLORREF bottom) {
  ctldraw::FillGradient(dc, ToRect(box), top, bottom, true);
}

// The DC's state (clip region, colours, modes, selected objects) put back at the end of a scope.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), id_(::SaveDC(dc)) {}
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;
  ~SavedDcState() {
    if (id_) ::RestoreDC(dc_, id_);
  }

 private:
  HDC dc_;
  int id_;
};

lm::Align AlignOf(int format) {
  switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
      return lm::Align::Right;
    case LVCFMT_CENTER:
      return lm::Align::Center;
    default:
      return lm::Align::Left;
  }
}

UINT TextFormat(lm::Align align) {
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (align == lm::Align::Right) return format | DT_RIGHT;
  if (align == lm::Align::Center) return format | DT_CENTER;
  return format | DT_LEFT;
}

void DrawLine(HDC dc, const std::string& text, const lm::Box& box, COLORREF colour, UINT format) {
  if (text.empty() || box.Empty()) return;
  RECT rc = ToRect(box);
  ::SetTextColor(dc, colour);
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
}

}  // namespace

// What every cell of one row needs to know.
struct CIcoListView::RowContext {
  int item = 0;
  bool selected = false;
  bool disabled = false;
  bool checkBoxes = false;
  bool checked = false;
  int itemImage = I_IMAGENONE;
  HIMAGELIST images = nullptr;
  int imageCount = 0;
};

CIcoListView::~CIcoListView() { Detach(); }

void CIcoListView::OnDetached() {
  // The buffer belongs to the control's life, which ends here.
  ReleaseBackBuffer();
  m_swallowChar = 0;
  CListViewWindow::OnDetached();
}

void CIcoListView::SetRowHeight(int height) {
  m_nRowHeight = height;
  Remeasure();
}

void CIcoListView::SetCheckBoxes(bool on) { SetExtendedStyle(LVS_EX_CHECKBOXES, on ? LVS_EX_CHECKBOXES : 0); }

bool CIcoListView::HasCheckBoxes() const { return hwnd() && (GetExtendedStyle() & LVS_EX_CHECKBOXES) != 0; }

void CIcoListView::SetCheckBoxImages(HIMAGELIST images) {
  m_checkImages.reset(images);
  if (hwnd()) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

bool CIcoListView::SetCheckBoxIcons(UINT uncheckedId, UINT checkedId, HINSTANCE module) {
  if (!module) module = ::GetModuleHandleA(nullptr);
  m_checkIconIds[0] = uncheckedId;
  m_checkIconIds[1] = checkedId;
  m_checkIconModule = module;
  const int w = std::max(1, Px(m_nIconWidth)), h = std::max(1, Px(m_nIconHeight));
  ImageListHandle images(::ImageList_Create(w, h, ILC_COLOR32 | ILC_MASK, 2, 0));
  if (!images) return false;
  for (UINT id : {uncheckedId, checkedId}) {
    IconHandle icon(static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, w, h, 0)));
    if (!icon || ::ImageList_AddIcon(images.get(), icon.get()) < 0) return false;
  }
  SetCheckBoxImages(images.release());
  return true;
}

std::string CIcoListView::GetDisplayText(int item, int subItem) const {
  return lm::ParseMarkup(GetItemText(item, subItem)).text;
}

// ---- sorting ---------------------------------------------------------------------------------

// The texts of the sorted column, read once before the sort. The list hands the comparison either
// the items' data or, while they are rekeyed, their original indexes; both map to these texts.
struct CIcoListView::SortContext {
  std::vector<std::string> texts;                 // by original index
  std::vector<std::pair<LPARAM, size_t>> byData;  // item data to original index, sorted
  bool rightAligned = false;
  bool descending = false;
  bool keysAreIndexes = false;

  const std::string* TextOf(LPARAM key) const {
    if (keysAreIndexes) {
      if (key < 0 || static_cast<size_t>(key) >= texts.size()) return nullptr;
      return &texts[static_cast<size_t>(key)];
    }
    auto it = std::lower_bound(byData.begin(), byData.end(), std::make_pair(key, size_t{0}));
    if (it == byData.end() || it->first != key) return nullptr;
    return &texts[it->second];
  }
};

int CALLBACK CIcoListView::CompareItems(LPARAM first, LPARAM second, LPARAM context) {
  const auto* ctx = reinterpret_cast<const SortContext*>(context);
  const std::string* a = ctx->TextOf(first);
  const std::string* b = ctx->TextOf(second);
  if (!a || !b) return 0;
  int order = lm::CompareCells(*a, *b, ctx->rightAligned);
  return ctx->descending ? -order : order;
}

void CIcoListView::SortByColumn(int column) {
  if (!hwnd() || column < 0 || column >= GetColumnCount()) return;
  SortContext ctx;
  ctx.rightAligned = AlignOf(GetColumnFormat(column)) == lm::Align::Right;
  ctx.descending = lm::SharedSortDirection().Next();
  const int count = GetItemCount();
  std::vector<LPARAM> data(static_cast<size_t>(std::max(0, count)));
  for (int i = 0; i < count; ++i) {
    ctx.texts.push_back(GetItemText(i, column));
    data[static_cast<size_t>(i)] = GetItemData(i);
    ctx.byData.emplace_back(data[static_cast<size_t>(i)], static_cast<size_t>(i));
  }
  std::sort(ctx.byData.begin(), ctx.byData.end());
  bool unique = std::adjacent_find(ctx.byData.begin(), ctx.byData.end(),
                                   [](const auto& a, const auto& b) { return a.first == b.first; }) == ctx.byData.end();
  // Sorting by item data never depends on where the list keeps its items while it sorts; the
  // indexes of the extended sort do (and differ between implementations). Rows without distinct
  // data get their original indexes as data for the time of the sort; the change notifications of
  // that are kept from the parent.
  if (!unique) {
    ctx.keysAreIndexes = true;
    m_rekeying = true;
    for (int i = 0; i < count; ++i) SetItemData(i, static_cast<LPARAM>(i));
  }
  Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&ctx), reinterpret_cast<LPARAM>(&CIcoListView::CompareItems));
  if (!unique) {
    for (int i = 0; i < count; ++i) {
      LPARAM key = GetItemData(i);
      if (key >= 0 && key < count) SetItemData(i, data[static_cast<size_t>(key)]);
    }
    m_rekeying = false;
  }
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

bool CIcoListView::ProcessReflected(UINT msg, WPARAM /*wParam*/, LPARAM lParam, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
  if (m_rekeying &&
      (hdr->code == static_cast<UINT>(LVN_ITEMCHANGING) || hdr->code == static_cast<UINT>(LVN_ITEMCHANGED))) {
    result = 0;  // allowed, and not the parent's business
    return true;
  }
  if (hdr->code != static_cast<UINT>(LVN_COLUMNCLICK)) return false;
  SortByColumn(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
  result = 0;
  return true;
}

// ---- check boxes -----------------------------------------------------------------------------

int CIcoListView::CheckBoxAt(int x, int y) const {
  LVHITTESTINFO hit = {};
  hit.pt = POINT{x, y};
  int item = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (item < 0 || item >= GetItemCount()) return -1;
  RECT bounds = {};
  bounds.left = LVIR_BOUNDS;
  if (!Send(LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds))) return -1;
  return lm::OnCheckBox(ToBox(bounds), x, y, Px(m_nIconMargin), Px(m_nIconWidth)) ? item : -1;
}

void CIcoListView::ToggleCheck(int item) { SetCheckState(item, !GetCheckState(item)); }

void CIcoListView::ToggleSelectedChecks() {
  int item = -1;
  bool toggled = false;
  for (;;) {
    item = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(item), MAKELPARAM(LVNI_SELECTED, 0)));
    if (item < 0) break;
    ToggleCheck(item);
    toggled = true;
  }
  if (toggled) return;
  // Without a selection the row the keyboard stands on is meant, and it becomes the selected one.
  int focused = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
  if (focused < 0) return;
  ToggleCheck(focused);
  SelectItem(focused);
}

void CIcoListView::NotifyReturn() {
  HWND self = hwnd();
  NMHDR hdr = {};
  hdr.hwndFrom = self;
  hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(self));
  hdr.code = static_cast<UINT>(NM_RETURN);
  ::SendMessageA(::GetParent(self), WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

LRESULT CIcoListView::OnClick(UINT msg, WPARAM wParam, LPARAM lParam) {
  int item = HasCheckBoxes() ? CheckBoxAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))) : -1;
  bool wanted = false;
  if (item >= 0) {
    wanted = !GetCheckState(item);
    SetCheckState(item, wanted);
  }
  HWND self = hwnd();
  LRESULT result = CallOriginal(msg, wParam, lParam);
  // The list view toggles a click on its own state image too; one click changes the box once.
  if (item >= 0 && hwnd() == self && ::IsWindow(self) && item < GetItemCount() && GetCheckState(item) != wanted)
    SetCheckState(item, wanted);
  return result;
}

// ---- painting --------------------------------------------------------------------------------

bool CIcoListView::EnsureBackBuffer(HDC reference, int width, int height) {
  if (m_backDc && width <= m_backWidth && height <= m_backHeight) return true;
  ReleaseBackBuffer();
  // The size of the screen, so that resizing never needs a new one; a list larger than the screen
  // gets one of its own size.
  int w = std::max(width, ::GetSystemMetrics(SM_CXSCREEN));
  int h = std::max(height, ::GetSystemMetrics(SM_CYSCREEN));
  MemoryDc dc(::CreateCompatibleDC(reference));
  if (!dc) return false;
  BitmapHandle bitmap(::CreateCompatibleBitmap(reference, w, h));
  if (!bitmap) return false;
  m_backOld = ::SelectObject(dc.get(), bitmap.get());
  m_backDc = std::move(dc);
  m_backBitmap = std::move(bitmap);
  m_backWidth = w;
  m_backHeight = h;
  return true;
}

void CIcoListView::ReleaseBackBuffer() {
  if (m_backDc && m_backOld) ::SelectObject(m_backDc.get(), m_backOld);
  m_backOld = nullptr;
  m_backDc.reset();
  m_backBitmap.reset();
  m_backWidth = m_backHeight = 0;
}

void CIcoListView::OnPaint() {
  HWND list = hwnd();
  PaintDc paint(list);
  RECT client;
  ::GetClientRect(list, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  ClientDc screen(nullptr);
  if (!EnsureBackBuffer(screen.get(), client.right, client.bottom)) {
    // Without a buffer the list still paints, only with flicker.
    CallOriginal(WM_PAINT, reinterpret_cast<WPARAM>(paint.get()), 0);
    return;
  }
  HDC mem = m_backDc.get();
  COLORREF back = static_cast<COLORREF>(Send(LVM_GETBKCOLOR));
  if (back == CLR_NONE) back = ::GetSysColor(COLOR_WINDOW);
  Fill(mem, ToBox(client), back);
  CallOriginal(WM_PAINT, reinterpret_cast<WPARAM>(mem), 0);
  // The header draws itself; only the rows below it come from the buffer.
  int top = 0;
  HWND header = GetHeader();
  if (header && ::IsWindowVisible(header)) {
    RECT hr;
    ::GetWindowRect(header, &hr);
    ::MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&hr), 2);
    top = std::max(0L, std::min(client.bottom, hr.bottom));
  }
  ::BitBlt(paint.get(), 0, top, client.right, client.bottom - top, mem, 0, top, SRCCOPY);
}

void CIcoListView::MeasureItem(MEASUREITEMSTRUCT* mis) {
  mis->itemHeight = static_cast<UINT>(std::max(1, Px(m_nRowHeight)));
}

void CIcoListView::DrawItem(DRAWITEMSTRUCT* dis) {
  if (!dis || !hwnd() || static_cast<int>(dis->itemID) < 0) return;
  HDC dc = dis->hDC;
  RowContext row;
  row.item = static_cast<int>(dis->itemID);
  row.selected = (dis->itemState & ODS_SELECTED) && !m_bSelectionDrawingOff;
  row.disabled = !::IsWindowEnabled(hwnd());
  row.checkBoxes = HasCheckBoxes();
  row.checked = GetCheckState(row.item);
  row.itemImage = GetItemImage(row.item);
  row.images = GetImageList(LVSIL_SMALL);
  row.imageCount = row.images ? ::ImageList_GetImageCount(row.images) : 0;

  const int columns = GetColumnCount();
  if (columns <= 0) return;
  SavedDcState state(dc);
  HFONT font = reinterpret_cast<HFONT>(Send(WM_GETFONT));
  ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  // The cells line up with the header's items, in their display order, wherever the list puts
  // the row's own rectangle.
  HWND header = GetHeader();
  for (int pos = 0; pos < columns; ++pos) {
    int column = static_cast<int>(::SendMessageA(header, HDM_ORDERTOINDEX, static_cast<WPARAM>(pos), 0));
    RECT hr = {};
    if (column < 0 || column >= columns ||
        !::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hr)))
      continue;
    ::MapWindowPoints(header, hwnd(), reinterpret_cast<POINT*>(&hr), 2);
    RECT cell = {hr.left, dis->rcItem.top, hr.right, dis->rcItem.bottom};
    if (cell.right > cell.left) DrawCell(dc, row, column, cell, pos == 0, pos == columns - 1);
  }
}

void CIcoListView::DrawCell(HDC dc, const RowContext& row, int column, const RECT& rc, bool first, bool last) {
  const lm::Box cell = ToBox(rc);
  const lm::CellMarkup markup = lm::ParseMarkup(GetItemText(row.item, column));
  SavedDcState state(dc);
  ::IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);

  if (row.selected) {
    Gradient(dc, cell, m_crSelectionTop, m_crSelectionBottom);
    for (const lm::FrameLine& line : lm::SelectionFrame(cell, first, last))
      Fill(dc, line.box, line.inner ? m_crSelectionInnerBorder : m_crSelectionOuterBorder);
  } else {
    lm::Rgb back = lm::CellBackground(row.item, ToRgb(m_crEvenRow), ToRgb(m_crOddRow), markup.backColour, row.disabled);
    Fill(dc, cell, ToColour(back));
    for (const lm::Box& line : lm::GridLines(cell, m_dwGridFlags)) Fill(dc, line, m_crGrid);
  }

  const bool checkColumn = row.checkBoxes && column == 0;
  const int icon = lm::ChooseIcon(column == 0, row.itemImage, markup.icon, row.imageCount);
  const lm::Align align = AlignOf(GetColumnFormat(column));
  lm::CellMetrics metrics;
  // The settings are figures at 96 dpi.
  metrics.iconWidth = Px(m_nIconWidth);
  metrics.iconHeight = Px(m_nIconHeight);
  metrics.iconMargin = Px(m_nIconMargin);
  metrics.iconTextGap = Px(m_nIconTextGap);
  metrics.barInsetX = Px(m_nBarInsetX);
  metrics.barInsetY = Px(m_nBarInsetY);
  metrics.textInset = Px(metrics.textInset);
  const lm::CellLayout layout = lm::LayOutCell(cell, metrics, align, checkColumn, markup.percent, icon >= 0);

  if (layout.checkBox && m_checkImages && ::ImageList_GetImageCount(m_checkImages.get()) == 2)
    ::ImageList_Draw(m_checkImages.get(), row.checked ? 1 : 0, dc, layout.checkBoxBox.left, layout.checkBoxBox.top,
                     ILD_TRANSPARENT);

  if (layout.bar) {
    Gradient(dc, layout.barTrack, m_crBarTrackTop, m_crBarTrackBottom);
    Frame(dc, layout.barTrack, m_crBarTrackFrameTopLeft, m_crBarTrackFrameBottomRight);
    if (!layout.barFill.Empty()) {
      Gradient(dc, layout.barFill, m_crBarFillTop, m_crBarFillBottom);
      Frame(dc, layout.barFill, m_crBarFillFrameTopLeft, m_crBarFillFrameBottomRight);
    }
    DrawLine(dc, lm::PercentText(markup.percent), layout.barTrack, m_crPercentText, TextFormat(lm::Align::Center));
  }

  if (layout.icon) ::ImageList_Draw(row.images, icon, dc, layout.iconBox.left, layout.iconBox.top, ILD_TRANSPARENT);

  COLORREF text = row.selected                ? m_crSelectedText
                  : markup.textColour.Given() ? ToColour(markup.textColour.ToRgb())
                                              : m_crText;
  DrawLine(dc, markup.text, layout.text, text, TextFormat(align));
}

// ---- messages --------------------------------------------------------------------------------

int CIcoListView::Px(int value96) const { return dpi::Scaled(hwnd(), value96); }

void CIcoListView::OnDpiChanged() {
  // The owner renews the row images (its image list); the list's own pictures and sizes are here.
  RescaleColumns();
  if (m_checkImages && m_checkIconIds[0]) SetCheckBoxIcons(m_checkIconIds[0], m_checkIconIds[1], m_checkIconModule);
  ReleaseBackBuffer();
  Remeasure();
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT CIcoListView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DPICHANGED_AFTERPARENT:
      OnDpiChanged();
      break;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      // The paint fills the whole buffer; erasing first would only flicker.
      return 1;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: {
      // The list view repaints only the strip a scroll uncovers; the whole control is painted
      // again from the buffer in one go instead.
      HWND self = hwnd();
      ::InvalidateRect(self, nullptr, FALSE);
      LRESULT result = CallOriginal(msg, wParam, lParam);
      if (::IsWindow(self)) ::UpdateWindow(self);
      return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return OnClick(msg, wParam, lParam);
    case WM_GETDLGCODE: {
      LRESULT code = CallOriginal(msg, wParam, lParam);
      if (EnterOpensRow() && ctldraw::IsEnterKeyQuery(lParam)) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && HasCheckBoxes()) {
        ToggleSelectedChecks();
        // Its character would otherwise start the list's incremental search.
        m_swallowChar = ' ';
        return 0;
      }
      if (wParam == VK_RETURN && EnterOpensRow()) {
        m_swallowChar = '\r';
        NotifyReturn();
        return 0;
      }
      break;
    case WM_CHAR:
      if (m_swallowChar && wParam == m_swallowChar) {
        m_swallowChar = 0;
        return 0;
      }
      break;
    default:
      break;
  }
  if (msg == WM_KEYDOWN || msg == WM_CHAR) m_swallowChar = 0;
  return CallOriginal(msg, wParam, lParam);
}
