// Placeholder until the controls land.
#include "platform/user/controls.h"

namespace platform::user {
void register_control_classes() {}
}  // namespace platform::user
