#pragma once
// Delays between attempts that keep failing: the first delay, then doubling up to a
// ceiling, and back to the first after a success. Keeps a failing disk or a shell
// that is not up yet from being asked twice a second forever.

#include <algorithm>

class RetryBackoff {
public:
    constexpr RetryBackoff(unsigned firstMs, unsigned maxMs) : firstMs_(firstMs), maxMs_(maxMs), nextMs_(firstMs) {}

    // The delay before the next attempt; the one after it is twice as long.
    unsigned Next() {
        const unsigned delay = nextMs_;
        nextMs_ = std::min(maxMs_, nextMs_ * 2);
        return delay;
    }
    void Reset() { nextMs_ = firstMs_; }

private:
    unsigned firstMs_, maxMs_, nextMs_;
};
