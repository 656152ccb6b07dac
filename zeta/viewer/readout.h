// The line that says which s lies under the pointer and what ζ(s) is there. It stands near the bottom left
// corner of the main window's client area, below the plot's legend in the start-up layout, in the status
// line's colours and font.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win32.h"
#include "zeta/plot/plot_job.h"

// s at the cell under client (x, y) of the plot rectangle `plot`, for the job's settings. None when (x, y) is
// over no cell.
std::optional<Complex> s_at_pointer(const Plot_Job& job, const RECT& plot, int32_t x, int32_t y);

// Where the line stands: at the bottom left of the client area, as long as that leaves the plot's
// decorations (plot_decorations) free; otherwise along the top, or in the widest free part of either line
// beside the decorations (the text is then cut to it). Empty when no part is 100 pixels wide.
RECT readout_rect(const RECT& client, const RECT& decorations);

// UTF-8 to UTF-16, for the characters the viewer writes (all in the Basic Multilingual Plane).
std::u16string utf16(const std::string& text);

// Fills `box` with the status line's background and writes `text` (UTF-8) there in the status line's
// colours; an empty text leaves the box empty.
void draw_readout(HDC dc, const RECT& box, const std::string& text);
