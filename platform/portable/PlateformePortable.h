// plat::Plateforme over the C++ standard library: real files and a real current directory,
// and, for the windowing calls, a machine with no shell and no other windows.
#pragma once

#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Plateforme.h"

namespace plat {

// The Windows error code for a failed file or directory operation on `chemin`.
int CodeErreur(const std::error_code& erreur, const std::string& chemin);

// On Windows `chemin` as it is; elsewhere with "\" turned into "/", since the program's paths
// (".\Vivlan.ini", settings values) are written the Windows way.
std::string CheminNatif(const std::string& chemin);

class PlateformePortable : public Plateforme {
 public:
  // Registered and remembered; a (modifiers, key) pair already taken is refused.
  bool RegisterHotKey(Handle fenetre, int id, unsigned modificateurs, unsigned touche) override;
  bool UnregisterHotKey(Handle fenetre, int id) override;
  // No keyboard: no key types anything.
  short VkKeyScanW(char16_t caractere) override;
  // No shell to start programs with: always 2, "file not found".
  int CreateProcessW(const std::string& application, const std::string& ligne,
                     const std::string& repertoire, int affichage) override;
  int ShellExecuteExW(const std::string& fichier, const std::string& parametres,
                      const std::string& repertoire, int affichage) override;
  // A file that its owner may not write is read-only.
  std::optional<unsigned> GetFileAttributesW(const std::string& chemin) override;
  // Every drive is a local disk.
  unsigned GetDriveTypeW(const std::string& racine) override;
  // No system folders.
  std::string GetSystemDirectoryW() override;
  std::string GetWindowsDirectoryW() override;
  std::string GetEnvironmentVariableW(const std::string& nom) override;
  std::string GetCurrentDirectoryW() override;
  std::string CheminAbsolu(const std::string& chemin) override;
  // There are no other windows.
  bool FindWindowW(const std::string& classe, const std::string& titre) override;
  // Known to this process only.
  bool CreateMutexW(const std::string& nom) override;
  std::optional<std::string> LitFichier(const std::string& chemin) override;
  int CreateFileW(const std::string& chemin, Handle& fichier) override;
  int WriteFile(Handle fichier, const std::string& octets) override;
  int FlushFileBuffers(Handle fichier) override;
  int CloseHandle(Handle fichier) override;
  // A rename over the target: its permissions are not carried over, there is no backup.
  int ReplaceFileW(const std::string& remplace, const std::string& remplacant,
                   const std::string& sauvegarde) override;
  int MoveFileExW(const std::string& de, const std::string& vers) override;
  int DeleteFileW(const std::string& chemin) override;
  void Sleep(unsigned millisecondes) override;
  // There is no notification area.
  bool Shell_NotifyIconW(unsigned message, const NotifyIconData& donnees) override;
  // No key is down.
  short GetKeyState(int touche) override;
  // The cursor rests at (0, 0).
  bool GetCursorPos(Point& position) override;
  // No window exists to receive these: they fail as for an invalid handle.
  bool SetForegroundWindow(Handle fenetre) override;
  bool PostMessageW(Handle fenetre, unsigned message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  bool ShowWindow(Handle fenetre, int commande) override;
  // Numbers from 0xC000, one per name whatever its case, like the system's.
  unsigned RegisterWindowMessageW(const std::string& nom) override;

 private:
  struct Raccourci {
    Handle fenetre;
    int id;
    unsigned modificateurs;
    unsigned touche;
  };
  std::vector<Raccourci> raccourcis_;
  std::vector<std::string> messages_;
  std::set<std::string> mutex_;
};

}  // namespace plat
