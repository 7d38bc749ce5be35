// plat::Plateforme over the C++ standard library: real files and a real current directory,
// and, for the windowing calls, a machine with no shell and no other windows.
#pragma once

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
  // No shell to start programs with: always 2, "file not found".
  unsigned WinExec(const std::string& ligneDeCommande, unsigned affichage) override;
  std::string GetCurrentDirectoryA() override;
  int SetCurrentDirectoryA(const std::string& repertoire) override;
  std::string CheminAbsolu(const std::string& chemin) override;
  // There are no other windows.
  bool FindWindowA(const std::string& classe, const std::string& titre) override;
  std::optional<std::string> LitFichier(const std::string& chemin) override;
  // Written as `chemin` + ".tmp", renamed over `chemin` by Ferme.
  std::unique_ptr<FichierEcriture> CreeFichier(const std::string& chemin) override;
  // There is no notification area.
  bool Shell_NotifyIconA(unsigned message, const NotifyIconData& donnees) override;
  // No key is down.
  short GetKeyState(int touche) override;
  // The cursor rests at (0, 0).
  bool GetCursorPos(Point& position) override;
  // No window exists to receive these: they fail as for an invalid handle.
  bool SetForegroundWindow(Handle fenetre) override;
  bool PostMessageA(Handle fenetre, unsigned message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  bool ShowWindow(Handle fenetre, int commande) override;
  // Numbers from 0xC000, one per name whatever its case, like the system's.
  unsigned RegisterWindowMessageA(const std::string& nom) override;

 private:
  struct Raccourci {
    Handle fenetre;
    int id;
    unsigned modificateurs;
    unsigned touche;
  };
  std::vector<Raccourci> raccourcis_;
  std::vector<std::string> messages_;
};

}  // namespace plat
