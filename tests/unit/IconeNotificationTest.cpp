#include "components/IconeNotification.h"
#include "support/Banc.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct Principale : tk::Form {
  explicit Principale(tk::Application& a) : tk::Form(a, "TPrincipale", "P", 10, 10) {}
};

class Icone : public ::testing::Test {
 protected:
  DossierTemporaire dossier;
  tk::BackendMemoire backend;
  PlateformeEnregistreuse plateforme{dossier.chemin};
  tk::Application application{backend, "C:\\x\\Test.exe"};
  Principale principale{application};
  tk::PopupMenu gauche{application};
  tk::PopupMenu droit{application};
  std::unique_ptr<TIconeNotification> icone =
      std::make_unique<TIconeNotification>(application, plateforme);
  std::vector<std::string> evenements;
  std::vector<tk::PopupMenu*> menus;

  void SetUp() override {
    icone->OnMouseDown = [this](TIconeNotification&, TMouseButton b, TShiftState s, int x, int y) {
      evenements.push_back("down " + std::to_string(int(b)) + " " + std::to_string(s) + " " +
                           std::to_string(x) + "," + std::to_string(y));
    };
    icone->OnMouseUp = [this](TIconeNotification&, TMouseButton b, TShiftState s, int, int) {
      evenements.push_back("up " + std::to_string(int(b)) + " " + std::to_string(s));
    };
    icone->OnMouseMove = [this](TIconeNotification&, TShiftState s, int, int) {
      evenements.push_back("move " + std::to_string(s));
    };
    icone->OnDblClick = [this](TIconeNotification&) { evenements.push_back("dblclick"); };
    backend.onPopup = [this](tk::PopupMenu& m, int, int) {
      menus.push_back(&m);
      return nullptr;
    };
    plateforme.curseur = {12, 34};
  }
  std::optional<std::intptr_t> Souris(unsigned lParam) {
    return backend.envoie(icone->IconData().hWnd, TIconeNotification::WM_TRAYICON, 1, lParam);
  }
};

}  // namespace

TEST_F(Icone, BoutonsEtEtatDesTouches) {
  icone->PopupMenuGauche = &gauche;
  icone->PopupMenuDroit = &droit;
  plateforme.etatsTouches[plat::kVkControl] = -128;
  Souris(plat::kWmMouseMove);
  Souris(plat::kWmLButtonDown);
  Souris(plat::kWmLButtonUp);
  Souris(plat::kWmRButtonDown);
  Souris(plat::kWmRButtonUp);
  Souris(plat::kWmMButtonDown);
  Souris(plat::kWmMButtonUp);
  Souris(plat::kWmRButtonDblClk);
  Souris(plat::kWmMButtonDblClk);
  // Shift 1, Alt 2, Ctrl 4, left 8, right 16, middle 32: the button's flag even on release.
  EXPECT_THAT(evenements, ElementsAre("move 4", "down 0 12 12,34", "up 0 12", "down 1 20 12,34",
                                      "up 1 20", "down 2 36 12,34", "up 2 36"));
  EXPECT_THAT(menus, ElementsAre(&gauche, &droit));
  EXPECT_THAT(AppelsDe(plateforme, "GetKeyState"),
              ElementsAre("GetKeyState(16)", "GetKeyState(17)", "GetKeyState(18)", "GetKeyState(16)",
                          "GetKeyState(17)", "GetKeyState(18)", "GetKeyState(16)", "GetKeyState(17)",
                          "GetKeyState(18)", "GetKeyState(16)", "GetKeyState(17)", "GetKeyState(18)",
                          "GetKeyState(16)", "GetKeyState(17)", "GetKeyState(18)", "GetKeyState(16)",
                          "GetKeyState(17)", "GetKeyState(18)", "GetKeyState(16)", "GetKeyState(17)",
                          "GetKeyState(18)", "GetKeyState(16)", "GetKeyState(17)", "GetKeyState(18)",
                          "GetKeyState(16)", "GetKeyState(17)", "GetKeyState(18)"));
}

TEST_F(Icone, SansMenuNiCurseurRienNeSOuvre) {
  Souris(plat::kWmLButtonUp);
  icone->PopupMenuGauche = &gauche;
  gauche.autoPopup = false;
  Souris(plat::kWmLButtonUp);
  gauche.autoPopup = true;
  plateforme.curseurEchoue = true;
  Souris(plat::kWmLButtonUp);
  EXPECT_THAT(menus, IsEmpty());
  EXPECT_EQ(evenements.size(), 3u) << "the mouse events are still raised";
  EXPECT_THAT(AppelsDe(plateforme, "SetForegroundWindow"), IsEmpty());
  EXPECT_THAT(AppelsDe(plateforme, "PostMessageW"), IsEmpty());
}

TEST_F(Icone, MenuOuvertAuPremierPlanPuisMessageNul) {
  icone->PopupMenuDroit = &droit;
  plateforme.appels.clear();
  Souris(plat::kWmRButtonUp);
  const std::string h = std::to_string(principale.handle());
  EXPECT_THAT(plateforme.appels,
              ElementsAre("GetKeyState(16)", "GetKeyState(17)", "GetKeyState(18)", "GetCursorPos",
                          "GetCursorPos", "SetForegroundWindow(" + h + ")", "PostMessageW(" + h + ",0,0,0)"));
  EXPECT_EQ(droit.popupComponent, icone.get());
}

TEST_F(Icone, DesactiveIgnoreLaSouris) {
  icone->PopupMenuDroit = &droit;
  icone->Enabled = false;
  Souris(plat::kWmRButtonDown);
  Souris(plat::kWmRButtonUp);
  Souris(plat::kWmLButtonDblClk);
  EXPECT_THAT(evenements, IsEmpty());
  EXPECT_THAT(menus, IsEmpty());
}

TEST_F(Icone, AutresMessagesDeLaFenetre) {
  EXPECT_EQ(backend.envoie(icone->IconData().hWnd, 0x0011), std::optional<std::intptr_t>(1));
  EXPECT_EQ(backend.envoie(icone->IconData().hWnd, 0x0001), std::nullopt) << "left to the system";
}

TEST_F(Icone, DoubleClicGaucheLancePremiereEntreeParDefautActive) {
  int lances = 0;
  for (const char* c : {"a", "b", "c"}) {
    auto& e = droit.add(std::make_unique<tk::MenuItem>(c));
    e.OnClick = [&lances, c](tk::MenuItem&) { lances = lances * 10 + (c[0] - 'a' + 1); };
  }
  Souris(plat::kWmLButtonDblClk);
  EXPECT_THAT(evenements, ElementsAre("dblclick"));
  icone->PopupMenuDroit = &droit;
  Souris(plat::kWmLButtonDblClk);
  EXPECT_EQ(lances, 0) << "no default entry";
  droit.item(1).isDefault = droit.item(2).isDefault = true;
  Souris(plat::kWmLButtonDblClk);
  EXPECT_EQ(lances, 2);
  droit.item(1).enabled = false;
  Souris(plat::kWmLButtonDblClk);
  EXPECT_EQ(lances, 2) << "a disabled default entry does nothing";
  EXPECT_THAT(menus, IsEmpty()) << "the menu itself is not shown";
  EXPECT_THAT(AppelsDe(plateforme, "ShowWindow"), IsEmpty());

  icone->ShowOnLeftDblClick = true;
  Souris(plat::kWmLButtonDblClk);
  const std::string h = std::to_string(principale.handle());
  EXPECT_THAT(AppelsDe(plateforme, "ShowWindow"), ElementsAre("ShowWindow(7,9)", "ShowWindow(" + h + ",9)"));
  EXPECT_TRUE(icone->MainFormShown());
}

TEST_F(Icone, InfoBulleCoupeeA63Caracteres) {
  const std::string cent(100, 'h');
  icone->SetHint(cent);
  EXPECT_EQ(std::u16string(icone->IconData().szTip), u"");
  icone->SetShowHint(true);
  EXPECT_EQ(std::u16string(icone->IconData().szTip), std::u16string(63, u'h'));
  EXPECT_EQ(plateforme.appels.back(), "Shell_NotifyIconW(1,hIcon=0,tip=" + cent.substr(0, 63) + ")");
  // Any script; a character of two UTF-16 units stays whole or goes.
  icone->SetHint("Л" + std::string(61, 'h') + "😀");
  EXPECT_EQ(std::u16string(icone->IconData().szTip), u"Л" + std::u16string(61, u'h'));
  icone->SetShowHint(false);
  for (char16_t c : icone->IconData().szTip) EXPECT_EQ(c, 0);
}

TEST_F(Icone, AjoutsRetraitsEtIconeRemplaceeAussitot) {
  plateforme.appels.clear();
  icone->SetIcon(42);
  EXPECT_THAT(plateforme.appels, ElementsAre("Shell_NotifyIconW(1,hIcon=42,tip=)"));
  icone->SetIconVisible(false);
  icone->SetIcon(43);
  EXPECT_FALSE(icone->IconVisible());
  plateforme.appels.clear();
  plateforme.resultatNotifyIcon = false;
  icone->SetIconVisible(true);
  EXPECT_TRUE(icone->IconVisible()) << "a refused add leaves the value as set";
  EXPECT_THAT(plateforme.appels, ElementsAre("Shell_NotifyIconW(0,hIcon=43,tip=)"));
  EXPECT_FALSE(icone->AddIcon());

  // The shell restarted: the icon comes back.
  plateforme.appels.clear();
  plateforme.resultatNotifyIcon = true;
  backend.envoie(icone->IconData().hWnd, plateforme.messageEnregistre);
  EXPECT_THAT(plateforme.appels, ElementsAre("Shell_NotifyIconW(0,hIcon=43,tip=)"));

  plateforme.appels.clear();
  icone.reset();
  EXPECT_THAT(plateforme.appels, ElementsAre("Shell_NotifyIconW(2,hIcon=43,tip=)"));
  EXPECT_THAT(backend.fenetresUtilitaires(), IsEmpty());
}

TEST_F(Icone, ChargementAvecDemarrageReduit) {
  plateforme.appels.clear();
  icone->StartMinimized = true;
  icone->Loaded();
  EXPECT_THAT(plateforme.appels, ElementsAre("Shell_NotifyIconW(0,hIcon=0,tip=)", "ShowWindow(7,0)",
                                             "Shell_NotifyIconW(1,hIcon=0,tip=)"));
  EXPECT_FALSE(application.showMainForm);
}

TEST_F(Icone, CycleDImages) {
  TImageList images{{tk::Picture::IconeActive, tk::Picture::IconeInactive, tk::Picture::Plus}};
  std::vector<int> cycles;
  icone->OnCycle = [&](TIconeNotification&, int courant) { cycles.push_back(courant); };
  icone->SetCycleIcons(true);
  EXPECT_THAT(backend.timersEnMarche(), IsEmpty()) << "no tick while the period is 0";
  icone->SetCycleInterval(500);
  ASSERT_EQ(backend.timersEnMarche().size(), 1u);
  tk::Timer* timer = backend.timersEnMarche()[0];
  EXPECT_EQ(timer->interval(), 500u);
  timer->tick();
  EXPECT_THAT(cycles, IsEmpty()) << "no image list, no cycle";
  icone->IconList = &images;
  for (int i = 0; i < 4; ++i) timer->tick();
  EXPECT_THAT(cycles, ElementsAre(0, 1, 2, 0));
  EXPECT_EQ(icone->Icon(), backend.icon(tk::Picture::IconeActive));
  icone->SetCycleIcons(false);
  EXPECT_THAT(backend.timersEnMarche(), IsEmpty());
  EXPECT_EQ(icone->CycleIndex(), 1);
  icone->SetCycleIcons(true);
  EXPECT_EQ(icone->CycleIndex(), 0);

  backend.timersDisponibles = false;
  icone->SetCycleIcons(false);
  EXPECT_THROW(icone->SetCycleIcons(true), tk::EOutOfResources);
  EXPECT_TRUE(icone->CycleIcons()) << "the value is stored all the same";
}
