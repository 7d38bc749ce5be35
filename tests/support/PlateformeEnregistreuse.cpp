#include "support/PlateformeEnregistreuse.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>

namespace {

template <typename... T>
std::string Appel(const char* nom, const T&... arguments) {
  std::ostringstream texte;
  texte << nom << '(';
  const char* separateur = "";
  ((texte << separateur << arguments, separateur = ","), ...);
  texte << ')';
  return texte.str();
}

// Writes through the real file, failing where the test asked.
class FichierEnregistre : public plat::FichierEcriture {
 public:
  FichierEnregistre(std::unique_ptr<plat::FichierEcriture> reel, std::string chemin,
                    PlateformeEnregistreuse& plateforme)
      : reel_(std::move(reel)), chemin_(std::move(chemin)), plateforme_(plateforme) {}

  void Ecrit(const std::string& octets) override {
    plateforme_.appels.push_back(Appel("Ecrit", chemin_, octets));
    const auto& echec = plateforme_.echecFichier;
    if (echec.quand == PlateformeEnregistreuse::Echec::Ecriture && ++ecritures_ == echec.ecriture)
      throw plat::EInOutError(echec.code);
    reel_->Ecrit(octets);
  }

  void Ferme() override {
    plateforme_.appels.push_back(Appel("Ferme", chemin_));
    const auto& echec = plateforme_.echecFichier;
    if (echec.quand == PlateformeEnregistreuse::Echec::Fermeture)
      throw plat::EInOutError(echec.code);
    reel_->Ferme();
  }

 private:
  std::unique_ptr<plat::FichierEcriture> reel_;
  std::string chemin_;
  PlateformeEnregistreuse& plateforme_;
  int ecritures_ = 0;
};

}  // namespace

PlateformeEnregistreuse::PlateformeEnregistreuse(std::string repertoire)
    : repertoireCourant(std::move(repertoire)) {}

std::string PlateformeEnregistreuse::Resolu(const std::string& chemin) const {
  const std::filesystem::path p(plat::CheminNatif(chemin));
  if (p.is_absolute()) return p.lexically_normal().string();
  return (std::filesystem::path(plat::CheminNatif(repertoireCourant)) / p)
      .lexically_normal()
      .string();
}

bool PlateformeEnregistreuse::RegisterHotKey(plat::Handle fenetre, int id, unsigned modificateurs,
                                             unsigned touche) {
  appels.push_back(Appel("RegisterHotKey", fenetre, id, modificateurs, touche));
  const std::pair<unsigned, unsigned> combinaison{modificateurs, touche};
  if (raccourcisRefuses.count(combinaison)) return false;
  for (const auto& [cle, prise] : raccourcis)
    if (prise == combinaison) return false;
  raccourcis[{fenetre, id}] = combinaison;
  return true;
}

bool PlateformeEnregistreuse::UnregisterHotKey(plat::Handle fenetre, int id) {
  appels.push_back(Appel("UnregisterHotKey", fenetre, id));
  return raccourcis.erase({fenetre, id}) > 0;
}

unsigned PlateformeEnregistreuse::WinExec(const std::string& ligneDeCommande, unsigned affichage) {
  appels.push_back(Appel("WinExec", ligneDeCommande, affichage));
  const auto it = resultatsWinExec.find(ligneDeCommande);
  return it != resultatsWinExec.end() ? it->second : resultatWinExec;
}

std::string PlateformeEnregistreuse::GetCurrentDirectoryA() {
  appels.push_back("GetCurrentDirectory");
  return repertoireCourant;
}

int PlateformeEnregistreuse::SetCurrentDirectoryA(const std::string& repertoire) {
  appels.push_back(Appel("SetCurrentDirectory", repertoire));
  const auto it = repertoiresRefuses.find(repertoire);
  if (it != repertoiresRefuses.end()) return it->second;
  repertoireCourant = repertoire;
  return 0;
}

std::string PlateformeEnregistreuse::CheminAbsolu(const std::string& chemin) {
  appels.push_back(Appel("CheminAbsolu", chemin));
  return Resolu(chemin);
}

bool PlateformeEnregistreuse::FindWindowA(const std::string& classe, const std::string& titre) {
  appels.push_back(Appel("FindWindowA", classe, titre));
  return fenetreTrouvee;
}

std::optional<std::string> PlateformeEnregistreuse::LitFichier(const std::string& chemin) {
  appels.push_back(Appel("LitFichier", chemin));
  if (fichiersIllisibles.count(chemin)) return std::nullopt;
  return fichiers_.LitFichier(Resolu(chemin));
}

std::unique_ptr<plat::FichierEcriture> PlateformeEnregistreuse::CreeFichier(
    const std::string& chemin) {
  appels.push_back(Appel("CreeFichier", chemin));
  if (echecFichier.quand == Echec::Creation) throw plat::EInOutError(echecFichier.code);
  return std::make_unique<FichierEnregistre>(fichiers_.CreeFichier(Resolu(chemin)), chemin,
                                             *this);
}

bool PlateformeEnregistreuse::Shell_NotifyIconA(unsigned message,
                                                const plat::NotifyIconData& donnees) {
  const char* fin = std::find(std::begin(donnees.szTip), std::end(donnees.szTip), '\0');
  const std::string tip(std::begin(donnees.szTip), fin);
  appels.push_back(Appel("Shell_NotifyIconA", message, "hIcon=" + std::to_string(donnees.hIcon),
                         "tip=" + tip));
  icones.push_back(donnees);
  return resultatNotifyIcon;
}

short PlateformeEnregistreuse::GetKeyState(int touche) {
  appels.push_back(Appel("GetKeyState", touche));
  const auto it = etatsTouches.find(touche);
  return it != etatsTouches.end() ? it->second : 0;
}

bool PlateformeEnregistreuse::GetCursorPos(plat::Point& position) {
  appels.push_back("GetCursorPos");
  if (curseurEchoue) return false;
  position = curseur;
  return true;
}

bool PlateformeEnregistreuse::SetForegroundWindow(plat::Handle fenetre) {
  appels.push_back(Appel("SetForegroundWindow", fenetre));
  return resultatForeground;
}

bool PlateformeEnregistreuse::PostMessageA(plat::Handle fenetre, unsigned message,
                                           std::uintptr_t wParam, std::intptr_t lParam) {
  appels.push_back(Appel("PostMessageA", fenetre, message, wParam, lParam));
  return resultatPostMessage;
}

bool PlateformeEnregistreuse::ShowWindow(plat::Handle fenetre, int commande) {
  appels.push_back(Appel("ShowWindow", fenetre, commande));
  return resultatShowWindow;
}

unsigned PlateformeEnregistreuse::RegisterWindowMessageA(const std::string& nom) {
  appels.push_back(Appel("RegisterWindowMessageA", nom));
  return messageEnregistre;
}
