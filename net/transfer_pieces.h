#pragma once
// How a request body goes out and a response body comes in, in fixed
// pieces, apart from the platform calls that move the bytes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "net/transfer_progress.h"

namespace velmo {

// A body goes out as its remainder modulo 2048 together with the request,
// then in writes of exactly 2048 bytes.
inline constexpr size_t upload_piece_bytes = 2048;
// A download is read in pieces of at most 5120 bytes, each written on at once.
inline constexpr size_t download_piece_bytes = 5120;

inline size_t upload_lead_bytes(size_t body_length) { return body_length % upload_piece_bytes; }

// Hands the body after its lead bytes to `write` in 2048-byte pieces; before
// each write the piece's offset is stored as done.
void write_upload_pieces(std::string_view body, TransferProgress& progress,
                         const std::function<void(std::string_view piece)>& write);

// Reads into a buffer of `download_piece_bytes` until `read` gives 0 bytes
// (end of body or a failed read), writing each piece and adding it to done.
// `write` returns false when the bytes could not be stored; reading stops
// there, since the rest could not be kept either.
struct StreamedBody {
  std::int64_t received = 0;
  bool write_failed = false;
};
StreamedBody stream_download_pieces(const std::function<size_t(char* buffer, size_t size)>& read,
                                    const std::function<bool(const char* data, size_t size)>& write,
                                    TransferProgress& progress);

}  // namespace velmo
