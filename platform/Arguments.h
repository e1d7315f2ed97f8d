#pragma once
#include <string>
#include <vector>

/// The words after the program's name on its command line, as UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);
