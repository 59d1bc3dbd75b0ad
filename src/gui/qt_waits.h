#pragma once

#include "platform/waits.h"

namespace plv::gui {

// The waits of the window: the event loop runs meanwhile, so the window repaints and
// timers (the engine's notifications among them) keep working.
class QtWaits : public Waits {
  public:
    void pause(int milliseconds) override;
    bool until(const std::function<bool()>& ready, int intervalMs, int limitMs) override;
};

// Top-level windows of this program, and Dragon's command editor while the stand-in
// has it open.
bool windowExists(const std::string& title, bool commandEditorOpen);

} // namespace plv::gui
