#include "driver/interrupts.hpp"

#include <unistd.h>

#include <csignal>
#include <cstring>

#include "montecarlo/reporting/progress.hpp"

namespace adequacy {
namespace {

extern "C" void onInterrupt(int signal) {
    // Only async-signal-safe calls here: write and _exit.
    eraseProgressOnSignal();
    const char* message = signal == SIGINT ? "adequacy: interrupted\n" : "adequacy: terminated\n";
    ssize_t ignored = ::write(STDERR_FILENO, message, std::strlen(message));
    (void)ignored;
    ::_exit(128 + signal);
}

}  // namespace

void installInterruptHandlers() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A console that goes away (a closed pipe) must surface as a failing
    // write, which ends the run with the report file complete, rather than
    // kill the process with the report's last block still buffered.
    std::signal(SIGPIPE, SIG_IGN);
    // Likewise a file-size limit: the write that passes it fails with EFBIG,
    // and the report is cut back to its last complete block.
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace adequacy
