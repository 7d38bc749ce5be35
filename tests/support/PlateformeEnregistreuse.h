// The recording platform of the unit tests.
//
// Every call is appended to `appels` as readable text, for instance
// "RegisterHotKey(100,0,3,75)", "WinExec(notepad.exe x,5)", "SetCurrentDirectory(C:\x)",
// "Shell_NotifyIconA(0,hIcon=0,tip=)", "GetCursorPos". Files are real (PlateformePortable)
// and relative paths resolve against `repertoireCourant`, a fake current directory that
// SetCurrentDirectoryA changes without touching the test process's own. Build it on a
// temporary folder, set the public fields to script answers and failures, run the code,
// then compare `appels` and the files:
//
//   PlateformeEnregistreuse p(dossier);
//   p.repertoiresRefuses["C:\\x"] = 3;
//   p.echecFichier = {PlateformeEnregistreuse::Echec::Ecriture, 112, 2};
#pragma once

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
  unsigned WinExec(const std::string& ligneDeCommande, unsigned affichage) override;
  std::string GetCurrentDirectoryA() override;
  int SetCurrentDirectoryA(const std::string& repertoire) override;
  std::string CheminAbsolu(const std::string& chemin) override;
  bool FindWindowA(const std::string& classe, const std::string& titre) override;
  std::optional<std::string> LitFichier(const std::string& chemin) override;
  std::unique_ptr<plat::FichierEcriture> CreeFichier(const std::string& chemin) override;
  bool Shell_NotifyIconA(unsigned message, const plat::NotifyIconData& donnees) override;
  short GetKeyState(int touche) override;
  bool GetCursorPos(plat::Point& position) override;
  bool SetForegroundWindow(plat::Handle fenetre) override;
  bool PostMessageA(plat::Handle fenetre, unsigned message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  bool ShowWindow(plat::Handle fenetre, int commande) override;
  unsigned RegisterWindowMessageA(const std::string& nom) override;

  // Every call so far, oldest first.
  std::vector<std::string> appels;

  // The current directory the code under test sees; relative paths resolve against it.
  std::string repertoireCourant;
  // Directories that SetCurrentDirectoryA refuses, with the error code it returns.
  std::map<std::string, int> repertoiresRefuses;

  // WinExec's result per command line, and for any other one.
  std::map<std::string, unsigned> resultatsWinExec;
  unsigned resultatWinExec = 33;

  // (modifiers, key) pairs that RegisterHotKey refuses; a pair already registered and not
  // unregistered is refused too, as by the system.
  std::set<std::pair<unsigned, unsigned>> raccourcisRefuses;
  // What is registered now: (window, id) -> (modifiers, key).
  std::map<std::pair<plat::Handle, int>, std::pair<unsigned, unsigned>> raccourcis;

  bool fenetreTrouvee = false;  // FindWindowA's answer

  // Paths (as given) that LitFichier reports unreadable.
  std::set<std::string> fichiersIllisibles;

  // A write that fails: at CreeFichier, at the n-th Ecrit of a file, or at Ferme.
  enum class Echec { Aucun, Creation, Ecriture, Fermeture };
  struct EchecFichier {
    Echec quand = Echec::Aucun;
    int code = 5;
    int ecriture = 1;  // for Echec::Ecriture: the failing Ecrit, counted from 1
  };
  EchecFichier echecFichier;

  bool resultatNotifyIcon = true;
  std::vector<plat::NotifyIconData> icones;  // what each Shell_NotifyIconA received

  std::map<int, short> etatsTouches;  // GetKeyState, 0 for any other key
  bool curseurEchoue = false;
  plat::Point curseur;
  bool resultatForeground = true;
  bool resultatPostMessage = true;
  bool resultatShowWindow = false;  // the system's answer: "was visible before"
  unsigned messageEnregistre = 0xC100;

 private:
  std::string Resolu(const std::string& chemin) const;

  plat::PlateformePortable fichiers_;
};
