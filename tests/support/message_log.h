// A log of the messages that window procedures receive, for comparing message sequences.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace test_support {

struct Logged_Message {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};

class Message_Log {
public:
    void record(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    // Forgets the logged messages; names and the handler stay.
    void clear();
    // Forgets everything, names and handler included.
    void reset();
    // Names a window in sequence(); unnamed windows appear as "?".
    void name_window(HWND window, const std::string& label);

    const std::vector<Logged_Message>& entries() const { return entries_; }
    // "label WM_NAME" for each logged message, in order; only the listed messages when a list is given.
    std::vector<std::string> sequence(std::initializer_list<UINT> wanted = {}) const;
    // The logged messages of one kind, in order.
    std::vector<Logged_Message> of(UINT message) const;

    // Called by logging_window_procedure after recording; a value returned is the procedure's result, no
    // value means DefWindowProcA's.
    std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> handler;

private:
    std::vector<Logged_Message> entries_;
    std::map<HWND, std::string> labels_;
};

// The one log that logging_window_procedure writes to.
Message_Log& message_log();

// Records the message in message_log(), then hands it to the log's handler or DefWindowProcA.
LRESULT CALLBACK logging_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Registers a class with logging_window_procedure; returns its atom (0 on failure).
ATOM register_logging_class(const char* name, UINT style = 0, HBRUSH background = nullptr,
                            HCURSOR cursor = nullptr);

// The names register_logging_class registered, for unregistering them between tests.
std::vector<std::string>& registered_logging_classes();

// "WM_PAINT" for WM_PAINT; "0x1234" for messages without a name here.
std::string message_name(UINT message);

}  // namespace test_support
