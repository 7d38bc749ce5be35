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

// `x` and `y`: where the parent lies in the form, in the design's pixels.
void Dispose(const Control& parent, int x, int y, int ppp, const MesureTexte& mesure,
           std::vector<Place>& places) {
  for (Control* c : DansLOrdre(parent)) {
    const Rect b = c->bounds();
    Rect r = AEchelle(Rect{x + b.left, y + b.top, b.width, b.height}, ppp);
    if (b.width == 0 && b.height == 0) {
      const Taille t = mesure(PoliceAEchelle(c->font, ppp), c->text());
      r.width = t.largeur;
      r.height = t.hauteur;
    }
    places.push_back({c, r});
    Dispose(*c, x + b.left, y + b.top, ppp, mesure, places);
  }
}

}  // namespace

std::vector<Place> Disposition(Form& form, int ppp, const MesureTexte& mesure) {
  std::vector<Place> places;
  Dispose(form, 0, 0, ppp, mesure, places);
  return places;
}

}  // namespace tk
