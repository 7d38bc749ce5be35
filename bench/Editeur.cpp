// In-process, the real editor in real windows on one menu of 3,498 items: its opening, an item
// moved, and its "OK": the file written, then the main window's reload, against the per-key
// reading.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Mesures.h"
#include "app/Config.h"
#include "app/Princip.h"
#include "platform/win32/PlateformeWin32.h"
#include "toolkit/win32/Win32Backend.h"

namespace {

// The real platform, which notes when the save's last file operation ended: in "OK", what
// follows is the reload.
class PlateformeNotee : public plat::PlateformeWin32 {
 public:
  double finEcriture = 0;

  int ReplaceFileW(const std::string& remplace, const std::string& remplacant,
                   const std::string& sauvegarde) override {
    return Note(PlateformeWin32::ReplaceFileW(remplace, remplacant, sauvegarde));
  }
  int MoveFileExW(const std::string& de, const std::string& vers) override {
    return Note(PlateformeWin32::MoveFileExW(de, vers));
  }
  int DeleteFileW(const std::string& chemin) override {
    return Note(PlateformeWin32::DeleteFileW(chemin));
  }

 private:
  int Note(int code) {
    finEcriture = plat::Millisecondes();
    return code;
  }
};

void Peint(const tk::Control& c) {
  RedrawWindow(reinterpret_cast<HWND>(c.native), nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

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
    PlateformeNotee plateforme;
    tk::Application application(backend, "C:\\Vivelance\\Vivlan.exe");
    TFrmPrincip principal(application, plateforme);
    TFrmConfig config(application, principal);
    std::vector<double> ouverture, deplacement, sauvegarde, relecture, parCle;
    double premiere = -1;
    bool enOrdre = true;
    for (int tour = 0; tour <= kFois; ++tour) {
      // Opened as "&Configuration" opens it: the working copy, every row, the window painted.
      double t0 = plat::Millisecondes();
      config.Init();
      backend.show(config);
      Peint(config);
      double t1 = plat::Millisecondes();
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
      t0 = plat::Millisecondes();
      config.iSbtItemBasClick();
      Peint(config.iLixItems);
      t1 = plat::Millisecondes();
      enOrdre = enOrdre && config.iLixItems.itemIndex() == kItems / 2 + 1;
      if (tour > 0) deplacement.push_back(t1 - t0);
      Pompe();

      // "OK": the file written, then read back by the main window.
      t0 = plat::Millisecondes();
      config.iBbtOkClick();
      const double t3 = plat::Millisecondes();
      t1 = plateforme.finEcriture;
      const size_t lus = LectureParCle(principal.CheminIni());
      const double t4 = plat::Millisecondes();
      enOrdre = enOrdre && t1 >= t0 && principal.ListeRaccourcis->size() == kItems &&
                lus == kItems;
      if (tour > 0) {
        sauvegarde.push_back(t1 - t0);
        relecture.push_back(t3 - t1);
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
