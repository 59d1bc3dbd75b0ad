#include "platform/waits.h"

#include <chrono>
#include <thread>

namespace plv {

void SleepingWaits::pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool SleepingWaits::until(const std::function<bool()>& ready, int intervalMs, int limitMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        pause(intervalMs);
    }
    return true;
}

bool waitForWindow(Waits& waits, const WindowExists& exists, const std::string& title, bool present,
                   int limitMs) {
    return waits.until([&] { return exists(title) == present; }, kWindowPollMs, limitMs);
}

} // namespace plv
