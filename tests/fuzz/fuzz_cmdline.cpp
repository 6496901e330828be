// Command-line splitting on any bytes.
//
// Properties: the splitter reads only the bytes it is given (AddressSanitizer
// watches the exact-size buffer libFuzzer passes); the arguments together are
// never longer than the line and none is empty; the tail starts inside the
// line. And the same bytes, cut at their NULs into a list of arguments and
// quoted by the rules below, split back into that very list.
#include <string>
#include <string_view>
#include <vector>

#include "FuzzInput.h"
#include "cmdline.h"

namespace {

// Deliberately independent of the splitter: how a caller quotes one argument
// for it. The argument goes inside double quotes with each double quote
// written as \" ; a backslash stays as it is, since only a backslash directly
// before a double quote is special, and \ followed by \" reads as \ and ".
// Trailing backslashes go after the closing quote, where a blank or the end
// of the line follows them.
std::string Quote(std::string_view arg) {
    size_t bodyEnd = arg.size();
    while (bodyEnd > 0 && arg[bodyEnd - 1] == '\\') --bodyEnd;
    std::string quoted = "\"";
    for (size_t i = 0; i < bodyEnd; ++i) {
        if (arg[i] == '"') quoted += '\\';
        quoted += arg[i];
    }
    quoted += '"';
    quoted.append(arg.substr(bodyEnd));
    return quoted;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    const M3K_CommandLine split = M3K_SplitCommandLine(line);
    size_t total = 0;
    for (const std::string& arg : split.args) {
        FUZZ_REQUIRE(!arg.empty());
        total += arg.size();
    }
    FUZZ_REQUIRE(total <= size);
    FUZZ_REQUIRE(split.tailOffset <= size);

    // The bytes as a list of arguments: NUL ends one (a command line holds
    // no NUL), empty ones are left out as the splitter drops them.
    std::vector<std::string> list;
    std::string built;
    for (size_t i = 0; i < size; ++i) {
        if (line[i] != '\0') {
            list.emplace_back();
            while (i < size && line[i] != '\0') list.back() += line[i++];
        }
    }
    for (size_t i = 0; i < list.size(); ++i) {
        if (i != 0) built += (i % 2 != 0) ? " " : "\t \t";
        built += Quote(list[i]);
    }
    FUZZ_REQUIRE(M3K_SplitCommandLine(built).args == list);
    return 0;
}
