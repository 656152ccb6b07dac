// Sanitized builds run the heavy tests on smaller inputs.
#pragma once

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool under_sanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool under_sanitizer = true;
#else
inline constexpr bool under_sanitizer = false;
#endif
#else
inline constexpr bool under_sanitizer = false;
#endif

// `full` normally, `reduced` under a sanitizer.
inline constexpr int scaled(int full, int reduced) {
    return under_sanitizer ? reduced : full;
}
