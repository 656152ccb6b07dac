#include "zeta/export/png_encoder.h"

#include <zlib.h>

#include <array>
#include <cstdlib>

namespace {

constexpr std::array<std::uint8_t, 8> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr std::size_t largest_idat = 1 << 20;
constexpr int bytes_per_pixel = 3;

void append_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void append_chunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::uint8_t* data,
                  std::size_t size) {
    append_u32(out, static_cast<std::uint32_t>(size));
    const std::size_t type_at = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + size);
    // The CRC covers the type and the data.
    const uLong crc = crc32(0, out.data() + type_at, static_cast<uInt>(4 + size));
    append_u32(out, static_cast<std::uint32_t>(crc));
}

// The row's RGB bytes.
void pack_row(const std::uint32_t* pixels, int width, std::vector<std::uint8_t>& row) {
    for (int x = 0; x < width; ++x) {
        row[3 * static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(pixels[x] >> 16);
        row[3 * static_cast<std::size_t>(x) + 1] = static_cast<std::uint8_t>(pixels[x] >> 8);
        row[3 * static_cast<std::size_t>(x) + 2] = static_cast<std::uint8_t>(pixels[x]);
    }
}

// PNG's filter types 0 to 2; the plot's flat areas and colour ramps need no more.
enum Filter : std::uint8_t { None = 0, Sub = 1, Up = 2 };

// The filtered row behind its filter byte, with the filter that gives the smallest sum of the bytes taken as
// signed values (the choice libpng makes by default).
void filter_row(const std::vector<std::uint8_t>& row, const std::vector<std::uint8_t>& above,
                std::vector<std::uint8_t>& filtered) {
    const std::size_t size = row.size();
    std::vector<std::uint8_t> candidate(size + 1);
    long best_cost = -1;
    for (const Filter filter : {None, Sub, Up}) {
        candidate[0] = filter;
        long cost = 0;
        for (std::size_t i = 0; i < size; ++i) {
            std::uint8_t predicted = 0;
            if (filter == Sub && i >= bytes_per_pixel) predicted = row[i - bytes_per_pixel];
            if (filter == Up) predicted = above[i];
            const std::uint8_t value = static_cast<std::uint8_t>(row[i] - predicted);
            candidate[i + 1] = value;
            cost += std::abs(static_cast<int>(static_cast<std::int8_t>(value)));
        }
        if (best_cost < 0 || cost < best_cost) {
            best_cost = cost;
            filtered.swap(candidate);
            candidate.resize(size + 1);
        }
    }
}

bool deflate_rows(int width, int height, const std::uint32_t* pixels, std::vector<std::uint8_t>& deflated,
                  std::string& error) {
    z_stream stream{};
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK) {
        error = "PNG: zlib cannot start";
        return false;
    }
    const std::size_t row_size = static_cast<std::size_t>(width) * bytes_per_pixel;
    std::vector<std::uint8_t> row(row_size), above(row_size, 0), filtered(row_size + 1);
    std::array<std::uint8_t, 1 << 16> buffer;
    int status = Z_OK;
    for (int y = 0; y <= height && status == Z_OK; ++y) {
        const bool last = y == height;
        if (!last) {
            pack_row(pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width), width, row);
            filter_row(row, above, filtered);
            row.swap(above);
        }
        stream.next_in = last ? nullptr : filtered.data();
        stream.avail_in = last ? 0 : static_cast<uInt>(filtered.size());
        do {
            stream.next_out = buffer.data();
            stream.avail_out = static_cast<uInt>(buffer.size());
            status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            deflated.insert(deflated.end(), buffer.data(), stream.next_out);
        } while (status == Z_OK && stream.avail_out == 0);
        if (status == Z_BUF_ERROR) status = Z_OK;  // nothing left to do for this row
    }
    deflateEnd(&stream);
    if (status != Z_STREAM_END) {
        error = "PNG: zlib failed to compress the image";
        return false;
    }
    return true;
}

}  // namespace

bool encode_png(int width, int height, std::span<const std::uint32_t> pixels, std::vector<std::uint8_t>& png,
                std::string& error) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        error = "PNG: the image is " + std::to_string(width) + "x" + std::to_string(height) + " but has " +
                std::to_string(pixels.size()) + " pixels";
        return false;
    }
    std::vector<std::uint8_t> deflated;
    if (!deflate_rows(width, height, pixels.data(), deflated, error)) return false;

    png.assign(signature.begin(), signature.end());
    std::vector<std::uint8_t> header;
    append_u32(header, static_cast<std::uint32_t>(width));
    append_u32(header, static_cast<std::uint32_t>(height));
    // 8 bits per sample, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});
    append_chunk(png, "IHDR", header.data(), header.size());
    for (std::size_t at = 0; at < deflated.size(); at += largest_idat) {
        const std::size_t size = deflated.size() - at < largest_idat ? deflated.size() - at : largest_idat;
        append_chunk(png, "IDAT", deflated.data() + at, size);
    }
    append_chunk(png, "IEND", nullptr, 0);
    return true;
}
