#include "app/Declars.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/Commande.h"
#include "platform/Encodage.h"
#include "platform/FichierEcriture.h"
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
void CoupeTouche(Enreg& r) { r.Touche.resize(plat::LongueurPremierCaractere(r.Touche)); }

// The file stays Windows-1252, as every file written before, as long as every text fits;
// otherwise it is UTF-16LE with a byte-order mark, the Unicode that the system's own profile
// functions read (and Notepad too).
bool TientEnCp1252(const Enreg& r) {
  for (const CleIni& c : kClesIni)
    if (c.texte && !plat::Cp1252(r.*c.texte)) return false;
  return true;
}

std::string Octets(const std::string& texte, bool unicode) {
  return unicode ? plat::OctetsUtf16LE(texte) : *plat::Cp1252(texte);
}

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

void AjouteEnreg(const std::vector<std::string_view>& valeurs, ListeEnreg& liste) {
  auto r = std::make_unique<Enreg>();
  for (std::size_t k = 0; k < kNombreClesIni; ++k) {
    const CleIni& c = kClesIni[k];
    // The reader has dropped the blanks at the ends; the word is case-sensitive.
    if (c.drapeau)
      (*r).*c.drapeau = valeurs[k] == kOui;
    else
      (*r).*c.texte = valeurs[k];
  }
  CoupeTouche(*r);
  liste.push_back(std::move(r));
}

void ValeursIni(const plat::Profil& profil, const plat::Profil::Reception& section) {
  std::vector<plat::Profil::Cle> cles;
  for (const CleIni& c : kClesIni) cles.push_back({c.nom, c.defaut});
  profil.ValeursNumerotees(cles, kTailleValeurIni, kMaxRaccourcis, section);
}

void LectureIni(const std::optional<std::string>& contenu, ListeEnreg& liste) {
  if (!contenu) return;
  ValeursIni(plat::Profil(*contenu), [&liste](const std::vector<std::string_view>& valeurs) {
    AjouteEnreg(valeurs, liste);
  });
}

void EcritureIni(tk::Application& application, plat::Plateforme& plateforme,
                 const std::string& chemin, const std::vector<std::string>& menus,
                 const ListeEnreg& travail) {
  plat::FichierEcriture fichier(plateforme, chemin);
  unsigned n = 0;
  if (!menus.empty() && !travail.empty()) {
    const bool unicode = std::any_of(travail.begin(), travail.end(), [&](const auto& r) {
      return !TientEnCp1252(*r) && std::find(menus.begin(), menus.end(), r->Menu) != menus.end();
    });
    if (unicode) fichier.Ecrit("\xFF\xFE");
    for (const std::string& menu : menus) {
      bool trouve = false;
      for (const auto& r : travail) {
        if (r->Menu != menu) continue;
        trouve = true;
        fichier.Ecrit(Octets(Section(++n, *r), unicode));
      }
      if (!trouve)
        tk::MessageErreur(application, "Le menu " + menu +
                                           " n'est pas pris en compte car il ne contient aucun item !");
    }
  }
  fichier.Ferme();
}

void Lancement(tk::Application& application, plat::Plateforme& plateforme,
               const std::string& dossierLanceur, const std::string& executable,
               const std::string& parametres, const std::string& repertoire) {
  // Handed to the program, never entered: a launch inside another's message, or inside the
  // file dialog while the user browses, is not moved by them.
  std::string dossier = dossierLanceur;
  if (!repertoire.empty()) {
    const std::string voulu = plat::Joint(dossierLanceur, repertoire);
    const auto attributs = plateforme.GetFileAttributesW(voulu);
    if (attributs && (*attributs & plat::kFileAttributeDirectory) != 0)
      dossier = voulu;
    else
      tk::MessageErreur(application,
                        "Impossible de se placer dans le répertoire " + repertoire + " !");
  }
  const auto estFichier = [&plateforme](const std::string& chemin) {
    const auto attributs = plateforme.GetFileAttributesW(chemin);
    return attributs && (*attributs & plat::kFileAttributeDirectory) == 0;
  };
  const auto commande = plat::ResoutCommande(executable, parametres, dossier,
                                             plat::DossiersDeRecherche(plateforme), estFichier);
  if (!commande ||
      plateforme.CreateProcessW(commande->application, commande->ligne, dossier, plat::kSwShow) != 0)
    tk::MessageErreur(application, "Impossible de lancer l'application " + executable + " !");
}
