#include "montecarlo/independent/block_pool.hpp"

#include <pthread.h>

#include <algorithm>
#include <csignal>

namespace adequacy::independent {

BlockPool::BlockPool(int threads, long long years, const Chains& chains, Simulate simulate,
                     int steps)
    : blocks_((years + blockYears - 1) / blockYears),
      years_(years),
      simulate_(std::move(simulate)) {
    const int workers = std::max(1, threads);
    ring_.resize(static_cast<std::size_t>(2 * workers + 1));
    for (Block& block : ring_) {
        block.years.resize(blockYears);
        for (YearOutcome& year : block.years)
            year.losses.reserve(static_cast<std::size_t>(hoursPerYear) *
                                static_cast<std::size_t>(steps));
    }
    scratch_.reserve(static_cast<std::size_t>(workers));
    for (int w = 0; w < workers; ++w) scratch_.emplace_back(chains);
    // Interrupts go to the thread that writes the report and the results,
    // which holds them while it writes: the workers start with them blocked.
    sigset_t interrupts;
    sigemptyset(&interrupts);
    sigaddset(&interrupts, SIGINT);
    sigaddset(&interrupts, SIGTERM);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &interrupts, &before);
    for (int w = 0; w < workers; ++w)
        workers_.emplace_back([this, w] { work(scratch_[static_cast<std::size_t>(w)]); });
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

BlockPool::~BlockPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void BlockPool::work(YearWork& scratch) {
    const auto ring = static_cast<long long>(ring_.size());
    while (true) {
        long long index = 0;
        {
            std::unique_lock lock(mutex_);
            if (stopping_ || nextBlock_ >= blocks_) return;
            index = nextBlock_++;
            // The slot is free once the block a ring before has been released.
            changed_.wait(lock, [&] { return stopping_ || released_ > index - ring; });
            if (stopping_) return;
        }
        Block& block = ring_[static_cast<std::size_t>(index % ring)];
        const long long first = index * blockYears;
        const long long count = std::min<long long>(blockYears, years_ - first);
        for (long long y = 0; y < count; ++y)
            simulate_(static_cast<std::uint64_t>(first + y), scratch,
                      block.years[static_cast<std::size_t>(y)]);
        {
            const std::lock_guard lock(mutex_);
            block.index = index;
            block.ready = true;
        }
        changed_.notify_all();
    }
}

const Block& BlockPool::take(long long index) {
    const Block& block =
        ring_[static_cast<std::size_t>(index % static_cast<long long>(ring_.size()))];
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return block.ready && block.index == index; });
    return block;
}

void BlockPool::release(long long index) {
    {
        const std::lock_guard lock(mutex_);
        ring_[static_cast<std::size_t>(index % static_cast<long long>(ring_.size()))].ready = false;
        released_ = index + 1;
    }
    changed_.notify_all();
}

}  // namespace adequacy::independent
