#include "support/Banc.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

DossierTemporaire::DossierTemporaire() {
  static std::atomic<int> compteur{0};
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    auto p = base / ("vivlan-test-" + std::to_string(std::rand()) + "-" + std::to_string(++compteur));
    if (std::filesystem::create_directory(p)) {
      chemin = p.string();
      return;
    }
  }
}

DossierTemporaire::~DossierTemporaire() {
  std::error_code ignore;
  std::filesystem::remove_all(chemin, ignore);
}

std::string DossierTemporaire::Fichier(const std::string& nom) const {
  return (std::filesystem::path(chemin) / nom).string();
}

std::vector<std::string> AppelsDe(const PlateformeEnregistreuse& p, const std::string& prefixe) {
  std::vector<std::string> result;
  for (const auto& a : p.appels)
    if (a.compare(0, prefixe.size(), prefixe) == 0) result.push_back(a);
  return result;
}

std::string LitTout(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

void EcritTout(const std::string& chemin, const std::string& octets) {
  std::ofstream f(chemin, std::ios::binary | std::ios::trunc);
  f << octets;
}

std::vector<std::string> Banc::Lances() const {
  std::vector<std::string> lances = Appels("CreateProcessW(");
  for (std::string& l : lances)
    for (std::size_t p = l.find(dossier.chemin); p != std::string::npos; p = l.find(dossier.chemin, p))
      l.replace(p, dossier.chemin.size(), ".");
  return lances;
}

void Banc::Demarre(const std::vector<Raccourci>& raccourcis) {
  EcritTout(ini, FichierIni(raccourcis));
  Demarre();
}

void Banc::Demarre() {
  principal = std::make_unique<TFrmPrincip>(application, plateforme);
  info = std::make_unique<TFrmInfo>(application);
  config = std::make_unique<TFrmConfig>(application, *principal);
  aPropos = std::make_unique<TFrmAPropos>(application);
  principal->Relie(*info, *config, *aPropos);
}

void Banc::TearDown() {
  aPropos.reset();
  config.reset();
  info.reset();
  principal.reset();
}

tk::MenuItem& Banc::Entree(int sousMenu, int entree) {
  return principal->iPmGauche.item(sousMenu).item(entree);
}

std::vector<std::string> Banc::Messages() {
  auto textes = backend.textes();
  backend.messages.clear();
  return textes;
}

std::string Banc::MenuGauche() {
  std::string s;
  for (int i = 0; i < principal->iPmGauche.count(); ++i) {
    const tk::MenuItem& sm = principal->iPmGauche.item(i);
    if (!s.empty()) s += " ";
    s += sm.caption + "[";
    for (int j = 0; j < sm.count(); ++j) s += (j ? "," : "") + sm.item(j).caption;
    s += "]";
  }
  return s;
}

void ClicIcone(tk::BackendMemoire& backend, TIconeNotification& icone, bool droit) {
  backend.envoie(icone.IconData().hWnd, TIconeNotification::WM_TRAYICON, 1,
                 droit ? 0x0205 : 0x0202);
}
