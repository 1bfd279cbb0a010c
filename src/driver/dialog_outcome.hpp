#pragma once

namespace adequacy {

// What a console dialog tells the driver to do next.
enum class DialogOutcome {
    repeat,      // new values stored: run the solution again
    proceed,     // blank answer: go on to the next phase
    inputError,  // unreadable answer: the end sequence
};

}  // namespace adequacy
