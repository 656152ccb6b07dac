// Command-line arguments as they are echoed in messages: quoted, control characters written as \xHH escapes,
// and a long text cut to a readable length with "..." where it was cut.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The start of the text in single quotes: "'--bogus'", "'xxxxxxxx...'".
std::string shown_argument(std::string_view text);

// A file name keeps its end instead, where the name is: "...lots/of/directories/plot.png".
std::string shown_path(std::string_view path);

// The number that the whole text is: no leading blanks, nothing after it. None otherwise.
std::optional<double> parse_number(const char* text);
