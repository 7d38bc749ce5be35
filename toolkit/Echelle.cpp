#include "toolkit/Echelle.h"

#include <algorithm>

namespace tk {

namespace {

std::vector<Control*> DansLOrdre(const Control& parent) {
  std::vector<Control*> enfants = parent.children();
  std::stable_sort(enfants.begin(), enfants.end(),
                   [](const Control* a, const Control* b) { return a->tabOrder < b->tabOrder; });
  return enfants;
}

// Calls `visite` for every control under `parent`, containers before their contents and
// siblings in the keyboard order, with where its parent lies in the form (`x`, `y`, in the
// design's pixels).
void Parcourt(const Control& parent, int x, int y,
              const std::function<void(Control&, int x, int y)>& visite) {
  for (Control* c : DansLOrdre(parent)) {
    visite(*c, x, y);
    Parcourt(*c, x + c->bounds().left, y + c->bounds().top, visite);
  }
}

}  // namespace

std::optional<Taille> TailleDuTexte(const Control& c, int ppp, const MesureTexte& mesure) {
  if (c.bounds().width != 0 || c.bounds().height != 0) return std::nullopt;
  return mesure(PoliceAEchelle(c.font, ppp), c.text());
}

std::vector<Place> Disposition(Form& form, int ppp, const MesureTexte& mesure) {
  std::vector<Place> places;
  Parcourt(form, 0, 0, [&](Control& c, int x, int y) {
    const Rect b = c.bounds();
    Rect r = AEchelle(Rect{x + b.left, y + b.top, b.width, b.height}, ppp);
    if (const auto t = TailleDuTexte(c, ppp, mesure)) {
      r.width = t->largeur;
      r.height = t->hauteur;
    }
    places.push_back({&c, r, kPremierIdentifiant + static_cast<int>(places.size())});
  });
  return places;
}

int Identifiant(const Control& controle) {
  const Control* form = &controle;
  while (form->parent() != nullptr) form = form->parent();
  int suivant = kPremierIdentifiant, identifiant = 0;
  Parcourt(*form, 0, 0, [&](Control& c, int, int) {
    if (&c == &controle) identifiant = suivant;
    ++suivant;
  });
  return identifiant;
}

}  // namespace tk
