#include "tests/tools/render_tool.h"

namespace tools_test {

Tool_Run run_zeta_render(const std::vector<std::string>& arguments, const std::string& standard_output) {
    return run_program(ZETA_RENDER_PATH, arguments, standard_output);
}

Tool_Run run_zeta_render_while(const std::vector<std::string>& arguments,
                               const std::function<void(pid_t)>& meanwhile) {
    return run_program(ZETA_RENDER_PATH, arguments, {}, meanwhile);
}

}  // namespace tools_test
