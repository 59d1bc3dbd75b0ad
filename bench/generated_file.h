#pragma once

#include "datfile/session.h"

#include <memory>
#include <string>

// The file both benchmarks work on: 45,000 commands of every type over the global Program,
// five applications and window Scopes, and 5,000 LISTs, in the 10/11 layout (about 12 MB).
namespace plv::bench {

inline constexpr int kCommands = 45000;
inline constexpr int kLists = 5000;

std::string generateCommandFile(unsigned seed);

// A program folder under the temp folder, with the seed's keynames.
std::string makeBenchHome(const std::string& prefix);

// A generated file "mycmds.dat" parsed into a catalogue in a fresh program folder, which goes
// with it.
struct ParsedBenchFile {
    ParsedBenchFile(const std::string& prefix, unsigned seed, UserInteraction& ui);
    ~ParsedBenchFile();
    ParsedBenchFile(const ParsedBenchFile&) = delete;
    ParsedBenchFile& operator=(const ParsedBenchFile&) = delete;

    std::string home;
    std::string path;
    Trace trace;
    std::unique_ptr<Catalogue> catalogue;
    std::unique_ptr<Session> session;
    bool parsed = false;
};

} // namespace plv::bench
