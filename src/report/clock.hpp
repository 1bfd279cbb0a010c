#pragma once
// Processor time used by the process, in seconds, single precision. Only
// differences of two readings are ever shown.

#include <ctime>

namespace adequacy::report {

inline float processorSeconds() {
    return static_cast<float>(static_cast<double>(std::clock()) / CLOCKS_PER_SEC);
}

}  // namespace adequacy::report
