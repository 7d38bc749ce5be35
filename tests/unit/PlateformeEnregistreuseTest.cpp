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
  fs::path dossier_;
};

TEST_F(Enregistreuse, NoteChaqueAppelAvecSesArguments) {
  PlateformeEnregistreuse p(dossier_.string());
  plat::NotifyIconData icone;
  icone.hIcon = 7;
  std::u16string(u"Vivelance é").copy(icone.szTip, 11);
  plat::Point point;
  p.RegisterHotKey(100, 0, 3, 75);
  p.UnregisterHotKey(100, 0);
  p.CreateProcessW("C:\\n.exe", "\"C:\\n.exe\" x", "C:\\x", 5);
  p.GetFileAttributesW("C:\\x");
  p.Shell_NotifyIconW(plat::kNimModify, icone);
  p.GetCursorPos(point);
  p.SetForegroundWindow(100);
  p.PostMessageW(100, 0, 0, 0);
  p.ShowWindow(7, plat::kSwHide);
  p.GetKeyState(plat::kVkControl);
  p.FindWindowW("TFrmPrincip", "Vivelance");
  EXPECT_EQ(p.appels, (std::vector<std::string>{
                          "RegisterHotKey(100,0,3,75)", "UnregisterHotKey(100,0)",
                          "CreateProcessW(C:\\n.exe,\"C:\\n.exe\" x,C:\\x,5)",
                          "GetFileAttributesW(C:\\x)",
                          "Shell_NotifyIconW(1,hIcon=7,tip=Vivelance é)", "GetCursorPos",
                          "SetForegroundWindow(100)", "PostMessageW(100,0,0,0)", "ShowWindow(7,0)",
                          "GetKeyState(17)", "FindWindowW(TFrmPrincip,Vivelance)"}));
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

TEST_F(Enregistreuse, DisqueModeleEtFichiersReels) {
  PlateformeEnregistreuse p(dossier_.string());
  fs::create_directory(dossier_ / "sous");
  p.absents.insert("C:\\parti");
  p.attributs["C:\\doc.txt"] = plat::kFileAttributeNormal;
  const struct {
    std::string chemin;
    std::optional<unsigned> attributs;
  } cas[] = {{".\\Vivlan.ini", plat::kFileAttributeNormal},  // real, from the fake directory
             {"sous", plat::kFileAttributeDirectory},
             {"absent.ini", std::nullopt},
             {"C:\\", plat::kFileAttributeDirectory},
             {"C:\\Program Files", plat::kFileAttributeDirectory},
             {"C:\\Program Files\\App.EXE", plat::kFileAttributeNormal},
             {"C:\\parti", std::nullopt},
             {"C:\\doc.txt", plat::kFileAttributeNormal},
             {"C:\\x\\<Aucun>.exe", std::nullopt}};
  for (const auto& c : cas) EXPECT_EQ(p.GetFileAttributesW(c.chemin), c.attributs) << c.chemin;
  EXPECT_EQ(p.LitFichier(".\\Vivlan.ini"), "ancien") << "relative to the fake directory";
  p.fichiersIllisibles.insert(".\\Vivlan.ini");
  EXPECT_EQ(p.LitFichier(".\\Vivlan.ini"), std::nullopt);
}

TEST_F(Enregistreuse, ReponsesReglables) {
  PlateformeEnregistreuse p(dossier_.string());
  p.lancementsRefuses["absent.exe"] = 2;
  EXPECT_EQ(p.CreateProcessW("C:\\absent.exe", "", "", 5), 2);
  EXPECT_EQ(p.CreateProcessW("C:\\notepad.exe", "", "", 5), 0);
  p.erreurs["WriteFile"] = {0, 112};
  EXPECT_EQ(p.WriteFile(0, ""), 0) << "0 lets the call through";
  EXPECT_EQ(p.WriteFile(0, ""), 112);
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
  EXPECT_TRUE(p.FindWindowW("c", "t"));
}

}  // namespace
