#pragma once
// How a request body goes out and a response body comes in, in fixed
// pieces, apart from the platform calls that move the bytes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "net/transfer_progress.h"

namespace velmo {

// A body goes out as its remainder modulo 2048 together with the request,
// then in writes of exactly 2048 bytes.
inline constexpr size_t upload_piece_bytes = 2048;
// A download is read in pieces of at most 5120 bytes, each written on at once.
inline constexpr size_t download_piece_bytes = 5120;
// A body kept in memory is read in pieces of 10240 bytes...
inline constexpr size_t memory_piece_bytes = 10240;
// ...up to this size: a larger one is no reply of this system's servers, and
// the read fails rather than fill the memory (an endless body ends here).
inline constexpr size_t max_memory_body_bytes = size_t{32} << 20;

inline size_t upload_lead_bytes(size_t body_length) { return body_length % upload_piece_bytes; }

// Hands the body after its lead bytes to `write` in 2048-byte pieces; before
// each write the piece's offset is stored as done.
void write_upload_pieces(std::string_view body, TransferProgress& progress,
                         const std::function<void(std::string_view piece)>& write);

// Reads up to `size` bytes into `buffer`: the count, 0 at the end of the
// body, none when the read failed.
using PieceReader = std::function<std::optional<size_t>(char* buffer, size_t size)>;

// Reads pieces of at most 5120 bytes until the end of the body or a failed
// read, writing each piece and adding it to done. `write` returns false when
// the bytes could not be stored; reading stops there, since the rest could
// not be kept either.
struct StreamedBody {
  std::int64_t received = 0;
  bool read_failed = false;
  bool write_failed = false;
};
StreamedBody stream_download_pieces(const PieceReader& read,
                                    const std::function<bool(const char* data, size_t size)>& write,
                                    TransferProgress& progress);

// Reads the whole body in 10240-byte pieces. None when a read fails, the
// body grows past `max_memory_body_bytes`, or `in_time` (asked between
// pieces, when given) says the time for the body is up.
std::optional<std::string> read_memory_body(const PieceReader& read,
                                            const std::function<bool()>& in_time = nullptr);

}  // namespace velmo
