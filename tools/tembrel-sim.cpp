// tembrel-sim: flies a voyage on a virtual clock and prints what the user and
// Google Earth would see. See SimOptions.h and the README for the interface.
#include "CommandLineArguments.h"
#include "PrintableText.h"
#include "SimEstimate.h"
#include "SimOptions.h"
#include "SimRunner.h"
#include "VoyageErrors.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
    using namespace tembrel;
#ifdef _WIN32
    // Lines end in LF on every system, so the output compares byte for byte.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    // Every text that may come from a file or the command line is printed
    // through PrintableText.
    const auto print = [](const std::string& line) { std::cout << PrintableText(line) << '\n'; };
    try {
        const SimOptions options = ParseSimOptions(CommandLineArguments(argc, argv));
        if (options.help) {
            std::cout << SimUsage();
            return 0;
        }
        const SimInputs inputs = LoadSimInputs(options);
        if (options.estimate) {
            for (const std::string& line : EstimateSimulation(options, inputs)) {
                print(line);
            }
        } else {
            RunSimulation(options, inputs, print);
        }
        return 0;
    } catch (const UsageError& e) {
        std::cerr << "tembrel-sim: " << PrintableText(e.Message()) << "\n\n" << SimUsage();
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "tembrel-sim: " << PrintableText(MessageOf(e)) << '\n';
        return 1;
    }
}
