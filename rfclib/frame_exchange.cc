#include "frame_exchange.h"

namespace {

FrameOutcome frame_outcome(TransferOutcome outcome) {
  switch (outcome) {
    case TransferOutcome::done:
      return FrameOutcome::done;
    case TransferOutcome::closed:
      return FrameOutcome::closed;
    case TransferOutcome::timed_out:
      return FrameOutcome::timed_out;
    case TransferOutcome::failed:
      break;
  }
  return FrameOutcome::failed;
}

}  // namespace

FrameOutcome send_frame(Connection& connection, const FrameWriter& frame, Deadline deadline) {
  return frame_outcome(send_all(connection.socket, frame.bytes(), frame.size(), deadline));
}

FrameOutcome receive_frame(Connection& connection, Deadline deadline, unsigned char* kind, std::size_t* payload_size) {
  unsigned char header[frame_header_size];
  const FrameOutcome got_header = frame_outcome(receive_exact(connection.socket, header, sizeof header, deadline));
  if (got_header != FrameOutcome::done) return got_header;
  if (!parse_frame_header(header, kind, payload_size)) return FrameOutcome::unreadable;
  // The payload counts against the header's deadline: a fresh bound here would
  // let a partner that drips its bytes double the wait.
  return frame_outcome(receive_exact(connection.socket, connection.payload, *payload_size, deadline));
}
