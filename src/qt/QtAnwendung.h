#pragma once
#include <string>
#include <vector>

namespace mosaik {

// Runs the program with its windows until the main window closes; the
// result is the process's exit status.
int qtAnwendungAusfuehren(int argc, char** argv, std::vector<std::string> args);

}  // namespace mosaik
