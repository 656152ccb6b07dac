// Draws a plot job into a device context: the value grid as a red-to-green colour map, the status line, the
// critical line, both axes with their tick values, and the colour-scale bar with the grid's minimum and
// maximum.
#pragma once

#include "platform/win32.h"
#include "zeta/plot_job.h"

// Reads the job only through what it publishes safely to the UI thread, so it may run while a calculation
// fills the grid. Keeps nothing between calls; every pen it creates is deleted before it returns.
void render_plot(const Plot_Job& job, HDC& dc);
