#include "toolkit/IconesDeMenu.h"

#include <utility>

namespace tk {

IconesDeMenu::IconesDeMenu(std::function<Handle(const SourceIcone&)> extraire,
                           std::function<double()> horloge, std::function<void(Handle)> liberer,
                           double budget)
    : extraire_(std::move(extraire)),
      horloge_(std::move(horloge)),
      liberer_(std::move(liberer)),
      budget_(budget) {}

IconesDeMenu::~IconesDeMenu() {
  for (const auto& [source, image] : connues_)
    if (image != 0) liberer_(image);
}

void IconesDeMenu::Traite(Entree& e) {
  const SourceIcone source = e.source();
  auto it = connues_.find(source);
  if (it == connues_.end()) it = connues_.emplace(source, extraire_(source)).first;
  if (e.montre && it->second != 0) e.montre(it->second);
}

void IconesDeMenu::Ouvre(std::vector<Entree> entrees) {
  const double fin = horloge_() + budget_;
  for (Entree& e : entrees) {
    if (horloge_() < fin)
      Traite(e);
    else
      attente_.push_back(std::move(e));
  }
}

void IconesDeMenu::Avance(double tranche) {
  const double fin = horloge_() + tranche;
  while (!attente_.empty() && horloge_() < fin) {
    Entree e = std::move(attente_.front());
    attente_.pop_front();
    Traite(e);
  }
}

void IconesDeMenu::Ferme() {
  for (Entree& e : attente_) e.montre = nullptr;
}

}  // namespace tk
