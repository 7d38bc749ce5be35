// Launching shortcuts on the real program: hotkeys, the left tray menu, F1 and its dialog, the
// failure messages, and the active/inactive switch. Marqueur.exe tells what was started and where.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "Pilote.h"
#include "support/FichierIni.h"

using namespace pilote;

namespace {

// A Marqueur.exe shortcut started by Ctrl + Alt + `touche` (none: menu only).
Raccourci Marque(const std::string& menu, const std::string& item, const std::string& params,
                 const std::string& dir = "", char touche = 0) {
  Raccourci r(menu, item, CheminMarqueur(), params, dir);
  if (touche) r.Ctrl().Alt().Touche(std::string(1, touche));
  return r;
}

// One run of Marqueur.exe: its command line and its current directory.
struct Trace {
  std::string ligne;
  std::string dossier;
  bool operator==(const Trace& autre) const {
    return ligne == autre.ligne && dossier == autre.dossier;
  }
};

std::ostream& operator<<(std::ostream& flux, const Trace& trace) {
  return flux << "{" << trace.ligne << " | in " << trace.dossier << "}";
}

std::vector<Trace> Traces(const Vivelance& v) {
  std::vector<Trace> traces;
  const std::vector<std::string> lignes = v.LignesMarqueur();
  for (size_t i = 0; i + 1 < lignes.size(); i += 2) traces.push_back({lignes[i], lignes[i + 1]});
  return traces;
}

// Waits until Marqueur.exe has run `n` times in all.
bool AttendsTraces(const Vivelance& v, size_t n) {
  return Attends([&] { return Traces(v).size() >= n; });
}

// True once no program holds Ctrl + Alt + `touche`: the test can take it, and gives it back.
bool AttendsCombinaisonLibre(char touche) {
  constexpr int kId = 0xBFFF;
  return Attends([&] {
    if (!RegisterHotKey(nullptr, kId, MOD_CONTROL | MOD_ALT, static_cast<UINT>(touche)))
      return false;
    UnregisterHotKey(nullptr, kId);
    return true;
  });
}

}  // namespace

TEST(Lanceur, UnProgrammeLentADemarrerNeRetientPasLesAutresRaccourcis) {
  Vivelance v(
      FichierIni({Marque("A", "Lent", "--lent", "", 'K'), Marque("A", "Vif", "vif", "", 'L')}));
  ASSERT_TRUE(v.Demarre());

  Combinaison(v, 'K');
  ASSERT_TRUE(AttendsTraces(v, 1));
  // The slow one waits for input only 8 s after its lines: a launcher that waited for it would
  // start the next program that late.
  Combinaison(v, 'L');
  EXPECT_TRUE(Attends([&] { return Traces(v).size() >= 2; }, 5000));
  EXPECT_EQ(Traces(v), (std::vector<Trace>{{LigneMarqueur("--lent"), v.Dossier()},
                                           {LigneMarqueur("vif"), v.Dossier()}}));
}

TEST(Lanceur, UnRaccourciClavierLanceSonProgrammeDansSonRepertoire) {
  Vivelance v;
  const std::string travail = v.Chemin("travail");
  ASSERT_TRUE(CreeDossier(travail));
  v.EcrisFichier("Vivlan.ini",
                 FichierIni({Marque("Outils", "Dans travail", "un  deux", travail, 'K'),
                             Marque("Outils", "Sans répertoire", "", "", 'L')}));
  ASSERT_TRUE(v.Demarre());

  Combinaison(v, 'K');
  ASSERT_TRUE(AttendsTraces(v, 1));
  Combinaison(v, 'L');
  ASSERT_TRUE(AttendsTraces(v, 2));
  // Nothing added to the command line: no trailing blank without parameters.
  EXPECT_EQ(Traces(v), (std::vector<Trace>{{LigneMarqueur("un  deux"), travail},
                                           {LigneMarqueur(""), v.Dossier()}}));
  EXPECT_EQ(FenetreDe(v.Instance().Pid(), "", "Erreur"), nullptr);
}

TEST(Lanceur, LeMenuGaucheRegroupeParLibelleEtLanceLEntreeChoisie) {
  // Sub-menus in order of first appearance: A (x, z), then B (y).
  Vivelance v(FichierIni({Marque("A", "x", "x"), Marque("B", "y", "y"), Marque("A", "z", "z")}));
  ASSERT_TRUE(v.Demarre());

  ASSERT_TRUE(ChoisitDansLeMenu(Bouton::Gauche, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}));
  ASSERT_TRUE(AttendsTraces(v, 1));
  ASSERT_TRUE(ChoisitDansLeMenu(Bouton::Gauche, {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}));
  ASSERT_TRUE(AttendsTraces(v, 2));
  EXPECT_EQ(Traces(v), (std::vector<Trace>{{LigneMarqueur("y"), v.Dossier()},
                                           {LigneMarqueur("z"), v.Dossier()}}));
}

TEST(Lanceur, UnLibelleTiretEstUnSousMenuEtUneEntreeCommeLesAutres) {
  Vivelance v(FichierIni({Marque("-", "-", "tiret")}));
  ASSERT_TRUE(v.Demarre());
  ASSERT_TRUE(ChoisitDansLeMenu(Bouton::Gauche, {VK_DOWN, VK_RIGHT, VK_RETURN}));
  ASSERT_TRUE(AttendsTraces(v, 1));
  EXPECT_EQ(Traces(v)[0], (Trace{LigneMarqueur("tiret"), v.Dossier()}));

  ASSERT_TRUE(ChoisitDansLeMenu(Bouton::Gauche, {VK_DOWN, VK_RIGHT, VK_F1}));
  HWND info = AttendsFenetreDe(v.Instance().Pid(), Modeles().info);
  ASSERT_TRUE(AttendsVisible(info));
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdItem)), "-");
}

TEST(Lanceur, F1SurUneEntreeMontreSesInformationsEtActivationLaLance) {
  Vivelance v;
  const std::string travail = v.Chemin("travail");
  ASSERT_TRUE(CreeDossier(travail));
  Raccourci z = Marque("A", "z", "zz", travail);
  z.Ctrl().Win().Touche("Z");
  v.EcrisFichier("Vivlan.ini",
                 FichierIni({Marque("A", "x", "xx", "", 'X'), Marque("B", "y", "yy", "", 'Y'), z}));
  ASSERT_TRUE(v.Demarre());
  const DWORD pid = v.Instance().Pid();

  // F1 on entry z of sub-menu A: the record at index 2.
  ASSERT_TRUE(ChoisitDansLeMenu(Bouton::Gauche, {VK_DOWN, VK_RIGHT, VK_DOWN, VK_F1}));
  HWND info = AttendsFenetreDe(pid, Modeles().info);
  ASSERT_NE(info, nullptr);
  ASSERT_TRUE(AttendsVisible(info));
  EXPECT_EQ(EtiquettesQuiDebordent(info), std::vector<std::string>{});
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdMenu)), "A");
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdItem)), "z");
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdExe)), CheminMarqueur());
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdParam)), "zz");
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdChemin)), travail);
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdTouche)), "Z");
  const std::pair<const char*, bool> cases[] = {
      {"Ctrl", true}, {"Alt", false}, {"Shift", false}, {"Windows", true}};
  for (const auto& [texte, cochee] : cases) {
    HWND boite = Enfant(info, "Button", std::string(texte));
    ASSERT_NE(boite, nullptr) << texte;
    EXPECT_EQ(Coche(boite), cochee) << texte;
    EXPECT_FALSE(Actif(boite)) << texte;
  }
  EXPECT_TRUE(v.LignesMarqueur().empty());

  HWND activation = Enfant(info, "Button", std::string("Activation"));
  ASSERT_NE(activation, nullptr) << TextesEnfants(info);
  Clique(activation);
  EXPECT_TRUE(AttendsVisible(info, false));
  ASSERT_TRUE(AttendsTraces(v, 1));
  EXPECT_EQ(Traces(v)[0], (Trace{LigneMarqueur("zz"), travail}));

  // The same dialog for entry x, filled afresh; "OK" starts nothing.
  ASSERT_TRUE(ChoisitDansLeMenu(Bouton::Gauche, {VK_DOWN, VK_RIGHT, VK_F1}));
  ASSERT_TRUE(AttendsVisible(info));
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdItem)), "x");
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdParam)), "xx");
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdChemin)), "");
  EXPECT_EQ(Texte(Controle(info, Modeles().info.iEdTouche)), "X");
  EXPECT_TRUE(Coche(Enfant(info, "Button", std::string("Alt"))));
  EXPECT_FALSE(Coche(Enfant(info, "Button", std::string("Windows"))));
  HWND ok = Enfant(info, "Button", std::string("OK"));
  ASSERT_NE(ok, nullptr) << TextesEnfants(info);
  Clique(ok);
  EXPECT_TRUE(AttendsVisible(info, false));

  // A launch by hotkey afterwards: had "OK" started x, its run would come before this one.
  Combinaison(v, 'Y');
  ASSERT_TRUE(AttendsTraces(v, 2));
  EXPECT_EQ(Traces(v), (std::vector<Trace>{{LigneMarqueur("zz"), travail},
                                           {LigneMarqueur("yy"), v.Dossier()}}));
}

TEST(Lanceur, UnRepertoireAbsentEstSignalePuisLeProgrammeDemarreDansCeluiDuLanceur) {
  Vivelance v;
  const std::string absent = v.Chemin("absent");
  v.EcrisFichier("Vivlan.ini", FichierIni({Marque("A", "Perdu", "perdu", absent, 'K'),
                                           Marque("A", "Ici", "ici", "", 'L')}));
  ASSERT_TRUE(v.Demarre());
  const DWORD pid = v.Instance().Pid();

  Combinaison(v, 'K');
  HWND boite = AttendsBoite(pid, "Erreur");
  ASSERT_NE(boite, nullptr);
  const std::string message = "Impossible de se placer dans le répertoire " + absent + " !";
  EXPECT_NE(TextesEnfants(boite).find(message), std::string::npos) << TextesEnfants(boite);
  // The program starts only once the box is closed.
  EXPECT_FALSE(v.LisFichier("Marqueur.txt"));
  ASSERT_TRUE(AuPremierPlan(boite));
  Touche(VK_RETURN);
  EXPECT_TRUE(AttendsVisible(boite, false));
  ASSERT_TRUE(AttendsTraces(v, 1));

  // The launcher is back in its own folder: the next launch without a directory starts there.
  Combinaison(v, 'L');
  ASSERT_TRUE(AttendsTraces(v, 2));
  EXPECT_EQ(Traces(v), (std::vector<Trace>{{LigneMarqueur("perdu"), v.Dossier()},
                                           {LigneMarqueur("ici"), v.Dossier()}}));
  for (HWND fenetre : FenetresDe(pid)) {
    EXPECT_FALSE(Visible(fenetre)) << "a second box: " << Texte(fenetre);
  }
}

TEST(Lanceur, UnProgrammeQuiNePeutDemarrerEstSignaleSansSesParametres) {
  Vivelance v;
  const std::string exe = v.Chemin("Absent.exe");
  const Raccourci absent = Raccourci("A", "Absent", exe, "--parametre-tu").Ctrl().Alt().Touche("K");
  v.EcrisFichier("Vivlan.ini", FichierIni({absent, Marque("A", "Ensuite", "ensuite", "", 'L')}));
  ASSERT_TRUE(v.Demarre());

  Combinaison(v, 'K');
  HWND boite = AttendsBoite(v.Instance().Pid(), "Erreur");
  ASSERT_NE(boite, nullptr);
  const std::string textes = TextesEnfants(boite);
  EXPECT_NE(textes.find("Impossible de lancer l'application " + exe + " !"), std::string::npos)
      << textes;
  EXPECT_EQ(textes.find("--parametre-tu"), std::string::npos) << textes;
  FermeParOk(boite);

  // Still in its own folder, and still launching.
  Combinaison(v, 'L');
  ASSERT_TRUE(AttendsTraces(v, 1));
  EXPECT_EQ(Traces(v), (std::vector<Trace>{{LigneMarqueur("ensuite"), v.Dossier()}}));
}

TEST(Lanceur, DesactiveNiRaccourciNiMenuGauchePuisReactiveLesDeux) {
  Vivelance v(
      FichierIni({Marque("A", "Clavier", "clavier", "", 'K'), Marque("A", "Menu", "menu")}));
  ASSERT_TRUE(v.Demarre());
  const DWORD pid = v.Instance().Pid();

  ASSERT_TRUE(v.Commande('C'));
  ASSERT_TRUE(AttendsCombinaisonLibre('K'));
  // Unregistered, the keys go to the focused window: one of the test's, or the launcher's next
  // menu would read them and close on Alt.
  Combinaison(v, 'K');
  CliqueIcone(Bouton::Gauche);
  // The command menu still opens, and it is the only menu open.
  CliqueIcone(Bouton::Droit);
  HWND menu = AttendsMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(PidDe(menu), pid);
  int menus = 0;
  for (HWND fenetre : FenetresDe(pid)) menus += Visible(fenetre) && Classe(fenetre) == "#32768";
  EXPECT_EQ(menus, 1);
  Touche('C');
  ASSERT_TRUE(AttendsMenuFerme());

  // Active again. The left click first: it is handled only once the switch is over.
  ASSERT_TRUE(ChoisitDansLeMenu(Bouton::Gauche, {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}));
  ASSERT_TRUE(AttendsTraces(v, 1));
  Combinaison(v, 'K');
  ASSERT_TRUE(AttendsTraces(v, 2));
  // The only runs: nothing started while inactive.
  EXPECT_EQ(Traces(v), (std::vector<Trace>{{LigneMarqueur("menu"), v.Dossier()},
                                           {LigneMarqueur("clavier"), v.Dossier()}}));
  for (HWND fenetre : FenetresDe(pid)) {
    EXPECT_FALSE(Visible(fenetre)) << "unexpected window: " << Texte(fenetre);
  }
}

TEST(Lanceur, DeuxRaccourcisDeMemeCombinaisonLeSecondEstSignale) {
  Vivelance v(FichierIni({Marque("A", "Premier", "premier", "", 'K'),
                          Marque("A", "Second", "second", "", 'K')}));
  Processus& instance = v.Lance();
  HWND boite = AttendsBoite(instance.Pid(), "Erreur");
  ASSERT_NE(boite, nullptr);
  EXPECT_NE(TextesEnfants(boite).find("Impossible d'initialiser le raccourci clavier Second !"),
            std::string::npos)
      << TextesEnfants(boite);
  FermeParOk(boite);
  ASSERT_TRUE(v.Demarre());

  // The combination stays with the first.
  Combinaison(v, 'K');
  ASSERT_TRUE(AttendsTraces(v, 1));
  EXPECT_EQ(Traces(v), (std::vector<Trace>{{LigneMarqueur("premier"), v.Dossier()}}));

  // Deactivating cannot give back what the second never held.
  ASSERT_TRUE(v.Commande('C'));
  boite = AttendsBoite(instance.Pid(), "Erreur");
  ASSERT_NE(boite, nullptr);
  const std::string textes = TextesEnfants(boite);
  EXPECT_NE(textes.find("Impossible de désactiver le raccourci clavier Second !"),
            std::string::npos)
      << textes;
  EXPECT_EQ(textes.find("Premier"), std::string::npos) << textes;
  FermeParOk(boite);
}

TEST(Lanceur, UneLigneDeCommandeDePlusieursMilliersDeCaracteresPartEntiere) {
  // A settings value holds at most 2,047 characters: the executable's field carries half of
  // the arguments, the parameters' field the other half.
  std::string moitie1, moitie2;
  for (int i = 0; moitie1.size() < 1900; ++i) moitie1 += "a" + std::to_string(i) + " ";
  for (int i = 0; moitie2.size() < 2000; ++i) moitie2 += "b" + std::to_string(i) + " ";
  moitie1 += "fin1";
  moitie2 += "fin2";
  Raccourci long_ = Marque("A", "Long", moitie2, "", 'K');
  long_.exe = CheminMarqueur() + " " + moitie1;
  Vivelance v(FichierIni({long_}));
  ASSERT_TRUE(v.Demarre());

  Combinaison(v, 'K');
  ASSERT_TRUE(AttendsTraces(v, 1));
  const std::string attendue = LigneMarqueur(moitie1 + " " + moitie2);
  ASSERT_GT(attendue.size(), 3900u);
  ASSERT_EQ(Traces(v).size(), 1u);
  EXPECT_EQ(Traces(v)[0].ligne.size(), attendue.size());
  EXPECT_EQ(Traces(v)[0], (Trace{attendue, v.Dossier()}));
}

TEST(Lanceur, UnCheminAvecUnBlancLanceCeFichierEtJamaisUnProgrammePlanteDevant) {
  Vivelance v;
  const std::string dossier = v.Chemin("Mes Programmes");
  ASSERT_TRUE(CreeDossier(dossier));
  const std::string programme = dossier + "\\Marqueur.exe";
  ASSERT_TRUE(CopieFichier(CheminMarqueur(), programme));
  // What Windows would start for the unquoted path: another copy that writes the same marker.
  ASSERT_TRUE(CopieFichier(CheminMarqueur(), v.Chemin("Mes.exe")));
  Raccourci r("A", "Blanc", programme, "x");
  v.EcrisFichier("Vivlan.ini", FichierIni({r.Ctrl().Alt().Touche("k")}));
  ASSERT_TRUE(v.Demarre());

  // "k" written by hand: the K key, whatever the case.
  Combinaison(v, 'K');
  ASSERT_TRUE(AttendsTraces(v, 1));
  EXPECT_EQ(Traces(v), (std::vector<Trace>{{'"' + programme + "\" x", v.Dossier()}}));
}

TEST(Lanceur, LAideOuvreLeBlocNotesDuSystemeMemeSiUnAutreAttendDansLeDossier) {
  Vivelance v(FichierIni({Marque("A", "x", "")}));
  ASSERT_TRUE(CopieFichier(CheminMarqueur(), v.Chemin("Notepad.exe")));
  v.EcrisFichier("LisezMoi.txt", "Mode d'emploi");
  ASSERT_TRUE(v.Demarre());

  ASSERT_TRUE(v.Commande('R'));  // "&Rubriques d'aide"
  EXPECT_EQ(AttendsBlocNotes("Mode d'emploi"), "Mode d'emploi");
  EXPECT_TRUE(v.LignesMarqueur().empty()) << "the planted Notepad.exe ran";
}

TEST(Lanceur, UnDocumentSOuvreAvecSonProgrammeEtUnDossierDansLExplorateur) {
  Vivelance v;
  const std::string document = v.Chemin("notes.txt");
  v.EcrisFichier("notes.txt", "Liste de courses");
  const std::string dossier = v.Chemin("Rangement");
  ASSERT_TRUE(CreeDossier(dossier));
  v.EcrisFichier("Vivlan.ini", FichierIni({Raccourci("A", "Notes", document).Ctrl().Alt().Touche("K"),
                                          Raccourci("A", "Dossier", dossier).Ctrl().Alt().Touche("L")}));
  ASSERT_TRUE(v.Demarre());

  Combinaison(v, 'K');
  EXPECT_EQ(AttendsBlocNotes("Liste de courses"), "Liste de courses");
  Combinaison(v, 'L');
  EXPECT_TRUE(Attends([&] { return Trouve("", "Rangement") != nullptr; }))
      << "no window titled after the folder";
  EXPECT_EQ(FenetreDe(v.Instance().Pid(), "", "Erreur"), nullptr);
}
