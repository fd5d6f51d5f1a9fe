// ReportList: a report-view list view with columns. A row is added as one
// text whose line feeds separate the cells, or a virtual list asks for its
// cells as it draws them; rows may have backgrounds of their own. Clicks and
// selection changes become ControlEvents.
#include "toolkit/control_framework.hpp"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/scaling.hpp"
#include "toolkit/dpi.hpp"
#include "toolkit/events.hpp"
#include "toolkit/views.hpp"

namespace {

struct ReportListState {
  // Longest cell text and column title stored so far: reading one back with a
  // buffer of that length + 1 never needs a second try.
  std::size_t longestCell = 0;
  std::size_t longestTitle = 0;
  int lastSelectedRow = -1;  // the row selected last, -1 once that selection is reported gone
  // The colours the list had at creation, restored by colour -1.
  COLORREF text = 0;
  COLORREF background = 0;
  COLORREF textBackground = 0;
  ReportCellText cellText;  // the cells of a virtual list
  ReportRowColour rowColour;
};

ReportListState& StateOf(ControlRecord& control) {
  return KindState<ReportListState>(control);
}

LRESULT Send(ControlRecord& control, UINT message, WPARAM wParam, const void* record) {
  return SendMessageA(control.handle, message, wParam, reinterpret_cast<LPARAM>(record));
}

void Post(ControlRecord& control, int detail) {
  EventPost(ControlEvent, control.id, ContainingWindowId(control.handle), detail);
}

// ----- Notifications --------------------------------------------------------

// A virtual list asks for a cell's text as it draws or reads the cell.
void FillCell(ControlRecord& control, LVITEMA& cell) {
  const ReportCellText& cellText = StateOf(control).cellText;
  if ((cell.mask & LVIF_TEXT) == 0 || !cellText || cell.pszText == nullptr || cell.cchTextMax < 1) {
    return;
  }
  lstrcpynA(cell.pszText, cellText(cell.iItem, cell.iSubItem).c_str(), cell.cchTextMax);
}

// Every cell of a row gets the row's background, so whole rows are coloured.
bool ColourRow(ControlRecord& control, NMLVCUSTOMDRAW& draw, LRESULT* result) {
  const ReportRowColour& rowColour = StateOf(control).rowColour;
  if (!rowColour) return false;
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *result = CDRF_NOTIFYITEMDRAW;
      return true;
    case CDDS_ITEMPREPAINT:
      *result = CDRF_NOTIFYSUBITEMDRAW;
      return true;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const int colour = rowColour(static_cast<int>(draw.nmcd.dwItemSpec));
      if (colour != DefaultColour) draw.clrTextBk = static_cast<COLORREF>(colour);
      *result = CDRF_NEWFONT;
      return true;
    }
    default:
      return false;
  }
}

void OnItemChanged(ControlRecord& control, const NMLISTVIEW& change) {
  // Bits 12-15 of the state are the state image: the check box.
  UINT oldImage = change.uOldState & LVIS_STATEIMAGEMASK;
  if ((change.uNewState & LVIS_SELECTED) != 0) {
    StateOf(control).lastSelectedRow = change.iItem;
    Post(control, DetailChange);
  } else if ((change.uOldState & LVIS_SELECTED) != 0 ||
             (oldImage != 0 && oldImage != (change.uNewState & LVIS_STATEIMAGEMASK))) {
    Post(control, DetailChange);
  }
}

// A selection that went away without a notification (its rows were deleted)
// is reported before the click, so that the listener reads the state afresh.
void ReportLostSelection(ControlRecord& control) {
  int& lastSelected = StateOf(control).lastSelectedRow;
  if (lastSelected == -1 ||
      SendMessageA(control.handle, LVM_GETNEXTITEM, -1, LVNI_SELECTED) != -1) {
    return;
  }
  lastSelected = -1;
  Post(control, DetailChange);
}

bool Notify(ControlRecord& control, UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  if (message != WM_NOTIFY) return false;
  const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
  *result = 0;
  switch (header.code) {
    case NM_CLICK:
      ReportLostSelection(control);
      Post(control, DetailClick);
      return true;
    case NM_RCLICK:
      ReportLostSelection(control);
      Post(control, DetailRightClick);
      return true;
    case NM_DBLCLK:
      Post(control, DetailDoubleClick);
      return true;
    case NM_RDBLCLK:
      Post(control, DetailRightDoubleClick);
      return true;
    case LVN_ITEMCHANGED:
      OnItemChanged(control, *reinterpret_cast<const NMLISTVIEW*>(lParam));
      return true;
    case LVN_BEGINDRAG:
      Post(control, DetailDragBegin);
      return true;
    case LVN_GETDISPINFOA:
      FillCell(control, reinterpret_cast<NMLVDISPINFOA*>(lParam)->item);
      return true;
    case NM_CUSTOMDRAW:
      return ColourRow(control, *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam), result);
    default:
      return false;
  }
}

// ----- Rows and columns -----------------------------------------------------

int RowCount(ControlRecord& control) {
  return static_cast<int>(SendMessageA(control.handle, LVM_GETITEMCOUNT, 0, 0));
}

bool HasColumn(ControlRecord& control, int column) {
  LVCOLUMNA query{};
  query.mask = LVCF_WIDTH;
  return column >= 0 && Send(control, LVM_GETCOLUMNA, static_cast<WPARAM>(column), &query) != 0;
}

int AddColumn(ControlRecord& control, int position, const char* title, int width) {
  std::string text = title;
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;  // left-aligned, as without LVCF_FMT
  column.cx = ScaleToDpi(width, LayoutDpi(control.handle));
  column.pszText = &text[0];
  column.iSubItem = position;
  if (Send(control, LVM_INSERTCOLUMNA, static_cast<WPARAM>(position), &column) < 0) return 0;
  std::size_t& longest = StateOf(control).longestTitle;
  longest = std::max(longest, text.size());
  return 1;
}

void SetCell(ControlRecord& control, int row, int column, std::string& text) {
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = &text[0];
  Send(control, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), &cell);
  std::size_t& longest = StateOf(control).longestCell;
  longest = std::max(longest, text.size());
}

// Column 0 is the text up to the first line feed, each following part the next
// column. A line feed at the very end adds no cell.
int AddRow(ControlRecord& control, int position, const char* text) {
  const std::string row = text;
  std::size_t end = row.find('\n');
  std::string part = row.substr(0, end);
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = position == -1 ? RowCount(control) : position;
  item.pszText = &part[0];
  item.lParam = 0;
  int inserted = static_cast<int>(Send(control, LVM_INSERTITEMA, 0, &item));
  if (inserted < 0) return 0;
  std::size_t& longest = StateOf(control).longestCell;
  longest = std::max(longest, part.size());
  for (int column = 1; end != std::string::npos && end + 1 < row.size(); ++column) {
    std::size_t start = end + 1;
    end = row.find('\n', start);
    part = row.substr(start, end == std::string::npos ? std::string::npos : end - start);
    SetCell(control, inserted, column, part);
  }
  return 1;
}

void ClearRows(ControlRecord& control) {
  SendMessageA(control.handle, LVM_DELETEALLITEMS, 0, 0);
  StateOf(control).longestCell = 0;
  StateOf(control).cellText = nullptr;
}

std::string ColumnTitle(ControlRecord& control, int column) {
  std::string title(StateOf(control).longestTitle + 1, '\0');
  LVCOLUMNA query{};
  query.mask = LVCF_TEXT;
  query.pszText = &title[0];
  query.cchTextMax = static_cast<int>(title.size());
  if (column < 0 || Send(control, LVM_GETCOLUMNA, static_cast<WPARAM>(column), &query) == 0) {
    return std::string();
  }
  title.resize(std::strlen(title.c_str()));
  return title;
}

// Row -1 gives the column's header title.
std::string CellText(ControlRecord& control, int row, int column) {
  if (row == -1) return ColumnTitle(control, column);
  if (row < 0 || row >= RowCount(control) || !HasColumn(control, column)) return std::string();
  if (StateOf(control).cellText) return StateOf(control).cellText(row, column);
  std::string text(StateOf(control).longestCell + 1, '\0');
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = &text[0];
  cell.cchTextMax = static_cast<int>(text.size());
  Send(control, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), &cell);
  text.resize(std::strlen(text.c_str()));
  return text;
}

// ----- State, text and colours ----------------------------------------------

intptr_t FirstSelectedRow(ControlRecord& control) {
  return SendMessageA(control.handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
}

// Selects and focuses only `row` and scrolls it into view; -1 only deselects.
void SelectOnly(ControlRecord& control, intptr_t row) {
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED;
  Send(control, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), &state);
  if (row == -1) return;
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  Send(control, LVM_SETITEMSTATE, static_cast<WPARAM>(row), &state);
  SendMessageA(control.handle, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// A list has no text of its own.
std::string NoText(ControlRecord&) {
  return std::string();
}
void IgnoreText(ControlRecord&, const char*) {}

void SetColour(ControlRecord& control, int attribute, int colour) {
  const ReportListState& creation = StateOf(control);
  auto chosen = [colour](COLORREF atCreation) {
    return static_cast<LPARAM>(colour == DefaultColour ? atCreation
                                                       : static_cast<COLORREF>(colour));
  };
  if (attribute == ColorText) {
    SendMessageA(control.handle, LVM_SETTEXTCOLOR, 0, chosen(creation.text));
    control.textColour = colour;
  } else if (attribute == ColorBackground) {
    SendMessageA(control.handle, LVM_SETBKCOLOR, 0, chosen(creation.background));
    SendMessageA(control.handle, LVM_SETTEXTBKCOLOR, 0, chosen(creation.textBackground));
    control.backgroundColour = colour;
  } else {
    return;
  }
  InvalidateRect(control.handle, nullptr, TRUE);
}

void SetColumnPixels(ControlRecord& control, int column, int pixels) {
  SendMessageA(control.handle, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
               MAKELPARAM(pixels, 0));
}

// Each column keeps its designed width, whoever set it, at the new DPI.
void Rescale(ControlRecord& control, const RECT&, int fromDpi, int toDpi) {
  for (int column = 0; HasColumn(control, column); ++column) {
    const int pixels = static_cast<int>(
        SendMessageA(control.handle, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    SetColumnPixels(control, column, ScaleToDpi(UnscaleFromDpi(pixels, fromDpi), toDpi));
  }
}

// Style bits of the list: the flags, less the toolkit's multiple-selection bit.
DWORD ListStyle(unsigned flags) {
  DWORD style = (flags & ~ReportListMultipleSelection) | WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                LVS_SHAREIMAGELISTS | LVS_REPORT;
  if ((flags & ReportListMultipleSelection) == 0) style |= LVS_SINGLESEL;
  return style;
}

DWORD ExtendedListStyle(unsigned flags) {
  DWORD extended = LVS_EX_DOUBLEBUFFER;
  if ((flags & ReportListFullRowSelect) != 0) extended |= LVS_EX_FULLROWSELECT;
  if ((flags & ReportListHeaderDragDrop) != 0) extended |= LVS_EX_HEADERDRAGDROP;
  if ((flags & ReportListCheckBoxes) != 0) extended |= LVS_EX_CHECKBOXES;
  return extended;
}

}  // namespace

const KindOperations ReportListOperations = {
    .notification = Notify,
    .getState = FirstSelectedRow,
    .setState = SelectOnly,
    .getText = NoText,
    .setText = IgnoreText,
    .addItem = AddRow,
    .clearItems = ClearRows,
    .countItems = RowCount,
    .itemText = CellText,
    .addColumn = AddColumn,
    .setColour = SetColour,
    .getColour = StoredControlColour,
    .rescale = Rescale,
};

namespace {

// The record of a live report list, or null.
ControlRecord* ReportListOf(int ctl) {
  ControlRecord* control = ControlTable().Find(ctl);
  return control != nullptr && control->kind == ControlKind::ReportList ? control : nullptr;
}

}  // namespace

int ControlCellWidth(int ctl, const char* text) {
  constexpr int CellPadding = 12;
  return ReportListOf(ctl) != nullptr ? ControlTextWidth(ctl, text) + CellPadding : 0;
}

void ControlSetColumnWidths(int ctl, const std::vector<int>& widths) {
  ControlRecord* control = ReportListOf(ctl);
  if (control == nullptr) return;
  // Drawn once: each width alone would repaint every row in view.
  SendMessageA(control->handle, WM_SETREDRAW, FALSE, 0);
  // The columns' edges are scaled, not each width, so that widths that fill
  // the room together still fill it exactly at any DPI.
  const int dpi = LayoutDpi(control->handle);
  int designedEdge = 0;
  int pixelEdge = 0;
  for (std::size_t column = 0; column < widths.size(); ++column) {
    designedEdge += widths[column];
    const int nextEdge = ScaleToDpi(designedEdge, dpi);
    SetColumnPixels(*control, static_cast<int>(column), nextEdge - pixelEdge);
    pixelEdge = nextEdge;
  }
  SendMessageA(control->handle, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(control->handle, nullptr, nullptr,
               RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void ControlSetColumns(int ctl, const char* const titles[], int count) {
  ControlRecord* control = ReportListOf(ctl);
  HWND header = control != nullptr ? ListView_GetHeader(control->handle) : nullptr;
  if (header == nullptr || count < 1) return;
  for (int column = Header_GetItemCount(header) - 1; column >= count; --column)
    SendMessageA(control->handle, LVM_DELETECOLUMN, static_cast<WPARAM>(column), 0);
  for (int column = 0; column < count; ++column) {
    std::string text = titles[column];
    LVCOLUMNA title{};
    title.mask = LVCF_TEXT;
    title.pszText = &text[0];
    if (column >= Header_GetItemCount(header)) {
      AddColumn(*control, column, titles[column], 0);
    } else if (Send(*control, LVM_SETCOLUMNA, static_cast<WPARAM>(column), &title) != 0) {
      StateOf(*control).longestTitle = std::max(StateOf(*control).longestTitle, text.size());
    }
  }
}

int ControlColumnRoom(int ctl) {
  ControlRecord* control = ReportListOf(ctl);
  RECT client{};
  if (control == nullptr || !GetClientRect(control->handle, &client)) return 0;
  const bool scrollBarShown = (GetWindowLongPtrA(control->handle, GWL_STYLE) & WS_VSCROLL) != 0;
  const int dpi = LayoutDpi(control->handle);
  const int pixels = client.right - (scrollBarShown ? 0 : SystemMetricAt(SM_CXVSCROLL, dpi));
  return static_cast<int>(int64_t{pixels} * DesignDpi / dpi);  // rounded down: it must fit
}

void ControlSetVirtualRows(int ctl, int rows, ReportCellText cellText) {
  ControlRecord* control = ReportListOf(ctl);
  if (control == nullptr || (GetWindowLongPtrA(control->handle, GWL_STYLE) & LVS_OWNERDATA) == 0) {
    return;
  }
  SelectOnly(*control, -1);
  StateOf(*control).cellText = std::move(cellText);
  SendMessageA(control->handle, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
  if (rows > 0) SendMessageA(control->handle, LVM_ENSUREVISIBLE, 0, FALSE);
  InvalidateRect(control->handle, nullptr, TRUE);
}

void ControlSetRowColours(int ctl, ReportRowColour rowColour) {
  ControlRecord* control = ReportListOf(ctl);
  if (control == nullptr) return;
  StateOf(*control).rowColour = std::move(rowColour);
  InvalidateRect(control->handle, nullptr, TRUE);
}

intptr_t CreateReportList(int id, int x, int y, int w, int h, const char* title, int width,
                          unsigned flags) {
  intptr_t created = CreateControl(id, x, y, w, h,
                                   ControlCreation{ControlKind::ReportList, WC_LISTVIEWA,
                                                   ListStyle(flags), WS_EX_CLIENTEDGE, nullptr});
  if (created == 0) return 0;
  ControlRecord& control = *ControlTable().Find(id == AutoId ? static_cast<int>(created) : id);
  SendMessageA(control.handle, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, ExtendedListStyle(flags));
  AddColumn(control, 0, title != nullptr ? title : "", width);
  ReportListState& state = StateOf(control);
  state.text = static_cast<COLORREF>(SendMessageA(control.handle, LVM_GETTEXTCOLOR, 0, 0));
  state.background = static_cast<COLORREF>(SendMessageA(control.handle, LVM_GETBKCOLOR, 0, 0));
  state.textBackground =
      static_cast<COLORREF>(SendMessageA(control.handle, LVM_GETTEXTBKCOLOR, 0, 0));
  return created;
}
