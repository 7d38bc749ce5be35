// What the measurements of Chrono.exe share: the clock and the lines they print, the settings
// files they time the launcher on, and a program's start to ready. One file per measurement.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "pilote/Processus.h"
#include "platform/win32/Horloge.h"

inline constexpr int kTailles[] = {0, 100, 1000, 3498};
inline constexpr DWORD kPatience = 60000;

// Windows paths of the programs measured.
extern const std::string kVivlan;
extern const std::string kPlancher;
extern const std::string kMarqueur;

double Mediane(std::vector<double> valeurs);
// Polls `condition` every millisecond, up to kPatience: waits as fine as the figures.
bool Guette(const std::function<bool()>& condition);
// One figure, beside its reference when `reference` is positive; a negative `ms` failed.
void Ligne(const char* quoi, double ms, double reference);

// The combination of shortcut i: Ctrl, Alt and Shift mixed over A-Z and 0-9. Only the first
// kCombinaisons shortcuts get one (no two alike, or start-up would stop on its message); the
// others are menu entries.
struct Combinaison {
  UINT masque;
  char touche;
};
inline constexpr int kCombinaisons = 7 * 36;
Combinaison CombinaisonNumero(int i);
// Another program holds the combination: this process cannot register it.
bool Tenue(const Combinaison& c);

// `n` shortcuts starting Marqueur.exe, `parMenu` to a menu.
std::string Ini(int n, int parMenu = 10);

// A started program, ended with the job that holds it and all it started.
struct Lance {
  Lance(const std::string& ligne, const std::string& dossier)
      : processus(ligne, dossier, travail.Handle()) {}
  // WM_CLOSE to its window, as the session's end would; true once it has ended.
  bool Ferme(HWND fenetre) const;

  pilote::Travail travail;
  pilote::Processus processus;
};

// What Demarrage starts and how it knows it ready.
struct Executable {
  std::string ligne;
  const char* classe = "";
  const char* titre = "";
  int raccourcis = -1;  // -1: the floor program
};

// The process's working set in MB: its peak, and now.
struct Memoire {
  double pic = 0;
  double courant = 0;
};

// The floor program, ready once its window is made; Vivlan.exe, once its icon is in place and
// the last of its `raccourcis` combinations registered.
Executable Plancher();
Executable Vivlan(int raccourcis);

// From CreateProcess to ready, in milliseconds; negative when it never got ready. `memoire`:
// its working set once ready, after `repos` ms idle.
double Demarrage(const Executable& p, const std::string& dossier, Memoire* memoire = nullptr,
                 DWORD repos = 0);

// The sections the way the system's profile functions give them: one call per key. The number
// of records read.
size_t LectureParCle(const std::string& fichier);

// Lets the windows of this process paint and take what was posted to them.
void Pompe();

// The measurements. `racine` holds a folder per size of kTailles, "n0" to "n3498", each with
// its Vivlan.ini.
void MesureDemarrages(const std::string& racine);
void MesureRaccourci(const std::string& racine);
void MesureEnProcessus(const std::string& racine);
void MesureEditeur(const std::string& racine);
void MesureMenus(const std::string& racine);
void MesureGrosFichier(const std::string& racine);
