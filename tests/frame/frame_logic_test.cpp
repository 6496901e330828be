#include <gtest/gtest.h>
#include "cmdline.h"
TEST(CommandLine, Placeholder) { EXPECT_TRUE(M3K_SplitCommandLine("a b").args.size() == 2); }
