#include "app/command_line.h"

#include <cstdio>
#include <vector>

#include "project_version.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr int exit_bad_argument = 2;

constexpr std::string_view help_text =
    "Usage: zeta-viewer [-h | --help | --version]\n"
    "Shows the Riemann zeta function in a window: |zeta(s)|, Re zeta(s), Im zeta(s)\n"
    "or 1/|zeta(s)| over a rectangle of the complex plane, one value per pixel. Drag\n"
    "the plot to pan, turn the mouse wheel to zoom, right-click for the menu; the\n"
    "Options window edits the plot settings. The viewer takes no arguments.\n"
    "ZETA_VIEWER_DISPLAY=headless runs it without a screen, ZETA_THREADS=N sets the\n"
    "number of calculation threads; zeta-render draws the window into a PNG file.\n";

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Words separated by blanks; double quotes group blanks into a word, as Windows quotes arguments.
std::vector<std::string> split_words(std::string_view text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && is_blank(text[i]))
            ++i;
        if (i == text.size()) break;
        std::string word;
        bool quoted = false;
        for (; i < text.size() && (quoted || !is_blank(text[i])); ++i) {
            if (text[i] == '"') {
                quoted = !quoted;
            } else {
                word += text[i];
            }
        }
        words.push_back(word);
    }
    return words;
}

// The argument in quotes for a message: control characters as '?', a long one cut with "...".
std::string shown(const std::string& word) {
    constexpr size_t longest = 40;
    std::string text = "'";
    for (size_t i = 0; i < word.size() && i < longest; ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        text += c < 0x20 || c == 0x7f ? '?' : word[i];
    }
    if (word.size() > longest) text += "...";
    return text + "'";
}

#ifdef _WIN32
// A program of the Windows subsystem starts without standard streams unless they were redirected; it writes
// to the console of the program that started it, when there is one.
void attach_parent_console() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}
#endif

}  // namespace

std::optional<Command_Line_Answer> answer_command_line(std::string_view command_line) {
    const std::vector<std::string> words = split_words(command_line);
    if (words.empty()) return std::nullopt;
    bool help = false;
    for (const std::string& word : words) {
        if (word == "--help" || word == "-h") {
            help = true;
        } else if (word != "--version") {
            return Command_Line_Answer{exit_bad_argument, "",
                                       "zeta-viewer: unknown argument " + shown(word) +
                                           "; the viewer takes none (zeta-viewer --help tells more)\n"};
        }
    }
    if (help) return Command_Line_Answer{0, std::string(help_text), ""};
    return Command_Line_Answer{0, std::string("zeta-viewer ") + project_version + "\n", ""};
}

int give_answer(const Command_Line_Answer& answer) {
#ifdef _WIN32
    attach_parent_console();
#endif
    std::fputs(answer.output.c_str(), stdout);
    std::fputs(answer.errors.c_str(), stderr);
    std::fflush(stdout);
    std::fflush(stderr);
    return answer.exit_status;
}
