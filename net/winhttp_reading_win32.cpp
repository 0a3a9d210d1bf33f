#include "net/winhttp_reading_win32.h"

#include <algorithm>

namespace velmo {

std::wstring query_raw_headers(const WinHttpApi& api, HINTERNET request) {
  DWORD size = 0;
  api.query_headers(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                    WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (!api.query_headers(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                         text.data(), &size, WINHTTP_NO_HEADER_INDEX)) {
    return {};
  }
  text.resize(size / sizeof(wchar_t));
  return text;
}

PieceReader body_reader(const WinHttpApi& api, HINTERNET request) {
  return [&api, request](char* buffer, size_t size) -> std::optional<size_t> {
    DWORD available = 0;
    if (!api.query_data_available(request, &available)) return std::nullopt;
    if (available == 0) return 0;
    DWORD count = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(size, available));
    if (!api.read_data(request, buffer, wanted, &count)) return std::nullopt;
    return count;
  };
}

}  // namespace velmo
