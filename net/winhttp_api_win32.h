#pragma once
// The WinHttp flat API, resolved by name at run time from the system
// directory's winhttp.dll (never from the program's own directory, where
// downloaded files land), and RAII ownership of its handles.
#include <windows.h>
#include <winhttp.h>

#include "util/win32_handle.h"

namespace velmo {

struct WinHttpApi {
  decltype(&::WinHttpCheckPlatform) check_platform = nullptr;
  decltype(&::WinHttpOpen) open = nullptr;
  decltype(&::WinHttpConnect) connect = nullptr;
  decltype(&::WinHttpOpenRequest) open_request = nullptr;
  decltype(&::WinHttpCloseHandle) close_handle = nullptr;
  decltype(&::WinHttpSetOption) set_option = nullptr;
  decltype(&::WinHttpQueryOption) query_option = nullptr;
  decltype(&::WinHttpSetTimeouts) set_timeouts = nullptr;
  decltype(&::WinHttpAddRequestHeaders) add_request_headers = nullptr;
  decltype(&::WinHttpSetCredentials) set_credentials = nullptr;
  decltype(&::WinHttpSendRequest) send_request = nullptr;
  decltype(&::WinHttpWriteData) write_data = nullptr;
  decltype(&::WinHttpReceiveResponse) receive_response = nullptr;
  decltype(&::WinHttpQueryHeaders) query_headers = nullptr;
  decltype(&::WinHttpQueryDataAvailable) query_data_available = nullptr;
  decltype(&::WinHttpReadData) read_data = nullptr;
  decltype(&::WinHttpCrackUrl) crack_url = nullptr;
};

// Loaded once, on first use, from any thread; null when the library or one
// of its functions is missing.
const WinHttpApi* winhttp_api();

struct InternetHandleTraits {
  static HINTERNET invalid() { return nullptr; }
  static bool valid(HINTERNET handle) { return handle != nullptr; }
  // A handle exists only when the API was loaded.
  static void close(HINTERNET handle) { winhttp_api()->close_handle(handle); }
};
using UniqueInternet = UniqueResource<HINTERNET, InternetHandleTraits>;

}  // namespace velmo
