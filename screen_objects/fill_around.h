// Filling a rectangle except for a part of it that is painted over right afterwards anyway.
#pragma once

#include "platform/win32.h"

// Fills `area` with the brush, leaving out the pixels that also lie in `hole`: at most four strips. An empty
// or inverted hole leaves out nothing.
void fill_around(HDC dc, const RECT& area, const RECT& hole, HBRUSH brush);
