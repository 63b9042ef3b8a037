// A child process with its standard output and error collected through pipes.
// The destructor kills the child if it is still running, so no test leaves a
// program or an X server behind.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace std::chrono_literals;

class Process {
public:
    // env: variables to set (a value) or to remove (std::nullopt) for the child.
    Process(std::vector<std::string> argv, std::map<std::string, std::optional<std::string>> env = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }

    // Collects output until done(out, err) holds or the time runs out; false
    // on time-out or when the child ends first without done holding.
    bool waitFor(const std::function<bool(const std::string&, const std::string&)>& done,
                 std::chrono::milliseconds timeout);
    // The exit code, or -(signal number) for a child killed by a signal;
    // std::nullopt if it is still running when the time runs out.
    std::optional<int> waitExit(std::chrono::milliseconds timeout);
    void signal(int sig) const;

private:
    bool collect(std::chrono::milliseconds wait);
    bool reap(bool block);

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string out_;
    std::string err_;
    std::optional<int> status_;
};

// Runs a short helper command to its end; its exit code and output.
struct CommandResult {
    int exitCode;
    std::string out;
    std::string err;
};
CommandResult runCommand(std::vector<std::string> argv, std::map<std::string, std::optional<std::string>> env = {},
                         std::chrono::milliseconds timeout = 30s);

// Whether an executable of that name is on PATH.
bool onPath(const std::string& name);
