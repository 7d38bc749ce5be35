// In-process, the real TFrmPrincip over the in-memory toolkit: LectureIni, ConstructionMenus and
// EnabledHotKeys (real RegisterHotKey) each, and its reload, against reading the same sections
// the per-key way with GetPrivateProfileStringA.
#include <cstdio>
#include <string>
#include <vector>

#include "Mesures.h"
#include "app/Princip.h"
#include "platform/portable/PlateformePortable.h"
#include "toolkit/memoire/BackendMemoire.h"

namespace {

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

}  // namespace

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
      // Each step of the reload alone, from an empty list and nothing registered...
      principal.DisabledHotKeys();
      principal.ListeRaccourcis->clear();
      const double t0 = plat::Millisecondes();
      principal.LectureIni();
      const double t1 = plat::Millisecondes();
      principal.ConstructionMenus();
      const double t2 = plat::Millisecondes();
      principal.EnabledHotKeys();
      const double t3 = plat::Millisecondes();
      lecture.push_back(t1 - t0);
      construction.push_back(t2 - t1);
      enregistrement.push_back(t3 - t2);
      // ...and the whole of it, as the editor's "OK" has it done.
      principal.Recharge();
      total.push_back(plat::Millisecondes() - t3);
    }
    const size_t lus = principal.ListeRaccourcis->size();
    principal.DisabledHotKeys();

    const std::string fichier = dossier + "\\Vivlan.ini";
    std::vector<double> profil;
    size_t lusParCle = 0;
    for (double depense = 0; profil.size() < kFois && depense < kBudgetProfil;) {
      const double t0 = plat::Millisecondes();
      lusParCle = LectureParCle(fichier);
      profil.push_back(plat::Millisecondes() - t0);
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
