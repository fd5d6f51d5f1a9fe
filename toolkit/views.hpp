// Report lists, panels, image views and link labels.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/block_map.hpp"
#include "toolkit/controls.hpp"

// CreateReportList flags. Other bits pass through as list-view styles.
constexpr unsigned ReportListCheckBoxes = 0x1;             // LVS_EX_CHECKBOXES
constexpr unsigned ReportListMultipleSelection = 0x4;      // leaves out LVS_SINGLESEL
constexpr unsigned ReportListShowSelectionAlways = 0x8;    // LVS_SHOWSELALWAYS
constexpr unsigned ReportListVirtual = 0x1000;             // LVS_OWNERDATA, ControlSetVirtualRows
constexpr unsigned ReportListHeaderDragDrop = 0x10000000;  // LVS_EX_HEADERDRAGDROP
constexpr unsigned ReportListFullRowSelect = 0x40000000;   // LVS_EX_FULLROWSELECT

// CreatePanel flags; the two edges apply only to a panel without a border.
constexpr unsigned PanelBorder = 0x1;       // WS_BORDER
constexpr unsigned PanelDialogFrame = 0x2;  // WS_DLGFRAME, when there is no WS_BORDER
constexpr unsigned PanelStaticEdge = 0x4;   // WS_EX_STATICEDGE
constexpr unsigned PanelClientEdge = 0x8;   // WS_EX_CLIENTEDGE

// A report-view list whose column 0 has `title` and `width`. ControlAddItem
// adds one row whose line feeds separate the cells (1 when added, else 0);
// ControlItemText of row -1 gives a column title; ControlGetState gives the
// first selected row or -1. Returns as every creation does (new id, handle, 0).
intptr_t CreateReportList(int id, int x, int y, int w, int h, const char* title, int width,
                          unsigned flags);
// The column width that shows `text` whole in a cell of a report list: its
// width in the list's font and the room the list keeps around a cell's text,
// as its own autosizing adds it; 0 for other kinds.
int ControlCellWidth(int ctl, const char* text);
// Sets the widths of the first widths.size() columns of a report list and
// draws it once afterwards; other kinds ignore it.
void ControlSetColumnWidths(int ctl, const std::vector<int>& widths);
// Gives a report list `count` columns (at least 1) titled `titles`: the
// columns past them go, those kept take the new titles, keeping their
// widths, and new ones come with width 0. Other kinds ignore it.
void ControlSetColumns(int ctl, const char* const titles[], int count);
// The width that the columns of a report list fill without a horizontal scroll
// bar, room for the vertical one kept; 0 for other kinds.
int ControlColumnRoom(int ctl);

// The text of a cell of a virtual report list.
using ReportCellText = std::function<std::string(int row, int column)>;
// Makes a list created with ReportListVirtual show `rows` rows whose cells
// `cellText` gives whenever they are drawn or read (ControlItemText), however
// many there are. The rows shown before go, with their selection; the first
// row comes into view. Other lists and kinds ignore it.
void ControlSetVirtualRows(int ctl, int rows, ReportCellText cellText);
// The background of a report list's row: a colour, or DefaultColour for the list's own.
using ReportRowColour = std::function<int(int row)>;
// Draws the background of every row of a report list as `rowColour` says (the
// text colour stays); an empty function leaves every row the list's own
// background. Other kinds ignore it.
void ControlSetRowColours(int ctl, ReportRowColour rowColour);
// A container for controls: it becomes the current container until
// EndContainer, and its children's notifications raise the same events as
// controls placed on the window. Returns as every creation does.
intptr_t CreatePanel(int id, int x, int y, int w, int h, unsigned flags);
// Ends the current panel: later controls go into the container around it.
void EndContainer();

// Shows a bitmap or icon handle (null: none) at its own size, not w x h; the
// state is the image. Its pixels count as designed: at another DPI the view
// shows a copy scaled to that DPI (an image's from its decoded pixels).
intptr_t CreateImageView(int id, int x, int y, int w, int h, NativeHandle image);
// Text in its text colour, in hoverColour under the pointer; a click raises DetailClick.
intptr_t CreateLinkLabel(int id, int x, int y, int w, int h, const char* text, int hoverColour);

// What a block map shows of each row: its colour (a COLORREF), its label,
// drawn in its span where it fits, and its tooltip; empty functions give
// black spans, no labels and no tooltips.
struct BlockMapLook {
  std::function<int(int row)> colour;
  std::function<std::string(int row)> label;
  std::function<std::string(int row)> tip;
};
// A strip that draws a block to scale, laid out in its pixels at its DPI by
// LayOutBlockMap. Its state is the selected row, outlined, or -1; a click on
// a span selects that row and raises DetailClick. Returns as every creation does.
intptr_t CreateBlockMap(int id, int x, int y, int w, int h);
// Makes a block map show `rows` of a block of 2^blockBits addresses as `look`
// says, with no row selected. Other kinds ignore it.
void ControlSetBlockMap(int ctl, std::vector<MapRow> rows, int blockBits, BlockMapLook look);
