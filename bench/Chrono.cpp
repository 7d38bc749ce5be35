// Chrono.exe: the launcher's timings under Wine, each printed beside what it is measured against.
// Asserts nothing; tools/bench builds and runs it.
//
//  1. Start-up to ready, Vivlan.exe with 0 to 3,498 shortcuts against Plancher.exe. Ready: the
//     main window and the tray icon's window exist, the process waits for input in its message
//     loop (the icon is added before it), and the last combination of the file is held: this
//     process can no longer register it.
//  2. A hotkey press to the started program running (its marker file appears), against this
//     process starting the same command line with CreateProcess.
//  3. In-process, the real TFrmPrincip over the in-memory toolkit: LectureIni, ConstructionMenus
//     and EnabledHotKeys (real RegisterHotKey), against reading the same sections the per-key
//     way with GetPrivateProfileStringA.
//  4. In-process, the real editor in real windows on one menu of 3,498 items: its opening, an
//     item moved, the save of "OK" and the reload that follows, against the per-key reading.
//  5. A 100 MB settings file of short lines: start-up to ready and the peak working set against
//     the file's size; then the working set of the launcher idle against the floor's.
//  6. In-process, a sub-menu of 100 and of 3,498 distinct programs opening with their icons, the
//     first time and later, against the same menu without icons.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/Config.h"
#include "app/Princip.h"
#include "platform/portable/PlateformePortable.h"
#include "platform/win32/Large.h"
#include "platform/win32/PlateformeWin32.h"
#include "support/FichierIni.h"
#include "toolkit/memoire/BackendMemoire.h"
#include "toolkit/win32/Win32Backend.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <psapi.h>

namespace {

constexpr int kTailles[] = {0, 100, 1000, 3498};
constexpr DWORD kPatience = 60000;

std::string CheminWine(std::string chemin) {
  if (!chemin.empty() && chemin.front() == '/') {
    std::replace(chemin.begin(), chemin.end(), '/', '\\');
    chemin = "Z:" + chemin;
  }
  return chemin;
}

const std::string kVivlan = CheminWine(VIVLAN_EXE);
const std::string kPlancher = CheminWine(PLANCHER_EXE);
const std::string kMarqueur = CheminWine(MARQUEUR_EXE);

double Maintenant() {
  static const double frequence = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / frequence;
}

double Mediane(std::vector<double> valeurs) {
  if (valeurs.empty()) return 0;
  std::sort(valeurs.begin(), valeurs.end());
  const size_t m = valeurs.size() / 2;
  return valeurs.size() % 2 ? valeurs[m] : (valeurs[m - 1] + valeurs[m]) / 2;
}

bool Attends(const std::function<bool()>& condition, DWORD delai = kPatience) {
  const double fin = Maintenant() + delai;
  while (!condition()) {
    if (Maintenant() > fin) return false;
    Sleep(1);
  }
  return true;
}

// The combination of shortcut i: Ctrl, Alt and Shift mixed over A-Z and 0-9. Only the first
// kCombinaisons shortcuts get one (no two alike, or start-up would stop on its message); the
// others are menu entries.
struct Combinaison {
  UINT masque;
  char touche;
};
constexpr char kTouches[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr UINT kMasques[] = {MOD_CONTROL | MOD_ALT, MOD_CONTROL | MOD_SHIFT, MOD_ALT | MOD_SHIFT,
                             MOD_CONTROL | MOD_ALT | MOD_SHIFT, MOD_CONTROL, MOD_ALT, MOD_SHIFT};
constexpr int kCombinaisons = 7 * 36;

Combinaison CombinaisonNumero(int i) { return {kMasques[i / 36], kTouches[i % 36]}; }

// `parMenu` shortcuts to a menu.
std::string Ini(int n, int parMenu = 10) {
  std::vector<Raccourci> raccourcis;
  for (int i = 0; i < n; ++i) {
    Raccourci r("Menu " + std::to_string(i / parMenu), "Raccourci " + std::to_string(i),
                kMarqueur, "p" + std::to_string(i));
    if (i < kCombinaisons) {
      const Combinaison c = CombinaisonNumero(i);
      r.Shift(c.masque & MOD_SHIFT).Ctrl(c.masque & MOD_CONTROL).Alt(c.masque & MOD_ALT);
      r.Touche(std::string(1, c.touche));
    }
    raccourcis.push_back(std::move(r));
  }
  return FichierIni(raccourcis);
}

// Another program holds the combination: this process cannot register it.
bool Tenue(const Combinaison& c) {
  constexpr int kSonde = 0xBFFF;
  if (!RegisterHotKey(nullptr, kSonde, c.masque, static_cast<UINT>(c.touche))) return true;
  UnregisterHotKey(nullptr, kSonde);
  return false;
}

struct Recherche {
  DWORD pid;
  std::function<bool(HWND)> critere;
  HWND trouvee;
};

HWND FenetreDe(DWORD pid, std::function<bool(HWND)> critere) {
  Recherche r{pid, std::move(critere), nullptr};
  EnumWindows(
      [](HWND fenetre, LPARAM parametre) {
        auto& r = *reinterpret_cast<Recherche*>(parametre);
        DWORD pid = 0;
        GetWindowThreadProcessId(fenetre, &pid);
        if (pid != r.pid || !r.critere(fenetre)) return TRUE;
        r.trouvee = fenetre;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&r));
  return r.trouvee;
}

HWND FenetreNommee(DWORD pid, const char* classe, const char* titre) {
  return FenetreDe(pid, [&](HWND fenetre) {
    char c[64] = {}, t[64] = {};
    GetClassNameA(fenetre, c, sizeof c);
    GetWindowTextA(fenetre, t, sizeof t);
    return std::string(c) == classe && std::string(t) == titre;
  });
}

// The tray icon's callback window.
bool AFenetreIcone(DWORD pid) {
  return FenetreDe(pid, [](HWND fenetre) {
           char c[64] = {};
           GetClassNameA(fenetre, c, sizeof c);
           return std::string(c) == TIconeNotification::kClasse;
         }) != nullptr;
}

// A started program, ended with the job that holds it.
class Processus {
 public:
  Processus(const std::string& ligne, const std::string& dossier) {
    travail_ = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limites{};
    limites.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(travail_, JobObjectExtendedLimitInformation, &limites, sizeof limites);
    STARTUPINFOA demarrage{};
    demarrage.cb = sizeof demarrage;
    std::string commande = ligne;
    if (!CreateProcessA(nullptr, commande.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dossier.c_str(), &demarrage, &info_)) {
      std::fprintf(stderr, "CreateProcess(%s): %lu\n", ligne.c_str(), GetLastError());
      info_ = {};
      return;
    }
    AssignProcessToJobObject(travail_, info_.hProcess);
  }
  ~Processus() {
    if (info_.hProcess) {
      TerminateJobObject(travail_, 1);
      WaitForSingleObject(info_.hProcess, 10000);
      CloseHandle(info_.hThread);
      CloseHandle(info_.hProcess);
    }
    CloseHandle(travail_);
  }
  Processus(const Processus&) = delete;
  Processus& operator=(const Processus&) = delete;

  bool Demarre() const { return info_.hProcess != nullptr; }
  DWORD Pid() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  // WM_CLOSE to its window, as the session's end would; true once it has ended.
  bool Ferme(HWND fenetre) const {
    PostMessageA(fenetre, WM_CLOSE, 0, 0);
    return WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0;
  }

 private:
  HANDLE travail_ = nullptr;
  PROCESS_INFORMATION info_{};
};

struct Programme {
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

Memoire MemoireDe(HANDLE processus) {
  PROCESS_MEMORY_COUNTERS compteurs{};
  compteurs.cb = sizeof compteurs;
  if (!K32GetProcessMemoryInfo(processus, &compteurs, sizeof compteurs)) return {};
  constexpr double kMo = 1024.0 * 1024.0;
  return {compteurs.PeakWorkingSetSize / kMo, compteurs.WorkingSetSize / kMo};
}

// From CreateProcess to ready, in milliseconds; negative when it never got ready. `memoire`:
// its working set once ready, after `repos` ms idle.
double Demarrage(const Programme& p, const std::string& dossier, Memoire* memoire = nullptr,
                 DWORD repos = 0) {
  const double debut = Maintenant();
  Processus processus(p.ligne, dossier);
  if (!processus.Demarre()) return -1;
  WaitForInputIdle(processus.Handle(), kPatience);
  HWND principale = nullptr;
  const bool pret = Attends([&] {
    principale = FenetreNommee(processus.Pid(), p.classe, p.titre);
    if (!principale) return false;
    if (p.raccourcis < 0) return true;
    return AFenetreIcone(processus.Pid()) &&
           (p.raccourcis == 0 ||
            Tenue(CombinaisonNumero(std::min(p.raccourcis, kCombinaisons) - 1)));
  });
  const double duree = Maintenant() - debut;
  if (pret && memoire != nullptr) {
    Sleep(repos);
    *memoire = MemoireDe(processus.Handle());
  }
  if (!pret || !processus.Ferme(principale)) return -1;
  return duree;
}

void Ligne(const char* quoi, double ms, double reference) {
  if (ms < 0) {
    std::printf("  %-44s      failed\n", quoi);
  } else if (reference > 0) {
    std::printf("  %-44s %9.1f ms   x%.2f\n", quoi, ms, ms / reference);
  } else {
    std::printf("  %-44s %9.1f ms\n", quoi, ms);
  }
}

// Round after round over every program, so that a busy moment of the machine weighs on all alike.
void MesureDemarrages(const std::string& racine) {
  constexpr int kFois = 7;
  std::printf("Start-up to ready (median of %d rounds, after one to warm up)\n", kFois);
  struct Cas {
    Programme programme;
    std::string dossier;
    std::vector<double> mesures;
  };
  std::vector<Cas> cas(1);
  cas[0].programme = {"\"" + kPlancher + "\"", "TPlancher", "Plancher", -1};
  cas[0].dossier = racine;
  for (int n : kTailles) {
    Cas c;
    c.programme = {"\"" + kVivlan + "\"", TFrmPrincip::kClasse, TFrmPrincip::kTitre, n};
    c.dossier = racine + "\\n" + std::to_string(n);
    cas.push_back(std::move(c));
  }
  for (int tour = 0; tour <= kFois; ++tour) {
    for (Cas& c : cas) {
      const double ms = Demarrage(c.programme, c.dossier);
      if (tour > 0) c.mesures.push_back(ms);
    }
  }
  auto mediane = [](const Cas& c) {
    return std::count(c.mesures.begin(), c.mesures.end(), -1.0) > 0 ? -1 : Mediane(c.mesures);
  };
  const double sol = mediane(cas[0]);
  Ligne("floor: Plancher.exe (one window, one icon)", sol, 0);
  for (size_t i = 1; i < cas.size(); ++i) {
    const int n = cas[i].programme.raccourcis;
    const std::string quoi = "Vivlan.exe, " + std::to_string(n) + " shortcuts (" +
                             std::to_string(std::min(n, kCombinaisons)) + " hotkeys)";
    Ligne(quoi.c_str(), mediane(cas[i]), sol);
  }
}

void Presse(const Combinaison& c) {
  std::vector<WORD> modificateurs;
  if (c.masque & MOD_CONTROL) modificateurs.push_back(VK_CONTROL);
  if (c.masque & MOD_ALT) modificateurs.push_back(VK_MENU);
  if (c.masque & MOD_SHIFT) modificateurs.push_back(VK_SHIFT);
  std::vector<INPUT> entrees;
  auto touche = [&](WORD vk, bool relachee) {
    INPUT e{};
    e.type = INPUT_KEYBOARD;
    e.ki.wVk = vk;
    e.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    e.ki.dwFlags = relachee ? KEYEVENTF_KEYUP : 0;
    entrees.push_back(e);
  };
  for (WORD m : modificateurs) touche(m, false);
  touche(static_cast<WORD>(c.touche), false);
  touche(static_cast<WORD>(c.touche), true);
  for (auto m = modificateurs.rbegin(); m != modificateurs.rend(); ++m) touche(*m, true);
  SendInput(static_cast<UINT>(entrees.size()), entrees.data(), sizeof(INPUT));
}

bool MarqueurEcrit(const std::string& marqueur) {
  WIN32_FILE_ATTRIBUTE_DATA donnees{};
  return GetFileAttributesExA(marqueur.c_str(), GetFileExInfoStandard, &donnees) &&
         (donnees.nFileSizeLow > 0 || donnees.nFileSizeHigh > 0);
}

// Gone once the program that wrote it has closed it.
bool EffaceMarqueur(const std::string& marqueur) {
  return Attends([&] {
    return DeleteFileA(marqueur.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
  });
}

void MesureRaccourci(const std::string& racine) {
  constexpr int kFois = 15;
  const std::string dossier = racine + "\\n100";
  const std::string marqueur = dossier + "\\Marqueur.txt";
  SetEnvironmentVariableA("VIVLAN_MARQUEUR", marqueur.c_str());
  std::printf("Launch to program running: marker file written (median of %d, alternated)\n",
              kFois);

  Processus vivlan("\"" + kVivlan + "\"", dossier);
  WaitForInputIdle(vivlan.Handle(), kPatience);
  const Combinaison c = CombinaisonNumero(0);
  HWND principale = nullptr;
  if (!vivlan.Demarre() || !Attends([&] {
        principale = FenetreNommee(vivlan.Pid(), TFrmPrincip::kClasse, TFrmPrincip::kTitre);
        return principale && Tenue(CombinaisonNumero(99));
      })) {
    Ligne("Vivlan.exe did not start", -1, 0);
    return;
  }
  EffaceMarqueur(marqueur);

  auto direct = [&]() -> double {
    const double debut = Maintenant();
    Processus p("\"" + kMarqueur + "\" p0", dossier);
    if (!Attends([&] { return MarqueurEcrit(marqueur); })) return -1;
    const double duree = Maintenant() - debut;
    WaitForSingleObject(p.Handle(), 10000);
    return EffaceMarqueur(marqueur) ? duree : -1;
  };
  auto raccourci = [&]() -> double {
    const double debut = Maintenant();
    Presse(c);
    if (!Attends([&] { return MarqueurEcrit(marqueur); })) return -1;
    const double duree = Maintenant() - debut;
    return EffaceMarqueur(marqueur) ? duree : -1;
  };
  direct();
  raccourci();
  std::vector<double> directs, raccourcis;
  for (int i = 0; i < kFois; ++i) {
    directs.push_back(direct());
    raccourcis.push_back(raccourci());
  }
  const bool echec = std::count(directs.begin(), directs.end(), -1.0) > 0 ||
                     std::count(raccourcis.begin(), raccourcis.end(), -1.0) > 0;
  const double d = echec ? -1 : Mediane(directs);
  Ligne("CreateProcess(Marqueur.exe p0) from here", d, 0);
  Ligne("Ctrl+Alt+A (SendInput) to Vivlan.exe", echec ? -1 : Mediane(raccourcis), d);
  vivlan.Ferme(principale);
  SetEnvironmentVariableA("VIVLAN_MARQUEUR", nullptr);
}

// The portable platform, but hotkeys go to the system for a window of this process.
class PlateformeBanc : public plat::PlateformePortable {
 public:
  explicit PlateformeBanc(HWND fenetre) : fenetre_(fenetre) {}
  bool RegisterHotKey(plat::Handle, int id, unsigned modificateurs, unsigned touche) override {
    return ::RegisterHotKey(fenetre_, id, modificateurs, touche) != FALSE;
  }
  bool UnregisterHotKey(plat::Handle, int id) override {
    return ::UnregisterHotKey(fenetre_, id) != FALSE;
  }

 private:
  HWND fenetre_;
};

// The sections the way the system's profile functions give them: one call per key.
size_t LectureParCle(const std::string& fichier) {
  // Room for every name, as the launcher reads every section.
  constexpr DWORD kTailleNoms = 1 << 20;
  std::vector<char> noms(kTailleNoms);
  const DWORD lus = GetPrivateProfileStringA(nullptr, nullptr, "", noms.data(), kTailleNoms,
                                             fichier.c_str());
  size_t n = 0;
  for (DWORD i = 0; i < lus && noms[i] != '\0'; i += static_cast<DWORD>(std::strlen(&noms[i])) + 1)
    ++n;
  n = static_cast<std::uint16_t>(n);
  ListeEnreg liste;
  std::vector<std::vector<char>> tampons(kNombreClesIni, std::vector<char>(kTailleValeurIni));
  std::vector<std::string_view> valeurs(kNombreClesIni);
  for (size_t k = 1; k <= n; ++k) {
    const std::string section = std::to_string(k);
    for (size_t c = 0; c < kNombreClesIni; ++c) {
      const CleIni& cle = kClesIni[c];
      const DWORD l = GetPrivateProfileStringA(section.c_str(), cle.nom, cle.defaut,
                                               tampons[c].data(), kTailleValeurIni, fichier.c_str());
      valeurs[c] = std::string_view(tampons[c].data(), l);
    }
    AjouteEnreg(valeurs, liste);
  }
  return liste.size();
}

void MesureEnProcessus(const std::string& racine) {
  constexpr int kFois = 5;
  constexpr double kBudgetProfil = 20000;  // the per-key reading is quadratic: fewer runs
  std::printf(
      "In-process, the real TFrmPrincip (median of %d; GetPrivateProfileStringA: of up to %d "
      "within %.0f s)\n",
      kFois, kFois, kBudgetProfil / 1000);
  std::printf("  %9s %12s %12s %12s %12s   %16s %8s\n", "shortcuts", "LectureIni",
              "Construction", "EnabledHK", "total", "GetPrivateProf.", "ratio");
  HWND fenetre = CreateWindowExA(0, "STATIC", "Chrono", 0, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  char avant[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, avant);
  for (int n : kTailles) {
    const std::string dossier = racine + "\\n" + std::to_string(n);
    SetCurrentDirectoryA(dossier.c_str());
    tk::BackendMemoire backend;
    tk::Application application(backend, "C:\\Vivelance\\Vivlan.exe");
    PlateformeBanc plateforme(fenetre);
    TFrmPrincip principal(application, plateforme);  // reads, builds and registers once
    std::vector<double> lecture, construction, enregistrement, total;
    for (int i = 0; i < kFois; ++i) {
      principal.DisabledHotKeys();
      principal.ListeRaccourcis->clear();
      const double t0 = Maintenant();
      principal.LectureIni();
      const double t1 = Maintenant();
      principal.ConstructionMenus();
      const double t2 = Maintenant();
      principal.EnabledHotKeys();
      const double t3 = Maintenant();
      lecture.push_back(t1 - t0);
      construction.push_back(t2 - t1);
      enregistrement.push_back(t3 - t2);
      total.push_back(t3 - t0);
    }
    const size_t lus = principal.ListeRaccourcis->size();
    principal.DisabledHotKeys();

    const std::string fichier = dossier + "\\Vivlan.ini";
    std::vector<double> profil;
    size_t lusParCle = 0;
    for (double depense = 0; profil.size() < kFois && depense < kBudgetProfil;) {
      const double t0 = Maintenant();
      lusParCle = LectureParCle(fichier);
      profil.push_back(Maintenant() - t0);
      depense += profil.back();
    }
    const double ref = Mediane(lecture);
    std::printf("  %9d %9.2f ms %9.2f ms %9.2f ms %9.2f ms   %13.2f ms %7.1fx%s\n", n, ref,
                Mediane(construction), Mediane(enregistrement), Mediane(total), Mediane(profil),
                ref > 0 ? Mediane(profil) / ref : 0.0,
                lus == static_cast<size_t>(n) && lusParCle == lus && backend.messages.empty()
                    ? ""
                    : "  (records or messages not as expected)");
  }
  SetCurrentDirectoryA(avant);
  DestroyWindow(fenetre);
  std::printf("  ratio: GetPrivateProfileStringA over LectureIni\n");
}

// Lets the windows of this process paint and take what was posted to them.
void Pompe() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Peint(const tk::Control& c) {
  RedrawWindow(reinterpret_cast<HWND>(c.native), nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void MesureEditeur(const std::string& racine) {
  constexpr int kFois = 7;
  constexpr int kItems = 3498;
  std::printf("Editor on one menu of %d items, real windows in this process (median of %d)\n",
              kItems, kFois);
  const std::string dossier = racine + "\\editeur";
  std::filesystem::create_directories(dossier);
  std::ofstream(dossier + "\\Vivlan.ini", std::ios::binary) << Ini(kItems, kItems);
  char avant[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, avant);
  SetCurrentDirectoryA(dossier.c_str());
  {
    tk::Win32Backend backend(reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)));
    plat::PlateformeWin32 plateforme;
    tk::Application application(backend, "C:\\Vivelance\\Vivlan.exe");
    TFrmPrincip principal(application, plateforme);
    TFrmConfig config(application, principal);
    std::vector<double> ouverture, deplacement, sauvegarde, relecture, parCle;
    double premiere = -1;
    bool enOrdre = true;
    for (int tour = 0; tour <= kFois; ++tour) {
      // Opened as "&Configuration" opens it: the working copy, every row, the window painted.
      double t0 = Maintenant();
      config.Init();
      backend.show(config);
      Peint(config);
      double t1 = Maintenant();
      enOrdre = enOrdre && config.iLixItems.count() == kItems &&
                SendMessageA(reinterpret_cast<HWND>(config.iLixItems.native), LB_GETCOUNT, 0, 0) ==
                    kItems;
      if (tour == 0)
        premiere = t1 - t0;
      else
        ouverture.push_back(t1 - t0);
      Pompe();

      config.iLixItems.setItemIndex(kItems / 2);
      config.iLixItemsClick();
      t0 = Maintenant();
      config.iSbtItemBasClick();
      Peint(config.iLixItems);
      t1 = Maintenant();
      enOrdre = enOrdre && config.iLixItems.itemIndex() == kItems / 2 + 1;
      if (tour > 0) deplacement.push_back(t1 - t0);
      Pompe();

      // "OK": the file written, then read back by the main window.
      std::vector<std::string> menus;
      for (const auto& ligne : config.iLixMenus.rows()) menus.push_back(ligne.text);
      t0 = Maintenant();
      EcritureIni(plateforme, principal.CheminIni(), menus, *config.ListeTravail);
      t1 = Maintenant();
      principal.DisabledHotKeys();
      principal.ListeRaccourcis->clear();
      const double t2 = Maintenant();
      principal.LectureIni();
      principal.ConstructionMenus();
      principal.EnabledHotKeys();
      const double t3 = Maintenant();
      const size_t lus = LectureParCle(principal.CheminIni());
      const double t4 = Maintenant();
      enOrdre = enOrdre && principal.ListeRaccourcis->size() == kItems && lus == kItems;
      if (tour > 0) {
        sauvegarde.push_back(t1 - t0);
        relecture.push_back(t3 - t2);
        parCle.push_back(t4 - t3);
      }
      backend.hide(config);
      config.FormClose();
      Pompe();
    }
    principal.DisabledHotKeys();
    Ligne("first opening (the window is made)", premiere, 0);
    Ligne("opening: Init, every row shown, painted", Mediane(ouverture), 0);
    Ligne("an item moved down, painted", Mediane(deplacement), 0);
    Ligne("\"OK\": the file written", Mediane(sauvegarde), 0);
    const double reference = Mediane(relecture);
    Ligne("reload: LectureIni, menus, hotkeys", reference, 0);
    Ligne("GetPrivateProfileStringA, per key", Mediane(parCle), reference);
    if (!enOrdre) std::printf("  (rows or records not as expected)\n");
  }
  SetCurrentDirectoryA(avant);
}

// A menu's opening, from the call to its window on the screen; this thread's menus answer
// meanwhile, so another thread watches and closes it.
double Ouverture(tk::PopupMenu& menu) {
  double vu = -1;
  std::thread guetteur([&vu] {
    const double fin = Maintenant() + kPatience;
    while (Maintenant() < fin) {
      HWND fenetre = FindWindowW(L"#32768", nullptr);
      if (fenetre != nullptr && IsWindowVisible(fenetre) &&
          GetWindowThreadProcessId(fenetre, nullptr) != 0) {
        vu = Maintenant();
        PostMessageW(fenetre, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
      }
    }
  });
  const double debut = Maintenant();
  menu.popup(0, 0);
  guetteur.join();
  return vu < 0 ? -1 : vu - debut;
}

// The left menu's sub-menu of distinct programs (links to one file, so many cost no room): as
// it was, without icons; with their icons the first time (nothing known, at most about 50 ms of
// icon work before it shows); and again once the rest came at idle moments.
void MesureMenus(const std::string& racine) {
  constexpr int kFois = 5;
  std::printf("A sub-menu of distinct programs opening, to its window shown (median of %d)\n", kFois);
  for (const int n : {100, 3498}) {
    const std::string dossier = racine + "\\menus" + std::to_string(n);
    std::filesystem::create_directories(dossier);
    tk::Win32Backend backend(reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr)));
    tk::Application application(backend, "C:\\Vivelance\\Vivlan.exe");
    tk::Form principale(application, "TBancMenus", "Banc", 10, 10);
    SetForegroundWindow(reinterpret_cast<HWND>(principale.handle()));
    tk::PopupMenu sans(application), avec(application);
    for (int i = 0; i < n; ++i) {
      const std::string programme = dossier + "\\p" + std::to_string(i) + ".exe";
      const std::wstring large = plat::Large(programme), source = plat::Large(kMarqueur);
      if (!CreateHardLinkW(large.c_str(), source.c_str(), nullptr))
        CopyFileW(source.c_str(), large.c_str(), FALSE);
      const std::string libelle = "Raccourci " + std::to_string(i);
      sans.add(std::make_unique<tk::MenuItem>(libelle));
      avec.add(std::make_unique<tk::MenuItem>(libelle)).icone = [programme] {
        return tk::SourceIcone{programme, false};
      };
    }
    std::vector<double> aucune, suivantes;
    for (int i = 0; i < kFois; ++i) aucune.push_back(Ouverture(sans));
    const double premiere = Ouverture(avec);
    const double debutRepos = Maintenant();
    while (backend.iconesEnAttente() && Maintenant() - debutRepos < kPatience) {
      Pompe();
      Sleep(1);
    }
    const double repos = Maintenant() - debutRepos;
    for (int i = 0; i < kFois; ++i) suivantes.push_back(Ouverture(avec));
    const double reference = Mediane(aucune);
    std::printf("  %d entries\n", n);
    Ligne("without icons", reference, 0);
    Ligne("with icons, first opening", premiere, reference);
    Ligne("the rest fetched at idle moments", repos, 0);
    Ligne("with icons, later openings", Mediane(suivantes), reference);
  }
}

void MesureGrosFichier(const std::string& racine) {
  constexpr std::size_t kTaille = 100u << 20;
  const std::string dossier = racine + "\\gros";
  std::filesystem::create_directories(dossier);
  {
    // Short lines before the sections: the whole file is walked before the first of them.
    std::string ini;
    ini.reserve(kTaille + (1u << 20));
    while (ini.size() < kTaille) ini += "x = 1\r\n";
    ini += Ini(3498);
    std::ofstream(dossier + "\\Vivlan.ini", std::ios::binary) << ini;
  }
  const double mo = static_cast<double>(std::filesystem::file_size(dossier + "\\Vivlan.ini")) /
                    (1024.0 * 1024.0);
  std::printf("A settings file of %.0f MB: 15 million short lines, then 3,498 sections\n", mo);
  const Programme vivlan{"\"" + kVivlan + "\"", TFrmPrincip::kClasse, TFrmPrincip::kTitre, 3498};
  const Programme plancher{"\"" + kPlancher + "\"", "TPlancher", "Plancher", -1};
  Memoire memoire;
  const double normal = Demarrage(vivlan, racine + "\\n3498");
  Ligne("start-up to ready, 3,498 shortcuts", normal, 0);
  Ligne("start-up to ready, the same after 100 MB", Demarrage(vivlan, dossier, &memoire), normal);
  std::printf("  %-44s %9.1f MB   file + %.1f MB\n", "peak working set", memoire.pic,
              memoire.pic - mo);

  std::printf("Working set when idle (1 s after ready)\n");
  Memoire sol, lanceur;
  Demarrage(plancher, racine, &sol, 1000);
  Demarrage(vivlan, racine + "\\n3498", &lanceur, 1000);
  std::printf("  %-44s %9.1f MB\n", "floor: Plancher.exe", sol.courant);
  std::printf("  %-44s %9.1f MB   x%.2f\n", "Vivlan.exe, 3,498 shortcuts", lanceur.courant,
              sol.courant > 0 ? lanceur.courant / sol.courant : 0.0);
}

}  // namespace

// Arguments: the parts to run ("demarrage", "raccourci", "processus", "editeur", "menus", "gros"); none:
// all of them.
int main(int argc, char** argv) {
  auto partie = [&](const char* nom) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
      if (std::strcmp(argv[i], nom) == 0) return true;
    return false;
  };
  // Without it, under Wine, the window programs started from this console program die at their
  // first window with an X BadWindow error.
  GetDesktopWindow();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string racine =
      std::string(temp) + "vivlan-bench-" + std::to_string(GetCurrentProcessId());
  for (int n : kTailles) {
    const std::string dossier = racine + "\\n" + std::to_string(n);
    std::filesystem::create_directories(dossier);
    std::ofstream(dossier + "\\Vivlan.ini", std::ios::binary) << Ini(n);
  }
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const double debut = Maintenant();
  if (partie("demarrage")) MesureDemarrages(racine);
  if (partie("raccourci")) MesureRaccourci(racine);
  if (partie("processus")) MesureEnProcessus(racine);
  if (partie("editeur")) MesureEditeur(racine);
  if (partie("menus")) MesureMenus(racine);
  if (partie("gros")) MesureGrosFichier(racine);
  std::printf("Measured in %.0f s\n", (Maintenant() - debut) / 1000);
  std::error_code erreur;
  std::filesystem::remove_all(racine, erreur);
  return 0;
}
