#include "session.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "common/ascii.h"
#include "sim_log.h"
#include "wire_format.h"

namespace {

/// A received frame.
struct Frame {
  FrameKind kind{};
  std::size_t size = 0;
  unsigned char payload[frame_payload_limit];
};

bool receive_exact(int fd, unsigned char* bytes, std::size_t count) {
  while (count > 0) {
    pollfd watched{fd, POLLIN, 0};
    const int ready = poll(&watched, 1, idle_timeout_ms);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t got = recv(fd, bytes, count, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

bool receive_frame(int fd, Frame& frame) {
  unsigned char header[frame_header_size];
  return receive_exact(fd, header, sizeof header) && parse_frame_header(header, &frame.kind, &frame.size) &&
         receive_exact(fd, frame.payload, frame.size);
}

// Sends the frame; with `drip_ms` one byte at a time, that far apart, as a
// server behind a failing line would.  A client that has gone ends the drip.
bool send_frame(int fd, const FrameWriter& frame, int drip_ms = 0) {
  const unsigned char* bytes = frame.bytes();
  std::size_t count = frame.size();
  while (count > 0) {
    const ssize_t sent = send(fd, bytes, drip_ms > 0 ? 1 : count, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes += sent;
    count -= static_cast<std::size_t>(sent);
    if (drip_ms > 0 && count > 0) std::this_thread::sleep_for(std::chrono::milliseconds(drip_ms));
  }
  return true;
}

void wait_before_reply(const SystemScenario& system) {
  if (system.delay_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(system.delay_ms));
}

// Why the logon is refused, or empty when it is accepted.
std::string logon_refusal(const SystemScenario& system, const std::string& client, const std::string& user,
                          const std::string& password) {
  if (system.client_given && client != system.client) return "client " + client + " is not available in this system";
  if (!system.accept_logon || (system.user_given && !equals_ignoring_case(user, system.user)) ||
      (system.password_given && password != system.password))
    return "name or password is incorrect";
  return std::string();
}

// Reads the logon and answers it; true when the client may go on to call.
bool answer_logon(int fd, const SystemScenario& system) {
  Frame frame;
  if (!receive_frame(fd, frame) || frame.kind != FrameKind::Logon) return false;
  FieldReader reader(frame.payload, frame.size);
  std::string_view client, user, password, language;
  if (!reader.get_text(&client) || !reader.get_text(&user) || !reader.get_text(&password) ||
      !reader.get_text(&language))
    return false;
  log_line("logon " + system.listen + " client=" + loggable(std::string(client)) +
           " user=" + loggable(std::string(user)) + " lang=" + loggable(std::string(language)));
  if (system.silent_logon) {
    // A system that hangs: it never answers and keeps the connection until the client gives up.
    unsigned char ignored;
    while (receive_exact(fd, &ignored, 1)) {
    }
    return false;
  }
  const std::string refusal = logon_refusal(system, std::string(client), std::string(user), std::string(password));
  wait_before_reply(system);
  FrameWriter answer(refusal.empty() ? FrameKind::LogonAccepted : FrameKind::LogonRejected);
  if (!refusal.empty()) answer.put_text(refusal);
  return send_frame(fd, answer, system.logon_drip_ms) && refusal.empty();
}

std::int32_t result_code_of(const SystemScenario& system) {
  switch (system.call) {
    case CallMode::Ok:
      return 0;
    case CallMode::Failure:
      return 1;
    case CallMode::Exception:
      return 2;
    case CallMode::SystemException:
      return 3;
    case CallMode::Code:
    case CallMode::Abort:
    case CallMode::Close:
      break;
  }
  return system.code;
}

// Answers one call; false when the connection ends with it.
bool answer_call(int fd, const SystemScenario& system) {
  wait_before_reply(system);
  // A system that goes down with the call on it answers nothing at all.
  if (system.call == CallMode::Close) return false;
  if (system.call == CallMode::Abort) {
    FrameWriter notice(FrameKind::Abort);
    notice.put_text(system.text);
    send_frame(fd, notice, system.reply_drip_ms);
    return false;
  }
  FrameWriter reply(FrameKind::Reply);
  const std::int32_t code = result_code_of(system);
  reply.put_int(code);
  reply.put_text(system.text);
  std::int32_t count = 0;
  for (std::size_t i = 0; code == 0 && i < roll_page_value_count; ++i)
    if (!system.omitted[i]) ++count;
  reply.put_int(count);
  for (std::size_t i = 0; code == 0 && i < roll_page_value_count; ++i) {
    if (system.omitted[i]) continue;
    reply.put_text(roll_page_value_names[i]);
    reply.put_int(system.values[i]);
  }
  return send_frame(fd, reply, system.reply_drip_ms);
}

}  // namespace

void serve_session(int fd, const SystemScenario& system) {
  if (answer_logon(fd, system)) {
    Frame frame;
    while (receive_frame(fd, frame) && frame.kind == FrameKind::Call) {
      FieldReader reader(frame.payload, frame.size);
      std::string_view function;
      if (!reader.get_text(&function)) break;
      log_line("call " + system.listen + " " + loggable(std::string(function)));
      if (!answer_call(fd, system)) break;
    }
  }
  close(fd);
}
