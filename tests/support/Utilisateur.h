// A Banc driven as its user drives it, through what the system delivers (tray clicks, menu
// choices, F1 in a menu, hotkeys), and what the system holds of the launcher: its hotkeys and
// the programs it started.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/Banc.h"

// A key combination as the system takes it: modifiers mask, key code.
using Combinaison = std::pair<unsigned, unsigned>;
// The combination of a shortcut on the platform's keyboard; its mask or its key is 0 when it
// has none (a character no key types has none).
Combinaison CombinaisonDe(plat::Plateforme& plateforme, const Enreg& r);

// A program started: its whole command line and the folder it was started in.
struct Lance {
  std::string ligne;
  std::string repertoire;
  bool operator==(const Lance& autre) const {
    return ligne == autre.ligne && repertoire == autre.repertoire;
  }
  bool operator<(const Lance& autre) const {
    return std::tie(ligne, repertoire) < std::tie(autre.ligne, autre.repertoire);
  }
};
std::ostream& operator<<(std::ostream& os, const Lance& l);

// What the recording platform started, read from its calls.
class Lancements {
 public:
  // From the platform's calls to come.
  explicit Lancements(const PlateformeEnregistreuse& plateforme);
  // The programs started since the last call, in order.
  std::vector<Lance> Nouveaux();

 private:
  const PlateformeEnregistreuse& plateforme_;
  std::size_t lus_;
};

class Utilisateur : public Banc {
 protected:
  Utilisateur();

  // The main window, reachable while it is still being created.
  TFrmPrincip& P() { return static_cast<TFrmPrincip&>(*application.mainForm()); }

  // A click on the tray icon; the menu it opens, if any, closes on `entree` (nullptr: no choice).
  void Menu(tk::MenuItem* entree, bool droit);
  // Entry `entree` of the command menu.
  void Commande(int entree) { Menu(&P().iPmDroit.item(entree), true); }
  // The shortcut entries of the left menu, when a left click opens it.
  std::vector<tk::MenuItem*> EntreesGauches();
  // F1 on an entry of an open tray menu, whose opening made the main window the active one.
  void F1(tk::MenuItem* entree);
  // The identifier under which the main window holds `c`, -1 if none: the system sends a
  // pressed combination to the window that registered it, with that identifier.
  int Identifiant(Combinaison c);
  void RaccourciClavier(int id) {
    backend.envoie(P(), plat::kWmHotKey, static_cast<unsigned>(id), 0);
  }

  using Combinaisons = std::map<int, Combinaison>;
  // What the system holds registered, by identifier.
  Combinaisons Inscrits() const;
  // What it should hold: while active, each complete combination of the list, but those the
  // system refuses and those an earlier shortcut holds.
  Combinaisons Attendus();

 private:
  tk::MenuItem* choix_ = nullptr;
};
