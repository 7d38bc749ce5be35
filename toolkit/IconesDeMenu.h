// The pictures of menu entries that show a file's icon: fetched only when their menu opens,
// each source once, and never more than a budget of time before the menu shows; the rest at
// idle moments, shown from then on.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/Toolkit.h"

namespace tk {

class IconesDeMenu {
 public:
  // `extraire` asks the system (0: no picture); `horloge` tells the time in ms; `liberer`
  // gives back each picture when the cache goes.
  IconesDeMenu(std::function<Handle(const SourceIcone&)> extraire, std::function<double()> horloge,
               std::function<void(Handle)> liberer, double budget = 50);
  ~IconesDeMenu();
  IconesDeMenu(const IconesDeMenu&) = delete;
  IconesDeMenu& operator=(const IconesDeMenu&) = delete;

  // An entry of a menu about to open: where its picture comes from, and how to show it.
  struct Entree {
    std::function<SourceIcone()> source;
    std::function<void(Handle)> montre;
  };
  // Shows what is known or can be fetched within the budget; the others wait their turn.
  void Ouvre(std::vector<Entree> entrees);
  // An idle moment: fetches what waits for at most `tranche` ms.
  void Avance(double tranche);
  bool EnAttente() const { return !attente_.empty(); }
  // The menu has closed: what waits is still fetched, for its next opening, but shown nowhere.
  void Ferme();

 private:
  // Known or fetched now; shown if the entry is still on the screen.
  void Traite(Entree& e);

  std::function<Handle(const SourceIcone&)> extraire_;
  std::function<double()> horloge_;
  std::function<void(Handle)> liberer_;
  double budget_;
  std::map<SourceIcone, Handle> connues_;
  std::deque<Entree> attente_;
};

}  // namespace tk
