#pragma once

// Other programs run from tests: to their end with their output collected, or live in
// the background with their output read line by line. A crash is never an exit status.

#include <array>
#include <cstdio>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace subprocess {

struct Run {
    int status { -1 };
    std::string output;
};

inline int exitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

inline std::string quoted(const std::string& argument)
{
    std::string result = "'";
    for (char c : argument)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

// Standard output only, or with withErrors standard error mixed in.
inline Run run(const std::string& executable, const std::vector<std::string>& arguments, bool withErrors = false)
{
    std::string command = quoted(executable);
    // Appended in two steps: gcc 12 warns falsely (-Wrestrict) on `" " + quoted(...)`.
    for (auto& argument : arguments) {
        command += ' ';
        command += quoted(argument);
    }
    command += withErrors ? " 2>&1" : " 2>/dev/null";
    Run result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    while (size_t count = fread(buffer.data(), 1, buffer.size(), pipe))
        result.output.append(buffer.data(), count);
    result.status = exitStatus(pclose(pipe));
    return result;
}

// Runs a program to its end with the test's own output streams; -1 when it cannot start.
inline int runProgram(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return exitStatus(status);
}

// A program running in the background, its standard output and error read as they come.
// Terminated when it goes out of scope, so a failing test never leaves it behind.
class LiveProcess {
public:
    explicit LiveProcess(std::vector<std::string> arguments)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<char*> argv;
        for (auto& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        m_output = fdopen(fds[0], "r");
    }
    LiveProcess(const LiveProcess&) = delete;
    LiveProcess& operator=(const LiveProcess&) = delete;
    ~LiveProcess()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_output)
            fclose(m_output);
    }

    pid_t pid() const { return m_pid; }

    // Reads until a line holds the text; false when the output ends first.
    bool waitForLine(const std::string& text)
    {
        std::array<char, 1024> line;
        while (m_output && fgets(line.data(), line.size(), m_output)) {
            if (std::string(line.data()).find(text) != std::string::npos)
                return true;
        }
        return false;
    }

    // Waits for the program to end by itself.
    int wait()
    {
        int status = 0;
        if (m_pid <= 0 || waitpid(std::exchange(m_pid, -1), &status, 0) < 0)
            return -1;
        return exitStatus(status);
    }

private:
    pid_t m_pid { -1 };
    FILE* m_output { nullptr };
};

} // namespace subprocess
