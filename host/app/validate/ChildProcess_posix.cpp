// Child processes on Linux: posix_spawn, its standard output read through a
// pipe with poll until it ends or the time is up.
#include "ChildProcess.h"

#include "ExitStatus.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

extern char** environ;

namespace orvhost::validate {
namespace {

using Clock = std::chrono::steady_clock;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

// A started child that is killed and reaped unless it was waited for, so
// that no error path leaves one running.
class Child {
 public:
  explicit Child(pid_t pid) : pid_(pid) {}
  ~Child() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      wait(0);
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Its wait status once it has ended, or nothing when it is still running.
  std::optional<int> poll() {
    int status = 0;
    pid_t done;
    while ((done = ::waitpid(pid_, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (done == 0) return std::nullopt;
    pid_ = -1;
    return done < 0 ? 0 : status;
  }
  int kill() {
    ::kill(pid_, SIGKILL);
    return wait(0);
  }

 private:
  int wait(int options) {
    int status = 0;
    while (::waitpid(pid_, &status, options) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return status;
  }

  pid_t pid_;
};

std::string endingOf(int status) {
  if (WIFSIGNALED(status))
    return "the check process ended by signal " + std::to_string(WTERMSIG(status)) + " (" +
           strsignal(WTERMSIG(status)) + ")";
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
    return "the check process ended with status " + std::to_string(WEXITSTATUS(status));
  return {};
}

std::string systemError(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

}  // namespace

ChildOutcome runThisProgram(const std::vector<std::string>& arguments, std::chrono::seconds timeout) {
  std::error_code error;
  const std::string program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) throw HostError(ExitStatus::Failure, "this program's path cannot be read: " + error.message());
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) throw HostError(ExitStatus::Failure, systemError("no pipe for a check process", errno));
  Descriptor reading(ends[0]);
  Descriptor writing(ends[1]);
  SpawnActions actions;
  posix_spawn_file_actions_adddup2(actions.get(), writing.get(), STDOUT_FILENO);
  std::vector<std::string> all = {program};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (const int failed = posix_spawn(&pid, program.c_str(), actions.get(), nullptr, argv.data(), environ))
    throw HostError(ExitStatus::Failure, systemError(program + " cannot be started to check a module", failed));
  Child child(pid);
  writing.close();

  ChildOutcome outcome;
  const Clock::time_point deadline = Clock::now() + timeout;
  const auto left = [&] {
    return std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
  };
  // Until its output ends; a child that closed it may still be running.
  for (char buffer[4096]; left() > 0;) {
    pollfd ready{reading.get(), POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(std::min<long long>(left(), 1000)));
    if (polled < 0 && errno != EINTR) break;
    if (polled <= 0) continue;
    const ssize_t got = ::read(reading.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    outcome.output.append(buffer, static_cast<std::size_t>(got));
  }
  for (;;) {
    if (const std::optional<int> status = child.poll()) {
      outcome.ending = endingOf(*status);
      return outcome;
    }
    if (left() == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  child.kill();
  outcome.timedOut = true;
  return outcome;
}

void endQuietlyOnCrash() {
  const rlimit none{0, 0};
  ::setrlimit(RLIMIT_CORE, &none);
}

}  // namespace orvhost::validate
