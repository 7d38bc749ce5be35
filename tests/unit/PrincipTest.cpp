#include "app/Vivlan.h"
#include "support/Banc.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::string kSuite =
    " !\r\nCe raccourci n'est donc pas associé à une combinaison de touches. Il est simplement "
    "rajouté au menu...";

}  // namespace

using Demarrage = Banc;

TEST_F(Demarrage, SansFichierLeLanceurEstActifEtVide) {
  Demarre();
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_TRUE(principal->EtatActif);
  EXPECT_EQ(principal->iPmGauche.count(), 0);
  EXPECT_THAT(Appels("RegisterHotKey"), IsEmpty());
  EXPECT_EQ(principal->iTITray.PopupMenuGauche, &principal->iPmGauche);
  EXPECT_EQ(principal->iTITray.PopupMenuDroit, &principal->iPmDroit);
  EXPECT_FALSE(application.showMainForm);
  // The icon is added empty, the taskbar button hidden, then the active icon shown.
  const std::string actif = std::to_string(backend.icon(tk::Picture::IconeActive));
  std::vector<std::string> vus;
  for (const auto& a : plateforme.appels)
    if (a.rfind("Shell_NotifyIconW", 0) == 0 || a.rfind("ShowWindow", 0) == 0) vus.push_back(a);
  EXPECT_THAT(vus, ElementsAre("Shell_NotifyIconW(1,hIcon=0,tip=)", "Shell_NotifyIconW(0,hIcon=0,tip=)",
                               "ShowWindow(7,0)", "Shell_NotifyIconW(1,hIcon=0,tip=)",
                               "Shell_NotifyIconW(1,hIcon=" + actif + ",tip=)"));
  for (const plat::NotifyIconData& d : plateforme.icones) {
    EXPECT_EQ(d.cbSize, sizeof(void*) == 4 ? 152u : 168u);
    EXPECT_EQ(d.hWnd, principal->iTITray.IconData().hWnd);
    EXPECT_EQ(d.uID, 1u);
    EXPECT_EQ(d.uFlags, 7u);
    EXPECT_EQ(d.uCallbackMessage, 0x0800u);
  }
}

TEST_F(Demarrage, LeFichierEstCeluiDuRepertoireDeDepart) {
  Demarre({{"A", "x", "C:\\x.exe", "", "C:\\"}});
  EXPECT_EQ(principal->CheminIni(), ini);
  EXPECT_EQ(principal->DossierLanceur(), dossier.chemin);
  // Wherever the current directory goes (a file dialog moves it while the user browses),
  // the settings file is the one beside the start.
  plateforme.repertoireCourant = "C:\\";
  plateforme.appels.clear();
  principal->ListeRaccourcis->clear();
  principal->LectureIni();
  EXPECT_THAT(Appels("LitFichier"), ElementsAre("LitFichier(" + ini + ")"));
  EXPECT_EQ(principal->ListeRaccourcis->size(), 1u);
}

TEST_F(Demarrage, QuatreFenetresCreeesCacheesDansLeurOrdre) {
  Demarre();
  EXPECT_EQ(application.mainForm(), principal.get());
  EXPECT_THAT(application.forms(), ElementsAre(principal.get(), info.get(), config.get(), aPropos.get()));
  // Only the main window needs its system window from the start (hotkeys, tray menus); the
  // dialogs get theirs when first shown, which keeps start-up short.
  EXPECT_NE(principal->native, 0u);
  EXPECT_EQ(info->native, 0u);
  for (tk::Form* f : application.forms()) EXPECT_FALSE(f->visible()) << f->className();
  EXPECT_EQ(info->className(), "TFrmInfo");
  EXPECT_EQ(aPropos->className(), "TFrmAPropos");
  EXPECT_EQ(aPropos->text(), "A propos de Vivelance");
  EXPECT_EQ(aPropos->clientWidth(), 322);
  EXPECT_EQ(aPropos->clientHeight(), 183);
  EXPECT_EQ(aPropos->iBbtOk.text(), "Ok");
  EXPECT_TRUE(aPropos->iBbtOk.isDefault);
  EXPECT_FALSE(aPropos->iBbtOk.isCancel) << "Escape does not close it";
  EXPECT_TRUE(aPropos->Label1.font.bold);
  EXPECT_EQ(aPropos->Label1.font.height, -19);
  EXPECT_EQ(aPropos->Label3.font.height, -13);
  EXPECT_EQ(aPropos->Label4.font.height, -11);
}

TEST_F(Demarrage, MenuDeCommandes) {
  Demarre();
  const tk::PopupMenu& m = principal->iPmDroit;
  ASSERT_EQ(m.count(), 8);
  // Empty captions are the separators.
  const char* captions[] = {"A&ctiver/Désactiver", "", "&Configuration", "",
                            "&A propos...",        "&Rubriques d'aide", "", "&Quitter"};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(m.item(i).caption, captions[i]) << i;
    EXPECT_EQ(m.item(i).separator, m.item(i).caption.empty()) << i;
  }
  EXPECT_EQ(m.item(2).picture, tk::Picture::MenuConfig);
  EXPECT_EQ(m.item(5).picture, tk::Picture::MenuAide);
  for (int i : {0, 1, 3, 4, 6, 7}) EXPECT_EQ(m.item(i).picture, tk::Picture::None) << i;
  EXPECT_EQ(principal->className(), "TFrmPrincip");
  EXPECT_EQ(principal->text(), "Vivelance 1.0");
  EXPECT_EQ(principal->clientWidth(), 203);
  EXPECT_EQ(principal->clientHeight(), 56);
}

TEST(Programme, UneSecondeInstanceSeSignaleEtSArrete) {
  // Found by the mutex a start takes first, or by a window of the launcher's class and title.
  for (const bool parLeMutex : {true, false}) {
    DossierTemporaire dossier;
    tk::BackendMemoire backend;
    PlateformeEnregistreuse plateforme(dossier.chemin);
    plateforme.mutexPris = parLeMutex;
    plateforme.fenetreTrouvee = !parLeMutex;
    bool boucle = false;
    backend.onRun = [&] { boucle = true; };
    EXPECT_EQ(Vivlan(backend, plateforme, "C:\\Vivelance\\Vivlan.exe"), 0);
    EXPECT_THAT(backend.textes(), ElementsAre("Vivelance est déjà en cours d'exécution !"));
    EXPECT_EQ(backend.messages[0].caption, "Erreur");
    EXPECT_FALSE(boucle);
    EXPECT_EQ(plateforme.appels.front(), "CreateMutexW(Local\\Vivelance)");
    EXPECT_EQ(plateforme.appels.size(), parLeMutex ? 1u : 2u);
    EXPECT_EQ(plateforme.appels.back(),
              parLeMutex ? "CreateMutexW(Local\\Vivelance)" : "FindWindowW(TFrmPrincip,Vivelance 1.0)");
  }
}

TEST(Programme, QuatreFenetresPuisQuitterRetireLIcone) {
  DossierTemporaire dossier;
  tk::BackendMemoire backend;
  PlateformeEnregistreuse plateforme(dossier.chemin);
  EcritTout(dossier.Fichier("Vivlan.ini"),
            FichierIni({Raccourci("A", "x", "x.exe").Ctrl().Alt().Touche("K")}));
  backend.onRun = [&] {
    // Started and active; quit from the command menu.
    ASSERT_EQ(AppelsDe(plateforme, "RegisterHotKey").size(), 1u);
    backend.onPopup = [](tk::PopupMenu& menu, int, int) { return &menu.item(7); };
    for (auto h : backend.fenetresUtilitaires()) backend.envoie(h, 0x0800, 1, 0x0205);
  };
  EXPECT_EQ(Vivlan(backend, plateforme, "C:\\Vivelance\\Vivlan.exe"), 0);
  EXPECT_TRUE(backend.termine);
  EXPECT_EQ(AppelsDe(plateforme, "UnregisterHotKey").size(), 1u);
  ASSERT_FALSE(plateforme.appels.empty());
  EXPECT_EQ(plateforme.appels.back().rfind("Shell_NotifyIconW(2,", 0), 0u) << plateforme.appels.back();
}

using Menus = Banc;

TEST_F(Menus, SousMenusDansLOrdreDeLeurPremiereApparition) {
  Demarre({{"A", "x"}, {"B", "y"}, {"A", "z"}});
  EXPECT_EQ(MenuGauche(), "A[x,z] B[y]");
  struct {
    int sm, e, tag;
  } attendu[] = {{0, 0, 0}, {0, 1, 2}, {1, 0, 1}};
  for (auto a : attendu) {
    const tk::MenuItem& e = Entree(a.sm, a.e);
    EXPECT_EQ(e.tag, a.tag);
    EXPECT_EQ(e.helpContext, a.tag + 1);
  }
  for (int i = 0; i < 2; ++i) {
    const tk::MenuItem& sm = principal->iPmGauche.item(i);
    EXPECT_EQ(sm.tag, 0);
    EXPECT_EQ(sm.helpContext, 0);
    EXPECT_EQ(sm.hint, "");
    EXPECT_FALSE(sm.OnClick);
  }
  // Rebuilding leaves nothing of the previous build.
  principal->ConstructionMenus();
  principal->ConstructionMenus();
  EXPECT_EQ(MenuGauche(), "A[x,z] B[y]");
}

TEST_F(Menus, LesLibellesSontComparesALaLettre) {
  Demarre({{"Jeux", "a"}, {"jeux", "b"}, {"Jeux", "c"}, {"", "d"}, {"", "e"}, {"Jeux", "a"}});
  // The file cannot carry blanks at the ends of a label; an edited list can.
  (*principal->ListeRaccourcis)[2]->Menu = "Jeux ";
  principal->ConstructionMenus();
  EXPECT_EQ(MenuGauche(), "Jeux[a,a] jeux[b] Jeux [c] [d,e]");
  EXPECT_NE(Entree(0, 0).tag, Entree(0, 1).tag);
}

TEST_F(Menus, PlusDe255LibellesOntChacunLeurSousMenu) {
  std::vector<Raccourci> raccourcis;
  for (int i = 0; i < 300; ++i) raccourcis.push_back({"M" + std::to_string(i), "x"});
  Demarre(raccourcis);
  ASSERT_EQ(principal->iPmGauche.count(), 300);
  EXPECT_EQ(principal->iPmGauche.item(299).caption, "M299");
  EXPECT_EQ(principal->iPmGauche.item(299).item(0).tag, 299);
}

TEST_F(Menus, TexteDeLaCombinaison) {
  Enreg r;
  EXPECT_EQ(TexteCombinaison(r), " + ");
  r.Ctrl = r.Shift = true;
  r.Touche = "K";
  EXPECT_EQ(TexteCombinaison(r), "Ctrl + Shift + K");
  r = Enreg{};
  r.Win = r.Alt = true;
  r.Touche = "5";
  EXPECT_EQ(TexteCombinaison(r), "Alt + Win + 5");
  r.Ctrl = r.Shift = true;
  r.Touche = "Q";
  EXPECT_EQ(TexteCombinaison(r), "Ctrl + Alt + Shift + Win + Q");
  r = Enreg{};
  r.Shift = true;
  EXPECT_EQ(TexteCombinaison(r), "Shift + ");
  // Each entry carries its own.
  Demarre({Raccourci("A", "x", "x.exe").Shift().Ctrl().Touche("K")});
  EXPECT_EQ(Entree(0, 0).hint, "Ctrl + Shift + K");
}

TEST_F(Menus, UnClicSurUneEntreeLanceSonRaccourci) {
  Demarre({{"A", "x", "x.exe"}, {"B", "y", "y.exe"}, {"A", "z", "z.exe"}});
  plateforme.curseur = {500, 700};
  backend.onPopup = [&](tk::PopupMenu&, int x, int y) {
    EXPECT_EQ(x, 500);
    EXPECT_EQ(y, 700);
    return &Entree(0, 1);
  };
  plateforme.appels.clear();
  ClicIcone(backend, principal->iTITray, false);
  EXPECT_THAT(Lances(), ElementsAre("CreateProcessW(.\\z.exe,\".\\z.exe\",.,5)"));
  const auto h = std::to_string(principal->handle());
  EXPECT_THAT(Appels("SetForegroundWindow"), ElementsAre("SetForegroundWindow(" + h + ")"));
  EXPECT_THAT(Appels("PostMessageW"), ElementsAre("PostMessageW(" + h + ",0,0,0)"));
  EXPECT_EQ(principal->iPmGauche.popupComponent, &principal->iTITray);
}

using Raccourcis = Banc;

TEST_F(Raccourcis, CombinaisonsEnregistrees) {
  Demarre({Raccourci("A", "k", "k.exe").Ctrl().Alt().Touche("K"),
           Raccourci("A", "minuscule", "m.exe").Alt().Touche("a"),
           Raccourci("A", "tout", "t.exe").Shift().Ctrl().Alt().Win().Touche("9"),
           {"A", "menu seul", "s.exe"}});
  EXPECT_THAT(Messages(), IsEmpty());
  const auto h = std::to_string(principal->handle());
  EXPECT_THAT(Appels("RegisterHotKey"),
              ElementsAre("RegisterHotKey(" + h + ",0,3,75)", "RegisterHotKey(" + h + ",1,1,65)",
                          "RegisterHotKey(" + h + ",2,15,57)"));
  const auto& l = *principal->ListeRaccourcis;
  EXPECT_TRUE(l[0]->Enregistre && l[1]->Enregistre && l[2]->Enregistre);
  EXPECT_FALSE(l[3]->Enregistre);
  EXPECT_EQ(Entree(0, 1).hint, "Alt + a") << "the menu shows the key as written";
}

TEST_F(Raccourcis, UneToucheEstCelleQuiTapeSonCaractere) {
  // The layout's answers: "." on its own key, "é" on the French layout's 2.
  plateforme.clavier = {{u'.', 0xBE}, {u'\u00E9', 0x32}, {u'!', 0x131}};
  struct {
    const char* touche;
    std::optional<unsigned> code;
  } cas[] = {{"k", 'K'}, {"K", 'K'}, {"z", 'Z'}, {"0", '0'}, {"9", '9'}, {".", 0xBE},
             {"é", 0x32}, {"!", 0x31}, {"§", std::nullopt}, {"😀", std::nullopt}, {"", std::nullopt}};
  for (const auto& c : cas) EXPECT_EQ(CodeTouche(plateforme, c.touche), c.code) << c.touche;

  // A character no key types is reported like a refused combination, and not registered.
  Demarre({Raccourci("A", "para", "p.exe").Ctrl().Touche("§")});
  EXPECT_THAT(Messages(), ElementsAre("Impossible d'initialiser le raccourci clavier para !"));
  EXPECT_THAT(Appels("RegisterHotKey"), IsEmpty());
}

TEST_F(Raccourcis, CombinaisonsIncompletesEtRefuseesSontSignaleesDansLOrdre) {
  Demarre({Raccourci("A", "sans modificateur", "a.exe").Touche("B"),
           Raccourci("A", "sans touche", "b.exe").Shift().Win(),
           Raccourci("A", "premier", "c.exe").Ctrl().Touche("P"),
           Raccourci("A", "second", "d.exe").Ctrl().Touche("P")});
  EXPECT_THAT(Messages(),
              ElementsAre("Aucune touche spéciale n'a été définie pour le raccourci clavier sans modificateur" + kSuite,
                          "Aucune touche n'a été définie pour le raccourci clavier sans touche" + kSuite,
                          "Impossible d'initialiser le raccourci clavier second !"));
  EXPECT_TRUE((*principal->ListeRaccourcis)[3]->Enregistre) << "stays set although refused";

  // Deactivation: the refused one cannot be unregistered.
  plateforme.appels.clear();
  principal->iMiActiveDesactiveClick();
  EXPECT_THAT(Messages(), ElementsAre("Impossible de désactiver le raccourci clavier second !"));
  const auto h = std::to_string(principal->handle());
  EXPECT_THAT(Appels("UnregisterHotKey"),
              ElementsAre("UnregisterHotKey(" + h + ",2)", "UnregisterHotKey(" + h + ",3)"));
  EXPECT_FALSE(principal->EtatActif);
  EXPECT_EQ(principal->iTITray.PopupMenuGauche, nullptr);
  EXPECT_EQ(principal->iTITray.Icon(), backend.icon(tk::Picture::IconeInactive));
  EXPECT_EQ(MenuGauche(), "A[sans modificateur,sans touche,premier,second]") << "kept, only detached";

  // Reactivation registers again and repeats the messages.
  principal->iMiActiveDesactiveClick();
  EXPECT_EQ(Messages().size(), 3u);
  EXPECT_TRUE(principal->EtatActif);
  EXPECT_EQ(principal->iTITray.PopupMenuGauche, &principal->iPmGauche);
  EXPECT_EQ(principal->iTITray.Icon(), backend.icon(tk::Picture::IconeActive));
}

TEST_F(Raccourcis, InactifUnClicGaucheNOuvreRien) {
  Demarre({{"A", "x"}});
  principal->iMiActiveDesactiveClick();
  int menus = 0;
  backend.onPopup = [&](tk::PopupMenu& m, int, int) {
    ++menus;
    EXPECT_EQ(&m, &principal->iPmDroit);
    return nullptr;
  };
  plateforme.appels.clear();
  ClicIcone(backend, principal->iTITray, false);
  EXPECT_EQ(menus, 0);
  EXPECT_THAT(Appels("SetForegroundWindow"), IsEmpty());
  ClicIcone(backend, principal->iTITray, true);
  EXPECT_EQ(menus, 1) << "the command menu works in both states";
}

TEST_F(Raccourcis, ListeVideNiEnregistrementNiMessage) {
  Demarre();
  principal->iMiActiveDesactiveClick();
  principal->iMiActiveDesactiveClick();
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_THAT(Appels("RegisterHotKey"), IsEmpty());
  EXPECT_THAT(Appels("UnregisterHotKey"), IsEmpty());
}

TEST_F(Raccourcis, QuitterActifDesenregistreInactifNon) {
  Demarre({Raccourci("A", "x", "x.exe").Ctrl().Touche("X"), {"A", "y", "y.exe"}});
  principal->iMiQuitterClick();
  EXPECT_TRUE(backend.termine);
  EXPECT_EQ(Appels("UnregisterHotKey").size(), 1u);
  EXPECT_EQ(principal->ListeRaccourcis, nullptr);

  TearDown();
  Demarre();
  principal->iMiActiveDesactiveClick();
  plateforme.appels.clear();
  principal->iMiQuitterClick();
  EXPECT_THAT(Appels("UnregisterHotKey"), IsEmpty());
}

using Lancements = Banc;

TEST_F(Lancements, LeProgrammeDemarreDansSonRepertoireOuCeluiDuLanceur) {
  Demarre({{"A", "sans rien", "C:\\Program Files\\x.exe"},
           {"A", "avec", "y.exe", "-a \"b c\"", "C:\\"},
           {"A", "relatif", "y.exe", "", "sous"}});
  plateforme.appels.clear();
  for (std::uint16_t i = 0; i < 3; ++i) principal->TraiteRaccourci(i);
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_THAT(Lances(), ElementsAre("CreateProcessW(C:\\Program Files\\x.exe,\"C:\\Program Files\\x.exe\",.,5)",
                                    "CreateProcessW(C:\\y.exe,\"C:\\y.exe\" -a \"b c\",C:\\,5)",
                                    "CreateProcessW(.\\sous\\y.exe,\".\\sous\\y.exe\",.\\sous,5)"));
  EXPECT_EQ(plateforme.repertoireCourant, dossier.chemin) << "the launcher's own stays";
}

TEST_F(Lancements, RepertoireIntrouvableEtProgrammeQuiNeDemarrePas) {
  Demarre({{"A", "x", "x.exe", "--p", "C:\\Disparu"}, {"A", "y", "y.exe", "--p"}});
  plateforme.absents.insert("C:\\Disparu");
  plateforme.lancementsRefuses["y.exe"] = 2;
  plateforme.appels.clear();
  principal->TraiteRaccourci(0);
  EXPECT_THAT(Messages(), ElementsAre("Impossible de se placer dans le répertoire C:\\Disparu !"));
  EXPECT_THAT(Lances(), ElementsAre("CreateProcessW(.\\x.exe,\".\\x.exe\" --p,.,5)"));
  principal->TraiteRaccourci(1);
  EXPECT_THAT(Messages(), ElementsAre("Impossible de lancer l'application y.exe !"));
}

TEST_F(Lancements, ExecutableParDefautEtLigneSansLimite) {
  EcritTout(ini, "[1]\r\nMenu = A\r\n");
  Demarre();
  principal->TraiteRaccourci(0);
  EXPECT_THAT(Messages(), ElementsAre("Impossible de lancer l'application <Aucun> !"));
  EXPECT_THAT(Lances(), IsEmpty()) << "no file answers to that name";

  const std::string longs(5000, 'p');
  (*principal->ListeRaccourcis)[0]->Executable = "x.exe";
  (*principal->ListeRaccourcis)[0]->Parametres = longs;
  principal->TraiteRaccourci(0);
  EXPECT_THAT(Lances(), ElementsAre("CreateProcessW(.\\x.exe,\".\\x.exe\" " + longs + ",.,5)"));
}

TEST_F(Lancements, MessageDeRaccourciClavier) {
  Demarre();
  backend.envoie(*principal, plat::kWmHotKey, 0, 0);
  EXPECT_THAT(Messages(), ElementsAre("Erreur interne 1 !"));
  TearDown();
  Demarre({{"A", "x", "x.exe"}, {"A", "y", "y.exe"}});
  plateforme.appels.clear();
  backend.envoie(*principal, plat::kWmHotKey, 0x20001, 0x4B0003);  // low 16 bits: 1
  backend.envoie(*principal, plat::kWmHotKey, 2, 0);               // names no record
  backend.envoie(*principal, plat::kWmHotKey, 0xFFFF, 0);
  EXPECT_THAT(Lances(), ElementsAre("CreateProcessW(.\\y.exe,\".\\y.exe\",.,5)"));
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_FALSE(backend.envoie(*principal, 0x0010, 0, 0)) << "other messages are left alone";
}

// A program starts as it is; what the system will not start itself, the shell opens as a
// double click would: a document with its program, a folder, an address, the prompt for a
// program that needs more rights.
TEST_F(Lancements, ChaqueCibleSOuvreCommeParUnDoubleClic) {
  Demarre();
  plateforme.attributs["C:\\Rapports\\bilan.pdf"] = plat::kFileAttributeNormal;
  plateforme.attributs["C:\\x\\inconnu.xyz"] = plat::kFileAttributeNormal;
  for (const char* document : {"bilan.pdf", "inconnu.xyz"})
    plateforme.lancementsRefuses[document] = plat::kErrorBadExeFormat;
  plateforme.lancementsRefuses["admin.exe"] = plateforme.lancementsRefuses["refus.exe"] =
      plat::kErrorElevationRequired;
  plateforme.lancementsRefuses["casse.exe"] = plat::kErrorAccessDenied;
  plateforme.ouverturesRefusees["inconnu.xyz"] = 1155;  // no program for that kind of file
  plateforme.ouverturesRefusees["refus.exe"] = plat::kErrorCancelled;
  const struct {
    const char* executable;
    std::vector<std::string> appels;
    bool message;
  } cas[] = {
      {"C:\\x\\prog.exe", {"CreateProcessW(C:\\x\\prog.exe,\"C:\\x\\prog.exe\" -p,.,5)"}, false},
      {"C:\\Rapports\\bilan.pdf",
       {"CreateProcessW(C:\\Rapports\\bilan.pdf,\"C:\\Rapports\\bilan.pdf\" -p,.,5)",
        "ShellExecuteExW(C:\\Rapports\\bilan.pdf,-p,.,5)"},
       false},
      {"C:\\Users\\Moi\\Documents", {"ShellExecuteExW(C:\\Users\\Moi\\Documents,-p,.,5)"}, false},
      {"https://vivelance.fr/aide", {"ShellExecuteExW(https://vivelance.fr/aide,-p,.,5)"}, false},
      {"C:\\x\\admin.exe",
       {"CreateProcessW(C:\\x\\admin.exe,\"C:\\x\\admin.exe\" -p,.,5)",
        "ShellExecuteExW(C:\\x\\admin.exe,-p,.,5)"},
       false},
      // Declined at the system's prompt: the user's choice.
      {"C:\\x\\refus.exe",
       {"CreateProcessW(C:\\x\\refus.exe,\"C:\\x\\refus.exe\" -p,.,5)",
        "ShellExecuteExW(C:\\x\\refus.exe,-p,.,5)"},
       false},
      {"C:\\x\\casse.exe", {"CreateProcessW(C:\\x\\casse.exe,\"C:\\x\\casse.exe\" -p,.,5)"}, true},
      {"C:\\x\\inconnu.xyz",
       {"CreateProcessW(C:\\x\\inconnu.xyz,\"C:\\x\\inconnu.xyz\" -p,.,5)",
        "ShellExecuteExW(C:\\x\\inconnu.xyz,-p,.,5)"},
       true},
      {"<Aucun>", {}, true},
  };
  for (const auto& c : cas) {
    plateforme.appels.clear();
    Lancement(application, plateforme, dossier.chemin, c.executable, "-p", "");
    std::vector<std::string> appels;
    for (std::string a : plateforme.appels)
      if (a.rfind("CreateProcessW(", 0) == 0 || a.rfind("ShellExecuteExW(", 0) == 0)
        appels.push_back(a.replace(a.find(dossier.chemin), dossier.chemin.size(), "."));
    EXPECT_EQ(appels, c.appels) << c.executable;
    EXPECT_EQ(Messages(), c.message ? std::vector<std::string>{"Impossible de lancer l'application " +
                                                                std::string(c.executable) + " !"}
                                    : std::vector<std::string>{})
        << c.executable;
  }
}

TEST_F(Lancements, UnLancementDansLeMessageDUnAutrePartDeSonPropreRepertoire) {
  Demarre({{"A", "x", "x.exe", "", "C:\\Disparu"}, {"A", "y", "y.exe", "", "C:\\"},
           {"A", "z", "z.exe"}});
  plateforme.absents.insert("C:\\Disparu");
  plateforme.lancementsRefuses["y.exe"] = 2;
  backend.onMessageBox = [&](const tk::MessageBoxSpec& m) {
    // Inside "Impossible de se placer", then inside "Impossible de lancer".
    if (m.text.find("C:\\Disparu") != std::string::npos) principal->TraiteRaccourci(1);
    if (m.text.find("y.exe") != std::string::npos) principal->TraiteRaccourci(2);
    return int(tk::mrOk);
  };
  principal->TraiteRaccourci(0);
  EXPECT_THAT(Lances(), ElementsAre("CreateProcessW(C:\\y.exe,\"C:\\y.exe\",C:\\,5)",
                                    "CreateProcessW(.\\z.exe,\".\\z.exe\",.,5)",
                                    "CreateProcessW(.\\x.exe,\".\\x.exe\",.,5)"));
}

using Commandes = Banc;

TEST_F(Commandes, AideEtAPropos) {
  Demarre();
  // The system's Notepad by its full path, on the read-me of the launcher's folder, even with
  // the current directory elsewhere.
  plateforme.repertoireCourant = "D:\\ailleurs";
  principal->iMiAideClick();
  EXPECT_THAT(Lances(), ElementsAre("CreateProcessW(C:\\Windows\\System32\\notepad.exe,"
                                    "\"C:\\Windows\\System32\\notepad.exe\" \".\\LisezMoi.txt\",.,5)"));
  EXPECT_THAT(Messages(), IsEmpty());
  plateforme.lancementsRefuses["notepad.exe"] = 2;
  principal->iMiAideClick();
  EXPECT_THAT(Messages(), ElementsAre("Impossible de trouver le bloc-notes ou le fichier LisezMoi.txt !"));

  int ouvertures = 0;
  backend.onShowModal = [&](tk::Form& f) {
    ++ouvertures;
    EXPECT_EQ(&f, aPropos.get());
    EXPECT_TRUE(aPropos->Ouvert);
    principal->iMiAProposClick();  // already open: nothing
    aPropos->iBbtOk.click();
  };
  principal->iMiAProposClick();
  EXPECT_EQ(ouvertures, 1);
  EXPECT_FALSE(aPropos->Ouvert);
  principal->iMiAProposClick();
  EXPECT_EQ(ouvertures, 2);
  EXPECT_THAT(backend.modaux, ElementsAre("A propos de Vivelance", "A propos de Vivelance"));
}

TEST_F(Commandes, LEditeurNeSOuvreQuUneFois) {
  Demarre();
  int ouvertures = 0;
  backend.onShowModal = [&](tk::Form& f) {
    ++ouvertures;
    EXPECT_EQ(&f, config.get());
    principal->iMiConfigClick();
    config->iBbtAnnuler.click();
  };
  principal->iMiConfigClick();
  principal->iMiConfigClick();
  EXPECT_EQ(ouvertures, 2);
  EXPECT_THAT(backend.modaux, ElementsAre("Configuration", "Configuration"));
}

using Aide = Banc;

TEST_F(Aide, F1SurUneEntreeMontreSonRaccourci) {
  Demarre({{"A", "x", "x.exe"},
           {"B", "y", "y.exe"},
           Raccourci("A", "z", "z.exe", "-v", "C:\\").Ctrl().Win().Touche("Z")});
  backend.active = principal.get();
  int demandes = 0;
  backend.onShowModal = [&](tk::Form& f) {
    ++demandes;
    ASSERT_EQ(&f, info.get());
    EXPECT_EQ(info->iEdMenu.text(), "A");
    EXPECT_EQ(info->iEdItem.text(), "z");
    EXPECT_EQ(info->iEdExe.text(), "z.exe");
    EXPECT_EQ(info->iEdParam.text(), "-v");
    EXPECT_EQ(info->iEdChemin.text(), "C:\\");
    EXPECT_TRUE(info->iChxCtrl.checked());
    EXPECT_FALSE(info->iChxAlt.checked());
    EXPECT_FALSE(info->iChxShift.checked());
    EXPECT_TRUE(info->iChxWin.checked());
    EXPECT_EQ(info->iEdTouche.text(), "Z");
    // A second request while it is shown is ignored.
    application.menuHelp(&Entree(0, 0));
    info->iBbtActivation.click();
  };
  plateforme.appels.clear();
  application.menuHelp(&Entree(0, 1));
  EXPECT_EQ(demandes, 1);
  EXPECT_THAT(Lances(), ElementsAre("CreateProcessW(C:\\z.exe,\"C:\\z.exe\" -v,C:\\,5)"));

  // "OK" launches nothing; a sub-menu title and the command menu do nothing.
  backend.onShowModal = [&](tk::Form&) { info->iBbtOK.click(); };
  plateforme.appels.clear();
  application.menuHelp(&Entree(1, 0));
  application.menuHelp(&principal->iPmGauche.item(0));
  application.menuHelp(&principal->iPmDroit.item(2));
  application.menuHelp(nullptr);
  EXPECT_THAT(backend.modaux, ElementsAre("Informations", "Informations"));
  EXPECT_THAT(Lances(), IsEmpty());
  bool callHelp = true;
  EXPECT_FALSE(principal->FormHelp(0, 4, callHelp)) << "names no record";
  EXPECT_TRUE(callHelp);
  EXPECT_EQ(backend.modaux.size(), 2u);
}

TEST_F(Aide, DispositionDeLaBoiteInformations) {
  Demarre();
  EXPECT_EQ(info->className(), "TFrmInfo");
  EXPECT_EQ(info->text(), "Informations");
  EXPECT_EQ(info->clientWidth(), 492);
  EXPECT_EQ(info->clientHeight(), 333);
  for (tk::Edit* e : {&info->iEdMenu, &info->iEdItem, &info->iEdExe, &info->iEdParam,
                      &info->iEdChemin, &info->iEdTouche}) {
    EXPECT_TRUE(e->readOnly) << e->name();
    EXPECT_FALSE(e->tabStop) << e->name();
  }
  EXPECT_FALSE(info->GroupBox1.enabled());
  EXPECT_EQ(info->iBbtOK.modalResult, 1);
  EXPECT_TRUE(info->iBbtOK.isDefault);
  EXPECT_EQ(info->iBbtActivation.modalResult, 6);
  EXPECT_FALSE(info->iBbtOK.isCancel || info->iBbtActivation.isCancel) << "Escape does not close it";
  const tk::Rect r = info->iChxWin.bounds();
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 96);
  EXPECT_EQ(r.width, 69);
  EXPECT_EQ(info->iChxWin.parent(), &info->GroupBox1);
  EXPECT_EQ(info->GroupBox1.parent(), &info->GroupBox2);
}
