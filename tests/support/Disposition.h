// What the tests of scales ask of a laid-out form, whichever backend laid it out.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "toolkit/Echelle.h"

// Where a control was designed in its form's client area, at 96 dpi.
inline tk::Rect DansLaForme(const tk::Control& c) {
  tk::Rect r = c.bounds();
  for (const tk::Control* p = c.parent(); p->parent() != nullptr; p = p->parent()) {
    r.left += p->bounds().left;
    r.top += p->bounds().top;
  }
  return r;
}

// A rectangle as GoogleTest compares and prints it.
inline std::array<int, 4> Bords(const tk::Rect& r) { return {r.left, r.top, r.width, r.height}; }

// The end-to-end driver's check, over places: "text: ends at x, control at y", from the label's
// left, for each label whose place reaches into a control that starts to its right on the same
// line. The group boxes and panels that hold the labels do not count.
inline std::vector<std::string> EtiquettesQuiDebordent(const std::vector<tk::Place>& places) {
  std::vector<std::string> debordent;
  for (const tk::Place& e : places) {
    if (e.controle->kind() != tk::Kind::Label) continue;
    const tk::Rect l = e.rect;
    for (const tk::Place& v : places) {
      const tk::Kind genre = v.controle->kind();
      const tk::Rect r = v.rect;
      if (&v == &e || genre == tk::Kind::GroupBox || genre == tk::Kind::Panel) continue;
      if (r.top < l.top + l.height && l.top < r.top + r.height && r.left >= l.left &&
          r.left < l.left + l.width)
        debordent.push_back(e.controle->text() + ": ends at " + std::to_string(l.width) +
                            ", control at " + std::to_string(r.left - l.left));
    }
  }
  return debordent;
}
