#include "platform/Commande.h"

#include <algorithm>

namespace plat {

namespace {

bool Separateur(char c) { return c == '\\' || c == '/'; }
bool Blanc(char c) { return c == ' ' || c == '\t'; }
bool Lecteur(const std::string& s) {
  return s.size() >= 2 && s[1] == ':' &&
         ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}
// "C:\..." or "\\serveur\...".
bool Complet(const std::string& s) {
  return (Lecteur(s) && s.size() >= 3 && Separateur(s[2])) ||
         (s.size() >= 2 && Separateur(s[0]) && Separateur(s[1]));
}

// `exe`: a name without an extension gets ".exe"; without it, such a name names nothing.
std::optional<std::string> Cherche(std::string nom, bool exe, const std::string& repertoire,
                                   const std::vector<std::string>& recherche,
                                   const std::function<bool(const std::string&)>& estFichier) {
  if (nom.empty()) return std::nullopt;
  const std::size_t debutNom = nom.find_last_of("\\/:") + 1;
  if (nom.find('.', debutNom) == std::string::npos) {
    if (!exe) return std::nullopt;
    nom += ".exe";
  }
  std::vector<std::string> candidats;
  if (Complet(nom) || Lecteur(nom)) {
    candidats.push_back(nom);
  } else {
    candidats.push_back(Joint(repertoire, nom));
    if (debutNom == 0)
      for (const std::string& dossier : recherche) candidats.push_back(Joint(dossier, nom));
  }
  for (const std::string& c : candidats)
    if (estFichier(c)) return c;
  return std::nullopt;
}

std::string Guillemets(const std::string& chemin) { return '"' + chemin + '"'; }

}  // namespace

std::string Joint(const std::string& base, const std::string& chemin) {
  if (Complet(chemin) || Lecteur(chemin)) return chemin;
  if (!chemin.empty() && Separateur(chemin[0])) return (Lecteur(base) ? base.substr(0, 2) : "") + chemin;
  if (base.empty() || Separateur(base.back())) return base + chemin;
  return base + "\\" + chemin;
}

std::vector<std::string> DossiersDeRecherche(Plateforme& plateforme) {
  std::vector<std::string> dossiers;
  for (std::string d : {plateforme.GetSystemDirectoryW(), plateforme.GetWindowsDirectoryW()})
    if (!d.empty()) dossiers.push_back(std::move(d));
  const std::string path = plateforme.GetEnvironmentVariableW("PATH");
  std::size_t debut = 0;
  while (debut <= path.size()) {
    std::size_t fin = path.find(';', debut);
    if (fin == std::string::npos) fin = path.size();
    std::string d = path.substr(debut, fin - debut);
    while (!d.empty() && Blanc(d.back())) d.pop_back();
    if (d.size() >= 2 && d.front() == '"' && d.back() == '"') d = d.substr(1, d.size() - 2);
    // A folder relative to whatever is current would make the launch depend on it.
    if (Complet(d)) dossiers.push_back(std::move(d));
    debut = fin + 1;
  }
  return dossiers;
}

std::optional<Commande> ResoutCommande(const std::string& executable, const std::string& parametres,
                                       const std::string& repertoire,
                                       const std::vector<std::string>& recherche,
                                       const std::function<bool(const std::string&)>& estFichier) {
  const auto commande = [&](const std::string& application, std::string arguments) {
    if (!parametres.empty()) arguments += " " + parametres;
    std::string ligne = Guillemets(application) + arguments;
    const std::size_t debut = std::min(arguments.size(), arguments.find_first_not_of(" \t"));
    return Commande{application, std::move(ligne), arguments.substr(debut)};
  };
  const auto cherche = [&](const std::string& nom, bool exe = true) {
    return Cherche(nom, exe, repertoire, recherche, estFichier);
  };
  if (!executable.empty() && executable[0] == '"') {
    const std::size_t fin = executable.find('"', 1);
    const auto application = cherche(executable.substr(1, fin == std::string::npos ? fin : fin - 1));
    if (!application) return std::nullopt;
    return commande(*application, fin == std::string::npos ? "" : executable.substr(fin + 1));
  }
  if (const auto application = cherche(executable)) return commande(*application, "");
  // Only a start that names its file whole, extension included: "C:\Program" + ".exe" would
  // start a planted C:\Program.exe for a program that has gone from C:\Program Files.
  for (std::size_t blanc = executable.size(); blanc-- > 0;) {
    if (!Blanc(executable[blanc])) continue;
    std::size_t fin = blanc;
    while (fin > 0 && Blanc(executable[fin - 1])) --fin;
    if (const auto application = cherche(executable.substr(0, fin), false))
      return commande(*application, executable.substr(fin));
  }
  return std::nullopt;
}

bool SurDisqueLocal(Plateforme& plateforme, const std::string& chemin) {
  if (chemin.size() >= 2 && Separateur(chemin[0]) && Separateur(chemin[1])) return false;
  if (!Lecteur(chemin)) return true;
  const unsigned genre = plateforme.GetDriveTypeW(chemin.substr(0, 2) + "\\");
  return genre == kDriveFixed || genre == kDriveRamdisk;
}

bool EstAdresse(const std::string& texte) {
  const std::size_t deuxPoints = texte.find(':');
  if (deuxPoints == std::string::npos || deuxPoints < 2) return false;
  const auto lettre = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (!lettre(texte[0])) return false;
  for (std::size_t i = 1; i < deuxPoints; ++i) {
    const char c = texte[i];
    if (!lettre(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

}  // namespace plat
