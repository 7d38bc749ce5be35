#include "support/Banc.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class Editeur : public Banc {
 protected:
  // Opens the editor from the command menu and runs `session` while it is shown.
  void Edite(const std::function<void()>& session) {
    backend.onShowModal = [this, session](tk::Form& f) {
      ASSERT_EQ(&f, config.get());
      session();
    };
    principal->iMiConfigClick();
  }
  std::vector<std::string> Lignes(const tk::ListBox& l) {
    std::vector<std::string> t;
    for (const auto& r : l.rows()) t.push_back(r.text);
    return t;
  }
  // The items of the working copy, "menu/item", in order.
  std::vector<std::string> Travail() {
    std::vector<std::string> t;
    for (const auto& r : *config->ListeTravail) t.push_back(r->Menu + "/" + r->Item);
    return t;
  }
  void Saisit(const std::string& texte) {
    backend.onInputQuery = [texte](std::string& v) {
      v = texte;
      return true;
    };
  }
  void ChoisitMenu(int i) { config->iLixMenus.clickFromScreen(i); }
  void ChoisitItem(int i) { config->iLixItems.clickFromScreen(i); }
  Enreg& Record(int i) { return *(*config->ListeTravail)[static_cast<std::size_t>(i)]; }
};

}  // namespace

TEST_F(Editeur, FenetreEtControles) {
  Demarre();
  TFrmConfig& c = *config;
  EXPECT_EQ(c.className(), "TFrmConfig");
  EXPECT_EQ(c.text(), "Configuration");
  EXPECT_EQ(c.clientWidth(), 622);
  EXPECT_EQ(c.clientHeight(), 443);
  EXPECT_EQ(c.GroupBox4.text(), " Menu ");
  EXPECT_EQ(c.GroupBox5.text(), " Sous-Menu ");
  EXPECT_EQ(c.GroupBox1.text(), " Fiche ");
  EXPECT_EQ(c.GroupBox6.text(), " Caractéristiques de l'application ");
  EXPECT_EQ(c.GroupBox2.text(), " Activation ");
  EXPECT_EQ(c.GroupBox3.text(), " Touches spéciales ");
  EXPECT_EQ(c.Label4.text(), "Chemin et nom de l'exécutable:");
  EXPECT_EQ(c.Label1.text(), "Paramètres d'exécution:");
  EXPECT_EQ(c.Label5.text(), "Répertoire de travail:");
  EXPECT_EQ(c.Label7.text(), "Touche:");
  EXPECT_EQ(c.iChxWin.text(), "Windows");
  EXPECT_EQ(c.iBbtParcourir.text(), "Parcourir...");
  EXPECT_EQ(c.iBbtActivation.text(), "Test d'exécution");
  EXPECT_EQ(c.iSbtItemPlus.bounds().width, 21);
  EXPECT_EQ(c.iSbtItemMoins.bounds().left, 171);
  EXPECT_EQ(c.iEdTouche.bounds().left, 90);
  EXPECT_EQ(c.iEdTouche.parent(), &c.GroupBox2);
  EXPECT_TRUE(c.iBbtOk.isDefault);
  EXPECT_EQ(c.iBbtOk.modalResult, tk::mrOk);
  EXPECT_TRUE(c.iBbtAnnuler.isCancel);
  EXPECT_EQ(c.iBbtAnnuler.modalResult, tk::mrCancel);
  for (tk::Button* b : {&c.iSbtMenuHaut, &c.iSbtMenuBas, &c.iSbtMenuPlus, &c.iSbtMenuMoins,
                        &c.iSbtItemHaut, &c.iSbtItemBas, &c.iSbtItemPlus, &c.iSbtItemMoins})
    EXPECT_FALSE(b->tabStop) << b->name();
  // Keyboard order in the application group: the three fields, the test, then browse.
  EXPECT_LT(c.iEdChemin.tabOrder, c.iBbtActivation.tabOrder);
  EXPECT_LT(c.iBbtActivation.tabOrder, c.iBbtParcourir.tabOrder);
  EXPECT_LT(c.iEdExe.tabOrder, c.iEdParam.tabOrder);
  EXPECT_EQ(c.iODlgChoix.title, "Sélection d'une application");
  EXPECT_EQ(c.iODlgChoix.filter, "Tous les fichiers (*.*)|*.*");
  EXPECT_TRUE(c.iODlgChoix.hideReadOnly && c.iODlgChoix.noChangeDir);
  EXPECT_FALSE(c.Ouvert);
}

TEST_F(Editeur, OuvertureSurLePremierMenuEtSonPremierItem) {
  Demarre({Raccourci("B", "b1", "b.exe", "-b", "C:\\b").Ctrl().Win().Touche("q"),
           {"A", "a1"},
           {"B", "b2"},
           {"b", "minuscule"}});
  Edite([&] {
    EXPECT_TRUE(config->Ouvert);
    // One row per exact label, so every record can be reached.
    EXPECT_THAT(Lignes(config->iLixMenus), ElementsAre("B", "A", "b"));
    EXPECT_EQ(config->iLixMenus.itemIndex(), 0);
    EXPECT_THAT(Lignes(config->iLixItems), ElementsAre("b1", "b2"));
    EXPECT_EQ(config->iLixItems.itemIndex(), 0);
    EXPECT_EQ(config->EnregMontre(), config->iLixItems.object(0));
    EXPECT_EQ(config->iEdExe.text(), "b.exe");
    EXPECT_EQ(config->iEdParam.text(), "-b");
    EXPECT_EQ(config->iEdChemin.text(), "C:\\b");
    EXPECT_TRUE(config->iChxCtrl.checked() && config->iChxWin.checked());
    EXPECT_FALSE(config->iChxAlt.checked() || config->iChxShift.checked());
    EXPECT_EQ(config->iEdTouche.text(), "Q") << "shown upper-case";
    ChoisitMenu(2);
    EXPECT_THAT(Lignes(config->iLixItems), ElementsAre("minuscule"));
    EXPECT_EQ(Record(0).Touche, "Q") << "stored upper-case once another item is chosen";
    config->iBbtAnnuler.click();
  });
  EXPECT_FALSE(config->Ouvert);
  EXPECT_EQ(config->ListeTravail, nullptr);
  EXPECT_EQ((*principal->ListeRaccourcis)[0]->Touche, "q") << "the main records are not touched";
}

TEST_F(Editeur, ListeVideLesChampsGardentLeurContenu) {
  Demarre();
  Edite([&] {
    EXPECT_EQ(config->iLixMenus.count(), 0);
    EXPECT_EQ(config->iLixItems.itemIndex(), -1);
    config->iEdExe.textFromScreen("tapé");
    config->iBbtAnnuler.click();
  });
  Edite([&] {
    EXPECT_EQ(config->iEdExe.text(), "tapé");
    config->iBbtAnnuler.click();
  });
}

TEST_F(Editeur, LesSaisiesSuiventLeurItemEtAnnulerLesPerd) {
  Demarre({{"A", "a1", "1.exe"}, {"A", "a2", "2.exe"}, {"B", "b1", "3.exe"}});
  Edite([&] {
    config->iEdExe.textFromScreen("nouveau.exe");
    config->iChxAlt.setChecked(true);
    config->iEdTouche.textFromScreen("z");
    ChoisitItem(1);
    EXPECT_EQ(config->iEdExe.text(), "2.exe");
    EXPECT_FALSE(config->iChxAlt.checked());
    EXPECT_EQ(Record(0).Executable, "nouveau.exe");
    EXPECT_TRUE(Record(0).Alt);
    EXPECT_EQ(Record(0).Touche, "Z");
    config->iEdParam.textFromScreen("-p");
    ChoisitMenu(1);
    EXPECT_EQ(Record(1).Parametres, "-p");
    config->iBbtAnnuler.click();
  });
  Edite([&] {
    EXPECT_EQ(config->iEdExe.text(), "1.exe") << "the next opening shows the main window's values";
    config->iBbtAnnuler.click();
  });
  EXPECT_EQ(LitTout(ini),
            FichierIni({{"A", "a1", "1.exe"}, {"A", "a2", "2.exe"}, {"B", "b1", "3.exe"}}));
}

TEST_F(Editeur, DeplacerMenusEtItems) {
  Demarre({{"A", "A1", "1.exe"}, {"B", "B1", "2.exe"}, {"A", "A2", "3.exe"}});
  Edite([&] {
    config->iSbtMenuHautClick();
    EXPECT_THAT(Lignes(config->iLixMenus), ElementsAre("A", "B")) << "the first stays";
    ChoisitItem(1);
    config->iEdParam.textFromScreen("modifié");
    config->iSbtItemBasClick();
    EXPECT_THAT(Travail(), ElementsAre("A/A1", "B/B1", "A/A2")) << "the last stays";
    config->iSbtItemHautClick();
    EXPECT_THAT(Travail(), ElementsAre("A/A2", "B/B1", "A/A1"));
    EXPECT_THAT(Lignes(config->iLixItems), ElementsAre("A2", "A1"));
    EXPECT_EQ(config->iLixItems.itemIndex(), 0);
    EXPECT_EQ(config->iEdParam.text(), "modifié") << "the edit moved with its item";
    EXPECT_EQ(Record(0).Parametres, "modifié");
    EXPECT_EQ(Record(0).Executable, "3.exe");

    config->iSbtMenuBasClick();
    EXPECT_THAT(Lignes(config->iLixMenus), ElementsAre("B", "A"));
    EXPECT_EQ(config->iLixMenus.itemIndex(), 1);
    EXPECT_THAT(Lignes(config->iLixItems), ElementsAre("A2", "A1")) << "items untouched";
    config->iBbtOk.click();
  });
  // Sections follow the menu list, then the working order.
  EXPECT_EQ(LitTout(ini), FichierIni({{"B", "B1", "2.exe"},
                                      {"A", "A2", "3.exe", "modifié"},
                                      {"A", "A1", "1.exe"}}));
  EXPECT_EQ(MenuGauche(), "B[B1] A[A2,A1]");
  EXPECT_EQ(Entree(1, 0).tag, 1);
}

TEST_F(Editeur, AjouterEtRetirerDesMenus) {
  Demarre({{"Jeux", "j"}});
  Edite([&] {
    Saisit("JEUX");
    config->iSbtMenuPlusClick();
    ASSERT_EQ(backend.saisies.size(), 1u);
    EXPECT_EQ(backend.saisies[0].caption, "Ajout d'un menu");
    EXPECT_EQ(backend.saisies[0].prompt, "Libellé du menu");
    EXPECT_EQ(backend.saisies[0].value, "");
    EXPECT_THAT(Messages(), ElementsAre("Menu déjà utilisé !"));

    config->iEdExe.textFromScreen("gardé.exe");
    Saisit("Outils");
    config->iSbtMenuPlusClick();
    EXPECT_THAT(Lignes(config->iLixMenus), ElementsAre("Jeux", "Outils"));
    EXPECT_EQ(config->iLixMenus.itemIndex(), 1);
    EXPECT_EQ(config->iLixItems.count(), 0);
    EXPECT_EQ(config->iEdExe.text(), "");
    EXPECT_EQ(Record(0).Executable, "gardé.exe");

    // A menu with items cannot go; an empty one asks first.
    ChoisitMenu(0);
    config->iSbtMenuMoinsClick();
    EXPECT_THAT(Messages(), ElementsAre("Impossible d'effacer un menu qui contient des items !"));
    ChoisitMenu(1);
    backend.onMessageBox = [](const tk::MessageBoxSpec&) { return int(tk::mrNo); };
    config->iSbtMenuMoinsClick();
    EXPECT_THAT(Messages(), ElementsAre("Etes-vous sûr(e) de vouloir effacer le menu 'Outils' ?"));
    EXPECT_EQ(config->iLixMenus.count(), 2);
    // Closed from its title bar: removed, as with "&Oui".
    backend.onMessageBox = [](const tk::MessageBoxSpec&) { return int(tk::mrCancel); };
    config->iSbtMenuMoinsClick();
    EXPECT_THAT(Lignes(config->iLixMenus), ElementsAre("Jeux"));
    EXPECT_EQ(config->iLixMenus.itemIndex(), 0);
    EXPECT_THAT(Lignes(config->iLixItems), ElementsAre("j"));
    EXPECT_EQ(config->iEdExe.text(), "gardé.exe");
    config->iBbtAnnuler.click();
  });
}

TEST_F(Editeur, AjouterRetirerEtRenommerDesItems) {
  Demarre({{"A", "a1", "1.exe"}, {"B", "b1", "2.exe"}});
  Edite([&] {
    Saisit("A1");
    config->iSbtItemPlusClick();
    EXPECT_EQ(backend.saisies.back().caption, "Ajout d'un item");
    EXPECT_EQ(backend.saisies.back().prompt, "Libellé de l'item");
    EXPECT_THAT(Messages(), ElementsAre("Item déjà utilisé !"));
    Saisit("b1");
    config->iSbtItemPlusClick();
    EXPECT_THAT(Messages(), IsEmpty()) << "the same label in another menu is fine";
    EXPECT_THAT(Travail(), ElementsAre("A/a1", "B/b1", "A/b1"));
    EXPECT_EQ(config->iLixItems.itemIndex(), 1);
    EXPECT_EQ(config->iEdExe.text(), "");
    const Enreg& nouveau = Record(2);
    EXPECT_EQ(nouveau.Executable, "");
    EXPECT_FALSE(nouveau.Shift || nouveau.Ctrl || nouveau.Alt || nouveau.Win);
    EXPECT_EQ(nouveau.Touche, "");

    // Renaming: no duplicate test for items.
    ChoisitItem(1);
    Saisit("a1");
    config->iLixItems.doubleClickFromScreen(1);
    EXPECT_EQ(backend.saisies.back().caption, "Modification du libellé d'un item");
    EXPECT_EQ(backend.saisies.back().value, "b1");
    EXPECT_THAT(Lignes(config->iLixItems), ElementsAre("a1", "a1"));
    EXPECT_EQ(Record(2).Item, "a1");

    // Removing: asks, then shows the first item.
    config->iSbtItemMoinsClick();
    EXPECT_THAT(Messages(), ElementsAre("Etes-vous sûr(e) de vouloir effacer l'item 'a1' ?"));
    EXPECT_THAT(Travail(), ElementsAre("A/a1", "B/b1"));
    EXPECT_EQ(config->iLixItems.itemIndex(), 0);
    EXPECT_EQ(config->iEdExe.text(), "1.exe");
    config->iSbtItemMoinsClick();
    EXPECT_EQ(config->iLixItems.count(), 0);
    EXPECT_EQ(config->iEdExe.text(), "");
    EXPECT_EQ(config->iLixMenus.count(), 2) << "the menu row stays";
    config->iSbtMenuMoinsClick();
    EXPECT_THAT(Lignes(config->iLixMenus), ElementsAre("B"));
    config->iBbtAnnuler.click();
  });
}

TEST_F(Editeur, AjoutDItemSansMenu) {
  Demarre();
  Edite([&] {
    Saisit("x");
    config->iSbtItemPlusClick();
    EXPECT_EQ(config->iLixItems.count(), 0);
    EXPECT_THAT(Travail(), IsEmpty());
    config->iBbtAnnuler.click();
  });
}

TEST_F(Editeur, RenommerUnMenu) {
  Demarre({{"A", "a1"}, {"B", "b1"}, {"A", "a2"}});
  Edite([&] {
    Saisit("A");
    config->iLixMenusDblClick();
    EXPECT_EQ(backend.saisies.back().caption, "Modification du libellé d'un menu");
    EXPECT_EQ(backend.saisies.back().prompt, "Libellé du menu");
    EXPECT_EQ(backend.saisies.back().value, "A");
    EXPECT_THAT(Messages(), IsEmpty()) << "its own label changes nothing";
    for (const char* pris : {"B", "b"}) {
      Saisit(pris);
      config->iLixMenusDblClick();
      EXPECT_THAT(Messages(), ElementsAre("Menu déjà utilisé !")) << pris;
    }
    Saisit("Nouveau");
    config->iLixMenusDblClick();
    EXPECT_THAT(Lignes(config->iLixMenus), ElementsAre("Nouveau", "B"));
    EXPECT_THAT(Travail(), ElementsAre("Nouveau/a1", "B/b1", "Nouveau/a2"));
    EXPECT_THAT(Lignes(config->iLixItems), ElementsAre("a1", "a2"));
    backend.onInputQuery = nullptr;
    config->iLixMenusDblClick();
    EXPECT_THAT(Lignes(config->iLixMenus), ElementsAre("Nouveau", "B")) << "cancelled";
    config->iBbtOk.click();
  });
  EXPECT_EQ(MenuGauche(), "Nouveau[a1,a2] B[b1]");
}

TEST_F(Editeur, RenommerUnMenuEnSonPropreLibelleMalgreUnAutreEnCapitales) {
  Demarre({{"Outils", "o1"}, {"OUTILS", "O1"}});
  Edite([&] {
    for (int ligne : {0, 1}) {
      ChoisitMenu(ligne);
      Saisit(Lignes(config->iLixMenus)[static_cast<std::size_t>(ligne)]);
      config->iLixMenusDblClick();
      EXPECT_THAT(Messages(), IsEmpty()) << ligne;
    }
    EXPECT_THAT(Lignes(config->iLixMenus), ElementsAre("Outils", "OUTILS"));
    config->iBbtOk.click();
  });
  EXPECT_EQ(MenuGauche(), "Outils[o1] OUTILS[O1]");
}

TEST_F(Editeur, OkEcritRechargeEtEnregistreLesRaccourcis) {
  Demarre({Raccourci("A", "a1", "1.exe").Ctrl().Touche("K")});
  Edite([&] {
    Saisit("Vide 1");
    config->iSbtMenuPlusClick();
    Saisit("Vide 2");
    config->iSbtMenuPlusClick();
    ChoisitMenu(0);
    Saisit("a2");
    config->iSbtItemPlusClick();
    config->iEdExe.textFromScreen("2.exe");
    config->iChxAlt.setChecked(true);
    config->iEdTouche.textFromScreen("j");
    plateforme.appels.clear();
    config->iBbtOk.click();  // the fields of the shown item are saved too
  });
  EXPECT_THAT(Messages(),
              ElementsAre("Le menu Vide 1 n'est pas pris en compte car il ne contient aucun item !",
                          "Le menu Vide 2 n'est pas pris en compte car il ne contient aucun item !"));
  EXPECT_EQ(LitTout(ini), FichierIni({Raccourci("A", "a1", "1.exe").Ctrl().Touche("K"),
                                      Raccourci("A", "a2", "2.exe").Alt().Touche("J")}));
  const auto h = std::to_string(principal->handle());
  EXPECT_THAT(Appels("RegisterHotKey"),
              ElementsAre("RegisterHotKey(" + h + ",0,2,75)", "RegisterHotKey(" + h + ",1,1,74)"));
  EXPECT_THAT(Appels("UnregisterHotKey"), ElementsAre("UnregisterHotKey(" + h + ",0)"));
  EXPECT_EQ(MenuGauche(), "A[a1,a2]");
  EXPECT_FALSE(config->Ouvert);
  Edite([&] {
    EXPECT_THAT(Lignes(config->iLixMenus), ElementsAre("A")) << "the empty menus are gone";
    config->iBbtAnnuler.click();
  });
}

TEST_F(Editeur, OkInactifNEnregistreRienEtToutVideDonneUnFichierVide) {
  Demarre({Raccourci("A", "a1", "1.exe").Ctrl().Touche("K")});
  principal->iMiActiveDesactiveClick();
  plateforme.appels.clear();
  Edite([&] {
    config->iSbtItemMoinsClick();
    config->iBbtOk.click();
  });
  EXPECT_EQ(LitTout(ini), "");
  EXPECT_THAT(Appels("RegisterHotKey"), IsEmpty());
  EXPECT_THAT(Appels("UnregisterHotKey"), IsEmpty());
  EXPECT_EQ(principal->ListeRaccourcis->size(), 0u);
  EXPECT_EQ(principal->iPmGauche.count(), 0);
}

TEST_F(Editeur, UnEnregistrementRateLaisseLEditeurOuvertAvecCeQuiEstTape) {
  Demarre({Raccourci("A", "a1", "1.exe").Ctrl().Touche("K")});
  const std::string avant = LitTout(ini);
  plateforme.erreurs["WriteFile"] = {5};
  plateforme.appels.clear();
  Edite([&] {
    Saisit("Vide");
    config->iSbtMenuPlusClick();
    ChoisitMenu(0);
    config->iEdExe.textFromScreen("autre.exe");
    config->iBbtOk.click();
    // The failure alone: an empty menu is reported only by a save that is done.
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].caption, "Vivlan");
    EXPECT_EQ(backend.messages[0].text, "Accès au fichier refusé.");
    EXPECT_EQ(LitTout(ini), avant);
    EXPECT_THAT(Appels("UnregisterHotKey"), IsEmpty()) << "no reload";
    EXPECT_EQ((*principal->ListeRaccourcis)[0]->Executable, "1.exe");
    // Still open, every edit kept: "OK" again once the file can be written.
    EXPECT_EQ(config->modalResult, tk::mrNone);
    EXPECT_TRUE(config->Ouvert);
    EXPECT_EQ(config->iEdExe.text(), "autre.exe");
    config->iBbtOk.click();
  });
  EXPECT_EQ(LitTout(ini), FichierIni({Raccourci("A", "a1", "autre.exe").Ctrl().Touche("K")}));
  EXPECT_EQ(backend.textes().back(),
            "Le menu Vide n'est pas pris en compte car il ne contient aucun item !");
  EXPECT_EQ((*principal->ListeRaccourcis)[0]->Executable, "autre.exe");
  EXPECT_FALSE(config->Ouvert);
  EXPECT_EQ(config->ListeTravail, nullptr);
}

TEST_F(Editeur, EssaiDExecution) {
  Demarre({{"A", "a1", "1.exe"}});
  plateforme.absents.insert("C:\\Absent");
  Edite([&] {
    config->iEdExe.textFromScreen("");
    config->iBbtActivation.click();
    EXPECT_THAT(Messages(), ElementsAre("Impossible de lancer l'application  !"));
    EXPECT_THAT(Appels("CreateProcessW"), IsEmpty());
    config->iEdExe.textFromScreen("prog.exe");
    config->iEdParam.textFromScreen("  ");
    config->iEdChemin.textFromScreen("C:\\Absent");
    plateforme.appels.clear();
    config->iBbtActivation.click();
    EXPECT_THAT(Messages(), ElementsAre("Impossible de se placer dans le répertoire C:\\Absent !"));
    const std::string prog = dossier.chemin + "\\prog.exe";
    EXPECT_THAT(Appels("CreateProcessW"),
                ElementsAre("CreateProcessW(" + prog + ",\"" + prog + "\"   ," + dossier.chemin + ",5)"));
    EXPECT_EQ(Record(0).Executable, "1.exe") << "the fields are not stored by a test run";
    config->iBbtAnnuler.click();
  });
  EXPECT_EQ(LitTout(ini), FichierIni({{"A", "a1", "1.exe"}}));
}

TEST_F(Editeur, Parcourir) {
  Demarre({{"A", "a1", ""}});
  // The root of the launcher's drive, wherever the current directory has gone since.
  plateforme.repertoireCourant = "d:\\ailleurs";
  Edite([&] {
    backend.onOpenDialog = [](tk::OpenDialog& d) {
      d.fileName = "D:\\Outils\\outil.exe";
      return true;
    };
    config->iBbtParcourir.click();
    ASSERT_EQ(backend.dialogues.size(), 1u);
    EXPECT_EQ(backend.dialogues[0].initialDir, tk::MajusculesAZ(dossier.chemin.substr(0, 1)) + ":\\");
    EXPECT_EQ(backend.dialogues[0].fileName, "");
    EXPECT_EQ(backend.dialogues[0].title, "Sélection d'une application");
    EXPECT_EQ(config->iEdExe.text(), "D:\\Outils\\outil.exe");
    EXPECT_EQ(config->iEdChemin.text(), "");
    backend.onOpenDialog = [](tk::OpenDialog&) { return false; };
    config->iBbtParcourir.click();
    EXPECT_EQ(backend.dialogues[1].initialDir, "");
    EXPECT_EQ(backend.dialogues[1].fileName, "D:\\Outils\\outil.exe");
    EXPECT_EQ(config->iEdExe.text(), "D:\\Outils\\outil.exe");
    config->iBbtAnnuler.click();
  });
}

TEST_F(Editeur, ChampTouche) {
  Demarre({Raccourci("A", "a1", "1.exe").Ctrl().Touche("K")});
  Edite([&] {
    struct {
      const char* tape;
      const char* attendu;
    } cas[] = {{"a", "A"}, {"7", "7"}, {"é", "é"}, {"😀x", "😀"}, {"xyz", "X"}, {"", ""}, {"!", "!"}};
    for (auto c : cas) {
      config->iEdTouche.textFromScreen(c.tape);
      EXPECT_EQ(config->iEdTouche.text(), c.attendu) << c.tape;
    }
    config->iEdTouche.textFromScreen("");
    config->iBbtOk.click();
  });
  EXPECT_EQ((*principal->ListeRaccourcis)[0]->Touche, "");
  EXPECT_THAT(Messages(), ElementsAre("Aucune touche n'a été définie pour le raccourci clavier a1 !\r\nCe "
                                      "raccourci n'est donc pas associé à une combinaison de touches. Il "
                                      "est simplement rajouté au menu..."));
}
