// Stand-in for the main program: shows a small window titled with its
// version and runs until it is closed or terminated.
#include <windows.h>

#ifndef VELMO_STANDIN_VERSION
#define VELMO_STANDIN_VERSION "1"
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HWND window =
      CreateWindowExA(0, "STATIC", "Velmo " VELMO_STANDIN_VERSION, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      40, 40, 320, 120, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
