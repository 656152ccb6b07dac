// The program's settings for the layer.
#include "platform/startup.h"

namespace platform {
namespace {
Configuration& stored() {
    static Configuration configuration;
    return configuration;
}
}  // namespace

void configure(const Configuration& configuration) {
    stored() = configuration;
}

const Configuration& configuration() {
    return stored();
}

}  // namespace platform
