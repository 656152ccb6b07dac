// Where an output path leads: standard output, a plain file (followed through symbolic links), or something
// else that is written in place (a device, a pipe, a socket).
#pragma once

#include <sys/stat.h>

#include <string>

struct Output_Target {
    enum Kind { Standard_Output, Plain_File, Stream } kind = Plain_File;
    std::string path;     // a plain file's final target, else the path as given
    bool exists = false;  // whether `status` holds what the target is
    struct stat status {};
};

// False with `error` set when the path cannot be an output: a directory, a loop of links, standard output
// closed.
bool find_output_target(const std::string& path, Output_Target& target, std::string& error);
