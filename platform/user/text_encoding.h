// Conversions between the layer's three text encodings: Latin-1 bytes (the A functions' code page), UTF-16
// (the W functions and CF_UNICODETEXT) and UTF-8 (what the display's clipboard holds).
#pragma once

#include <string>
#include <string_view>

namespace platform::user {

std::string utf8_from_latin1(std::string_view text);
// Characters beyond Latin-1, and bytes that are no UTF-8, become '?', as Win32 writes a character that its
// code page lacks.
std::string latin1_from_utf8(std::string_view text);
// Lone surrogates become U+FFFD.
std::string utf8_from_utf16(std::u16string_view text);
// Bytes that are no UTF-8 become U+FFFD.
std::u16string utf16_from_utf8(std::string_view text);

}  // namespace platform::user
