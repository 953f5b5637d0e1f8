#include <gtest/gtest.h>

#include "app/log.h"

TEST(Log, WriteAppendsTwoBlanksAndStartWritesHeader) {
    Log log;
    int changes = 0;
    log.onChanged = [&] { ++changes; };
    log.LogWrite("Compiling");
    log.LogStart();
    ASSERT_EQ(log.lines().size(), 2u);
    EXPECT_EQ(log.lines()[0], "Compiling  ");
    EXPECT_EQ(log.lines()[1].rfind("-- ", 0), 0u);
    EXPECT_EQ(log.lines()[1].substr(log.lines()[1].size() - 5), " --  ");
    log.LogClear();
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(changes, 3);
}
