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

StreamedBody stream_download_pieces(const std::function<size_t(char* buffer, size_t size)>& read,
                                    const std::function<bool(const char* data, size_t size)>& write,
                                    TransferProgress& progress) {
  std::vector<char> buffer(download_piece_bytes);
  StreamedBody streamed;
  for (size_t count; (count = read(buffer.data(), buffer.size())) > 0;) {
    streamed.received += static_cast<std::int64_t>(count);
    progress.add_done(static_cast<std::int64_t>(count));
    if (!write(buffer.data(), count)) {
      streamed.write_failed = true;
      break;
    }
  }
  return streamed;
}

}  // namespace velmo
