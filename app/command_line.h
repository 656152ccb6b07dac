// The viewer's command line. The viewer takes no arguments; --help and --version are answered on the standard
// streams before any window or display is opened, and anything else is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct Command_Line_Answer {
    int exit_status = 0;
    std::string output;  // for standard output
    std::string errors;  // for standard error
};

// No value when the viewer is to start: the command line is empty or blank. `command_line` is what WinMain
// receives, without the program's name.
std::optional<Command_Line_Answer> answer_command_line(std::string_view command_line);

// Writes the answer to standard output and standard error (on Windows, to the console of the program that
// started the viewer, when there is one) and returns its exit status.
int give_answer(const Command_Line_Answer& answer);
