#include "app/Declars.h"

#include <cstdint>
#include <utility>

#include "platform/Encodage.h"
#include "platform/Profil.h"

const char* const kNomFichierIni = "Vivlan.ini";

namespace {

constexpr std::size_t kTailleNoms = 16384;
constexpr std::size_t kTailleValeur = 2048;

// The reader drops the blanks at the ends of a value and one pair of matching quotes around
// it: a value that would not come back as it is goes between quotes, which the reader removes.
std::string Protege(const std::string& v) {
  auto blanc = [](char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; };
  if (v.empty()) return v;
  const bool guillemets = v.size() > 1 && (v.front() == '"' || v.front() == '\'') &&
                          v.back() == v.front();
  return blanc(v.front()) || blanc(v.back()) || guillemets ? '"' + v + '"' : v;
}

// One section, its lines ending with CR LF; written in one piece.
std::string Section(unsigned n, const Enreg& r) {
  auto oui = [](bool b) { return b ? "Oui" : "Non"; };
  std::string s;
  for (const std::string& ligne :
       {"[" + std::to_string(n) + "]", "Menu = " + Protege(r.Menu), "Item = " + Protege(r.Item),
        "Exécutable = " + Protege(r.Executable), "Paramètre(s) = " + Protege(r.Parametres),
        "Répertoire de travail = " + Protege(r.Repertoire), std::string("Shift = ") + oui(r.Shift),
        std::string("Ctrl = ") + oui(r.Ctrl), std::string("Alt = ") + oui(r.Alt),
        std::string("Win = ") + oui(r.Win), "Touche = " + Protege(r.Touche.substr(0, 1)),
        std::string()})
    s += ligne + "\r\n";
  return s;
}

}  // namespace

void LectureIni(const std::string* contenu, ListeEnreg& liste) {
  if (contenu == nullptr) return;
  const auto cp1252 = plat::Cp1252DepuisUtf8(*contenu);
  const plat::Profil profil(cp1252 ? *cp1252 : *contenu);
  const auto noms = profil.NomsDeSections(kTailleNoms);
  // A count of shortcuts is a 16-bit number.
  const unsigned n = static_cast<std::uint16_t>(noms.size());
  enum { kMenu, kItem, kExe, kParam, kRepertoire, kShift, kCtrl, kAlt, kWin, kTouche, kNombre };
  static const char* const kCles[kNombre][2] = {
      {"Menu", "Vivlan"}, {"Item", "Vivlan"}, {"Exécutable", "<Aucun>"}, {"Paramètre(s)", ""},
      {"Répertoire de travail", ""}, {"Shift", "Non"}, {"Ctrl", "Non"}, {"Alt", "Non"},
      {"Win", "Non"}, {"Touche", ""}};
  // Every key of every section in one walk over the file.
  std::vector<std::string> sections;
  sections.reserve(n);
  for (unsigned k = 1; k <= n; ++k) sections.push_back(std::to_string(k));
  std::vector<plat::Profil::Question> questions;
  questions.reserve(std::size_t{n} * kNombre);
  for (const std::string& section : sections)
    for (const auto& [cle, defaut] : kCles) questions.push_back({section, cle, defaut, kTailleValeur});
  std::vector<std::string> valeurs = profil.Valeurs(questions);
  for (unsigned k = 0; k < n; ++k) {
    std::string* v = &valeurs[std::size_t{k} * kNombre];
    // The reader has dropped the blanks at the ends; the word is case-sensitive.
    auto oui = [&](int cle) { return v[cle] == "Oui"; };
    auto r = std::make_unique<Enreg>();
    r->Menu = std::move(v[kMenu]);
    r->Item = std::move(v[kItem]);
    r->Executable = std::move(v[kExe]);
    r->Parametres = std::move(v[kParam]);
    r->Repertoire = std::move(v[kRepertoire]);
    r->Shift = oui(kShift);
    r->Ctrl = oui(kCtrl);
    r->Alt = oui(kAlt);
    r->Win = oui(kWin);
    r->Touche = v[kTouche].substr(0, 1);
    liste.push_back(std::move(r));
  }
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
  if (plateforme.WinExec(ligne, plat::kSwShow) < 32)
    tk::MessageErreur(application, "Impossible de lancer l'application " + executable + " !");
  if (const int code = plateforme.SetCurrentDirectoryA(memorise); code != 0)
    throw plat::EInOutError(code);
}
