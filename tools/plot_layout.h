// Whether an image holds the plot rectangle together with everything the renderer draws around it.
#pragma once

#include <string>

#include "platform/win32.h"

// Room the renderer needs around the plot rectangle.
constexpr int status_line_height = 20;      // status text above the top edge
constexpr int imaginary_labels_width = 70;  // imaginary-axis labels left of the left edge
constexpr int below_plot_height = 130;  // critical-line label, colour bar and range labels below the bottom

// Empty when the plot and its decorations fit into an image of that size; else what does not fit.
std::string layout_problem(const RECT& plot, int image_width, int image_height);
