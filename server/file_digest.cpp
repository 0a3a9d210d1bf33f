#include "server/file_digest.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

namespace velmo::server {
namespace {

constexpr size_t read_block_size = 256 * 1024;

struct DigestContextDeleter {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextDeleter>;

struct FileCloser {
  int fd;
  ~FileCloser() {
    if (fd >= 0) ::close(fd);
  }
};

DigestContext start_md5() {
  DigestContext context(EVP_MD_CTX_new());
  if (context && EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) context.reset();
  return context;
}

std::string finish_hex(EVP_MD_CTX* context) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context, digest, &length) != 1) return {};
  static const char hex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    text.push_back(hex[digest[i] >> 4]);
    text.push_back(hex[digest[i] & 0xF]);
  }
  return text;
}

}  // namespace

std::optional<std::string> md5_of_file(const std::string& path) {
  FileCloser file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW)};
  DigestContext context = start_md5();
  if (file.fd < 0 || !context) return std::nullopt;
  std::vector<char> block(read_block_size);
  while (true) {
    const ssize_t got = ::read(file.fd, block.data(), block.size());
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    EVP_DigestUpdate(context.get(), block.data(), static_cast<size_t>(got));
  }
  std::string hex = finish_hex(context.get());
  if (hex.empty()) return std::nullopt;
  return hex;
}

std::string md5_of_bytes(std::string_view bytes) {
  DigestContext context = start_md5();
  if (!context) return {};
  EVP_DigestUpdate(context.get(), bytes.data(), bytes.size());
  return finish_hex(context.get());
}

}  // namespace velmo::server
