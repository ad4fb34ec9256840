#include <windows.h>

#include <cstdlib>

#include "common/time_budget.h"
#include "platform/child_process.h"
#include "platform/files.h"
#include "platform/native_path_win32.h"

namespace {

// What a child is ended with when it is killed: the code a killed POSIX child
// reports, so that both builds tell the same story.
constexpr UINT killed_exit_code = 128 + 9;
// Pipes do not wake a wait on processes, so waits are short and output is
// looked for between them.
constexpr int output_look_interval_ms = 10;
constexpr DWORD pipe_buffer_size = 65536;
constexpr std::size_t read_chunk = 4096;

using CommandLine = BoundedText<8191>;

HANDLE as_handle(long long value) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value)); }
long long as_value(HANDLE handle) { return static_cast<long long>(reinterpret_cast<intptr_t>(handle)); }

// Every child is put into one job that ends its processes when its last
// handle closes: the parent holds that handle until it ends, however it ends.
HANDLE children_job() {
  static HANDLE job = [] {
    HANDLE created = CreateJobObjectA(nullptr, nullptr);
    if (created == nullptr) return created;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
      CloseHandle(created);
      created = nullptr;
    }
    return created;
  }();
  return job;
}

// A handle of this process that every child inherits, so that a child can
// wait for this process to end without any doubt about whose id it holds.
HANDLE inheritable_self() {
  static HANDLE self = [] {
    HANDLE duplicate = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &duplicate, SYNCHRONIZE, TRUE,
                         0))
      return static_cast<HANDLE>(nullptr);
    return duplicate;
  }();
  return self;
}

// A child's watch on its parent: ends the child at once when the parent ended.
// It touches nothing of the run and never calls the RFC library.
DWORD WINAPI end_with_parent(void* parent) {
  WaitForSingleObject(*static_cast<HANDLE*>(parent), INFINITE);
  TerminateProcess(GetCurrentProcess(), killed_exit_code);
  return 0;
}

// Each argument in double quotes; backslashes before the closing quote are
// doubled so that they stay backslashes.  An argument holding a quote is refused.
bool append_quoted(CommandLine& line, const char* argument) {
  const std::string_view text(argument);
  if (text.find('"') != std::string_view::npos) return false;
  std::size_t trailing = 0;
  while (trailing < text.size() && text[text.size() - 1 - trailing] == '\\') ++trailing;
  bool fits = (line.empty() || line.append(' ')) && line.append('"') && line.append_whole(text);
  for (std::size_t i = 0; i < trailing && fits; ++i) fits = line.append('\\');
  return fits && line.append('"');
}

bool form_command_line(const ChildCommand& command, CommandLine& line) {
  for (const char* const* argument = command.arguments; *argument != nullptr; ++argument)
    if (!append_quoted(line, *argument)) return false;
  return true;
}

bool write_all(HANDLE pipe, std::string_view input) {
  while (!input.empty()) {
    DWORD written = 0;
    if (!WriteFile(pipe, input.data(), static_cast<DWORD>(input.size()), &written, nullptr) || written == 0)
      return false;
    input.remove_prefix(written);
  }
  return true;
}

void close_handle(HANDLE& handle) {
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  handle = nullptr;
}

// Handles are made inheritable only for the moment the child is created, so
// that no child inherits another child's pipes; the run has one thread.
bool create_child(const ChildCommand& command, HANDLE input, HANDLE output, PROCESS_INFORMATION& process) {
  CommandLine line;
  NativePath program;
  // The arguments reach the child as the system's UTF-16, read back by it in UTF-8.
  // Never more units than the line has bytes.
  static wchar_t native_line[CommandLine::max_length + 1];
  if (!form_command_line(command, line) || !to_native_path(command.program, program) ||
      !to_native_text(line.view(), native_line, CommandLine::max_length + 1))
    return false;
  HANDLE error = nullptr;
  const HANDLE own_error = GetStdHandle(STD_ERROR_HANDLE);
  if (own_error != nullptr && own_error != INVALID_HANDLE_VALUE)
    DuplicateHandle(GetCurrentProcess(), own_error, GetCurrentProcess(), &error, 0, TRUE, DUPLICATE_SAME_ACCESS);
  SetHandleInformation(input, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  SetHandleInformation(output, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = error;
  const BOOL created = CreateProcessW(program.text, native_line, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                      nullptr, &startup, &process);
  SetHandleInformation(input, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);
  close_handle(error);
  return created != 0;
}

}  // namespace

bool ChildProcess::launch(const ChildCommand& command, std::string_view input) {
  HANDLE input_read = nullptr, input_write = nullptr, output_read = nullptr, output_write = nullptr;
  PROCESS_INFORMATION process{};
  // The input fits into the pipe, so it is written before the child exists.
  const bool started = CreatePipe(&input_read, &input_write, nullptr, pipe_buffer_size) &&
                       CreatePipe(&output_read, &output_write, nullptr, pipe_buffer_size) &&
                       input.size() < pipe_buffer_size && write_all(input_write, input) &&
                       create_child(command, input_read, output_write, process);
  close_handle(input_read);
  close_handle(input_write);
  close_handle(output_write);
  if (!started) {
    close_handle(output_read);
    return false;
  }
  // Not created suspended: a parent that went before resuming it would leave
  // it suspended for ever.  Until it is in the job, its own watch on the parent
  // ends it (stay_bound_to_parent); where no job can be had, the watch, the
  // run's deadline and its end stop it.
  const HANDLE job = children_job();
  if (job != nullptr) AssignProcessToJobObject(job, process.hProcess);
  CloseHandle(process.hThread);
  process_ = as_value(process.hProcess);
  process_id_ = process.dwProcessId;
  output_ = as_value(output_read);
  return true;
}

ChildOutputState ChildProcess::read_output(TextBuffer& output) {
  if (output_ == -1) return ChildOutputState::Closed;
  char chunk[read_chunk];
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(as_handle(output_), nullptr, 0, nullptr, &available, nullptr)) {
      close_output();  // broken: every writer is gone and everything was read
      return ChildOutputState::Closed;
    }
    if (available == 0) return ChildOutputState::Open;
    // One byte more than there is room for tells an overflow from a full buffer.
    std::size_t wanted = output.room() + 1 < sizeof chunk ? output.room() + 1 : sizeof chunk;
    if (wanted > available) wanted = available;
    DWORD got = 0;
    if (!ReadFile(as_handle(output_), chunk, static_cast<DWORD>(wanted), &got, nullptr) || got == 0) {
      close_output();
      return ChildOutputState::Closed;
    }
    if (!output.append(std::string_view(chunk, got))) return ChildOutputState::Overflow;
  }
}

bool ChildProcess::ended() {
  if (!running_) return true;
  if (WaitForSingleObject(as_handle(process_), 0) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  exit_code_ = GetExitCodeProcess(as_handle(process_), &code) ? static_cast<int>(code) : 128;
  CloseHandle(as_handle(process_));
  process_ = -1;
  running_ = false;
  return true;
}

void ChildProcess::kill() {
  if (!running_) return;
  TerminateProcess(as_handle(process_), killed_exit_code);
  WaitForSingleObject(as_handle(process_), child_reap_wait_ms);
  CloseHandle(as_handle(process_));
  process_ = -1;
  running_ = false;
  exit_code_ = static_cast<int>(killed_exit_code);
}

long long ChildProcess::wait_handle() const { return process_; }

void ChildProcess::close_output() {
  if (output_ != -1) CloseHandle(as_handle(output_));
  output_ = -1;
}

void wait_for_children(ChildProcess* const* children, std::size_t count, int timeout_ms) {
  HANDLE waited[MAXIMUM_WAIT_OBJECTS];
  DWORD waited_count = 0;
  for (std::size_t i = 0; i < count && waited_count < MAXIMUM_WAIT_OBJECTS; ++i)
    if (children[i]->running()) waited[waited_count++] = as_handle(children[i]->wait_handle());
  const DWORD timeout = static_cast<DWORD>(
      timeout_ms < 0 ? 0 : (timeout_ms < output_look_interval_ms ? timeout_ms : output_look_interval_ms));
  if (waited_count == 0)
    Sleep(timeout);
  else
    WaitForMultipleObjects(waited_count, waited, FALSE, timeout);
}

bool write_parent_identity(TextBuffer& identity) {
  const HANDLE self = inheritable_self();
  return self != nullptr && identity.assignf("%lld", as_value(self));
}

// The job ends a child whose parent goes once the child is in it; this watch
// covers the moment before, and a child that could not be put into the job.
bool stay_bound_to_parent(const char* parent_identity) {
  char* end = nullptr;
  const long long value = std::strtoll(parent_identity, &end, 10);
  if (end == parent_identity || *end != '\0' || value <= 0) return false;
  static HANDLE parent = as_handle(value);
  if (WaitForSingleObject(parent, 0) != WAIT_TIMEOUT) return false;
  HANDLE watch = CreateThread(nullptr, 0, end_with_parent, &parent, 0, nullptr);
  if (watch == nullptr) return false;
  CloseHandle(watch);
  return true;
}

bool executable_path(TextBuffer& path) {
  wchar_t found[path_capacity + 1];
  const DWORD length = GetModuleFileNameW(nullptr, found, path_capacity + 1);
  path.clear();
  return length > 0 && length <= path_capacity && append_utf8(found, path);
}

bool read_standard_input(TextBuffer& input) {
  input.clear();
  const HANDLE standard_input = GetStdHandle(STD_INPUT_HANDLE);
  char chunk[read_chunk];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(standard_input, chunk, sizeof chunk, &got, nullptr))
      return GetLastError() == ERROR_BROKEN_PIPE;  // the writer closed its end: all was read
    if (got == 0) return true;
    if (!input.append_whole(std::string_view(chunk, got))) return false;
  }
}
