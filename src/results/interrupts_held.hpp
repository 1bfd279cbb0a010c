#pragma once
// SIGINT and SIGTERM held back for a moment: one that comes meanwhile takes
// effect when the holder goes, so that what is written meanwhile is either
// all done or not begun.

#include <csignal>

namespace adequacy::results {

class InterruptsHeld {
  public:
    explicit InterruptsHeld(bool hold = true) : held_(hold) {
        if (!held_) return;
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        sigprocmask(SIG_BLOCK, &signals, &previous_);
    }
    ~InterruptsHeld() {
        if (held_) sigprocmask(SIG_SETMASK, &previous_, nullptr);
    }
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

  private:
    bool held_;
    sigset_t previous_{};
};

}  // namespace adequacy::results
