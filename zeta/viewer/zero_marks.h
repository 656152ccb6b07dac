// The zeros in view, as the viewer shows them: a white mark across the critical line on the row nearest each
// zero (conjugates below the real axis alike), the status line's summary after its text, and the readout's
// text for a marked zero.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win32.h"
#include "zeta/plot/plot_settings.h"
#include "zeta/plot/zero_job.h"

// Marks 9 pixels wide centred on the critical line's column, where the critical line lies in the plot of
// `rows` rows drawn for `settings` in `plot`.
void draw_zero_marks(HDC dc, const Plot_Settings& settings, const RECT& plot, int32_t rows,
                     const Zeros_In_View& zeros);

// The zero marked at pixel (x, y): on a mark's row and within 4 pixels of the critical line. Its γ is
// negative for a conjugate below the real axis.
std::optional<Zeta_Zero> zero_at_pixel(const Plot_Settings& settings, const RECT& plot, int32_t rows,
                                       const Zeros_In_View& zeros, int32_t x, int32_t y);

// "zero #1 at s = 0.5 + 14.134725141734695i": γ with 17 significant digits, as zeta-zeros prints it.
std::string zero_readout(const Zeta_Zero& zero);

// Draws `addition` on the status line right after `status` (which the status box cuts at 400 pixels), in the
// status line's colours.
void draw_status_addition(HDC dc, const RECT& plot, const std::string& status, const std::string& addition);
