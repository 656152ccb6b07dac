// Encoding an image as an 8-bit RGB PNG with libpng.
#pragma once

#include <cstdio>
#include <string>

#include "tools/image.h"

// Writes `image` to `file`; false with a message in `error` when libpng fails.
bool write_png(std::FILE* file, const Image& image, std::string& error);
