// A calculation's progress on stderr: a percentage rewritten in place, shown only when stderr is a terminal.
#pragma once

class Progress_Line {
public:
    explicit Progress_Line(bool wanted, const char* label = "Calculating values...");
    bool shown() const { return enabled_; }
    void update(double done);  // done: share of the work, 0 to 1
    void finish();             // ends the line, if one was started

private:
    bool enabled_ = false;
    bool started_ = false;
    int last_percent_ = -1;
    const char* label_;
};
