// Marqueur.exe: the program e2e shortcuts start. Each run appends two CR LF lines, in UTF-8, to
// the file named by VIVLAN_MARQUEUR (Marqueur.txt next to this program without it): its command
// line as it received it, then its current directory. A GUI program, so that no console window
// takes the focus from the launcher. With "--lent" at the end of its command line it is a
// program slow to start: it waits for input only 8 s after writing its lines.
#include <windows.h>

#include <string>

#include "platform/win32/Large.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t chemin[MAX_PATH * 4];
  DWORD n = GetEnvironmentVariableW(L"VIVLAN_MARQUEUR", chemin, MAX_PATH * 4);
  if (n == 0 || n >= MAX_PATH * 4) {
    n = GetModuleFileNameW(nullptr, chemin, MAX_PATH * 4);
    std::wstring programme(chemin, n);
    std::wstring fichier = programme.substr(0, programme.find_last_of(L'\\') + 1) + L"Marqueur.txt";
    lstrcpynW(chemin, fichier.c_str(), MAX_PATH * 4);
  }
  wchar_t dossier[MAX_PATH * 4];
  const DWORD d = GetCurrentDirectoryW(MAX_PATH * 4, dossier);
  const std::wstring ligne = GetCommandLineW();
  const std::string lignes = plat::Etroit(ligne) + "\r\n" + plat::Etroit(dossier, d) + "\r\n";

  // Appending in one write keeps the lines of runs started together apart.
  HANDLE fichier = CreateFileW(chemin, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (fichier == INVALID_HANDLE_VALUE) return 2;
  DWORD ecrits = 0;
  BOOL ok = WriteFile(fichier, lignes.data(), static_cast<DWORD>(lignes.size()), &ecrits, nullptr);
  CloseHandle(fichier);
  const std::wstring lent = L" --lent";
  if (ligne.size() >= lent.size() &&
      ligne.compare(ligne.size() - lent.size(), lent.size(), lent) == 0) {
    Sleep(8000);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  }
  return ok && ecrits == lignes.size() ? 0 : 3;
}
