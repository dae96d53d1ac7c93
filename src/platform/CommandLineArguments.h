#pragma once

#include <string>
#include <vector>

namespace tembrel {

// The program's arguments after its name, in UTF-8 whatever the system's code
// page. On Windows the narrow argv spells only what the ANSI code page holds
// (a Cyrillic folder under a Western code page becomes "?????"), so they are
// read from the wide command line there; elsewhere argv is passed through.
// Plain C++: the command-line tools link no Qt.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

} // namespace tembrel
