// The operating system's real calls behind plat::Plateforme.
#pragma once

#include <string>

#include "platform/Plateforme.h"

namespace plat {

class PlateformeWin32 : public Plateforme {
 public:
  bool RegisterHotKey(Handle fenetre, int id, unsigned modificateurs, unsigned touche) override;
  bool UnregisterHotKey(Handle fenetre, int id) override;
  short VkKeyScanW(char16_t caractere) override;
  int CreateProcessW(const std::string& application, const std::string& ligne,
                     const std::string& repertoire, int affichage) override;
  int ShellExecuteExW(const std::string& fichier, const std::string& parametres,
                      const std::string& repertoire, int affichage) override;
  std::optional<unsigned> GetFileAttributesW(const std::string& chemin) override;
  unsigned GetDriveTypeW(const std::string& racine) override;
  std::string GetSystemDirectoryW() override;
  std::string GetWindowsDirectoryW() override;
  std::string GetEnvironmentVariableW(const std::string& nom) override;
  std::string GetCurrentDirectoryW() override;
  std::string CheminAbsolu(const std::string& chemin) override;
  bool FindWindowW(const std::string& classe, const std::string& titre) override;
  bool CreateMutexW(const std::string& nom) override;
  std::optional<std::string> LitFichier(const std::string& chemin) override;
  int CreateFileW(const std::string& chemin, Handle& fichier) override;
  int WriteFile(Handle fichier, const std::string& octets) override;
  int FlushFileBuffers(Handle fichier) override;
  int CloseHandle(Handle fichier) override;
  int ReplaceFileW(const std::string& remplace, const std::string& remplacant,
                   const std::string& sauvegarde) override;
  int MoveFileExW(const std::string& de, const std::string& vers) override;
  int DeleteFileW(const std::string& chemin) override;
  void Sleep(unsigned millisecondes) override;
  bool Shell_NotifyIconW(unsigned message, const NotifyIconData& donnees) override;
  short GetKeyState(int touche) override;
  bool GetCursorPos(Point& position) override;
  bool SetForegroundWindow(Handle fenetre) override;
  bool PostMessageW(Handle fenetre, unsigned message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  bool ShowWindow(Handle fenetre, int commande) override;
  unsigned RegisterWindowMessageW(const std::string& nom) override;
};

// The thread joins a COM apartment, once, when the shell is first asked for something (its
// handlers may be COM objects), so that start-up loads nothing of it.
void RejointCom();

// Before anything else is loaded: a DLL that the system loads late on the program's behalf
// (themes, the file dialog's shell extensions) comes from the system's folder only, never
// from the launcher's folder or the current one.
void RestreintRechercheDesDll();

}  // namespace plat
