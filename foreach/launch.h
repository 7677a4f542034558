// Running a command line through the command interpreter, one
// implementation per platform.
#pragma once

#include <string>

namespace qv {

// path written so that the interpreter hands it to the command as one
// argument, byte for byte, with nothing in it expanded or run.
std::string quoted_path(const std::string& path);

// Runs line through the interpreter and waits for it to end, whatever its
// exit status; false, with errno set, when the interpreter could not start.
bool launch(const std::string& line);

}  // namespace qv
