// Marqueur.exe: the program e2e shortcuts start. Each run appends two CR LF lines to the file
// named by VIVLAN_MARQUEUR (Marqueur.txt next to this program without it): its command line as
// it received it, then its current directory. A GUI program, so that no console window takes
// the focus from the launcher. With "--lent" at the end of its command line it is a program slow
// to start: it waits for input only 8 s after writing its lines.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char chemin[MAX_PATH * 4];
  DWORD n = GetEnvironmentVariableA("VIVLAN_MARQUEUR", chemin, sizeof chemin);
  if (n == 0 || n >= sizeof chemin) {
    n = GetModuleFileNameA(nullptr, chemin, sizeof chemin);
    std::string programme(chemin, n);
    std::string fichier = programme.substr(0, programme.find_last_of('\\') + 1) + "Marqueur.txt";
    lstrcpynA(chemin, fichier.c_str(), sizeof chemin);
  }
  char dossier[MAX_PATH * 4];
  DWORD d = GetCurrentDirectoryA(sizeof dossier, dossier);
  std::string lignes = std::string(GetCommandLineA()) + "\r\n" + std::string(dossier, d) + "\r\n";

  // Appending in one write keeps the lines of runs started together apart.
  HANDLE fichier = CreateFileA(chemin, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (fichier == INVALID_HANDLE_VALUE) return 2;
  DWORD ecrits = 0;
  BOOL ok = WriteFile(fichier, lignes.data(), static_cast<DWORD>(lignes.size()), &ecrits, nullptr);
  CloseHandle(fichier);
  const std::string ligne = GetCommandLineA();
  const std::string lent = " --lent";
  if (ligne.size() >= lent.size() &&
      ligne.compare(ligne.size() - lent.size(), lent.size(), lent) == 0) {
    Sleep(8000);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  }
  return ok && ecrits == lignes.size() ? 0 : 3;
}
