// The operating system's real calls behind plat::Plateforme.
#pragma once

#include "platform/Plateforme.h"

namespace plat {

class PlateformeWin32 : public Plateforme {
 public:
  bool RegisterHotKey(Handle fenetre, int id, unsigned modificateurs, unsigned touche) override;
  bool UnregisterHotKey(Handle fenetre, int id) override;
  unsigned WinExec(const std::string& ligneDeCommande, unsigned affichage) override;
  std::string GetCurrentDirectoryA() override;
  int SetCurrentDirectoryA(const std::string& repertoire) override;
  std::string CheminAbsolu(const std::string& chemin) override;
  bool FindWindowA(const std::string& classe, const std::string& titre) override;
  std::optional<std::string> LitFichier(const std::string& chemin) override;
  std::unique_ptr<FichierEcriture> CreeFichier(const std::string& chemin) override;
  bool Shell_NotifyIconA(unsigned message, const NotifyIconData& donnees) override;
  short GetKeyState(int touche) override;
  bool GetCursorPos(Point& position) override;
  bool SetForegroundWindow(Handle fenetre) override;
  bool PostMessageA(Handle fenetre, unsigned message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  bool ShowWindow(Handle fenetre, int commande) override;
  unsigned RegisterWindowMessageA(const std::string& nom) override;
};

}  // namespace plat
