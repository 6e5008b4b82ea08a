// SPDX-License-Identifier: MIT
// The tool as a real child process, for what only a process shows: a pseudo-terminal on its
// standard streams, signals sent to it while it runs, and pipes it is driven through a line at a
// time. Every wait has a time limit, after which the child is killed, so a test that would hang
// fails instead.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "cli_runner.h"

namespace kurvilo::testing {

// Where a standard stream of the child goes.
struct Stream {
    enum Kind { Null, Terminal, File, Pipe } kind = Null;
    std::string path;  // for File

    static Stream null() { return {Null, {}}; }
    static Stream terminal() { return {Terminal, {}}; }
    static Stream file(std::string path) { return {File, std::move(path)}; }
    static Stream pipe() { return {Pipe, {}}; }
};

class ChildProcess {
  public:
    struct Setup {
        Stream in = Stream::null();
        Stream out = Stream::null();
        Stream err = Stream::null();
        std::string folder;                    // the working folder; empty: this one
        std::vector<std::string> environment;  // "NAME=value", added
    };

    ChildProcess(const std::vector<std::string>& args, const Setup& setup) {
        const bool terminal = setup.in.kind == Stream::Terminal ||
                              setup.out.kind == Stream::Terminal ||
                              setup.err.kind == Stream::Terminal;
        int inPipe[2] = {-1, -1};
        int outPipe[2] = {-1, -1};
        if (setup.in.kind == Stream::Pipe && ::pipe(inPipe) != 0) return;
        if (setup.out.kind == Stream::Pipe && ::pipe(outPipe) != 0) return;
        pid_ = terminal ? ::forkpty(&terminal_, nullptr, nullptr, nullptr) : ::fork();
        if (pid_ < 0) return;
        if (pid_ == 0) {
            auto place = [](const Stream& stream, int fd, int pipeEnd) {
                int target = -1;
                switch (stream.kind) {
                    case Stream::Terminal:
                        return;  // forkpty made it the terminal already
                    case Stream::Null:
                        target = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
                        break;
                    case Stream::File:
                        target = fd == 0 ? ::open(stream.path.c_str(), O_RDONLY)
                                         : ::open(stream.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                                  0644);
                        break;
                    case Stream::Pipe:
                        target = pipeEnd;
                        break;
                }
                if (target < 0 || ::dup2(target, fd) < 0) ::_exit(126);
            };
            place(setup.in, 0, inPipe[0]);
            place(setup.out, 1, outPipe[1]);
            place(setup.err, 2, -1);
            for (const int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1]}) {
                if (fd > 2) ::close(fd);
            }
            if (!setup.folder.empty() && ::chdir(setup.folder.c_str()) != 0) ::_exit(126);
            for (const std::string& variable : setup.environment)
                ::putenv(const_cast<char*>(variable.c_str()));
            const std::string program = cliPath();
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        if (inPipe[0] >= 0) ::close(inPipe[0]);
        if (outPipe[1] >= 0) ::close(outPipe[1]);
        input_ = inPipe[1];
        output_ = outPipe[0];
    }

    ~ChildProcess() {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        for (const int fd : {terminal_, input_, output_}) {
            if (fd >= 0) ::close(fd);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    void signal(int number) const { ::kill(pid_, number); }

    // Everything the child writes to the terminal until it closes it (or the time is up).
    std::string readTerminal(std::chrono::seconds limit = std::chrono::seconds(60)) {
        return readAll(terminal_, limit);
    }
    // The same for its standard output through a pipe.
    std::string readOutput(std::chrono::seconds limit = std::chrono::seconds(60)) {
        return readAll(output_, limit);
    }

    // Writes to the child's standard input through its pipe.
    bool send(const std::string& text) {
        return ::write(input_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }
    void closeInput() {
        ::close(input_);
        input_ = -1;
    }
    // One line of its standard output through the pipe, without the newline; false when none
    // comes within the limit.
    bool readLine(std::string& line, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            const std::size_t newline = pending_.find('\n');
            if (newline != std::string::npos) {
                line = pending_.substr(0, newline);
                pending_.erase(0, newline + 1);
                return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd ready{output_, POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) return false;
            char buffer[4096];
            const ssize_t n = ::read(output_, buffer, sizeof buffer);
            if (n <= 0) return false;
            pending_.append(buffer, static_cast<std::size_t>(n));
        }
    }

    // The wait status of the child, or -1 when it does not end within the limit (it is killed).
    int wait(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (std::chrono::steady_clock::now() < end) {
            const pid_t done = ::waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                waited_ = true;
                return status;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return -1;
    }
    // Whether it is still running, without waiting.
    bool running() {
        int status = 0;
        if (waited_) return false;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            waited_ = true;
            lastStatus_ = status;
            return false;
        }
        return true;
    }
    int lastStatus() const { return lastStatus_; }

  private:
    static std::string readAll(int fd, std::chrono::seconds limit) {
        std::string seen;
        const auto end = std::chrono::steady_clock::now() + limit;
        char buffer[4096];
        while (fd >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd ready{fd, POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) break;  // EIO from a terminal once the child has closed it
            seen.append(buffer, static_cast<std::size_t>(n));
        }
        return seen;
    }

    pid_t pid_ = -1;
    int terminal_ = -1;
    int input_ = -1;
    int output_ = -1;
    bool waited_ = false;
    int lastStatus_ = 0;
    std::string pending_;
};

// "exit N" or "signal N", for messages.
inline std::string describeStatus(int status) {
    if (status == -1) return "still running after the time limit";
    if (WIFEXITED(status)) return "exit " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
    return "status " + std::to_string(status);
}

}  // namespace kurvilo::testing
