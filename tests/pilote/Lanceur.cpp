#include "pilote/Lanceur.h"

#include "components/IconeNotification.h"
#include "toolkit/Echelle.h"
#include "toolkit/memoire/BackendMemoire.h"

namespace pilote {

namespace {

struct Jumeaux {
  tk::BackendMemoire backend;
  tk::Application application{backend, "C:\\Vivelance\\Vivlan.exe"};
  Programme programme{application};
};

}  // namespace

Programme& Modeles() {
  static Jumeaux jumeaux;
  return jumeaux.programme;
}

HWND Controle(HWND fenetre, const tk::Control& modele) {
  return GetDlgItem(fenetre, tk::Identifiant(modele));
}

HWND AttendsFenetreDe(DWORD pid, const tk::Form& modele, DWORD delai) {
  return AttendsFenetreDe(pid, modele.className(), modele.text(), delai);
}

HWND FenetrePrincipaleDe(DWORD pid) {
  return FenetreDe(pid, TFrmPrincip::kClasse, TFrmPrincip::kTitre);
}

HWND FenetreIconeDe(DWORD pid) { return FenetreDe(pid, TIconeNotification::kClasse); }

bool AttendsDemarrage(const Processus& vivlan) {
  if (!vivlan.Existe()) return false;
  if (!Attends([&] { return FenetrePrincipaleDe(vivlan.Pid()) && FenetreIconeDe(vivlan.Pid()); }))
    return false;
  return WaitForInputIdle(vivlan.Handle(), kDelai) == 0;
}

bool PosteNotification(HWND fenetreIcone, UINT messageSouris) {
  return PostMessageW(fenetreIcone, TIconeNotification::WM_TRAYICON, 1,
                      static_cast<LPARAM>(messageSouris));
}

}  // namespace pilote
