// Command-line splitting for the program frame. Plain C++, no Win32.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct M3K_CommandLine {
    std::vector<std::string> args;
    // Where the text after the program name (the first argument) begins,
    // blanks and tabs after it skipped; the line's length when there is none.
    std::size_t tailOffset = 0;
};

// Any thread. Blanks and tabs separate arguments; a double quote switches quoting on or
// off and is dropped; inside quotes blanks and tabs belong to the argument;
// a backslash directly before a double quote stands for a literal double
// quote; any other backslash stays; empty arguments are dropped.
M3K_CommandLine M3K_SplitCommandLine(std::string_view line);
