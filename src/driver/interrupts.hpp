#pragma once

namespace adequacy {

// On SIGINT or SIGTERM the program ends at once with status 128 + the
// signal's number. The report file then holds exactly the blocks flushed
// before the signal: everything between flushes stays in its buffer, which
// is large enough for any block, and is dropped. SIGPIPE is ignored.
void installInterruptHandlers();

}  // namespace adequacy
