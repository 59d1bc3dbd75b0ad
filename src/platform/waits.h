#pragma once

#include <functional>
#include <string>

namespace plv {

// Waiting while Dragon works. The window keeps itself responsive while it waits (it runs
// its event loop); without a window the thread simply sleeps.
class Waits {
  public:
    virtual ~Waits() = default;
    // Returns after `milliseconds`.
    virtual void pause(int milliseconds) = 0;
    // Asks `ready` every `intervalMs` until it answers true (then true) or `limitMs` have
    // passed (then false).
    virtual bool until(const std::function<bool()>& ready, int intervalMs, int limitMs) = 0;
};

class SleepingWaits : public Waits {
  public:
    void pause(int milliseconds) override;
    bool until(const std::function<bool()>& ready, int intervalMs, int limitMs) override;
};

// Whether a top-level window with exactly this title exists.
using WindowExists = std::function<bool(const std::string& title)>;

inline constexpr int kWindowPollMs = 100;
// Dragon's windows come and go within seconds; a window that never does must not leave the
// program waiting for ever.
inline constexpr int kWindowWaitLimitMs = 30000;

// Waits until a window titled `title` exists (`present`) or no longer exists; false when
// that did not happen within `limitMs`.
bool waitForWindow(Waits& waits, const WindowExists& exists, const std::string& title, bool present,
                   int limitMs = kWindowWaitLimitMs);

} // namespace plv
