#include "net/transfer_pieces.h"

#include <vector>

namespace velmo {

void write_upload_pieces(std::string_view body, TransferProgress& progress,
                         const std::function<void(std::string_view piece)>& write) {
  for (size_t offset = upload_lead_bytes(body.size()); offset < body.size();
       offset += upload_piece_bytes) {
    progress.store_done(static_cast<std::int64_t>(offset));
    write(body.substr(offset, upload_piece_bytes));
  }
}

StreamedBody stream_download_pieces(const PieceReader& read,
                                    const std::function<bool(const char* data, size_t size)>& write,
                                    TransferProgress& progress) {
  std::vector<char> buffer(download_piece_bytes);
  StreamedBody streamed;
  for (;;) {
    const std::optional<size_t> count = read(buffer.data(), buffer.size());
    if (!count) streamed.read_failed = true;
    if (!count || *count == 0) break;
    streamed.received += static_cast<std::int64_t>(*count);
    progress.add_done(static_cast<std::int64_t>(*count));
    if (!write(buffer.data(), *count)) {
      streamed.write_failed = true;
      break;
    }
  }
  return streamed;
}

std::optional<std::string> read_memory_body(const PieceReader& read,
                                            const std::function<bool()>& in_time) {
  std::string body;
  std::vector<char> buffer(memory_piece_bytes);
  for (;;) {
    if (in_time && !in_time()) return std::nullopt;
    const std::optional<size_t> count = read(buffer.data(), buffer.size());
    if (!count || body.size() + *count > max_memory_body_bytes) return std::nullopt;
    if (*count == 0) return body;
    body.append(buffer.data(), *count);
  }
}

}  // namespace velmo
