// The built programs under test, with the names they answer to.
#pragma once

#include <string>
#include <vector>

namespace programs_test {

struct Program {
    std::string name;
    std::string path;
};

inline std::vector<Program> built_programs() {
    std::vector<Program> programs = {{"zeta-viewer", ZETA_VIEWER_PATH}, {"zeta-render", ZETA_RENDER_PATH}};
#ifdef ZETA_ZEROS_PATH
    programs.push_back({"zeta-zeros", ZETA_ZEROS_PATH});
#endif
    return programs;
}

}  // namespace programs_test
