// Any script on the real program, whatever the ANSI code page of the run (CTest runs these again
// under 1251 and 65001): the French of its windows, a program in a folder of another script
// started from each form of the settings file and from what the editor saves, and the launcher
// itself in such a folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Pilote.h"
#include "support/FichierIni.h"
#include "support/Francais.h"
#include "support/PageDeCode.h"

using namespace pilote;

namespace {

// Marqueur.exe copied into "Программы" in the launcher's folder, to run in "日本" beside it: its
// shortcut, started by Ctrl + Alt + K.
Raccourci ProgrammeEnCyrillique(const Vivelance& v) {
  const std::string dossier = v.Chemin("Программы");
  EXPECT_TRUE(CreeDossier(dossier));
  EXPECT_TRUE(CreeDossier(v.Chemin("日本")));
  EXPECT_TRUE(CopieFichier(CheminMarqueur(), dossier + "\\Marqueur.exe"));
  return Raccourci("Программы", "Łódź 📁", dossier + "\\Marqueur.exe", "é Łódź", v.Chemin("日本"))
      .Ctrl().Alt().Touche("K");
}

// What Marqueur.exe writes for `n` runs of `r`: its command line, then its folder, each time.
Lignes Traces(const Raccourci& r, int n = 1) {
  Lignes lignes;
  for (int i = 0; i < n; ++i) lignes.insert(lignes.end(), {'"' + r.exe + "\" " + r.params, r.dir});
  return lignes;
}

std::string Utf8AvecMarque(const std::string& texte) { return "\xEF\xBB\xBF" + texte; }
std::string Utf16AvecMarque(const std::string& texte) {
  return "\xFF\xFE" + plat::OctetsUtf16LE(texte);
}

}  // namespace

TEST(Unicode, LaBoiteAProposLEditeurEtLeMessageDUnSecondDemarrageSontEnFrancais) {
  Vivelance v;
  ASSERT_TRUE(v.Demarre());
  const DWORD pid = v.Instance().Pid();

  ASSERT_TRUE(v.Commande('A'));
  HWND aPropos = AttendsFenetreDe(pid, "TFrmAPropos", kTitreAPropos);
  ASSERT_TRUE(AttendsVisible(aPropos));
  EXPECT_EQ(LignesTriees(TextesEnfants(aPropos)), LignesTriees(kTextesAPropos));
  Clique(Enfant(aPropos, "Button", std::string("Ok")));
  ASSERT_TRUE(AttendsVisible(aPropos, false));

  const Editeur e = OuvreEditeur(v);
  ASSERT_NE(e.fenetre, nullptr);
  EXPECT_EQ(Texte(e.fenetre), kTitreEditeur);
  EXPECT_EQ(LignesTriees(TextesEnfants(e.fenetre)), LignesTriees(kTextesEditeur));
  Clique(e.Bouton("Annuler"));
  ASSERT_TRUE(AttendsVisible(e.fenetre, false));

  Processus& seconde = v.Lance();
  HWND message = AttendsFenetreDe(seconde.Pid(), "", "Erreur");
  ASSERT_TRUE(AttendsVisible(message));
  EXPECT_EQ(LignesTriees(TextesEnfants(message)), LignesTriees(kDejaEnCours + std::string("\nOK")));
  FermeParOk(message);
  EXPECT_TRUE(seconde.AttendsFin());
}

TEST(Unicode, UnProgrammeDUnDossierCyrilliqueSeLanceDepuisChaqueFormeDuFichier) {
  const std::pair<const char*, std::string (*)(const std::string&)> formes[] = {
      {"UTF-8", [](const std::string& texte) { return texte; }},
      {"UTF-8 with a byte-order mark", Utf8AvecMarque},
      {"UTF-16LE with a byte-order mark", Utf16AvecMarque},
  };
  for (const auto& [forme, octets] : formes) {
    SCOPED_TRACE(forme);
    Vivelance v;
    const Raccourci r = ProgrammeEnCyrillique(v);
    v.EcrisFichier("Vivlan.ini", octets(TexteSectionIni(1, r)));
    ASSERT_TRUE(v.Demarre());
    Combinaison(v, 'K');
    EXPECT_TRUE(Devient([&] { return v.LignesMarqueur(); }, Traces(r)));
  }
}

TEST(Unicode, DesChampsTapesDansLEditeurSontEnregistresEnUtf16EtLancentAvantEtApresUnRedemarrage) {
  Vivelance v;
  const Raccourci r = ProgrammeEnCyrillique(v);
  ASSERT_TRUE(v.Demarre());
  const DWORD pid = v.Instance().Pid();

  const Editeur e = OuvreEditeur(v);
  ASSERT_NE(e.fenetre, nullptr);
  Clique(e.MenuPlus());
  Saisis(pid, "Ajout d'un menu", "Libellé du menu", r.menu);
  Clique(e.ItemPlus());
  Saisis(pid, "Ajout d'un item", "Libellé de l'item", r.item);
  EXPECT_TRUE(Devient([&] { return LignesListe(e.Items()); }, Lignes{r.item}));
  EXPECT_EQ(LignesListe(e.Menus()), Lignes{r.menu});
  EcrisTexte(e.Exe(), r.exe);
  EcrisTexte(e.Param(), r.params);
  EcrisTexte(e.Chemin(), r.dir);
  CocheParClic(e.Bouton("Ctrl"));
  CocheParClic(e.Bouton("Alt"));
  EcrisTexte(e.Touche(), "k");
  EXPECT_TRUE(Devient([&] { return Texte(e.Touche()); }, std::string("K")));
  Clique(e.Bouton("OK"));
  ASSERT_TRUE(AttendsVisible(e.fenetre, false));
  // Texts Windows-1252 cannot hold: UTF-16LE with its mark.
  const std::string fichier = v.LisFichier("Vivlan.ini").value_or("");
  EXPECT_EQ(fichier.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(fichier, FichierIni({r}));

  Combinaison(v, 'K');
  EXPECT_TRUE(Devient([&] { return v.LignesMarqueur(); }, Traces(r)));
  // Read back from that file by the next start.
  ASSERT_TRUE(v.Quitte());
  ASSERT_TRUE(v.Redemarre());
  Combinaison(v, 'K');
  EXPECT_TRUE(Devient([&] { return v.LignesMarqueur(); }, Traces(r, 2)));
}

TEST(Unicode, LeLanceurInstalleDansUnDossierDeNomEnPlusieursEcrituresYLitLanceEtEnregistre) {
  Vivelance depot;  // a fresh folder for the launcher's, removed with it
  const std::string dossier = depot.Chemin("Łukasz 📁 Программы");
  ASSERT_TRUE(CreeDossier(dossier));
  ASSERT_TRUE(CopieFichier(CheminVivlan(), dossier + "\\Vivlan.exe"));
  Vivelance v(Vivelance::Installe{dossier});
  const Raccourci avant =
      Raccourci("Outils", "Marqueur", CheminMarqueur(), "avant").Ctrl().Alt().Touche("K");
  v.EcrisFichier("Vivlan.ini", FichierIni({avant}));
  ASSERT_TRUE(v.Demarre());
  // Without a directory of its own, the program starts in the launcher's.
  Combinaison(v, 'K');
  EXPECT_TRUE(
      Devient([&] { return v.LignesMarqueur(); }, Lignes{LigneMarqueur("avant"), dossier}));

  const Editeur e = OuvreEditeur(v);
  ASSERT_NE(e.fenetre, nullptr);
  Raccourci apres = avant;
  apres.params = "après";
  EcrisTexte(e.Param(), apres.params);
  Clique(e.Bouton("OK"));
  ASSERT_TRUE(AttendsVisible(e.fenetre, false));
  EXPECT_EQ(v.LisFichier("Vivlan.ini"), FichierIni({apres}));
  Lignes fichiers = FichiersDe(dossier);
  std::sort(fichiers.begin(), fichiers.end());
  EXPECT_EQ(fichiers, (Lignes{"Marqueur.txt", "Vivlan.exe", "Vivlan.ini"}));
  Combinaison(v, 'K');
  EXPECT_TRUE(Devient([&] { return v.LignesMarqueur(); },
                      Lignes{LigneMarqueur("avant"), dossier, LigneMarqueur("après"), dossier}));
}
