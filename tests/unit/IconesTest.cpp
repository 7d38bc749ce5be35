// The icons of the left menu's entries: where each comes from, and when it is fetched.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/Banc.h"
#include "toolkit/IconesDeMenu.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using Icones = Banc;

TEST_F(Icones, ChaqueEntreeMontreSaCibleOuSonGenre) {
  Demarre();
  plateforme.attributs["C:\\Rapports\\bilan.pdf"] = plat::kFileAttributeNormal;
  plateforme.absents.insert("C:\\x\\parti.exe");
  plateforme.lecteurs["N:\\"] = 4;  // a network drive
  const struct {
    const char* executable;
    const char* repertoire;
    tk::SourceIcone source;
  } cas[] = {
      {"C:\\x\\prog.exe", "", {"C:\\x\\prog.exe", false}},
      {"\"C:\\x\\prog.exe\" -p", "", {"C:\\x\\prog.exe", false}},
      {"C:\\Rapports\\bilan.pdf", "", {"C:\\Rapports\\bilan.pdf", false}},
      {"C:\\Users\\Moi\\Documents", "", {"C:\\Users\\Moi\\Documents", false}},
      {"prog.exe", "C:\\Travail", {"C:\\Travail\\prog.exe", false}},
      {"https://vivelance.fr", "", {"lien.url", true}},
      // Gone: the icon of a program, by its name.
      {"C:\\x\\parti.exe", "", {"C:\\x\\parti.exe", true}},
      // Never asked while a menu opens: a share or a network drive may take seconds to answer.
      {"\\\\serveur\\outils\\x.exe", "", {"\\\\serveur\\outils\\x.exe", true}},
      {"N:\\outils\\x.exe", "", {"N:\\outils\\x.exe", true}},
  };
  for (const auto& c : cas) {
    plateforme.appels.clear();
    const tk::SourceIcone s = IconeDuRaccourci(plateforme, "C:\\Lanceur", c.executable, c.repertoire);
    EXPECT_EQ(s.chemin, c.source.chemin) << c.executable;
    EXPECT_EQ(s.parGenre, c.source.parGenre) << c.executable;
    for (const std::string& a : Appels("GetFileAttributesW("))
      EXPECT_TRUE(a.find("serveur") == std::string::npos && a.find("N:") == std::string::npos) << a;
  }
}

TEST_F(Icones, RienNEstDemandeAvantQueLeSousMenuNOuvre) {
  Demarre({{"A", "x", "C:\\x\\x.exe"}, {"B", "y", "C:\\y\\y.exe"}});
  EXPECT_THAT(Appels("GetFileAttributesW(C:\\x"), IsEmpty());
  ASSERT_TRUE(Entree(0, 0).icone);
  EXPECT_EQ(Entree(0, 0).icone().chemin, "C:\\x\\x.exe");
  EXPECT_THAT(Appels("GetFileAttributesW(C:\\y"), IsEmpty()) << "the other sub-menu's";
}

// Ten entries, seven sources; each fetch takes 10 ms of a 50 ms budget.
TEST(IconesDeMenu, UneFoisParSourceDansLeBudgetLeResteAuRepos) {
  double maintenant = 0;
  std::vector<std::string> extraites;
  std::vector<tk::Handle> liberees;
  std::vector<std::pair<int, tk::Handle>> montrees;
  {
    tk::IconesDeMenu icones(
        [&](const tk::SourceIcone& s) {
          maintenant += 10;
          extraites.push_back(s.chemin);
          return s.chemin == "vide" ? tk::Handle{0} : tk::Handle(100 + extraites.size());
        },
        [&] { return maintenant; }, [&](tk::Handle h) { liberees.push_back(h); });
    const auto entrees = [&] {
      std::vector<tk::IconesDeMenu::Entree> e;
      const char* const chemins[] = {"a", "b", "a", "c", "d", "vide", "e", "f", "b", "g"};
      for (int i = 0; i < 10; ++i)
        e.push_back({[c = chemins[i]] { return tk::SourceIcone{c, false}; },
                     [&montrees, i](tk::Handle h) { montrees.push_back({i, h}); }});
      return e;
    };
    icones.Ouvre(entrees());
    EXPECT_THAT(extraites, ElementsAre("a", "b", "c", "d", "vide"));
    EXPECT_THAT(montrees, ElementsAre(std::pair{0, tk::Handle{101}}, std::pair{1, tk::Handle{102}},
                                      std::pair{2, tk::Handle{101}}, std::pair{3, tk::Handle{103}},
                                      std::pair{4, tk::Handle{104}}));
    EXPECT_TRUE(icones.EnAttente());
    // An idle moment of 15 ms fetches two more; the menu closes; the last one comes for later.
    icones.Avance(15);
    EXPECT_THAT(extraites, ElementsAre("a", "b", "c", "d", "vide", "e", "f"));
    icones.Ferme();
    const std::size_t montreesAvant = montrees.size();
    icones.Avance(100);
    EXPECT_FALSE(icones.EnAttente());
    EXPECT_EQ(montrees.size(), montreesAvant) << "a closed menu shows nothing";
    // The next opening: everything known, nothing fetched.
    montrees.clear();
    icones.Ouvre(entrees());
    EXPECT_EQ(extraites.size(), 8u);
    EXPECT_EQ(montrees.size(), 9u) << "all but the source without a picture";
  }
  EXPECT_EQ(liberees.size(), 7u) << "every picture given back with the cache";
}

}  // namespace
