// Child processes on Windows: CreateProcessW with the wide command line, its
// standard output read through a pipe while waiting for it to end.
#include "ChildProcess.h"

#include "ExitStatus.h"
#include "Text.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace orvhost::validate {
namespace {

using Clock = std::chrono::steady_clock;

class Handle {
 public:
  explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
  ~Handle() { close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  void close() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_;
};

// A started child that is ended unless it was seen to end, so that no error
// path leaves one running.
class Child {
 public:
  explicit Child(const PROCESS_INFORMATION& info) : process_(info.hProcess), thread_(info.hThread) {}
  ~Child() {
    if (running_) kill();
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Whether it has ended, waiting for it at most milliseconds.
  bool ended(DWORD milliseconds) {
    running_ = WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0;
    return !running_;
  }
  void kill() {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), INFINITE);
    running_ = false;
  }
  DWORD exitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
  }

 private:
  Handle process_;
  Handle thread_;
  bool running_ = true;
};

std::string systemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length > 0 ? std::wstring(text, length) : L"error " + std::to_wstring(error);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  return utf8(message);
}

std::wstring thisProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      throw HostError(ExitStatus::Failure, "this program's path cannot be read: " + systemMessage(GetLastError()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

// One argument as CommandLineToArgvW reads it back: quoted, with the
// backslashes before a quote, and before the closing quote, doubled.
std::wstring quoted(const std::wstring& argument) {
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

// A copy of one of this process's standard handles that the child inherits.
HANDLE inheritable(DWORD which) {
  HANDLE copy = nullptr;
  const HANDLE own = GetStdHandle(which);
  if (own == nullptr || own == INVALID_HANDLE_VALUE ||
      !DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
    return nullptr;
  return copy;
}

// What is in the pipe now, without waiting for more.
void drain(HANDLE pipe, std::string& output) {
  char buffer[4096];
  DWORD available = 0;
  DWORD got = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
         ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr) && got > 0)
    output.append(buffer, got);
}

struct Exception {
  DWORD code;
  const char* name;
};

constexpr Exception exceptions[] = {
    {0xC0000005, "access violation"},       {0xC00000FD, "stack overflow"},
    {0xC000001D, "illegal instruction"},    {0xC0000094, "integer division by zero"},
    {0xC0000409, "fail-fast"},              {0x80000003, "breakpoint"},
    {0xC0000374, "heap corruption"},
};

std::string endingOf(DWORD code) {
  if (code == 0) return {};
  if (code < 0x80000000) return "the check process ended with status " + std::to_string(code);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
  std::string ending = std::string("the check process ended by exception ") + hex;
  for (const Exception& known : exceptions)
    if (known.code == code) ending += std::string(" (") + known.name + ")";
  return ending;
}

LONG WINAPI endProcess(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

}  // namespace

ChildOutcome runThisProgram(const std::vector<std::string>& arguments, std::chrono::seconds timeout) {
  const std::wstring program = thisProgram();
  std::wstring commandLine = quoted(program);
  for (const std::string& argument : arguments) commandLine += L" " + quoted(wide(argument));

  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE ends[2] = {nullptr, nullptr};
  if (!CreatePipe(&ends[0], &ends[1], &inherited, 0))
    throw HostError(ExitStatus::Failure, "no pipe for a check process: " + systemMessage(GetLastError()));
  Handle reading(ends[0]);
  Handle writing(ends[1]);
  SetHandleInformation(reading.get(), HANDLE_FLAG_INHERIT, 0);
  const Handle input(inheritable(STD_INPUT_HANDLE));
  const Handle errors(inheritable(STD_ERROR_HANDLE));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.get();
  startup.hStdOutput = writing.get();
  startup.hStdError = errors.get();
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &info))
    throw HostError(ExitStatus::Failure,
                    utf8(program) + " cannot be started to check a module: " + systemMessage(GetLastError()));
  Child child(info);
  writing.close();

  ChildOutcome outcome;
  const Clock::time_point deadline = Clock::now() + timeout;
  // Anonymous pipes wait without a time-out: read what has come meanwhile.
  for (;;) {
    const bool ended = child.ended(10);
    drain(reading.get(), outcome.output);
    if (ended) break;
    if (Clock::now() >= deadline) {
      child.kill();
      outcome.timedOut = true;
      return outcome;
    }
  }
  outcome.ending = endingOf(child.exitCode());
  return outcome;
}

void endQuietlyOnCrash() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  // The process then ends with the exception's code as its status.
  SetUnhandledExceptionFilter(endProcess);
}

}  // namespace orvhost::validate
