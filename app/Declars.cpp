#include "app/Declars.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/Encodage.h"
#include "platform/Profil.h"

const char* const kNomFichierIni = "Vivlan.ini";

namespace {

constexpr char kOui[] = "Oui";
constexpr char kNon[] = "Non";

}  // namespace

const CleIni kClesIni[kNombreClesIni] = {
    {"Menu", "Vivlan", &Enreg::Menu, nullptr},
    {"Item", "Vivlan", &Enreg::Item, nullptr},
    {"Exécutable", "<Aucun>", &Enreg::Executable, nullptr},
    {"Paramètre(s)", "", &Enreg::Parametres, nullptr},
    {"Répertoire de travail", "", &Enreg::Repertoire, nullptr},
    {"Shift", kNon, nullptr, &Enreg::Shift},
    {"Ctrl", kNon, nullptr, &Enreg::Ctrl},
    {"Alt", kNon, nullptr, &Enreg::Alt},
    {"Win", kNon, nullptr, &Enreg::Win},
    {"Touche", "", &Enreg::Touche, nullptr},
};

namespace {

// The reader drops the blanks at the ends of a value and one pair of matching quotes around
// it: a value that would not come back as it is goes between quotes, which the reader removes.
std::string Protege(const std::string& v) {
  auto blanc = [](char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; };
  if (v.empty()) return v;
  const bool guillemets = v.size() > 1 && (v.front() == '"' || v.front() == '\'') &&
                          v.back() == v.front();
  return blanc(v.front()) || blanc(v.back()) || guillemets ? '"' + v + '"' : v;
}

// The key is one character: what follows it is neither read nor written.
void CoupeTouche(Enreg& r) { r.Touche.resize(std::min<std::size_t>(r.Touche.size(), 1)); }

// One section, its lines ending with CR LF; written in one piece.
std::string Section(unsigned n, Enreg r) {
  CoupeTouche(r);
  std::string s = "[" + std::to_string(n) + "]\r\n";
  for (const CleIni& c : kClesIni) {
    const std::string valeur = c.drapeau ? (r.*c.drapeau ? kOui : kNon) : Protege(r.*c.texte);
    s += std::string(c.nom) + " = " + valeur + "\r\n";
  }
  return s + "\r\n";
}

}  // namespace

void AjouteEnregs(std::vector<std::string> valeurs, ListeEnreg& liste) {
  for (std::size_t v = 0; v + kNombreClesIni <= valeurs.size(); v += kNombreClesIni) {
    auto r = std::make_unique<Enreg>();
    for (std::size_t k = 0; k < kNombreClesIni; ++k) {
      const CleIni& c = kClesIni[k];
      std::string& valeur = valeurs[v + k];
      // The reader has dropped the blanks at the ends; the word is case-sensitive.
      if (c.drapeau)
        (*r).*c.drapeau = valeur == kOui;
      else
        (*r).*c.texte = std::move(valeur);
    }
    CoupeTouche(*r);
    liste.push_back(std::move(r));
  }
}

void LectureIni(const std::optional<std::string>& contenu, ListeEnreg& liste) {
  if (!contenu) return;
  const auto cp1252 = plat::Cp1252DepuisUtf8(*contenu);
  const plat::Profil profil(cp1252 ? *cp1252 : *contenu);
  const auto noms = profil.NomsDeSections(kTailleNomsIni);
  // A count of shortcuts is a 16-bit number.
  const unsigned n = static_cast<std::uint16_t>(noms.size());
  // Every key of every section in one walk over the file; the questions name their
  // sections in place, so the names outlive the walk.
  std::vector<std::string> sections;
  sections.reserve(n);
  for (unsigned k = 1; k <= n; ++k) sections.push_back(std::to_string(k));
  std::vector<plat::Profil::Question> questions;
  questions.reserve(std::size_t{n} * kNombreClesIni);
  for (const std::string& section : sections)
    for (const CleIni& c : kClesIni) questions.push_back({section, c.nom, c.defaut, kTailleValeurIni});
  AjouteEnregs(profil.Valeurs(questions), liste);
}

void EcritureIni(tk::Application& application, plat::Plateforme& plateforme,
                 const std::string& chemin, const std::vector<std::string>& menus,
                 const ListeEnreg& travail) {
  auto fichier = plateforme.CreeFichier(chemin);
  unsigned n = 0;
  if (!menus.empty() && !travail.empty()) {
    for (const std::string& menu : menus) {
      bool trouve = false;
      for (const auto& r : travail) {
        if (r->Menu != menu) continue;
        trouve = true;
        fichier->Ecrit(Section(++n, *r));
      }
      if (!trouve)
        tk::MessageErreur(application, "Le menu " + menu +
                                           " n'est pas pris en compte car il ne contient aucun item !");
    }
  }
  fichier->Ferme();
}

void Lancement(tk::Application& application, plat::Plateforme& plateforme,
               const std::string& executable, const std::string& parametres,
               const std::string& repertoire) {
  const std::string memorise = plateforme.GetCurrentDirectoryA();
  if (!repertoire.empty() && plateforme.SetCurrentDirectoryA(repertoire) != 0)
    tk::MessageErreur(application,
                      "Impossible de se placer dans le répertoire " + repertoire + " !");
  // No length limit of our own: the whole command line goes to the system.
  const std::string ligne = parametres.empty() ? executable : executable + " " + parametres;
  const bool lance = plateforme.WinExec(ligne, plat::kSwShow) >= 32;
  // Back before saying so: a launch made while the message is shown starts from here, not
  // from this one's directory.
  const int code = plateforme.SetCurrentDirectoryA(memorise);
  if (!lance)
    tk::MessageErreur(application, "Impossible de lancer l'application " + executable + " !");
  if (code != 0) throw plat::EInOutError(code);
}
