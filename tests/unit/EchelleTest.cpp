// The dialogs and the editor at the scales of most screens, over the in-memory backend, whose
// measure of text is proportional to the font: the design's proportions are kept and no label
// runs into its field. How Wine's own font fares at these sizes is for the Windows toolkit's
// tests and the end-to-end tests to see.
#include <cmath>
#include <map>

#include "support/Banc.h"
#include "support/Disposition.h"

namespace {

constexpr int kEchelles[] = {96, 120, 144, 192};

bool Contient(const tk::Rect& dehors, const tk::Rect& dedans) {
  return dedans.left >= dehors.left && dedans.top >= dehors.top &&
         dedans.left + dedans.width <= dehors.left + dehors.width &&
         dedans.top + dedans.height <= dehors.top + dehors.height;
}

class EchelleTest : public Banc {
 protected:
  void SetUp() override { Demarre(); }

  // Each of the laid-out windows at each scale, its controls by where they lie.
  void PourChaque(const std::function<void(tk::Form&, int ppp,
                                           const std::map<const tk::Control*, tk::Rect>&)>& f) {
    for (tk::Form* forme : std::initializer_list<tk::Form*>{info.get(), config.get(), aPropos.get()})
      for (int ppp : kEchelles) {
        SCOPED_TRACE(forme->text() + " at " + std::to_string(ppp) + " dpi");
        backend.ppp = ppp;
        backend.destroy(*forme);
        forme->handle();
        std::map<const tk::Control*, tk::Rect> places;
        for (const tk::Place& p : backend.dispositions.at(forme)) places[p.controle] = p.rect;
        f(*forme, ppp, places);
        EXPECT_EQ(EtiquettesQuiDebordent(backend.dispositions.at(forme)),
                  std::vector<std::string>{});
      }
  }
};

TEST_F(EchelleTest, ChaqueControleEstOuLeDessinLeMetALEchelleDansSonConteneur) {
  PourChaque([](tk::Form& forme, int ppp, const auto& places) {
    const double k = ppp / 96.0;
    const tk::Rect client{0, 0, static_cast<int>(std::lround(forme.clientWidth() * k)),
                          static_cast<int>(std::lround(forme.clientHeight() * k))};
    for (const auto& [c, r] : places) {
      const tk::Rect d = DansLaForme(*c);
      EXPECT_NEAR(r.left, d.left * k, 0.5) << c->name();
      EXPECT_NEAR(r.top, d.top * k, 0.5) << c->name();
      // Labels take their text's size, below.
      if (c->kind() != tk::Kind::Label) {
        EXPECT_NEAR(r.left + r.width, (d.left + d.width) * k, 0.5) << c->name();
        EXPECT_NEAR(r.top + r.height, (d.top + d.height) * k, 0.5) << c->name();
      }
      const tk::Control* parent = c->parent();
      EXPECT_TRUE(Contient(parent == &forme ? client : places.at(parent), r)) << c->name();
    }
  });
}

TEST_F(EchelleTest, LesTextesGrandissentAvecLEchelleSansJamaisLaDepasser) {
  std::map<const tk::Control*, int> a96;
  PourChaque([&](tk::Form&, int ppp, const auto& places) {
    for (const auto& [c, r] : places) {
      if (c->kind() != tk::Kind::Label) continue;
      if (ppp == 96) a96[c] = r.width;
      const double prevu = a96.at(c) * ppp / 96.0;
      EXPECT_LE(r.width, std::ceil(prevu)) << c->text();
      EXPECT_GE(r.width, 0.9 * prevu) << c->text();
    }
  });
}

}  // namespace
