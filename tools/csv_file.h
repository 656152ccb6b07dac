// The computed cells of a plot job as comma-separated text.
#pragma once

#include <cstdio>
#include <string>

#include "zeta/plot/plot_job.h"

// One '#' comment line with the settings the grid was computed for, then one line per grid row from the top
// row (height - 1) down to row 0, the cells of a row from column 0 on, each printed with "%.17g" so that it
// reads back to the same double; NaN is written as nan. Call when no calculation runs.
bool write_grid_csv(std::FILE* file, const Plot_Job& job, std::string& error);
