#include "tools/argument_text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr size_t longest_shown = 60;  // characters of the text itself, the ellipsis included
const std::string ellipsis = "...";

// The text split into what is shown for each character: a byte, a \xHH escape, or a whole UTF-8 sequence,
// so that a cut never splits one.
std::vector<std::string> shown_pieces(std::string_view text) {
    std::vector<std::string> pieces;
    for (size_t i = 0; i < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7f) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            pieces.emplace_back(escape);
            ++i;
            continue;
        }
        size_t length = 1;
        if (byte >= 0xc0) {
            while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xc0) == 0x80)
                ++length;
        }
        pieces.emplace_back(text.substr(i, length));
        i += length;
    }
    return pieces;
}

// Joins the pieces, keeping the first ones (or the last ones) that fit when they are too many.
std::string shortened(std::string_view text, bool keep_end) {
    std::vector<std::string> pieces = shown_pieces(text);
    std::string all;
    for (const std::string& piece : pieces)
        all += piece;
    if (pieces.size() <= longest_shown) return all;
    const size_t kept = longest_shown - ellipsis.size();
    std::string result;
    if (keep_end) {
        result = ellipsis;
        for (size_t i = pieces.size() - kept; i < pieces.size(); ++i)
            result += pieces[i];
    } else {
        for (size_t i = 0; i < kept; ++i)
            result += pieces[i];
        result += ellipsis;
    }
    return result;
}

}  // namespace

std::string shown_argument(std::string_view text) {
    return "'" + shortened(text, false) + "'";
}

std::string shown_path(std::string_view path) {
    return shortened(path, true);
}

std::optional<double> parse_number(const char* text) {
    if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text))) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (*end != '\0') return std::nullopt;
    return value;
}
