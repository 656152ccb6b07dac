// Double to 32-bit integer conversion for pixel coordinates and colour channels.
#pragma once

#include <cstdint>

// Truncates toward zero. A value that has no 32-bit result (NaN, an infinity, or out of range) gives 0
// instead of the undefined behaviour of a plain cast.
// The range test picks the value to convert (0.0 outside) rather than branching around the conversion, so a
// loop over many values can become vector code.
inline std::int32_t truncate_toward_zero(double value) {
    const double convertible = value > -2147483649.0 && value < 2147483648.0 ? value : 0.0;
    return static_cast<std::int32_t>(convertible);
}

// The low 8 bits of the truncated value in two's complement: a channel wraps instead of clamping.
inline std::uint32_t colour_channel(double value) {
    return static_cast<std::uint32_t>(truncate_toward_zero(value)) & 0xFFu;
}
