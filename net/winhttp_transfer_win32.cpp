// The transfers of the WinHttp client: sending the request with its body,
// streaming the response body into a file, or reading it into memory.
#include <windows.h>

#include "net/plain_file_name.h"
#include "net/raw_header_queries.h"
#include "net/reply_length.h"
#include "net/thread_end_probe_win32.h"
#include "net/transfer_pieces.h"
#include "net/winhttp_client_win32.h"
#include "net/winhttp_reading_win32.h"
#include "net/winhttp_wide_win32.h"
#include "util/code_page.h"
#include "util/text_search.h"

namespace velmo {
namespace {

bool is_existing_directory(std::string_view directory) {
  const DWORD attributes = GetFileAttributesW(to_wide(directory).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string with_trailing_backslash(std::string_view directory) {
  std::string path(directory);
  if (path.empty() || last_path_separator(path) != path.size() - 1) path += '\\';
  return path;
}

TransferEndedProbe probe_when(ProgressCallback callback) {
  return callback ? calling_thread_end_probe() : nullptr;
}

}  // namespace

bool WinHttpClient::send(std::string_view body, ProgressCallback callback, std::int32_t user_data) {
  raw_headers_.clear();
  body_.clear();
  if (!request_ || body.size() > MAXDWORD) return false;
  if (!proxy_user_.empty()) {
    api_->set_credentials(request_.get(), WINHTTP_AUTH_TARGET_PROXY, WINHTTP_AUTH_SCHEME_BASIC,
                          proxy_user_.c_str(), wide_or_null(proxy_password_), nullptr);
  }
  if (!user_.empty()) {
    api_->set_credentials(request_.get(), WINHTTP_AUTH_TARGET_SERVER, WINHTTP_AUTH_SCHEME_BASIC,
                          user_.c_str(), wide_or_null(password_), nullptr);
  }
  const DWORD lead = static_cast<DWORD>(upload_lead_bytes(body.size()));
  void* lead_bytes = lead ? const_cast<char*>(body.data()) : WINHTTP_NO_REQUEST_DATA;
  if (!api_->send_request(request_.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, lead_bytes, lead,
                          static_cast<DWORD>(body.size()), 0)) {
    return false;
  }
  {
    TransferProgress progress(callback, user_data, static_cast<std::int64_t>(body.size()),
                              probe_when(callback));
    write_upload_pieces(body, progress, [this](std::string_view piece) {
      DWORD written = 0;
      api_->write_data(request_.get(), piece.data(), static_cast<DWORD>(piece.size()), &written);
    });
  }
  api_->receive_response(request_.get(), nullptr);
  raw_headers_ = query_raw_headers(*api_, request_.get());
  return platform_ok_;
}

bool WinHttpClient::download_to_file(std::string_view directory, std::string_view file_name,
                                     ProgressCallback callback, std::int32_t user_data) {
  if (!is_existing_directory(directory) || !is_plain_file_name(file_name)) return false;
  const std::string path = with_trailing_backslash(directory) + std::string(file_name);
  const std::int64_t total = byte_count(header_number(get_header("Content-Length")));
  if (total <= 0 || !request_) return false;
  TransferProgress progress(callback, user_data, total, probe_when(callback));
  UniqueHandle file(CreateFileW(to_wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const StreamedBody streamed = stream_download_pieces(
      body_reader(*api_, request_.get()),
      [&file](const char* data, size_t size) {
        DWORD written = 0;
        return WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) &&
               written == size;
      },
      progress);
  progress.finish();
  return !streamed.read_failed && !streamed.write_failed && streamed.received == total;
}

std::string WinHttpClient::response_bytes() {
  if (body_.empty() && request_) {
    body_ = read_memory_body(body_reader(*api_, request_.get())).value_or(std::string());
    const bool whole = reply_body_complete(response_header_text(), false, 0,
                                           static_cast<std::int64_t>(body_.size()));
    if (!whole) body_.clear();
  }
  return body_;
}

std::string WinHttpClient::response_text() {
  const std::string bytes = response_bytes();
  const std::string_view text(bytes.c_str());  // up to the first zero byte
  return wide_to_bytes(bytes_to_wide(text, code_page_utf8), code_page_gbk);
}

}  // namespace velmo
