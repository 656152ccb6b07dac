# The project's version for the programs' --version: one generated header, "project_version.h".
configure_file(${CMAKE_CURRENT_LIST_DIR}/project_version.h.in ${PROJECT_BINARY_DIR}/generated/project_version.h
               @ONLY)
add_library(project_version INTERFACE)
target_include_directories(project_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
