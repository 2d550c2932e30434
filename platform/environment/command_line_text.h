#pragma once

#include <string>

namespace pelmorix {

// The parameters of this process's command line as one text, the program's name left out: on
// Windows the command line as the process received it, on Linux the arguments after the
// program's name joined with single blanks. A program that must see its parameters as the
// caller wrote them, blanks inside paths included, reads this instead of its split arguments.
std::string CommandLineParameters();

}  // namespace pelmorix
