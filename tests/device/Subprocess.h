#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

// Runs a command line and collects its standard output; a crash is never an exit status.
namespace subprocess {

struct Run {
    int status { -1 };
    std::string output;
};

inline std::string quoted(const std::string& argument)
{
    std::string result = "'";
    for (char c : argument)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

inline Run run(const std::string& executable, const std::vector<std::string>& arguments, bool withErrors = false)
{
    std::string command = quoted(executable);
    for (auto& argument : arguments)
        command += " " + quoted(argument);
    command += withErrors ? " 2>&1" : " 2>/dev/null";
    Run result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    while (size_t count = fread(buffer.data(), 1, buffer.size(), pipe))
        result.output.append(buffer.data(), count);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

} // namespace subprocess
