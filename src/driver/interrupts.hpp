#pragma once

namespace adequacy {

// On SIGINT or SIGTERM the program ends at once with status 128 + the
// signal's number. The report file then holds exactly the blocks flushed
// before the signal: everything between flushes stays in the program's
// buffer and is dropped. SIGPIPE and SIGXFSZ are ignored, so that the
// failing write says why the run ends.
void installInterruptHandlers();

}  // namespace adequacy
