// The Windows rules for splitting a command line.

#include "platform/files/CommandLine.h"

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view TakeProgram(std::u16string_view& line) {
    std::size_t end;
    std::u16string_view program;
    if (!line.empty() && line[0] == u'"') {
        end = line.find(u'"', 1);
        program = line.substr(1, end == std::u16string_view::npos ? end : end - 1);
        end = end == std::u16string_view::npos ? line.size() : end + 1;
    } else {
        end = 0;
        while (end < line.size() && !IsBlank(line[end])) {
            ++end;
        }
        program = line.substr(0, end);
    }
    line.remove_prefix(end);
    return program;
}

// Backslashes at the start of line, with what follows them.
void TakeBackslashes(std::u16string_view& line, std::u16string& argument) {
    std::size_t count = 0;
    while (count < line.size() && line[count] == u'\\') {
        ++count;
    }
    const bool beforeQuote = count < line.size() && line[count] == u'"';
    argument.append(beforeQuote ? count / 2 : count, u'\\');
    line.remove_prefix(count);
    if (beforeQuote && count % 2 == 1) {
        argument += u'"';
        line.remove_prefix(1);
    }
}

std::u16string TakeArgument(std::u16string_view& line) {
    std::u16string argument;
    bool quoted = false;
    while (!line.empty() && (quoted || !IsBlank(line[0]))) {
        if (line[0] == u'\\') {
            TakeBackslashes(line, argument);
        } else if (line[0] == u'"' && quoted && line.size() > 1 && line[1] == u'"') {
            argument += u'"';
            line.remove_prefix(2);
        } else if (line[0] == u'"') {
            quoted = !quoted;
            line.remove_prefix(1);
        } else {
            argument += line[0];
            line.remove_prefix(1);
        }
    }
    return argument;
}

} // namespace

namespace n_Platform {

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
    std::vector<std::u16string> arguments;
    if (line.empty()) {
        return arguments;
    }
    arguments.emplace_back(TakeProgram(line));
    for (;;) {
        while (!line.empty() && IsBlank(line[0])) {
            line.remove_prefix(1);
        }
        if (line.empty()) {
            return arguments;
        }
        arguments.push_back(TakeArgument(line));
    }
}

} // namespace n_Platform
