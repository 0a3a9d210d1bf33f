#include "util/md5.h"

#include <algorithm>
#include <cstring>

namespace velmo {
namespace {

using u32 = std::uint32_t;

inline u32 rotate_left(u32 value, int shift) { return (value << shift) | (value >> (32 - shift)); }

inline u32 load_le32(const unsigned char* p) {
  return u32(p[0]) | (u32(p[1]) << 8) | (u32(p[2]) << 16) | (u32(p[3]) << 24);
}

// The four round functions, arranged for a short dependency chain through b,
// the value of the previous step: whatever does not need b is added to a
// first, so that it overlaps with the previous step.

// F = (b & c) | (~b & d), written as d ^ (b & (c ^ d)).
template <int S>
inline void step_f(u32& a, u32 b, u32 c, u32 d, u32 word_plus_constant) {
  a += word_plus_constant;
  a += d ^ (b & (c ^ d));
  a = rotate_left(a, S) + b;
}

// G = (b & d) | (c & ~d); the two terms never share a bit, so they are added,
// the one without b first.
template <int S>
inline void step_g(u32& a, u32 b, u32 c, u32 d, u32 word_plus_constant) {
  a += word_plus_constant + (c & ~d);
  a += b & d;
  a = rotate_left(a, S) + b;
}

// H = b ^ c ^ d, with c ^ d ready before b.
template <int S>
inline void step_h(u32& a, u32 b, u32 c, u32 d, u32 word_plus_constant) {
  a += word_plus_constant;
  a += (c ^ d) ^ b;
  a = rotate_left(a, S) + b;
}

// I = c ^ (b | ~d), with ~d ready before b.
template <int S>
inline void step_i(u32& a, u32 b, u32 c, u32 d, u32 word_plus_constant) {
  a += word_plus_constant;
  a += c ^ (b | ~d);
  a = rotate_left(a, S) + b;
}

// The 64 steps of RFC 1321, unrolled: each names its shift, message word and
// constant, so the compiler keeps all of them in registers.
void transform(u32 state[4], const unsigned char* block) {
  u32 x[16];
  for (int i = 0; i < 16; ++i) x[i] = load_le32(block + 4 * i);
  u32 a = state[0], b = state[1], c = state[2], d = state[3];
  step_f<7>(a, b, c, d, x[0] + 0xd76aa478);
  step_f<12>(d, a, b, c, x[1] + 0xe8c7b756);
  step_f<17>(c, d, a, b, x[2] + 0x242070db);
  step_f<22>(b, c, d, a, x[3] + 0xc1bdceee);
  step_f<7>(a, b, c, d, x[4] + 0xf57c0faf);
  step_f<12>(d, a, b, c, x[5] + 0x4787c62a);
  step_f<17>(c, d, a, b, x[6] + 0xa8304613);
  step_f<22>(b, c, d, a, x[7] + 0xfd469501);
  step_f<7>(a, b, c, d, x[8] + 0x698098d8);
  step_f<12>(d, a, b, c, x[9] + 0x8b44f7af);
  step_f<17>(c, d, a, b, x[10] + 0xffff5bb1);
  step_f<22>(b, c, d, a, x[11] + 0x895cd7be);
  step_f<7>(a, b, c, d, x[12] + 0x6b901122);
  step_f<12>(d, a, b, c, x[13] + 0xfd987193);
  step_f<17>(c, d, a, b, x[14] + 0xa679438e);
  step_f<22>(b, c, d, a, x[15] + 0x49b40821);
  step_g<5>(a, b, c, d, x[1] + 0xf61e2562);
  step_g<9>(d, a, b, c, x[6] + 0xc040b340);
  step_g<14>(c, d, a, b, x[11] + 0x265e5a51);
  step_g<20>(b, c, d, a, x[0] + 0xe9b6c7aa);
  step_g<5>(a, b, c, d, x[5] + 0xd62f105d);
  step_g<9>(d, a, b, c, x[10] + 0x02441453);
  step_g<14>(c, d, a, b, x[15] + 0xd8a1e681);
  step_g<20>(b, c, d, a, x[4] + 0xe7d3fbc8);
  step_g<5>(a, b, c, d, x[9] + 0x21e1cde6);
  step_g<9>(d, a, b, c, x[14] + 0xc33707d6);
  step_g<14>(c, d, a, b, x[3] + 0xf4d50d87);
  step_g<20>(b, c, d, a, x[8] + 0x455a14ed);
  step_g<5>(a, b, c, d, x[13] + 0xa9e3e905);
  step_g<9>(d, a, b, c, x[2] + 0xfcefa3f8);
  step_g<14>(c, d, a, b, x[7] + 0x676f02d9);
  step_g<20>(b, c, d, a, x[12] + 0x8d2a4c8a);
  step_h<4>(a, b, c, d, x[5] + 0xfffa3942);
  step_h<11>(d, a, b, c, x[8] + 0x8771f681);
  step_h<16>(c, d, a, b, x[11] + 0x6d9d6122);
  step_h<23>(b, c, d, a, x[14] + 0xfde5380c);
  step_h<4>(a, b, c, d, x[1] + 0xa4beea44);
  step_h<11>(d, a, b, c, x[4] + 0x4bdecfa9);
  step_h<16>(c, d, a, b, x[7] + 0xf6bb4b60);
  step_h<23>(b, c, d, a, x[10] + 0xbebfbc70);
  step_h<4>(a, b, c, d, x[13] + 0x289b7ec6);
  step_h<11>(d, a, b, c, x[0] + 0xeaa127fa);
  step_h<16>(c, d, a, b, x[3] + 0xd4ef3085);
  step_h<23>(b, c, d, a, x[6] + 0x04881d05);
  step_h<4>(a, b, c, d, x[9] + 0xd9d4d039);
  step_h<11>(d, a, b, c, x[12] + 0xe6db99e5);
  step_h<16>(c, d, a, b, x[15] + 0x1fa27cf8);
  step_h<23>(b, c, d, a, x[2] + 0xc4ac5665);
  step_i<6>(a, b, c, d, x[0] + 0xf4292244);
  step_i<10>(d, a, b, c, x[7] + 0x432aff97);
  step_i<15>(c, d, a, b, x[14] + 0xab9423a7);
  step_i<21>(b, c, d, a, x[5] + 0xfc93a039);
  step_i<6>(a, b, c, d, x[12] + 0x655b59c3);
  step_i<10>(d, a, b, c, x[3] + 0x8f0ccc92);
  step_i<15>(c, d, a, b, x[10] + 0xffeff47d);
  step_i<21>(b, c, d, a, x[1] + 0x85845dd1);
  step_i<6>(a, b, c, d, x[8] + 0x6fa87e4f);
  step_i<10>(d, a, b, c, x[15] + 0xfe2ce6e0);
  step_i<15>(c, d, a, b, x[6] + 0xa3014314);
  step_i<21>(b, c, d, a, x[13] + 0x4e0811a1);
  step_i<6>(a, b, c, d, x[4] + 0xf7537e82);
  step_i<10>(d, a, b, c, x[11] + 0xbd3af235);
  step_i<15>(c, d, a, b, x[2] + 0x2ad7d2bb);
  step_i<21>(b, c, d, a, x[9] + 0xeb86d391);
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

void Md5::reset() {
  state_[0] = 0x67452301;
  state_[1] = 0xefcdab89;
  state_[2] = 0x98badcfe;
  state_[3] = 0x10325476;
  length_ = 0;
  block_used_ = 0;
}

void Md5::update(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  length_ += size;
  if (block_used_ > 0) {
    const std::size_t take = std::min(size, sizeof block_ - block_used_);
    std::memcpy(block_ + block_used_, bytes, take);
    block_used_ += take;
    bytes += take;
    size -= take;
    if (block_used_ < sizeof block_) return;
    transform(state_, block_);
    block_used_ = 0;
  }
  for (; size >= sizeof block_; bytes += sizeof block_, size -= sizeof block_) {
    transform(state_, bytes);
  }
  if (size > 0) std::memcpy(block_, bytes, size);
  block_used_ = size;
}

Md5Digest Md5::finish() {
  const std::uint64_t bit_length = length_ * 8;
  static const unsigned char padding[64] = {0x80};
  update(padding, block_used_ < 56 ? 56 - block_used_ : 120 - block_used_);
  unsigned char length_bytes[8];
  for (int i = 0; i < 8; ++i) length_bytes[i] = static_cast<unsigned char>(bit_length >> (8 * i));
  update(length_bytes, sizeof length_bytes);
  Md5Digest digest;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j)
      digest[4 * i + j] = static_cast<unsigned char>(state_[i] >> (8 * j));
  }
  reset();
  return digest;
}

Md5Digest md5_digest(std::string_view bytes) {
  Md5 md5;
  md5.update(bytes);
  return md5.finish();
}

}  // namespace velmo
