#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace {

[[noreturn]] void fail(const std::string& what) { throw std::system_error(errno, std::generic_category(), what); }

} // namespace

Process::Process(std::vector<std::string> argv, std::map<std::string, std::optional<std::string>> env)
{
    if (argv.empty())
        throw std::invalid_argument("no program to start");
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        fail("pipe");

    // Everything the child needs is prepared before fork.
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (!env.contains(entry.substr(0, entry.find('='))))
            envText.push_back(entry);
    }
    for (const auto& [name, value] : env)
        if (value)
            envText.push_back(name + "=" + *value);
    std::vector<char*> args;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : envText)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_ = fork();
    if (pid_ < 0)
        fail("fork");
    if (pid_ == 0) {
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        const int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0)
            dup2(devNull, STDIN_FILENO);
        // Its own process group, so that nothing it starts outlives a kill.
        setpgid(0, 0);
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    outFd_ = outPipe[0];
    errFd_ = errPipe[0];
}

Process::~Process()
{
    if (!status_ && pid_ > 0) {
        kill(-pid_, SIGKILL);
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (outFd_ >= 0)
        close(outFd_);
    if (errFd_ >= 0)
        close(errFd_);
}

bool Process::collect(std::chrono::milliseconds wait)
{
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    const int ready = poll(fds, 2, static_cast<int>(wait.count()));
    if (ready <= 0)
        return false;
    bool got = false;
    std::string* sinks[2] = {&out_, &err_};
    int* fdsOwned[2] = {&outFd_, &errFd_};
    for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[4096];
        const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        if (n > 0) {
            sinks[i]->append(buffer, static_cast<std::size_t>(n));
            got = true;
        } else if (n == 0) {
            close(*fdsOwned[i]);
            *fdsOwned[i] = -1;
        }
    }
    return got;
}

bool Process::reap(bool block)
{
    if (status_)
        return true;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, block ? 0 : WNOHANG);
    if (r != pid_)
        return false;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return true;
}

bool Process::waitFor(const std::function<bool(const std::string&, const std::string&)>& done,
                      std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done(out_, err_)) {
        if (outFd_ < 0 && errFd_ < 0)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                                std::chrono::steady_clock::now());
        if (left <= 0ms)
            return false;
        collect(std::min(left, 200ms));
    }
    return true;
}

std::optional<int> Process::waitExit(std::chrono::milliseconds timeout)
{
    // Both pipes close when the child (and anything it started) has gone.
    waitFor([this](const std::string&, const std::string&) { return outFd_ < 0 && errFd_ < 0; }, timeout);
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!reap(false)) {
        if (std::chrono::steady_clock::now() > deadline)
            return std::nullopt;
        usleep(20000);
    }
    return status_;
}

void Process::signal(int sig) const
{
    if (!status_)
        kill(pid_, sig);
}

CommandResult runCommand(std::vector<std::string> argv, std::map<std::string, std::optional<std::string>> env,
                         std::chrono::milliseconds timeout)
{
    Process p(std::move(argv), std::move(env));
    const std::optional<int> code = p.waitExit(timeout);
    return {code ? *code : -SIGKILL, p.out(), p.err()};
}

bool onPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    std::string dirs = path;
    for (std::size_t start = 0; start <= dirs.size();) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::filesystem::path candidate = std::filesystem::path(dirs.substr(start, end - start)) / name;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}
