#include "app/Declars.h"

#include <algorithm>
#include <functional>
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

using Attributs = std::function<std::optional<unsigned>(const std::string&)>;

bool EstDossier(const Attributs& attributs, const std::string& chemin) {
  const auto a = attributs(chemin);
  return a && (*a & plat::kFileAttributeDirectory) != 0;
}

// The folder a shortcut starts in: its own, or the launcher's when it names none. Nothing when
// its own cannot be entered.
std::optional<std::string> DossierDeTravail(const Attributs& attributs,
                                            const std::string& dossierLanceur,
                                            const std::string& repertoire) {
  if (repertoire.empty()) return dossierLanceur;
  std::string dossier = plat::Joint(dossierLanceur, repertoire);
  if (!EstDossier(attributs, dossier)) return std::nullopt;
  return dossier;
}

// The executable field without the quotes around it.
std::string SansGuillemets(const std::string& nom) {
  return nom.size() > 1 && nom.front() == '"' && nom.back() == '"' ? nom.substr(1, nom.size() - 2)
                                                                   : nom;
}

// What a shortcut opens, in the folder it starts in.
struct Cible {
  std::optional<std::string> shell;      // an address, or a folder, that only the shell opens
  std::optional<plat::Commande> commande;  // a file, started as a program if it is one
};

// An address or a folder goes to the shell before any program of the same name plus ".exe" is
// looked for; never a bare name, which the shell would look for in folders of its choosing.
Cible QuoiOuvrir(plat::Plateforme& plateforme, const Attributs& attributs,
                 const std::string& executable, const std::string& parametres,
                 const std::string& dossier) {
  const std::string nom = SansGuillemets(executable);
  if (plat::EstAdresse(nom)) return {nom, std::nullopt};
  if (!nom.empty() && EstDossier(attributs, plat::Joint(dossier, nom)))
    return {plat::Joint(dossier, nom), std::nullopt};
  const auto estFichier = [&attributs](const std::string& chemin) {
    const auto a = attributs(chemin);
    return a && (*a & plat::kFileAttributeDirectory) == 0;
  };
  return {std::nullopt, plat::ResoutCommande(executable, parametres, dossier,
                                             plat::DossiersDeRecherche(plateforme), estFichier)};
}

}  // namespace

void CoupeTouche(Enreg& r) { r.Touche.resize(plat::LongueurPremierCaractere(r.Touche)); }

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

std::vector<std::string> EcritureIni(plat::Plateforme& plateforme, const std::string& chemin,
                                     const std::vector<std::string>& menus,
                                     const ListeEnreg& travail) {
  plat::FichierEcriture fichier(plateforme, chemin);
  std::vector<std::string> vides;
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
      if (!trouve) vides.push_back(menu);
    }
  }
  fichier.Ferme();
  return vides;
}

void Lancement(tk::Application& application, plat::Plateforme& plateforme,
               const std::string& dossierLanceur, const std::string& executable,
               const std::string& parametres, const std::string& repertoire) {
  // Handed to the program, never entered: a launch inside another's message, or inside the
  // file dialog while the user browses, is not moved by them.
  const Attributs attributs = [&plateforme](const std::string& chemin) {
    return plateforme.GetFileAttributesW(chemin);
  };
  const std::optional<std::string> propre = DossierDeTravail(attributs, dossierLanceur, repertoire);
  if (!propre)
    tk::MessageErreur(application, "Impossible de se placer dans le répertoire " + repertoire + " !");
  const std::string dossier = propre.value_or(dossierLanceur);
  int code = plat::kErrorFileNotFound;
  const Cible cible = QuoiOuvrir(plateforme, attributs, executable, parametres, dossier);
  if (cible.shell) {
    code = plateforme.ShellExecuteExW(*cible.shell, parametres, dossier, plat::kSwShow);
  } else if (const auto& commande = cible.commande) {
    code = plateforme.CreateProcessW(commande->application, commande->ligne, dossier, plat::kSwShow);
    // A document, or a program that asks for more rights: the shell opens it as a double click
    // would, with its associated program or the system's prompt.
    if (code == plat::kErrorBadExeFormat || code == plat::kErrorElevationRequired)
      code = plateforme.ShellExecuteExW(commande->application, commande->arguments, dossier,
                                        plat::kSwShow);
  }
  // Declined at the system's prompt: the user's own choice, nothing to report.
  if (code != 0 && code != plat::kErrorCancelled)
    tk::MessageErreur(application, "Impossible de lancer l'application " + executable + " !");
}

tk::SourceIcone IconeDuRaccourci(plat::Plateforme& plateforme, const std::string& dossierLanceur,
                            const std::string& executable, const std::string& repertoire) {
  // Only a local disk answers at once: a path on a network share that is off, or on a drive
  // waiting for its medium, is never touched while a menu opens.
  const Attributs attributs = [&plateforme](const std::string& chemin) -> std::optional<unsigned> {
    if (!plat::SurDisqueLocal(plateforme, chemin)) return std::nullopt;
    return plateforme.GetFileAttributesW(chemin);
  };
  const std::string dossier =
      DossierDeTravail(attributs, dossierLanceur, repertoire).value_or(dossierLanceur);
  const Cible cible = QuoiOuvrir(plateforme, attributs, executable, "", dossier);
  // An address shows what the shell shows for a link.
  if (cible.shell) return plat::EstAdresse(*cible.shell) ? tk::SourceIcone{"lien.url", true}
                                                         : tk::SourceIcone{*cible.shell, false};
  if (cible.commande) return {cible.commande->application, false};
  // Nothing there, or nothing that may be asked: the icon of its kind, by its name.
  return {plat::Joint(dossier, SansGuillemets(executable)), true};
}
