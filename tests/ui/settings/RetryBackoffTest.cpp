#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "ui/settings/RetryBackoff.h"

TEST(RetryBackoffTest, DoublesToACeilingAndStartsOverAfterSuccess) {
    RetryBackoff saves(500, 30000);
    unsigned delays[8];
    for (unsigned& delay : delays) delay = saves.Next();
    EXPECT_EQ(std::vector<unsigned>(std::begin(delays), std::end(delays)),
              (std::vector<unsigned>{500, 1000, 2000, 4000, 8000, 16000, 30000, 30000}));
    saves.Reset();
    EXPECT_EQ(saves.Next(), 500u);
}
