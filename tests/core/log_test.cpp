#include <gtest/gtest.h>

#include <regex>

#include "core/log.h"

TEST(Log, WriteAppendsTwoBlanksAndSelectsTheLastLineButNotTheDateHeader) {
    Log log;
    int changes = 0;
    log.onChanged = [&] { ++changes; };
    EXPECT_EQ(log.selected(), -1);
    log.LogWrite("Compiling");
    log.LogWrite("");
    ASSERT_EQ(log.lines().size(), 2u);
    EXPECT_EQ(log.lines()[0], "Compiling  ");
    EXPECT_EQ(log.lines()[1], "  ");
    EXPECT_EQ(log.selected(), 1);
    EXPECT_EQ(changes, 2);

    // The date header is not selected; the next line is.
    log.LogStart();
    ASSERT_EQ(log.lines().size(), 3u);
    const std::string& header = log.lines()[2];
    EXPECT_TRUE(std::regex_match(header, std::regex("-- .*[0-9]+.*[0-9]+:[0-9]+:[0-9]+.* --"))) << header;
    EXPECT_EQ(log.selected(), 1);
    log.LogWrite("after");
    EXPECT_EQ(log.selected(), 3);
}
