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

std::string Section(int n, const R& r) {
  auto oui = [](bool b) { return b ? "Oui" : "Non"; };
  return "[" + std::to_string(n) + "]\r\n" + "Menu = " + r.menu + "\r\n" + "Item = " + r.item +
         "\r\n" + "Exécutable = " + r.exe + "\r\n" + "Paramètre(s) = " + r.params + "\r\n" +
         "Répertoire de travail = " + r.dir + "\r\n" + "Shift = " + oui(r.shift) + "\r\n" +
         "Ctrl = " + oui(r.ctrl) + "\r\n" + "Alt = " + oui(r.alt) + "\r\n" + "Win = " +
         oui(r.win) + "\r\n" + "Touche = " + r.touche + "\r\n" + "\r\n";
}

std::string Fichier(const std::vector<R>& raccourcis) {
  std::string f;
  for (std::size_t i = 0; i < raccourcis.size(); ++i)
    f += Section(static_cast<int>(i + 1), raccourcis[i]);
  return f;
}

void Banc::Demarre(const std::vector<R>& raccourcis) {
  EcritTout(ini, Fichier(raccourcis));
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
