// The recording platform of the unit tests.
//
// Every call is appended to `appels` as readable text, for instance
// "RegisterHotKey(100,0,3,75)", "CreateProcessW(C:\x\a.exe,"C:\x\a.exe" -p,C:\x,5)",
// "Shell_NotifyIconW(0,hIcon=0,tip=)", "GetCursorPos". Files are real (PlateformePortable):
// relative paths resolve against `repertoireCourant`. Paths that name nothing real are answered
// by a small model of a Windows disk (below) that the public fields adjust. Build it on a
// temporary folder, set the public fields to script answers and failures, run the code, then
// compare `appels` and the files:
//
//   PlateformeEnregistreuse p(dossier);
//   p.absents.insert("C:\\x");
//   p.erreurs["WriteFile"] = {0, 112};  // the second write finds the disk full
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Plateforme.h"
#include "platform/portable/PlateformePortable.h"

class PlateformeEnregistreuse : public plat::Plateforme {
 public:
  explicit PlateformeEnregistreuse(std::string repertoireCourant);

  bool RegisterHotKey(plat::Handle fenetre, int id, unsigned modificateurs,
                      unsigned touche) override;
  bool UnregisterHotKey(plat::Handle fenetre, int id) override;
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
  int CreateFileW(const std::string& chemin, plat::Handle& fichier) override;
  int WriteFile(plat::Handle fichier, const std::string& octets) override;
  int FlushFileBuffers(plat::Handle fichier) override;
  int CloseHandle(plat::Handle fichier) override;
  int ReplaceFileW(const std::string& remplace, const std::string& remplacant,
                   const std::string& sauvegarde) override;
  int MoveFileExW(const std::string& de, const std::string& vers) override;
  int DeleteFileW(const std::string& chemin) override;
  void Sleep(unsigned millisecondes) override;
  bool Shell_NotifyIconW(unsigned message, const plat::NotifyIconData& donnees) override;
  short GetKeyState(int touche) override;
  bool GetCursorPos(plat::Point& position) override;
  bool SetForegroundWindow(plat::Handle fenetre) override;
  bool PostMessageW(plat::Handle fenetre, unsigned message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  bool ShowWindow(plat::Handle fenetre, int commande) override;
  unsigned RegisterWindowMessageW(const std::string& nom) override;

  // Every call so far, oldest first.
  std::vector<std::string> appels;

  // What GetCurrentDirectoryW answers; relative paths resolve against it.
  std::string repertoireCourant;

  // The disk: a path names what `attributs` says, nothing if it is in `absents`, what is there
  // if it is real; any other path whose last part ends with ".exe" is a program, one without
  // a "." a folder, the rest (and names Windows refuses, such as "<Aucun>.exe") nothing.
  std::set<std::string> absents;
  std::map<std::string, unsigned> attributs;
  std::map<std::string, unsigned> lecteurs;  // GetDriveTypeW by root; a local disk for others
  std::string dossierSysteme = "C:\\Windows\\System32";
  std::string dossierWindows = "C:\\Windows";
  std::map<std::string, std::string> variables;  // GetEnvironmentVariableW

  // CreateProcessW's error for a program, by its file name ("e.exe"); any other starts. The
  // same for what ShellExecuteExW is asked to open.
  std::map<std::string, int> lancementsRefuses;
  std::map<std::string, int> ouverturesRefusees;

  // (modifiers, key) pairs that RegisterHotKey refuses; a pair already registered and not
  // unregistered is refused too, as by the system.
  std::set<std::pair<unsigned, unsigned>> raccourcisRefuses;
  // What is registered now: (window, id) -> (modifiers, key).
  std::map<std::pair<plat::Handle, int>, std::pair<unsigned, unsigned>> raccourcis;
  // VkKeyScanW's answers; -1 (no key) for any other character.
  std::map<char16_t, short> clavier;

  bool fenetreTrouvee = false;  // FindWindowW's answer
  bool mutexPris = false;       // another instance holds the mutex

  // Paths (as given) that LitFichier reports unreadable.
  std::set<std::string> fichiersIllisibles;

  // Failures of the file calls: each call named here (CreateFileW, WriteFile, FlushFileBuffers,
  // CloseHandle, ReplaceFileW, MoveFileExW) takes the next code of its list, 0 letting it go
  // through; once the list is empty, calls go through.
  std::map<std::string, std::deque<int>> erreurs;

  bool resultatNotifyIcon = true;
  std::vector<plat::NotifyIconData> icones;  // what each Shell_NotifyIconW received

  std::map<int, short> etatsTouches;  // GetKeyState, 0 for any other key
  bool curseurEchoue = false;
  plat::Point curseur;
  bool resultatForeground = true;
  bool resultatPostMessage = true;
  bool resultatShowWindow = false;  // the system's answer: "was visible before"
  unsigned messageEnregistre = 0xC100;

 private:
  std::string Resolu(const std::string& chemin) const;
  int Erreur(const std::string& appel);

  plat::PlateformePortable fichiers_;
};
