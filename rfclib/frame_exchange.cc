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

FrameOutcome send_frame(SocketId socket, const FrameWriter& frame) {
  return frame_outcome(send_all(socket, frame.bytes(), frame.size(), send_timeout_ms));
}

FrameOutcome receive_frame(SocketId socket, int timeout_ms, unsigned char* kind, FramePayload& payload,
                           std::size_t* payload_size) {
  unsigned char header[frame_header_size];
  const FrameOutcome got_header = frame_outcome(receive_exact(socket, header, sizeof header, timeout_ms));
  if (got_header != FrameOutcome::done) return got_header;
  if (!parse_frame_header(header, kind, payload_size)) return FrameOutcome::unreadable;
  // The payload follows the header at once, so the same bound applies to it.
  return frame_outcome(receive_exact(socket, payload, *payload_size, timeout_ms));
}
