#include "app/Declars.h"
#include "support/Banc.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

ListeEnreg Lit(const std::string& contenu) {
  ListeEnreg liste;
  LectureIni(contenu, liste);
  return liste;
}

void AttendDefauts(const Enreg& r) {
  EXPECT_EQ(r.Menu, "Vivlan");
  EXPECT_EQ(r.Item, "Vivlan");
  EXPECT_EQ(r.Executable, "<Aucun>");
  EXPECT_EQ(r.Parametres, "");
  EXPECT_EQ(r.Repertoire, "");
  EXPECT_FALSE(r.Shift || r.Ctrl || r.Alt || r.Win || r.Enregistre);
  EXPECT_EQ(r.Touche, "");
}

}  // namespace

TEST(LectureIni, FichierAbsentOuVide) {
  ListeEnreg liste;
  LectureIni(std::nullopt, liste);
  EXPECT_TRUE(liste.empty());
  EXPECT_TRUE(Lit("").empty());
}

TEST(LectureIni, SectionsLuesParNumeroQuelsQueSoientLesNoms) {
  auto l = Lit("[a]\r\nMenu = X\r\n[b]\r\nMenu = Y\r\n");
  ASSERT_EQ(l.size(), 2u);
  AttendDefauts(*l[0]);
  AttendDefauts(*l[1]);

  l = Lit("[1]\r\nItem = un\r\n[3]\r\nItem = trois\r\n");
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[0]->Item, "un");
  AttendDefauts(*l[1]);

  l = Lit("[2]\r\nItem = deux\r\n[1]\r\nItem = un\r\n");
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[0]->Item, "un");
  EXPECT_EQ(l[1]->Item, "deux");
}

TEST(LectureIni, ValeursEtDrapeaux) {
  const auto l = Lit(
      "[1]\r\nMenu = \r\nItem =   Bloc-notes  \r\nExécutable = C:\\Windows\\notepad.exe\r\n"
      "Paramètre(s) = a b\r\nRépertoire de travail = C:\\\r\nShift = Oui\r\nCtrl = oui\r\n"
      "Alt = OUI\r\nWin = Oui \r\nTouche = AB\r\n"
      "[2]\r\nShift = Non\r\nCtrl = Vrai\r\nTouche = \r\n");
  ASSERT_EQ(l.size(), 2u);
  const Enreg& r = *l[0];
  EXPECT_EQ(r.Menu, "") << "a key present with nothing after = is empty, not the default";
  EXPECT_EQ(r.Item, "Bloc-notes");
  EXPECT_EQ(r.Executable, "C:\\Windows\\notepad.exe");
  EXPECT_EQ(r.Parametres, "a b");
  EXPECT_EQ(r.Repertoire, "C:\\");
  EXPECT_TRUE(r.Shift);
  EXPECT_FALSE(r.Ctrl);
  EXPECT_FALSE(r.Alt);
  EXPECT_TRUE(r.Win);
  EXPECT_EQ(r.Touche, "A");
  EXPECT_FALSE(l[1]->Shift || l[1]->Ctrl);
  EXPECT_EQ(l[1]->Touche, "");
}

TEST(LectureIni, ValeursCoupeesEtSectionsJusquALaDerniereCombinaisonPossible) {
  const auto l = Lit("[1]\r\nParamètre(s) = " + std::string(3000, 'p') + "\r\n");
  ASSERT_EQ(l.size(), 1u);
  EXPECT_EQ(l[0]->Parametres, std::string(2047, 'p'));

  // Every section the editor can write, up to the last hotkey identifier (0xBFFF); no more.
  std::vector<Raccourci> raccourcis;
  for (std::size_t i = 0; i < kMaxRaccourcis + 2; ++i) raccourcis.push_back({"M", "i" + std::to_string(i + 1)});
  const auto grande = Lit(FichierIni(raccourcis));
  ASSERT_EQ(grande.size(), 0xC000u);
  EXPECT_EQ(grande.back()->Item, "i49152");
}

TEST(LectureIni, OctetsQuelconquesNeFontRienTomber) {
  std::string binaire;
  for (int i = 0; i < 20000; ++i) binaire.push_back(static_cast<char>((i * 7919) % 256));
  Lit(binaire);
  const std::string section =
      SectionIni(1, Raccourci("Menu", "Item", "x.exe", "p", "d").Shift().Ctrl().Alt().Win().Touche("K"));
  for (std::size_t n = 0; n <= section.size(); ++n) {
    const auto l = Lit(section.substr(0, n));
    ASSERT_LE(l.size(), 1u);
  }
}

TEST(LectureIni, UnFichierUtf8SansMarqueGardeSesRaccourcis) {
  // As Notepad saves it: read as Unicode, "Ā" (no Windows-1252 byte) included.
  const auto l = Lit(u8"[1]\r\nMenu = Jeux vidéo\r\nItem = Ā€\r\n"
                     u8"Exécutable = C:\\Démineur.exe\r\nParamètre(s) = -è\r\n"
                     u8"Répertoire de travail = C:\\Jeux\r\nCtrl = Oui\r\nTouche = É\r\n");
  ASSERT_EQ(l.size(), 1u);
  EXPECT_EQ(l[0]->Menu, "Jeux vidéo");
  EXPECT_EQ(l[0]->Item, "Ā€");
  EXPECT_EQ(l[0]->Executable, "C:\\Démineur.exe");
  EXPECT_EQ(l[0]->Parametres, "-è");
  EXPECT_EQ(l[0]->Repertoire, "C:\\Jeux");
  EXPECT_TRUE(l[0]->Ctrl);
  EXPECT_EQ(l[0]->Touche, "É");
}

class Ecriture : public ::testing::Test {
 protected:
  DossierTemporaire dossier;
  const std::string ini = dossier.Fichier("Vivlan.ini");
  PlateformeEnregistreuse plateforme{dossier.chemin};

  static ListeEnreg Liste(const std::vector<Raccourci>& raccourcis) {
    ListeEnreg l;
    for (const Raccourci& r : raccourcis) {
      auto e = std::make_unique<Enreg>();
      e->Menu = r.menu;
      e->Item = r.item;
      e->Executable = r.exe;
      e->Parametres = r.params;
      e->Repertoire = r.dir;
      e->Shift = r.shift;
      e->Ctrl = r.ctrl;
      e->Alt = r.alt;
      e->Win = r.win;
      e->Touche = r.touche;
      l.push_back(std::move(e));
    }
    return l;
  }
};

TEST_F(Ecriture, OctetsExactsParMenuDansLOrdreDeLaListe) {
  const auto travail =
      Liste({Raccourci("B", "b1", "b.exe", "-x", "C:\\b").Shift().Alt().Touche("Z"),
             {"A", "a1", "a.exe"},
             Raccourci("B", "b2", "c.exe").Ctrl().Win().Touche("9"),
             {"Perdu", "p", "p.exe"}});
  EXPECT_THAT(EcritureIni(plateforme, ini, {"Vide", "B", "A"}, travail), ElementsAre("Vide"));
  const std::string attendu =
      "[1]\r\nMenu = B\r\nItem = b1\r\nExécutable = b.exe\r\nParamètre(s) = -x\r\n"
      "Répertoire de travail = C:\\b\r\nShift = Oui\r\nCtrl = Non\r\nAlt = Oui\r\nWin = Non\r\n"
      "Touche = Z\r\n\r\n"
      "[2]\r\nMenu = B\r\nItem = b2\r\nExécutable = c.exe\r\nParamètre(s) = \r\n"
      "Répertoire de travail = \r\nShift = Non\r\nCtrl = Oui\r\nAlt = Non\r\nWin = Oui\r\n"
      "Touche = 9\r\n\r\n"
      "[3]\r\nMenu = A\r\nItem = a1\r\nExécutable = a.exe\r\nParamètre(s) = \r\n"
      "Répertoire de travail = \r\nShift = Non\r\nCtrl = Non\r\nAlt = Non\r\nWin = Non\r\n"
      "Touche = \r\n\r\n";
  EXPECT_EQ(LitTout(ini), plat::Cp1252(attendu)) << "Windows-1252 bytes";

  // Read back: the same records in the order of the menus, bar the one left out.
  const auto relu = Lit(LitTout(ini));
  ASSERT_EQ(relu.size(), 3u);
  EXPECT_EQ(relu[0]->Item, "b1");
  EXPECT_EQ(relu[0]->Repertoire, "C:\\b");
  EXPECT_TRUE(relu[0]->Shift && relu[0]->Alt);
  EXPECT_EQ(relu[1]->Touche, "9");
  EXPECT_EQ(relu[2]->Menu, "A");
}

TEST_F(Ecriture, RienAEcrireDonneUnFichierVide) {
  EcritTout(ini, "ancien");
  EcritureIni(plateforme, ini, {}, Liste({{"A", "a"}}));
  EXPECT_EQ(LitTout(ini), "");
  EcritTout(ini, "ancien");
  EXPECT_THAT(EcritureIni(plateforme, ini, {"A", "B"}, {}), IsEmpty()) << "nothing to leave out";
  EXPECT_EQ(LitTout(ini), "");
}

TEST_F(Ecriture, UnEchecGardeLAncienFichierEntier) {
  // At the file's creation, at its first section, at the last step: each stops the writing.
  const struct {
    const char* appel;
    int code;
    int rapporte;
  } cas[] = {{"CreateFileW", 5, 5}, {"WriteFile", 112, 101}, {"ReplaceFileW", 5, 5}};
  for (const auto& c : cas) {
    EcritTout(ini, "ancien contenu");
    plateforme.erreurs[c.appel] = {c.code};
    try {
      EcritureIni(plateforme, ini, {"Vide", "A", "Vide2"}, Liste({{"A", "a"}}));
      ADD_FAILURE() << "no error";
    } catch (const plat::EInOutError& e) {
      EXPECT_EQ(e.code, c.rapporte) << c.appel;
    }
    EXPECT_EQ(LitTout(ini), "ancien contenu");
  }
}

TEST_F(Ecriture, CeQuiEstEcritSeRelitCommeTape) {
  const auto travail =
      Liste({Raccourci(" A", "\"i\"", "'x.exe'", "\"C:\\a b.txt\"", "C:\\ ").Ctrl().Alt().Touche(" "),
             Raccourci("B", "\"", "\"in.txt\" \"out.txt\"", "\t", "\"\"").Touche("'")});
  EcritureIni(plateforme, ini, {" A", "B"}, travail);
  EXPECT_NE(LitTout(ini).find("\r\nParam\xE8tre(s) = \"\"C:\\a b.txt\"\"\r\n"), std::string::npos);
  const auto relu = Lit(LitTout(ini));
  ASSERT_EQ(relu.size(), travail.size());
  for (std::size_t i = 0; i < relu.size(); ++i) {
    EXPECT_EQ(relu[i]->Menu, travail[i]->Menu);
    EXPECT_EQ(relu[i]->Item, travail[i]->Item);
    EXPECT_EQ(relu[i]->Executable, travail[i]->Executable);
    EXPECT_EQ(relu[i]->Parametres, travail[i]->Parametres);
    EXPECT_EQ(relu[i]->Repertoire, travail[i]->Repertoire);
    EXPECT_EQ(relu[i]->Touche, travail[i]->Touche);
  }
}

// A shortcut in any script: written in the form Windows' own tools read as Unicode (UTF-16LE
// with a mark) only when Windows-1252 cannot hold it, and read back the same from every form a
// user's editor may have saved.
TEST_F(Ecriture, UnNomDeToutesLesEcrituresSeRelitDeChaqueForme) {
  const Raccourci r = Raccourci("Программы", "Łódź 📁", "C:\\Программы\\日本.exe", "é Łódź", "D:\\日本")
                          .Ctrl().Touche("Ж");
  EcritureIni(plateforme, ini, {r.menu}, Liste({r}));
  const std::string texte = TexteSectionIni(1, r);
  const std::string ecrit = LitTout(ini);
  EXPECT_EQ(ecrit, "\xFF\xFE" + plat::OctetsUtf16LE(texte));
  for (const std::string& forme : {ecrit, texte, "\xEF\xBB\xBF" + texte}) {
    const auto l = Lit(forme);
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0]->Menu, r.menu);
    EXPECT_EQ(l[0]->Item, r.item);
    EXPECT_EQ(l[0]->Executable, r.exe);
    EXPECT_EQ(l[0]->Parametres, r.params);
    EXPECT_EQ(l[0]->Repertoire, r.dir);
    EXPECT_EQ(l[0]->Touche, r.touche);
  }
  // Back to Windows-1252, byte for byte, once every text fits again.
  EcritureIni(plateforme, ini, {"Jeux"}, Liste({{"Jeux", "Démineur", "C:\\é.exe"}}));
  EXPECT_EQ(LitTout(ini), SectionIni(1, {"Jeux", "Démineur", "C:\\é.exe"}));
}
