// Plancher.exe: the least a tray program does (one hidden window, one icon, a message loop),
// the floor the launcher's start-up and memory are measured against. Ends on WM_CLOSE.
#include <windows.h>
#include <shellapi.h>

namespace {

LRESULT CALLBACK Procedure(HWND fenetre, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(fenetre, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA description{};
  description.lpfnWndProc = Procedure;
  description.hInstance = instance;
  description.lpszClassName = "TPlancher";
  RegisterClassA(&description);
  HWND fenetre = CreateWindowExA(0, "TPlancher", "Plancher", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, instance, nullptr);
  if (!fenetre) return 1;

  NOTIFYICONDATAA icone{};
  icone.cbSize = sizeof icone;
  icone.hWnd = fenetre;
  icone.uID = 1;
  icone.uFlags = NIF_MESSAGE | NIF_ICON;
  icone.uCallbackMessage = WM_USER + 1024;
  icone.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  if (!Shell_NotifyIconA(NIM_ADD, &icone)) return 2;

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  Shell_NotifyIconA(NIM_DELETE, &icone);
  return 0;
}
