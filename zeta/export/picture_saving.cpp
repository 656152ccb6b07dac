#include "zeta/export/picture_saving.h"

#include <vector>

#include "zeta/export/new_file.h"
#include "zeta/export/png_encoder.h"

Saved_Picture save_png_picture(const std::filesystem::path& folder, const std::string& file_name, int width,
                               int height, std::span<const std::uint32_t> pixels) {
    Saved_Picture saved;
    // Encoded first, so that a failure there creates no file at all.
    std::vector<std::uint8_t> png;
    if (!encode_png(width, height, pixels, png, saved.error)) return saved;
    New_File file = New_File::create(folder, file_name, saved.error);
    if (!file.is_open()) return saved;
    if (!file.write(png.data(), png.size(), saved.error) || !file.finish(saved.error)) return saved;
    saved.path = file.path();
    return saved;
}
