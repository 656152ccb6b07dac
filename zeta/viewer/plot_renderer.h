// Draws a plot job into a device context: the value grid as a red-to-green colour map, the status line, the
// critical line, both axes with their tick values, and the colour-scale bar with the grid's minimum and
// maximum.
#pragma once

#include "platform/win32.h"
#include "zeta/plot/plot_job.h"
#include "zeta/viewer/colour_map_cache.h"

// Draws the job's plot with `plot` as its rectangle. Reads the job only through what it publishes safely to
// the UI thread, so it may run while a calculation fills the grid. Keeps the colours of a finished grid in
// `colour_map` for the next call; every pen it creates is deleted before it returns.
void render_plot(const Plot_Job& job, const RECT& plot, Colour_Map_Cache& colour_map, HDC dc);

// The rectangle of the DC whose every pixel render_plot sets with the colour map, as long as neither the job
// nor the DC changes in between; empty when the map draws nothing.
RECT colour_map_rect(const Plot_Job& job, const RECT& plot, HDC dc);

// The part of the DC that render_plot draws around and over the plot rectangle: the status line above it,
// the imaginary axis' labels left of it, the real axis' ticks and name (which may reach right of it), the
// critical line's label and the legend below it.
RECT plot_decorations(const RECT& plot);
