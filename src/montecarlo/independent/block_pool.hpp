#pragma once
// Workers that simulate blocks of consecutive years ahead of the one thread
// that adds them to the totals, in order. A ring of slots holds the blocks
// simulated and not yet taken; a worker waits for its slot to be free.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "montecarlo/independent/year_events.hpp"

namespace adequacy::independent {

inline constexpr int blockYears = 16;

struct Block {
    std::vector<YearOutcome> years;  // blockYears, each with room for a year of losses
    long long index = -1;            // the block it holds
    bool ready = false;
};

class BlockPool {
  public:
    // `simulate(year, work, outcome)` simulates one year; years are numbered
    // from 0 within the run.
    using Simulate = std::function<void(std::uint64_t, YearWork&, YearOutcome&)>;
    // A year's losses have room for every hour at each of `steps` steps.
    BlockPool(int threads, long long years, const Chains& chains, Simulate simulate, int steps = 1);
    ~BlockPool();  // stops the workers

    // Waits for block `index` and returns it; `release` frees its slot.
    const Block& take(long long index);
    void release(long long index);

  private:
    void work(YearWork& scratch);
    long long blocks_;
    long long years_;
    Simulate simulate_;
    std::vector<Block> ring_;
    std::vector<YearWork> scratch_;
    std::mutex mutex_;
    std::condition_variable changed_;
    long long nextBlock_ = 0;
    long long released_ = 0;  // blocks taken and freed, from 0
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace adequacy::independent
