#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "platform/Published.h"

namespace {

using Clock = std::chrono::steady_clock;

// Stops the writer inside its publication, as a preemption there would, until the test
// lets it go; a writer nobody lets go resumes by itself after a while, so that a reader
// that waits for the writer shows up as a long read instead of a hung test.
struct ParkedWriter {
    static inline std::atomic<bool> parking{false};
    static inline std::atomic<bool> parked{false};
    static inline std::atomic<bool> released{false};

    static void InsidePublish() {
        if (!parking.load()) return;
        parked = true;
        const auto giveUp = Clock::now() + std::chrono::seconds(5);
        while (!released.load() && Clock::now() < giveUp) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        parked = false;
    }
};

} // namespace

// A reader takes 100,000 values while the writer stands still between its swap and the
// hand-over to readers: every read returns at once, with the old or the new value; the
// writer then completes, and a replaced value is freed once no reader holds it.
TEST(PublishedTest, ReadersNeverWaitForAWriterStoppedInsideItsPublication) {
    Published<int, ParkedWriter> published(std::make_shared<const int>(1));
    std::weak_ptr<const int> first = published.Load();
    std::shared_ptr<const int> held = published.Load();

    ParkedWriter::parking = true;
    std::thread writer([&] { published.Publish(std::make_shared<const int>(2)); });
    while (!ParkedWriter::parked.load()) std::this_thread::yield();

    constexpr int Reads = 100000;
    int64_t longestNs = 0;
    int olds = 0, news = 0, others = 0;
    for (int i = 0; i < Reads; ++i) {
        const auto start = Clock::now();
        const std::shared_ptr<const int> value = published.Load();
        longestNs = std::max<int64_t>(longestNs, std::chrono::nanoseconds(Clock::now() - start).count());
        (*value == 1 ? olds : *value == 2 ? news : others) += 1;
    }
    const bool writerStillStopped = ParkedWriter::parked.load();
    ParkedWriter::released = true;
    writer.join();
    ParkedWriter::parking = false;
    std::printf("longest of %d reads with the writer stopped inside its publication: %lld ns "
                "(%d old values, %d new)\n",
                Reads, static_cast<long long>(longestNs), olds, news);

    EXPECT_TRUE(writerStillStopped) << "the reads waited until the writer went on";
    EXPECT_EQ(olds + news, Reads);
    EXPECT_EQ(others, 0);
    EXPECT_EQ(*published.Load(), 2);
    // A replaced value lives while a reader holds it, and goes at a later publication once none does.
    published.Publish(std::make_shared<const int>(3));
    EXPECT_FALSE(first.expired());
    held.reset();
    published.Publish(std::make_shared<const int>(4));
    EXPECT_TRUE(first.expired());
}
