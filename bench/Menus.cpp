// In-process, a sub-menu of 100 and of 3,498 distinct programs opening with their icons, the
// first time and later, against the same menu without icons.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Mesures.h"
#include "pilote/Fenetres.h"
#include "platform/win32/Large.h"
#include "toolkit/win32/Win32Backend.h"

namespace {

// A menu's opening, from the call to its window on the screen; this thread's menus answer
// meanwhile, so another thread watches and closes it.
double Ouverture(tk::PopupMenu& menu) {
  double vu = -1;
  std::thread guetteur([&vu] {
    const double fin = plat::Millisecondes() + kPatience;
    while (plat::Millisecondes() < fin) {
      if (HWND fenetre = pilote::MenuOuvert()) {
        vu = plat::Millisecondes();
        PostMessageW(fenetre, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
      }
    }
  });
  const double debut = plat::Millisecondes();
  menu.popup(0, 0);
  guetteur.join();
  return vu < 0 ? -1 : vu - debut;
}

}  // namespace

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
    const double debutRepos = plat::Millisecondes();
    while (backend.iconesEnAttente() && plat::Millisecondes() - debutRepos < kPatience) {
      Pompe();
      Sleep(1);
    }
    const double repos = plat::Millisecondes() - debutRepos;
    for (int i = 0; i < kFois; ++i) suivantes.push_back(Ouverture(avec));
    const double reference = Mediane(aucune);
    std::printf("  %d entries\n", n);
    Ligne("without icons", reference, 0);
    Ligne("with icons, first opening", premiere, reference);
    Ligne("the rest fetched at idle moments", repos, 0);
    Ligne("with icons, later openings", Mediane(suivantes), reference);
  }
}
