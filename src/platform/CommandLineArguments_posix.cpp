#include "CommandLineArguments.h"

namespace tembrel {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    // The bytes as the shell passed them: file names are bytes here.
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

} // namespace tembrel
