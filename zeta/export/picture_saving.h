// Saving an image as a new PNG file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

struct Saved_Picture {
    std::filesystem::path path;  // the file written; empty on failure
    std::string error;           // why nothing was written
};

// Writes the width x height image (rows top to bottom, 0x00RRGGBB) as a PNG file named `file_name` in
// `folder`, or under the first free "name (2).png", "name (3).png" ... It never replaces a file, and on
// failure leaves nothing behind.
Saved_Picture save_png_picture(const std::filesystem::path& folder, const std::string& file_name, int width,
                               int height, std::span<const std::uint32_t> pixels);
