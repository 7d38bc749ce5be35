// Forms are designed at 96 dots per inch and shown at their window's own: every length of the
// design is scaled where the windows are made, the design's numbers stay as they are.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Toolkit.h"

namespace tk {

inline constexpr int kPppConception = 96;

// A length of the design at `ppp`, to the nearest pixel, halves away from zero (as MulDiv).
constexpr int AEchelle(int longueur, int ppp) {
  const long long produit = static_cast<long long>(longueur) * ppp;
  const long long demi = kPppConception / 2;
  return static_cast<int>(produit >= 0 ? (produit + demi) / kPppConception
                                       : -((-produit + demi) / kPppConception));
}

// A rectangle of the design at `ppp`: its edges are scaled, not its size, so that controls
// that touch at 96 dpi still touch and none spills out of its container.
constexpr Rect AEchelle(Rect r, int ppp) {
  const int gauche = AEchelle(r.left, ppp);
  const int haut = AEchelle(r.top, ppp);
  return {gauche, haut, AEchelle(r.left + r.width, ppp) - gauche,
          AEchelle(r.top + r.height, ppp) - haut};
}

// A font's height at `ppp`, never rounded up: a text then grows no faster than the room the
// layout gives it, and a label that fits its place at 96 dpi fits it at every scale.
constexpr int HauteurPolice(int hauteur, int ppp) {
  return static_cast<int>(static_cast<long long>(hauteur) * ppp / kPppConception);
}

inline Font PoliceAEchelle(Font police, int ppp) {
  police.height = HauteurPolice(police.height, ppp);
  return police;
}

struct Taille {
  int largeur = 0;
  int hauteur = 0;
};

// The size of a one-line text in a font, as the backend draws it.
using MesureTexte = std::function<Taille(const Font& police, const std::string& texte)>;

// Where a control lies at some scale, in its form's client area, and its identifier there.
struct Place {
  Control* controle;  // not owned: a member of the form
  Rect rect;
  int identifiant = 0;
};

// The size of a label designed without one, at `ppp`: that of its text in its scaled font.
// Nothing for a control designed with its size.
std::optional<Taille> TailleDuTexte(const Control& c, int ppp, const MesureTexte& mesure);

// Every control of `form` at `ppp`, containers before their contents and siblings in the
// keyboard order. A label designed without a size takes that of its text in its scaled font.
std::vector<Place> Disposition(Form& form, int ppp, const MesureTexte& mesure);

// A control's identifier in its form, the same at every scale and in every process that makes
// the form: its place in the order of Disposition, from kPremierIdentifiant. 0 for the form.
inline constexpr int kPremierIdentifiant = 100;  // below: IDOK and IDCANCEL from the dialog keys
int Identifiant(const Control& controle);

}  // namespace tk
