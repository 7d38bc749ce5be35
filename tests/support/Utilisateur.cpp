#include "support/Utilisateur.h"

#include <algorithm>
#include <set>

Combinaison CombinaisonDe(plat::Plateforme& plateforme, const Enreg& r) {
  const unsigned masque = (r.Alt ? plat::kModAlt : 0) | (r.Ctrl ? plat::kModControl : 0) |
                          (r.Shift ? plat::kModShift : 0) | (r.Win ? plat::kModWin : 0);
  return {masque, CodeTouche(plateforme, r.Touche).value_or(0)};
}

std::ostream& operator<<(std::ostream& os, const Lance& l) {
  return os << l.ligne << " (in " << l.repertoire << ")";
}

Lancements::Lancements(const PlateformeEnregistreuse& plateforme)
    : plateforme_(plateforme), lus_(plateforme.appels.size()) {}

std::vector<Lance> Lancements::Nouveaux() {
  static const std::string kDemarre = "CreateProcessW(";
  std::vector<Lance> lances;
  for (; lus_ < plateforme_.appels.size(); ++lus_) {
    const std::string& a = plateforme_.appels[lus_];
    if (a.compare(0, kDemarre.size(), kDemarre) != 0) continue;
    // "CreateProcessW(<program>,<command line>,<folder>,<show mode>)": the command line may
    // hold commas, the program, the folder and the mode hold none here.
    const std::size_t programme = a.find(',');
    const std::size_t mode = a.rfind(',');
    const std::size_t dossier = a.rfind(',', mode - 1);
    lances.push_back({a.substr(programme + 1, dossier - programme - 1),
                      a.substr(dossier + 1, mode - dossier - 1)});
  }
  return lances;
}

Utilisateur::Utilisateur() {
  backend.onPopup = [this](tk::PopupMenu&, int, int) { return std::exchange(choix_, nullptr); };
}

void Utilisateur::Menu(tk::MenuItem* entree, bool droit) {
  choix_ = entree;
  ClicIcone(backend, P().iTITray, droit);
  choix_ = nullptr;
}

std::vector<tk::MenuItem*> Utilisateur::EntreesGauches() {
  std::vector<tk::MenuItem*> entrees;
  if (P().iTITray.PopupMenuGauche == nullptr) return entrees;
  for (int i = 0; i < P().iPmGauche.count(); ++i)
    for (int j = 0; j < P().iPmGauche.item(i).count(); ++j)
      entrees.push_back(&P().iPmGauche.item(i).item(j));
  return entrees;
}

void Utilisateur::F1(tk::MenuItem* entree) {
  tk::Form* avant = std::exchange(backend.active, &P());
  application.menuHelp(entree);
  backend.active = avant;
}

int Utilisateur::Identifiant(Combinaison c) {
  const auto it =
      std::find_if(plateforme.raccourcis.begin(), plateforme.raccourcis.end(),
                   [&](const auto& r) { return r.second == c && r.first.first == P().handle(); });
  return it == plateforme.raccourcis.end() ? -1 : it->first.second;
}

Utilisateur::Combinaisons Utilisateur::Inscrits() const {
  Combinaisons vus;
  for (const auto& [cle, combinaison] : plateforme.raccourcis) vus[cle.second] = combinaison;
  return vus;
}

Utilisateur::Combinaisons Utilisateur::Attendus() {
  Combinaisons attendus;
  if (!P().ListeRaccourcis || !P().EtatActif) return attendus;
  std::set<Combinaison> prises;
  for (std::size_t i = 0; i < P().ListeRaccourcis->size(); ++i) {
    const Combinaison c = CombinaisonDe(plateforme, *(*P().ListeRaccourcis)[i]);
    if (c.first != 0 && c.second != 0 && !plateforme.raccourcisRefuses.count(c) &&
        prises.insert(c).second)
      attendus[static_cast<int>(i)] = c;
  }
  return attendus;
}
