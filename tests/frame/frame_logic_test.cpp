// Command-line splitting: plain C++, also run natively under the sanitizers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "M3K.h"
#include "cmdline.h"

namespace {

using Args = std::vector<std::string>;

Args split(std::string_view line) { return M3K_SplitCommandLine(line).args; }

TEST(CommandLine, BlanksAndTabsSeparateAndRunsOfThemCountOnce) {
    EXPECT_EQ(split("prog a b"), (Args{"prog", "a", "b"}));
    EXPECT_EQ(split("  prog\t\ta  \t b\t"), (Args{"prog", "a", "b"}));
    EXPECT_EQ(split(""), Args{});
    EXPECT_EQ(split(" \t "), Args{});
}

TEST(CommandLine, QuotesGroupBlanksAndAreDropped) {
    EXPECT_EQ(split("prog \"two words\" x"), (Args{"prog", "two words", "x"}));
    EXPECT_EQ(split("prog a\"b c\"d"), (Args{"prog", "ab cd"}));
    EXPECT_EQ(split("prog \"tab\there\""), (Args{"prog", "tab\there"}));
}

TEST(CommandLine, EmptyArgumentsAreDropped) {
    EXPECT_EQ(split("prog \"\" x \"\""), (Args{"prog", "x"}));
    EXPECT_EQ(split("\"\""), Args{});
}

TEST(CommandLine, UnbalancedQuoteRunsToTheEnd) {
    EXPECT_EQ(split("prog \"open to the end"), (Args{"prog", "open to the end"}));
    EXPECT_EQ(split("prog \""), (Args{"prog"}));
}

TEST(CommandLine, BackslashBeforeQuoteIsAQuoteOtherBackslashesStay) {
    EXPECT_EQ(split(R"(prog say\"hi\")"), (Args{"prog", "say\"hi\""}));
    EXPECT_EQ(split(R"(prog C:\dir\file.txt)"), (Args{"prog", R"(C:\dir\file.txt)"}));
    // Only the backslash right before the quote pairs with it.
    EXPECT_EQ(split(R"(prog a\\"b)"), (Args{"prog", R"(a\"b)"}));
    // A literal quote does not switch quoting, so the blank still separates.
    EXPECT_EQ(split(R"(prog \" x)"), (Args{"prog", "\"", "x"}));
    EXPECT_EQ(split(R"(prog "in \" quotes" y)"), (Args{"prog", "in \" quotes", "y"}));
    // A trailing lone backslash stays.
    EXPECT_EQ(split(R"(prog end\)"), (Args{"prog", "end\\"}));
}

TEST(CommandLine, LongArgumentSurvivesWhole) {
    const std::string big(10000, 'x');
    EXPECT_EQ(split("prog " + big + " tail"), (Args{"prog", big, "tail"}));
    const std::string quoted = "\"" + std::string(10000, ' ') + "\"";
    EXPECT_EQ(split("prog " + quoted), (Args{"prog", std::string(10000, ' ')}));
}

TEST(CommandLine, TailStartsAfterTheProgramName) {
    const std::string line = "\"C:\\my prog.exe\"  \t -a b";
    const M3K_CommandLine split = M3K_SplitCommandLine(line);
    EXPECT_EQ(line.substr(split.tailOffset), "-a b");
    EXPECT_EQ(M3K_SplitCommandLine("prog").tailOffset, 4u);
    EXPECT_EQ(M3K_SplitCommandLine("").tailOffset, 0u);
}

TEST(TrapMessages, TableRowsAndNumbersWithoutARow) {
    char text[64];
    EXPECT_EQ(M3K_TrapMessage(1, text, sizeof text), 24u);
    EXPECT_STREQ(text, "expression out of bounds");
    M3K_TrapMessage(0, text, sizeof text);
    EXPECT_STREQ(text, "invalid index");
    M3K_TrapMessage(21, text, sizeof text);
    EXPECT_STREQ(text, "USER BREAK");
    M3K_TrapMessage(23, text, sizeof text);
    EXPECT_STREQ(text, "stack overflow");
    M3K_TrapMessage(15, text, sizeof text);
    EXPECT_STREQ(text, "TRAP(15)");
    M3K_TrapMessage(24, text, sizeof text);
    EXPECT_STREQ(text, "TRAP(24)");
    M3K_TrapMessage(4294967295u, text, sizeof text);
    EXPECT_STREQ(text, "TRAP(4294967295)");
}

TEST(TrapMessages, TruncatesToTheBuffer) {
    char text[6];
    EXPECT_EQ(M3K_TrapMessage(21, text, sizeof text), 5u);
    EXPECT_STREQ(text, "USER ");
    EXPECT_EQ(M3K_TrapMessage(21, text, 0), 0u);
}

} // namespace
