// A private X screen for a test: Xvfb on the first free display number from :90 upward, with any further
// server options, stopped when the object goes away.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"

namespace e2e {

class Xvfb_Screen {
public:
    Xvfb_Screen(int width, int height, const std::vector<std::string>& options = {});
    ~Xvfb_Screen();

    bool ready() const { return server_ != nullptr; }
    const std::string& display() const { return display_; }  // ":90" ...
    const std::string& failure() const { return failure_; }  // why it did not start

private:
    std::unique_ptr<Child_Process> server_;
    std::string display_;
    std::string failure_;
};

}  // namespace e2e
