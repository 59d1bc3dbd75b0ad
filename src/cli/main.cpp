#include "cli/cli.h"
#include "platform/environment.h"
#include "platform/terminal.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    plv::passStandardStreamsAsBytes();
    std::vector<std::string> words = plv::commandLineArguments(argc, argv);
    words.erase(words.begin());
    plv::cli::Io io{std::cout, std::cerr};
    try {
        return plv::cli::runTool(words, io);
    } catch (const std::exception& e) {
        std::cerr << "parlavista-cli: " << e.what() << "\n";
        return plv::cli::kFailed;
    }
}
