// Whether an image holds the plot rectangle together with everything the renderer draws around it.
#pragma once

#include <string>

#include "platform/win32.h"
#include "zeta/plot/plot_geometry.h"

// Empty when the plot and its decorations fit into an image of that size; else what does not fit.
std::string layout_problem(const RECT& plot, int image_width, int image_height);
