#pragma once

#include "platform/interaction.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace plv::bench {

// The median of `runs` timings of `step` (given the run's number), in milliseconds. A step
// that fails ends the benchmark.
inline double medianMs(const std::function<bool(int)>& step, int runs = 7) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        auto start = std::chrono::steady_clock::now();
        if (!step(run)) {
            std::fprintf(stderr, "a timed step failed\n");
            std::exit(1);
        }
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Messages of a failed step are worth seeing.
struct ConsoleMessages : SilentInteraction {
    void message(const std::string& text, const std::string& title) override {
        std::fprintf(stderr, "%s [%s]\n", text.c_str(), title.c_str());
    }
};

} // namespace plv::bench
