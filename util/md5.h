#pragma once
// MD5 (RFC 1321), fed in pieces of any size: a file is hashed as it is read,
// in bounded memory, with the same digest as in one piece.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmo {

using Md5Digest = std::array<unsigned char, 16>;

class Md5 {
 public:
  Md5() { reset(); }

  void update(const void* data, std::size_t size);
  void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }

  // The digest of everything fed since the start or the last finish; the
  // object then starts over.
  Md5Digest finish();

 private:
  void reset();

  std::uint32_t state_[4];
  std::uint64_t length_;  // bytes fed so far
  unsigned char block_[64];
  std::size_t block_used_;
};

Md5Digest md5_digest(std::string_view bytes);

}  // namespace velmo
