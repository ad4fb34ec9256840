#include "frame_exchange.h"

#include "common/time_budget.h"

namespace {

FrameOutcome frame_outcome(TransferOutcome outcome) {
  switch (outcome) {
    case TransferOutcome::Done:
      return FrameOutcome::Done;
    case TransferOutcome::Closed:
      return FrameOutcome::Closed;
    case TransferOutcome::TimedOut:
      return FrameOutcome::TimedOut;
    case TransferOutcome::Failed:
      break;
  }
  return FrameOutcome::Failed;
}

// Sends the logon frame and waits for the answer, both within the one logon
// bound: done, with the answer's kind and payload, or how the exchange failed.
FrameOutcome send_logon(SocketId socket, std::string_view client, std::string_view user, std::string_view password,
                        std::string_view language, FrameKind* kind, FramePayload& payload, std::size_t* payload_size) {
  FrameWriter frame(FrameKind::Logon);
  if (!frame.put_text(client) || !frame.put_text(user) || !frame.put_text(password) || !frame.put_text(language))
    return FrameOutcome::Failed;
  // The logon and its answer share one bound: a partner that takes its time
  // to read the logon leaves less time to answer it.
  const Deadline deadline = deadline_after(library_logon_wait_ms);
  const FrameOutcome sent = send_frame(socket, frame, deadline);
  if (sent != FrameOutcome::Done) return sent;
  return receive_frame(socket, deadline, kind, payload, payload_size);
}

// The status and message of a logon whose answer did not come as a frame of
// its own (`outcome` done: a frame of the wrong kind came).
void describe_logon_answer_failure(FrameOutcome outcome, std::string_view partner, const char** status,
                                   TextBuffer& message) {
  const int partner_length = static_cast<int>(partner.size());
  if (outcome == FrameOutcome::TimedOut) {
    *status = "logon timeout";
    message.assignf("no logon answer from %.*s within %d s", partner_length, partner.data(),
                    library_logon_wait_ms / 1000);
  } else if (outcome == FrameOutcome::Closed) {
    *status = "connection broken";
    message.assignf("connection to %.*s closed during logon", partner_length, partner.data());
  } else {
    *status = "protocol error";
    message.assignf("unreadable logon answer from %.*s", partner_length, partner.data());
  }
}

}  // namespace

FrameOutcome send_frame(SocketId socket, const FrameWriter& frame, Deadline deadline) {
  return frame_outcome(send_all(socket, frame.bytes(), frame.size(), deadline));
}

FrameOutcome receive_frame(SocketId socket, Deadline deadline, FrameKind* kind, FramePayload& payload,
                           std::size_t* payload_size) {
  unsigned char header[frame_header_size];
  const FrameOutcome got_header = frame_outcome(receive_exact(socket, header, sizeof header, deadline));
  if (got_header != FrameOutcome::Done) return got_header;
  if (!parse_frame_header(header, kind, payload_size)) return FrameOutcome::Unreadable;
  // The payload counts against the header's deadline: a fresh bound here would
  // let a partner that drips its bytes double the wait.
  return frame_outcome(receive_exact(socket, payload, *payload_size, deadline));
}

LogonOutcome exchange_logon(SocketId socket, std::string_view partner, std::string_view client, std::string_view user,
                            std::string_view password, std::string_view language, FramePayload& payload,
                            const char** status, TextBuffer& message) {
  FrameKind kind{};
  std::size_t payload_size = 0;
  const FrameOutcome outcome = send_logon(socket, client, user, password, language, &kind, payload, &payload_size);
  if (outcome == FrameOutcome::Done && kind == FrameKind::LogonAccepted) return LogonOutcome::Accepted;
  if (outcome == FrameOutcome::Done && kind == FrameKind::LogonRejected) {
    std::string_view reason;
    FieldReader(payload, payload_size).get_text(&reason);
    *status = "logon rejected";
    message.assignf("logon to %.*s rejected: ", static_cast<int>(partner.size()), partner.data());
    message.append(reason);
    return LogonOutcome::Rejected;
  }
  describe_logon_answer_failure(outcome, partner, status, message);
  return LogonOutcome::Failed;
}

FrameOutcome idle_connection_outcome(SocketId socket) {
  switch (peek_peer(socket)) {
    case PeerState::Closed:
      return FrameOutcome::Closed;
    case PeerState::UnaskedData:
      return FrameOutcome::Unreadable;
    case PeerState::Quiet:
      break;
  }
  return FrameOutcome::Done;
}

void describe_transfer_failure(FrameOutcome outcome, std::string_view partner, const char** status,
                               TextBuffer& message) {
  const int partner_length = static_cast<int>(partner.size());
  switch (outcome) {
    case FrameOutcome::TimedOut:
      *status = "reply timeout";
      message.assignf("no reply from %.*s within %d s", partner_length, partner.data(), library_call_wait_ms / 1000);
      return;
    case FrameOutcome::Closed:
      *status = "connection broken";
      message.assignf("connection to %.*s closed by partner", partner_length, partner.data());
      return;
    case FrameOutcome::Unreadable:
      *status = "protocol error";
      message.assignf("unreadable reply from %.*s", partner_length, partner.data());
      return;
    case FrameOutcome::Done:
    case FrameOutcome::Failed:
      break;
  }
  *status = "connection broken";
  message.assignf("connection to %.*s broken", partner_length, partner.data());
}

void describe_abort(const FramePayload& payload, std::size_t payload_size, std::string_view partner,
                    const char** status, TextBuffer& message) {
  std::string_view text;
  FieldReader(payload, payload_size).get_text(&text);
  *status = "connection aborted";
  if (text.empty())
    message.assignf("connection to %.*s aborted by partner", static_cast<int>(partner.size()), partner.data());
  else
    message.assign(text);
}
