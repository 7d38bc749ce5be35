// Windows entry: the real toolkit backend and platform around the program.
#include <string>
#include <vector>

#include "app/Vivlan.h"
#include "platform/win32/Large.h"
#include "platform/win32/PlateformeWin32.h"
#include "toolkit/win32/Win32Backend.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

std::string CheminProgramme() {
  std::vector<wchar_t> tampon(MAX_PATH);
  for (;;) {
    const DWORD lu = GetModuleFileNameW(nullptr, tampon.data(), static_cast<DWORD>(tampon.size()));
    if (lu == 0) return {};
    if (lu < tampon.size()) return plat::Etroit(tampon.data(), lu);
    tampon.resize(tampon.size() * 2);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  plat::RestreintRechercheDesDll();
  tk::Win32Backend backend(reinterpret_cast<std::uintptr_t>(instance));
  plat::PlateformeWin32 plateforme;
  return Vivlan(backend, plateforme, CheminProgramme());
}
