#include "net/winhttp_api_win32.h"

#include <string>

namespace velmo {
namespace {

HMODULE load_system_winhttp() {
  wchar_t directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(directory, length) + L"\\winhttp.dll";
  return LoadLibraryW(path.c_str());
}

template <typename Function>
bool resolve(HMODULE library, const char* name, Function& function) {
  // Through the generic function type, which converts to any other.
  function =
      reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
  return function != nullptr;
}

bool resolve_all(HMODULE library, WinHttpApi& api) {
  return resolve(library, "WinHttpCheckPlatform", api.check_platform) &&
         resolve(library, "WinHttpOpen", api.open) &&
         resolve(library, "WinHttpConnect", api.connect) &&
         resolve(library, "WinHttpOpenRequest", api.open_request) &&
         resolve(library, "WinHttpCloseHandle", api.close_handle) &&
         resolve(library, "WinHttpSetOption", api.set_option) &&
         resolve(library, "WinHttpQueryOption", api.query_option) &&
         resolve(library, "WinHttpSetTimeouts", api.set_timeouts) &&
         resolve(library, "WinHttpAddRequestHeaders", api.add_request_headers) &&
         resolve(library, "WinHttpSetCredentials", api.set_credentials) &&
         resolve(library, "WinHttpSendRequest", api.send_request) &&
         resolve(library, "WinHttpWriteData", api.write_data) &&
         resolve(library, "WinHttpReceiveResponse", api.receive_response) &&
         resolve(library, "WinHttpQueryHeaders", api.query_headers) &&
         resolve(library, "WinHttpQueryDataAvailable", api.query_data_available) &&
         resolve(library, "WinHttpReadData", api.read_data) &&
         resolve(library, "WinHttpCrackUrl", api.crack_url);
}

const WinHttpApi* load_api() {
  static WinHttpApi api;
  const HMODULE library = load_system_winhttp();  // kept for the process's lifetime
  return library && resolve_all(library, api) ? &api : nullptr;
}

}  // namespace

const WinHttpApi* winhttp_api() {
  static const WinHttpApi* const api = load_api();
  return api;
}

}  // namespace velmo
