#include "platform/portable/PlateformePortable.h"

#include "platform/FichierEcriture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using plat::EInOutError;
using plat::PlateformePortable;

namespace {

class DossierTemporaire : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = fs::temp_directory_path() / ("vivpp-" + std::to_string(std::random_device{}()));
    fs::create_directories(dossier_);
  }
  void TearDown() override {
    std::error_code ignore;
    fs::remove_all(dossier_, ignore);
  }
  std::string Chemin(const std::string& nom) const { return (dossier_ / nom).string(); }
  static void Ecris(const std::string& chemin, const std::string& octets) {
    std::ofstream(chemin, std::ios::binary) << octets;
  }
  static std::string Contenu(const std::string& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }
  std::size_t NombreDeFichiers() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dossier_), {}));
  }
  int CodeDe(const std::function<void()>& action) {
    try {
      action();
    } catch (const EInOutError& e) {
      return e.code;
    }
    return 0;
  }

  fs::path dossier_;
  PlateformePortable plateforme_;
};

using PlateformePortableFichiers = DossierTemporaire;

TEST_F(PlateformePortableFichiers, LitLeFichierEntierOctetPourOctet) {
  const std::string octets("[1]\r\nMenu = \xE9\0\x1A\r\n", 14);
  Ecris(Chemin("a.ini"), octets);
  EXPECT_EQ(plateforme_.LitFichier(Chemin("a.ini")), octets);
  EXPECT_EQ(plateforme_.LitFichier(Chemin("absent.ini")), std::nullopt);
  EXPECT_EQ(plateforme_.LitFichier(dossier_.string()), std::nullopt) << "a folder";
}

TEST_F(PlateformePortableFichiers, FermeRemplaceLaCibleDUnCoup) {
  Ecris(Chemin("a.ini"), "ancien");
  plat::FichierEcriture fichier(plateforme_, Chemin("a.ini"));
  fichier.Ecrit("nou");
  fichier.Ecrit("veau\r\n");
  EXPECT_EQ(Contenu(Chemin("a.ini")), "ancien") << "untouched until Ferme";
  fichier.Ferme();
  EXPECT_EQ(Contenu(Chemin("a.ini")), "nouveau\r\n");
  EXPECT_EQ(NombreDeFichiers(), 1u) << "no temporary file left";
  EXPECT_EQ(CodeDe([&] { fichier.Ferme(); }), 6) << "closed twice";
  EXPECT_EQ(CodeDe([&] { fichier.Ecrit("x"); }), 6);
}

TEST_F(PlateformePortableFichiers, CreeUnFichierNeufOuAbandonneSansTrace) {
  {
    plat::FichierEcriture fichier(plateforme_, Chemin("neuf.ini"));
    fichier.Ferme();
  }
  EXPECT_EQ(plateforme_.LitFichier(Chemin("neuf.ini")), "");
  Ecris(Chemin("a.ini"), "ancien");
  {
    plat::FichierEcriture fichier(plateforme_, Chemin("a.ini"));
    fichier.Ecrit("moitié");
  }
  EXPECT_EQ(Contenu(Chemin("a.ini")), "ancien");
  EXPECT_EQ(NombreDeFichiers(), 2u);
}

TEST_F(PlateformePortableFichiers, CreationImpossible) {
  EXPECT_EQ(CodeDe([&] { plat::FichierEcriture(plateforme_, Chemin("absent/a.ini")); }), 3)
      << "path not found";
  // A new file never takes the place of what exists, a link included.
  Ecris(Chemin("a.ini"), "ancien");
  plat::Handle h = 0;
  EXPECT_EQ(plateforme_.CreateFileW(Chemin("a.ini"), h), plat::kErrorFileExists);
  EXPECT_EQ(plateforme_.MoveFileExW(Chemin("b.ini"), Chemin("a.ini")), plat::kErrorAlreadyExists);
  // A folder in the file's place is refused before anything is written.
  fs::create_directories(Chemin("d.ini") + "/dedans");
  EXPECT_EQ(CodeDe([&] { plat::FichierEcriture(plateforme_, Chemin("d.ini")); }), 5);
  EXPECT_EQ(Contenu(Chemin("a.ini")), "ancien");
  EXPECT_EQ(NombreDeFichiers(), 2u);
}

TEST(CodeEcriture, LesDeuxDisquesPleinsDuSystemeSontUnDisquePlein) {
  for (const auto& [systeme, code] : {std::pair{112, 101}, {39, 101}, {5, 5}, {29, 29}})
    EXPECT_EQ(plat::CodeEcriture(systeme), code) << systeme;
}

TEST_F(PlateformePortableFichiers, AttributsEtCheminsALaWindows) {
  Ecris(Chemin("Vivlan.ini"), "x");
  EXPECT_EQ(plateforme_.GetFileAttributesW(Chemin("Vivlan.ini")), plat::kFileAttributeNormal);
  EXPECT_EQ(plateforme_.GetFileAttributesW(dossier_.string()), plat::kFileAttributeDirectory);
  EXPECT_EQ(plateforme_.GetFileAttributesW(Chemin("absent")), std::nullopt);
  fs::permissions(Chemin("Vivlan.ini"), fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_EQ(plateforme_.GetFileAttributesW(Chemin("Vivlan.ini")), plat::kFileAttributeReadOnly);
  EXPECT_EQ(plateforme_.LitFichier(dossier_.string() + "\\Vivlan.ini"), "x")
      << "a path written the Windows way";
  EXPECT_FALSE(plateforme_.GetCurrentDirectoryW().empty());
}

TEST(PlateformePortable, RaccourcisRetenusEtDoublonsRefuses) {
  PlateformePortable p;
  EXPECT_TRUE(p.RegisterHotKey(100, 0, 3, 'K'));
  EXPECT_FALSE(p.RegisterHotKey(100, 1, 3, 'K')) << "the same keys are taken";
  EXPECT_FALSE(p.RegisterHotKey(200, 0, 0x4003, 'K')) << "MOD_NOREPEAT changes nothing";
  EXPECT_TRUE(p.RegisterHotKey(100, 1, 2, 'K'));
  EXPECT_TRUE(p.UnregisterHotKey(100, 0));
  EXPECT_FALSE(p.UnregisterHotKey(100, 0));
  EXPECT_TRUE(p.RegisterHotKey(100, 2, 3, 'K')) << "free again";
}

TEST(PlateformePortable, UneMachineSansShellNiAutresFenetres) {
  PlateformePortable p;
  EXPECT_EQ(p.CreateProcessW("notepad.exe", "notepad.exe", "", 5), 2);
  EXPECT_EQ(p.VkKeyScanW(u'a'), -1);
  EXPECT_TRUE(p.CreateMutexW("Local\\Vivelance"));
  EXPECT_FALSE(p.CreateMutexW("Local\\Vivelance")) << "taken";
  EXPECT_FALSE(p.FindWindowW("TFrmPrincip", "Vivelance"));
  EXPECT_FALSE(p.Shell_NotifyIconW(plat::kNimAdd, plat::NotifyIconData{}));
  EXPECT_EQ(p.GetKeyState(plat::kVkShift), 0);
  plat::Point point{5, 6};
  EXPECT_TRUE(p.GetCursorPos(point));
  EXPECT_EQ(point.x, 0);
  EXPECT_EQ(point.y, 0);
  const unsigned message = p.RegisterWindowMessageW("TaskbarCreated");
  EXPECT_GE(message, 0xC000u);
  EXPECT_EQ(p.RegisterWindowMessageW("taskbarcreated"), message);
  EXPECT_NE(p.RegisterWindowMessageW("Autre"), message);
  EXPECT_EQ(p.RegisterWindowMessageW(""), 0u);
}

}  // namespace
