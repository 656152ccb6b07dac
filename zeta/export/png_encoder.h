// PNG encoding over zlib alone, so that the Windows build, which has zlib but no libpng, writes the same
// files as Linux: one IHDR, IDAT chunks of the deflated rows, IEND; 8-bit RGB, no interlacing.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Encodes a width x height image whose pixels are rows top to bottom, 0x00RRGGBB (the top byte is ignored).
// False with a message in `error` when the sizes do not match or zlib fails.
bool encode_png(int width, int height, std::span<const std::uint32_t> pixels, std::vector<std::uint8_t>& png,
                std::string& error);
