// The standard control classes "Button" and "Edit", which exist without the program registering them.
#pragma once

namespace platform::user {

// Registers the control classes; called once by the window layer before the first window is created.
void register_control_classes();

}  // namespace platform::user
