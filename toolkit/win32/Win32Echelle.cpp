// What the backend asks the system about scale. The program declares itself aware of each
// screen's scale (its manifest): every window is laid out at its own, in real pixels. The calls
// that know a window's scale came with Windows 10; before them there is one scale, the system's.
#include "toolkit/win32/Win32Interne.h"

namespace tk {

namespace {

template <class F>
F DeUser32(const char* nom) {
  static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return Fonction<F>(user32, nom);
}

}  // namespace

int Win32Backend::Impl::pppSysteme() {
  // The same for the life of the process.
  static const int ppp = [] {
    const auto systeme = DeUser32<decltype(&GetDpiForSystem)>("GetDpiForSystem");
    if (systeme != nullptr) return static_cast<int>(systeme());
    HDC ecran = GetDC(nullptr);
    const int ppp = GetDeviceCaps(ecran, LOGPIXELSX);
    ReleaseDC(nullptr, ecran);
    return ppp;
  }();
  return ppp;
}

int Win32Backend::Impl::pppDe(HWND fenetre) {
  static const auto deFenetre = DeUser32<decltype(&GetDpiForWindow)>("GetDpiForWindow");
  const int ppp = deFenetre != nullptr ? static_cast<int>(deFenetre(fenetre)) : 0;
  return ppp != 0 ? ppp : pppSysteme();
}

int Win32Backend::Impl::metrique(int index, int ppp) {
  static const auto pourPpp =
      DeUser32<decltype(&GetSystemMetricsForDpi)>("GetSystemMetricsForDpi");
  return pourPpp != nullptr ? pourPpp(index, static_cast<UINT>(ppp)) : GetSystemMetrics(index);
}

int Win32Backend::Impl::tailleIcone(bool grande, int ppp) {
  return metrique(grande ? SM_CXICON : SM_CXSMICON, ppp);
}

void Win32Backend::Impl::placeFenetre(HWND fenetre, Taille client, int ppp,
                                      const RECT* proposee) {
  static const auto cadrePourPpp =
      DeUser32<decltype(&AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
  RECT r{0, 0, client.largeur, client.hauteur};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(fenetre, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(fenetre, GWL_EXSTYLE));
  // The title bar and the border grow with the scale too: first by what the system says...
  if (cadrePourPpp != nullptr)
    cadrePourPpp(&r, style, FALSE, exStyle, static_cast<UINT>(ppp));
  else
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
  int l = r.right - r.left;
  int h = r.bottom - r.top;
  SetWindowPos(fenetre, nullptr, 0, 0, l, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // ...then by the frame it has: where the system leaves it unscaled (the first per-screen
  // awareness, of Windows 8.1) or draws it otherwise, the client area is still the design's.
  RECT dedans;
  GetClientRect(fenetre, &dedans);
  l += client.largeur - dedans.right;
  h += client.hauteur - dedans.bottom;
  // The system's proposal keeps the window on the screen it was moved to; the size is ours,
  // which the design gives to the pixel.
  const int x = proposee != nullptr ? proposee->left : (GetSystemMetrics(SM_CXSCREEN) - l) / 2;
  const int y = proposee != nullptr ? proposee->top : (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  SetWindowPos(fenetre, nullptr, x, y, l, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tk
