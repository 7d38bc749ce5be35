#include <gtest/gtest.h>

#include <stdexcept>

#include "toolkit/Toolkit.h"
#include "toolkit/memoire/BackendMemoire.h"

using namespace tk;

TEST(Textes, TitreDuProgramme) {
  EXPECT_EQ(TitreProgramme("C:\\Programmes\\Vivlan.exe"), "Vivlan");
  EXPECT_EQ(TitreProgramme("Z:/tmp/VIVLAN.EXE"), "Vivlan");
  EXPECT_EQ(TitreProgramme("vivlan.test.exe"), "vivlan");
}

TEST(Textes, ErreursEntreesSorties) {
  EXPECT_EQ(TexteErreurES(2), "Fichier introuvable");
  EXPECT_EQ(TexteErreurES(3), "Nom de fichier incorrect");
  EXPECT_EQ(TexteErreurES(4), "Trop de fichiers ouverts");
  EXPECT_EQ(TexteErreurES(5), "Accès au fichier refusé");
  EXPECT_EQ(TexteErreurES(100), "Lecture au-delà de la fin de fichier");
  EXPECT_EQ(TexteErreurES(101), "Disque plein");
  EXPECT_EQ(TexteErreurES(106), "Saisie numérique incorrecte");
  EXPECT_EQ(TexteErreurES(32), "Erreur E/S 32");
  // A full stop follows, unless the text ends with one or with a lower code.
  EXPECT_EQ(AvecPoint("Disque plein"), "Disque plein.");
  EXPECT_EQ(AvecPoint("Fin."), "Fin.");
  EXPECT_EQ(AvecPoint("Fin -"), "Fin -");
  EXPECT_EQ(AvecPoint("Fin !"), "Fin !");
  EXPECT_EQ(AvecPoint("Fin /"), "Fin /.");
  EXPECT_EQ(AvecPoint("Fin \xE9"), "Fin \xE9.");
}

TEST(Textes, MajusculesDeAaZSeulement) {
  EXPECT_EQ(MajusculesAZ("az\xE9\xE0" "19!Z"), "AZ\xE9\xE0" "19!Z");
}

struct Fenetre : Form {
  explicit Fenetre(Application& a) : Form(a, "TFenetre", "Fen", 100, 50) {}
  ListBox liste{this, "liste", {0, 0, 10, 10}};
  Edit champ{this, "champ", {0, 0, 10, 10}};
  Button ok{this, Kind::Button, "ok", {0, 0, 10, 10}, "OK", Picture::GlyphOk};
};

struct ToolkitTest : ::testing::Test {
  BackendMemoire backend;
  Application application{backend, "C:\\Vivlan.exe"};
};

TEST_F(ToolkitTest, LaBoucleMontreLaFenetrePrincipaleSaufAvis) {
  Fenetre principale(application);
  Fenetre autre(application);
  application.showMainForm = false;
  application.run();
  EXPECT_FALSE(principale.visible());
  application.showMainForm = true;
  application.run();
  EXPECT_TRUE(principale.visible());
  EXPECT_FALSE(autre.visible());
}

TEST_F(ToolkitTest, ListeDeLignes) {
  Fenetre f(application);
  int clics = 0, doubles = 0;
  f.liste.OnClick = [&] { ++clics; };
  f.liste.OnDblClick = [&] { ++doubles; };
  f.liste.add("Jeux");
  f.liste.add("Outils");
  f.liste.add("\xC9" "diteurs");
  EXPECT_EQ(f.liste.indexOf("OUTILS"), 1);
  // Only a to z are folded.
  EXPECT_EQ(f.liste.indexOf("\xE9" "diteurs"), -1);
  f.liste.setItemIndex(2);
  EXPECT_EQ(clics, 0) << "a selection set by the program raises nothing";
  f.liste.move(2, 0);
  EXPECT_EQ(f.liste.itemIndex(), 0);
  EXPECT_EQ(f.liste.rows()[0].text, "\xC9" "diteurs");
  f.liste.remove(0);
  EXPECT_EQ(f.liste.itemIndex(), -1);
  f.liste.doubleClickFromScreen(1);
  EXPECT_EQ(f.liste.itemIndex(), 1);
  EXPECT_EQ(clics, 1);
  EXPECT_EQ(doubles, 1);
  f.liste.setItemIndex(5);
  EXPECT_EQ(f.liste.itemIndex(), -1);
}

TEST_F(ToolkitTest, ChampSignaleSeulementUnVraiChangement) {
  Fenetre f(application);
  int changements = 0;
  f.champ.OnChange = [&] { ++changements; };
  f.champ.setText("a");
  f.champ.setText("a");
  f.champ.textFromScreen("ab");
  EXPECT_EQ(changements, 2);
}

TEST_F(ToolkitTest, UneErreurDEntreeSortieEstSignaleeEtLaisseLaFenetreOuverte) {
  Fenetre f(application);
  f.ok.modalResult = mrOk;
  bool echoue = true;
  f.ok.OnClick = [&] {
    if (echoue) throw plat::EInOutError(5);
  };
  int resultatApresEchec = -1;
  backend.onShowModal = [&](Form& form) {
    static_cast<Fenetre&>(form).ok.click();
    resultatApresEchec = form.modalResult;
    echoue = false;
    static_cast<Fenetre&>(form).ok.click();
  };
  EXPECT_EQ(f.showModal(), mrOk);
  EXPECT_EQ(resultatApresEchec, mrNone) << "still open after the failure";
  ASSERT_EQ(backend.messages.size(), 1u);
  EXPECT_EQ(backend.messages[0].caption, "Vivlan");
  EXPECT_EQ(backend.messages[0].text, "Accès au fichier refusé.");
  EXPECT_EQ(backend.messages[0].icon, MessageIcon::Error);
  ASSERT_EQ(backend.messages[0].buttons.size(), 1u);
  EXPECT_EQ(backend.messages[0].buttons[0].caption, "OK");
  EXPECT_FALSE(f.visible());
}

TEST_F(ToolkitTest, UneAutreExceptionEstSignaleePuisFermeLeProgrammeUneFoisLeHandlerFini) {
  Fenetre principale(application);
  std::vector<std::string> suite;
  principale.OnClose = [&] { suite.push_back("fermeture"); };
  const std::function<void()> fautifs[] = {[] { throw std::logic_error("Indice hors limites"); },
                                           [] { throw 42; }};
  for (const auto& fautif : fautifs)
    application.dispatch([&] {
      application.dispatch(fautif);
      suite.push_back(backend.termine ? "boucle arretee" : "boucle continue");
    });
  ASSERT_EQ(backend.messages.size(), 2u);
  EXPECT_EQ(backend.messages[0].caption, "Vivlan");
  EXPECT_EQ(backend.messages[0].text, "Indice hors limites.");
  EXPECT_EQ(backend.messages[1].text, "Erreur inattendue.");
  EXPECT_EQ(suite, (std::vector<std::string>{"boucle arretee", "fermeture", "boucle arretee",
                                             "fermeture"}));
  EXPECT_EQ(application.exitCode(), 1);
}

TEST_F(ToolkitTest, BoitesDeMessage) {
  MessageErreur(application, "Texte\r\nsuite");
  backend.onMessageBox = [](const MessageBoxSpec&) { return int(mrCancel); };
  EXPECT_EQ(MessageConfirmation(application, "S\xFBr ?"), mrCancel);
  ASSERT_EQ(backend.messages.size(), 2u);
  const auto& erreur = backend.messages[0];
  EXPECT_EQ(erreur.caption, "Erreur");
  EXPECT_EQ(erreur.text, "Texte\r\nsuite");
  ASSERT_EQ(erreur.buttons.size(), 1u);
  EXPECT_TRUE(erreur.buttons[0].isDefault && erreur.buttons[0].isCancel);
  EXPECT_EQ(erreur.buttons[0].result, mrOk);
  const auto& question = backend.messages[1];
  EXPECT_EQ(question.caption, "Confirmation");
  EXPECT_EQ(question.icon, MessageIcon::Question);
  ASSERT_EQ(question.buttons.size(), 2u);
  EXPECT_EQ(question.buttons[0].caption, "&Oui");
  EXPECT_EQ(question.buttons[0].result, mrYes);
  EXPECT_TRUE(question.buttons[0].isDefault);
  EXPECT_EQ(question.buttons[1].caption, "&Non");
  EXPECT_EQ(question.buttons[1].result, mrNo);
  EXPECT_TRUE(question.buttons[1].isCancel);
}

TEST_F(ToolkitTest, InviteLimiteeA255Caracteres) {
  std::string valeur = "ancien";
  backend.onInputQuery = [](std::string& v) {
    v = std::string(300, 'x');
    return true;
  };
  EXPECT_TRUE(BoiteSaisie(application, "Titre", "Invite", valeur));
  EXPECT_EQ(valeur.size(), 255u);
  ASSERT_EQ(backend.saisies.size(), 1u);
  EXPECT_EQ(backend.saisies[0].value, "ancien");
  EXPECT_EQ(backend.saisies[0].maxLength, 255u);
  backend.onInputQuery = nullptr;
  EXPECT_FALSE(BoiteSaisie(application, "Titre", "Invite", valeur));
  EXPECT_EQ(valeur.size(), 255u);
}

TEST_F(ToolkitTest, AideDUneEntreeDeMenu) {
  Fenetre f(application);
  int recu = -1;
  f.OnHelp = [&](unsigned, int data, bool&) {
    recu = data;
    return false;
  };
  PopupMenu menu(application);
  MenuItem& sousMenu = menu.add(std::make_unique<MenuItem>("A"));
  sousMenu.helpContext = 0;
  MenuItem& entree = sousMenu.add(std::make_unique<MenuItem>("x"));
  entree.helpContext = 3;
  MenuItem& autre = entree.add(std::make_unique<MenuItem>("y"));
  application.menuHelp(&autre);
  EXPECT_EQ(recu, -1) << "no active window: nothing happens";
  backend.active = &f;
  application.menuHelp(&autre);
  EXPECT_EQ(recu, 3) << "the nearest enclosing help context";
  application.menuHelp(&sousMenu);
  EXPECT_EQ(recu, 0);
}
