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

// "s = 0.500000 + 14.134725i   ζ(s) = 0.000012 - 0.000034i   |ζ(s)| = 0.000036" in UTF-8: "%f" numbers,
// the sign of each imaginary part written out.
std::string readout_text(const Complex& s, const Complex& zeta);
// "s = 0.500000 + 14.134725i" alone, while ζ(s) is being computed.
std::string readout_text(const Complex& s);

RECT readout_rect(const RECT& client);

// Fills `box` with the status line's background and writes `text` (UTF-8) there in the status line's
// colours; an empty text leaves the box empty.
void draw_readout(HDC dc, const RECT& box, const std::string& text);
