// The recording fake must fail where it is told to and behave like the system elsewhere:
// the other tests trust it.
#include "support/PlateformeEnregistreuse.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class Enregistreuse : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = fs::temp_directory_path() / ("vivpe-" + std::to_string(std::random_device{}()));
    fs::create_directories(dossier_);
    std::ofstream(dossier_ / "Vivlan.ini", std::ios::binary) << "ancien";
  }
  void TearDown() override {
    std::error_code ignore;
    fs::remove_all(dossier_, ignore);
  }
  std::string Contenu() const {
    std::ifstream f(dossier_ / "Vivlan.ini", std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }
  int Sauve(PlateformeEnregistreuse& p) {
    try {
      auto f = p.CreeFichier(".\\Vivlan.ini");
      f->Ecrit("a");
      f->Ecrit("b");
      f->Ferme();
    } catch (const plat::EInOutError& e) {
      return e.code;
    }
    return 0;
  }

  fs::path dossier_;
};

TEST_F(Enregistreuse, NoteChaqueAppelAvecSesArguments) {
  PlateformeEnregistreuse p(dossier_.string());
  plat::NotifyIconData icone;
  icone.hIcon = 7;
  std::snprintf(icone.szTip, sizeof icone.szTip, "Vivelance");
  plat::Point point;
  p.RegisterHotKey(100, 0, 3, 75);
  p.UnregisterHotKey(100, 0);
  p.WinExec("notepad.exe x", 5);
  p.SetCurrentDirectoryA("C:\\x");
  p.Shell_NotifyIconA(plat::kNimModify, icone);
  p.GetCursorPos(point);
  p.SetForegroundWindow(100);
  p.PostMessageA(100, 0, 0, 0);
  p.ShowWindow(7, plat::kSwHide);
  p.GetKeyState(plat::kVkControl);
  p.FindWindowA("TFrmPrincip", "Vivelance");
  EXPECT_EQ(p.appels, (std::vector<std::string>{
                          "RegisterHotKey(100,0,3,75)", "UnregisterHotKey(100,0)",
                          "WinExec(notepad.exe x,5)", "SetCurrentDirectory(C:\\x)",
                          "Shell_NotifyIconA(1,hIcon=7,tip=Vivelance)", "GetCursorPos",
                          "SetForegroundWindow(100)", "PostMessageA(100,0,0,0)", "ShowWindow(7,0)",
                          "GetKeyState(17)", "FindWindowA(TFrmPrincip,Vivelance)"}));
  ASSERT_EQ(p.icones.size(), 1u);
  EXPECT_EQ(p.icones[0].hIcon, 7u);
}

TEST_F(Enregistreuse, RaccourcisRefusesOuDejaPris) {
  PlateformeEnregistreuse p(dossier_.string());
  p.raccourcisRefuses.insert({2, 'A'});
  EXPECT_FALSE(p.RegisterHotKey(1, 0, 2, 'A'));
  EXPECT_TRUE(p.RegisterHotKey(1, 1, 3, 'A'));
  EXPECT_FALSE(p.RegisterHotKey(1, 2, 3, 'A'));
  EXPECT_TRUE(p.UnregisterHotKey(1, 1));
  EXPECT_FALSE(p.UnregisterHotKey(1, 1));
  EXPECT_TRUE(p.RegisterHotKey(1, 2, 3, 'A'));
}

TEST_F(Enregistreuse, RepertoireCourantFictif) {
  const fs::path reel = fs::current_path();
  PlateformeEnregistreuse p(dossier_.string());
  p.repertoiresRefuses["C:\\parti"] = 2;
  EXPECT_EQ(p.SetCurrentDirectoryA("C:\\parti"), 2);
  EXPECT_EQ(p.GetCurrentDirectoryA(), dossier_.string());
  EXPECT_EQ(p.LitFichier(".\\Vivlan.ini"), "ancien") << "relative to the fake directory";
  fs::create_directory(dossier_ / "sous");
  EXPECT_EQ(p.SetCurrentDirectoryA((dossier_ / "sous").string()), 0);
  EXPECT_EQ(p.LitFichier("..\\Vivlan.ini"), "ancien");
  EXPECT_EQ(p.LitFichier("Vivlan.ini"), std::nullopt);
  EXPECT_EQ(fs::current_path(), reel) << "the test process stays where it is";
  p.fichiersIllisibles.insert("..\\Vivlan.ini");
  EXPECT_EQ(p.LitFichier("..\\Vivlan.ini"), std::nullopt);
}

TEST_F(Enregistreuse, SauvegardeReussie) {
  PlateformeEnregistreuse p(dossier_.string());
  EXPECT_EQ(Sauve(p), 0);
  EXPECT_EQ(Contenu(), "ab");
  EXPECT_EQ(p.appels, (std::vector<std::string>{"CreeFichier(.\\Vivlan.ini)",
                                                "Ecrit(.\\Vivlan.ini,a)", "Ecrit(.\\Vivlan.ini,b)",
                                                "Ferme(.\\Vivlan.ini)"}));
}

TEST_F(Enregistreuse, EchecsDEcritureGardentLAncienFichier) {
  using E = PlateformeEnregistreuse::Echec;
  for (const auto& [echec, appels] :
       std::vector<std::pair<PlateformeEnregistreuse::EchecFichier, std::size_t>>{
           {{E::Creation, 5, 1}, 1}, {{E::Ecriture, 112, 2}, 3}, {{E::Fermeture, 29, 1}, 4}}) {
    PlateformeEnregistreuse p(dossier_.string());
    p.echecFichier = echec;
    EXPECT_EQ(Sauve(p), echec.code);
    EXPECT_EQ(p.appels.size(), appels);
    EXPECT_EQ(Contenu(), "ancien");
    EXPECT_EQ(std::distance(fs::directory_iterator(dossier_), {}), 1) << "no temporary file left";
  }
}

TEST_F(Enregistreuse, ReponsesReglables) {
  PlateformeEnregistreuse p(dossier_.string());
  p.resultatsWinExec["absent.exe"] = 2;
  EXPECT_EQ(p.WinExec("absent.exe", 5), 2u);
  EXPECT_EQ(p.WinExec("notepad.exe", 5), 33u);
  p.etatsTouches[plat::kVkShift] = -128;
  EXPECT_EQ(p.GetKeyState(plat::kVkShift), -128);
  EXPECT_EQ(p.GetKeyState(plat::kVkMenu), 0);
  p.curseur = {10, 20};
  plat::Point point;
  EXPECT_TRUE(p.GetCursorPos(point));
  EXPECT_EQ(point.x, 10);
  EXPECT_EQ(point.y, 20);
  p.curseurEchoue = true;
  EXPECT_FALSE(p.GetCursorPos(point));
  p.fenetreTrouvee = true;
  EXPECT_TRUE(p.FindWindowA("c", "t"));
}

}  // namespace
