#include "cmdline.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
} // namespace

M3K_CommandLine M3K_SplitCommandLine(std::string_view line) {
    M3K_CommandLine result;
    result.tailOffset = line.size();
    std::string current;
    bool quoted = false;
    std::size_t i = 0;
    const std::size_t n = line.size();

    auto finishArgument = [&](std::size_t end) {
        if (current.empty()) return;
        result.args.push_back(std::move(current));
        current.clear();
        if (result.args.size() == 1) {
            std::size_t t = end;
            while (t < n && isBlank(line[t])) ++t;
            result.tailOffset = t;
        }
    };

    while (i < n) {
        const char c = line[i];
        if (c == '\\' && i + 1 < n && line[i + 1] == '"') {
            current.push_back('"');
            i += 2;
        } else if (c == '"') {
            quoted = !quoted;
            ++i;
        } else if (isBlank(c) && !quoted) {
            finishArgument(i);
            ++i;
        } else {
            current.push_back(c);
            ++i;
        }
    }
    finishArgument(n);
    return result;
}
