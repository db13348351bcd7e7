#pragma once
// The settings window's geometry: a fixed 600 x 604 client layout written in 96-DPI
// units and scaled to the window's DPI, its five tabs, and the table of child
// controls. Pure functions, so tabs and controls are tested without a window.

#include <span>

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    // Right and bottom edges are outside, as with PtInRect.
    constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend constexpr bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

inline constexpr unsigned BaseDpi = 96;

// MulDiv(value, dpi, 96): rounded to the nearest integer, halves away from zero.
int ScaleToDpi(int value, unsigned dpi);
// value * dpi / 96, for radii and line widths of the shape routine.
float ScaleToDpi(float value, unsigned dpi);
LayoutRect ScaleToDpi(const LayoutRect& rect, unsigned dpi);

inline constexpr int ClientWidth = 600;
inline constexpr int ClientHeight = 604;

// A window of `width` x `height` centred on a work area (integer division, as the
// first placement does).
LayoutRect CentreOnWorkArea(const LayoutRect& work, int width, int height);
// `window` moved as little as needed to lie on the work area; where it is larger than
// the work area its top-left corner stays on it, so its caption can be reached.
LayoutRect KeepOnWorkArea(const LayoutRect& work, const LayoutRect& window);

inline constexpr int PageCount = 5;
inline constexpr int PageVertical = 0;
inline constexpr int PageHorizontal = 1;
inline constexpr int PagePrograms = 2;
inline constexpr int PageSites = 3;
inline constexpr int PageGeneral = 4;

// The header: the logo, the program's name and the subtitle under it (the master
// switch at its right is a control of the table below).
inline constexpr LayoutRect LogoRect{24, 22, 56, 54};
inline constexpr LayoutRect TitleRect{66, 18, 380, 40};
inline constexpr LayoutRect SubtitleRect{66, 40, 380, 58};
// The footer's note, left of the "hide to tray" button.
inline constexpr LayoutRect FooterTextRect{24, 556, 410, 592};

inline constexpr LayoutRect TabStripRect{24, 80, 576, 118};
inline constexpr int TabInset = 4;

// Tab `index` (0-4) at `dpi`, in client pixels; the last tab absorbs the rounding rest.
LayoutRect TabRectAt(int index, unsigned dpi);
// The first tab containing the client point, or -1.
int HitTestTabAt(int x, int y, unsigned dpi);

enum class ControlKind { Switch, PushButton, Slider, List, Edit };

inline constexpr int AllPages = -1; // the header switch and the footer button

struct ControlSpec {
    int id;
    ControlKind kind;
    int page;          // 0-4, or AllPages
    LayoutRect rect;   // 96-DPI units
    const wchar_t* text; // window text; for edits the cue banner; may be empty
    bool primary;      // the two "Добавить" buttons
};

// Every child control, in creation order (which is also the Tab order).
std::span<const ControlSpec> SettingsControls();
// nullptr for an id that is not in the table.
const ControlSpec* FindControl(int id);

// The four slider rows of pages 0 and 1: the label line's top edge.
inline constexpr int SliderRowCount = 4;
inline constexpr int SliderRowTop[SliderRowCount] = {184, 246, 308, 474};
// The row's label and value line, (44, y)-(556, y + 20).
LayoutRect SliderLabelRect(int row);

// The trackbars' thumb length, and the height of an item of the two lists.
inline constexpr int SliderThumbLength = 22;
inline constexpr int ListItemHeight = 30;

// Trackbar range and steps of each row: speed, duration (ms), smoothing and
// acceleration strength (both in tenths).
struct SliderRange {
    int min, max, lineStep, pageStep;
};
inline constexpr SliderRange SliderRanges[SliderRowCount] = {{30, 480, 10, 30}, {50, 800, 10, 50}, {20, 50, 1, 5},
                                                             {10, 50, 1, 5}};

// Slider control id of `row` (0-3) on the vertical or horizontal page.
int SliderId(bool horizontal, int row);
// The row (0-3) and page of a slider id; false for any other id.
bool SliderRowOf(int id, int& row, bool& horizontal);

// The rounded cards of a page, in 96-DPI units.
std::span<const LayoutRect> PageCards(int page);

// A card's section header line, (left + 20, top + 18)-(right - 20, top + 34).
LayoutRect SectionHeaderRect(const LayoutRect& card);
// Where the header's note may go: the header line (the part the title leaves, and
// SectionNoteGap from it) and the lines below it down to just above the card's first
// row, y = top + 48.
LayoutRect SectionNoteArea(const LayoutRect& card);
inline constexpr int SectionNoteGap = 16;

// The description under the section header of pages 2 and 3, word-wrapped.
inline constexpr LayoutRect PageDescriptionRect{44, 174, 556, 208};

// The frames the page painter draws around the list and the edit field of pages 2 and 3.
inline constexpr LayoutRect ListFrameRect{44, 214, 556, 470};
inline constexpr LayoutRect AppEditFrameRect{44, 484, 280, 520};
inline constexpr LayoutRect SiteEditFrameRect{44, 484, 372, 520};

// The system block of the general page: six rows of 30 from y = 334 in its second
// card, each with its label at the left of the whole row and its value right-aligned
// from x = 220, a separator line under each row but the last.
inline constexpr int SystemRowCount = 6;
LayoutRect SystemRowRect(int row);
LayoutRect SystemValueRect(int row);
// The separator under `row`, in client pixels at `dpi`: from the row's scaled bottom
// edge, one scaled pixel high and never less than one.
LayoutRect SystemSeparatorAt(int row, unsigned dpi);
