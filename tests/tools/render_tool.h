// Running the zeta-render program.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/tools/program_run.h"

namespace tools_test {

// Standard output goes to `standard_output` when one is named (opened for writing, created when missing, not
// truncated), else where ours goes.
Tool_Run run_zeta_render(const std::vector<std::string>& arguments, const std::string& standard_output = {});

// The same, calling `meanwhile` with the program's process id once it has started.
Tool_Run run_zeta_render_while(const std::vector<std::string>& arguments,
                               const std::function<void(pid_t)>& meanwhile);

}  // namespace tools_test
