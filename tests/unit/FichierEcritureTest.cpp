// The settings file's save, step by step over the recording platform: each step failing leaves
// the previous file whole and no temporary file behind.
#include "platform/FichierEcriture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/Banc.h"

using ::testing::ElementsAreArray;

namespace {

struct Cas {
  const char* nom;
  std::map<std::string, std::deque<int>> erreurs;
  bool existe;  // a settings file to replace
  int code;     // what the save throws; 0 when it succeeds
  std::vector<std::string> etapes;
};

void PrintTo(const Cas& c, std::ostream* os) { *os << c.nom; }

const std::vector<std::string> kReussie = {"CreateFileW", "WriteFile", "WriteFile",
                                           "FlushFileBuffers", "CloseHandle", "ReplaceFileW",
                                           "DeleteFileW"};

const Cas kCas[] = {
    {"Reussie", {}, true, 0, kReussie},
    {"SansFichierAvant", {}, false, 0,
     {"CreateFileW", "WriteFile", "WriteFile", "FlushFileBuffers", "CloseHandle", "MoveFileExW"}},
    {"NomDejaPris", {{"CreateFileW", {80}}}, true, 0,
     {"CreateFileW", "CreateFileW", "WriteFile", "WriteFile", "FlushFileBuffers", "CloseHandle",
      "ReplaceFileW", "DeleteFileW"}},
    {"CreationRefusee", {{"CreateFileW", {5}}}, true, 5, {"CreateFileW"}},
    {"DisquePlein", {{"WriteFile", {0, 112}}}, true, 101,
     {"CreateFileW", "WriteFile", "WriteFile", "CloseHandle", "DeleteFileW"}},
    {"VidageRate", {{"FlushFileBuffers", {5}}}, true, 5,
     {"CreateFileW", "WriteFile", "WriteFile", "FlushFileBuffers", "CloseHandle", "DeleteFileW"}},
    {"FermetureRatee", {{"CloseHandle", {29}}}, true, 29,
     {"CreateFileW", "WriteFile", "WriteFile", "FlushFileBuffers", "CloseHandle", "DeleteFileW"}},
    {"RemplacementRefuse", {{"ReplaceFileW", {5}}}, true, 5,
     {"CreateFileW", "WriteFile", "WriteFile", "FlushFileBuffers", "CloseHandle", "ReplaceFileW",
      "DeleteFileW"}},
    // A file another program holds a moment: tried again after a pause.
    {"PartageUnInstant", {{"ReplaceFileW", {32, 33}}}, true, 0,
     {"CreateFileW", "WriteFile", "WriteFile", "FlushFileBuffers", "CloseHandle", "ReplaceFileW",
      "Sleep", "ReplaceFileW", "Sleep", "ReplaceFileW", "DeleteFileW"}},
    // The previous file went to the backup's name: it comes back.
    {"RemplacantBloque", {{"ReplaceFileW", {1177}}}, true, 1177,
     {"CreateFileW", "WriteFile", "WriteFile", "FlushFileBuffers", "CloseHandle", "ReplaceFileW",
      "MoveFileExW", "DeleteFileW"}},
};

class Sauvegarde : public Banc, public ::testing::WithParamInterface<Cas> {
 protected:
  // The file calls made, by name.
  std::vector<std::string> Etapes() const {
    std::vector<std::string> etapes;
    for (const std::string& a : plateforme.appels)
      if (a.rfind("GetFileAttributesW", 0) != 0) etapes.push_back(a.substr(0, a.find('(')));
    return etapes;
  }
  int Sauve() {
    try {
      plat::FichierEcriture f(plateforme, ini);
      f.Ecrit("a");
      f.Ecrit("b");
      f.Ferme();
    } catch (const plat::EInOutError& e) {
      return e.code;
    }
    return 0;
  }
  std::size_t Fichiers() const {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(dossier.chemin), {}));
  }
};

TEST_P(Sauvegarde, LAncienFichierResteEntierEtRienNeTraine) {
  const Cas& c = GetParam();
  if (c.existe) EcritTout(ini, "ancien");
  plateforme.erreurs = c.erreurs;
  EXPECT_EQ(Sauve(), c.code);
  EXPECT_THAT(Etapes(), ElementsAreArray(c.etapes));
  if (c.code == 0)
    EXPECT_EQ(LitTout(ini), "ab");
  else
    EXPECT_EQ(LitTout(ini), "ancien");
  EXPECT_EQ(Fichiers(), c.existe || c.code == 0 ? 1u : 0u) << "no temporary file left";
  // Beside the target, under a name of its own.
  const std::string creation = AppelsDe(plateforme, "CreateFileW(").back();
  EXPECT_EQ(creation.rfind("CreateFileW(" + ini + ".~", 0), 0u) << creation;
}

INSTANTIATE_TEST_SUITE_P(Etapes, Sauvegarde, ::testing::ValuesIn(kCas),
                         [](const auto& info) { return std::string(info.param.nom); });

using Sauvegardes = Banc;

TEST_F(Sauvegardes, RefuseeSurUnFichierEnLectureSeule) {
  EcritTout(ini, "ancien");
  plateforme.attributs[ini] = plat::kFileAttributeReadOnly;
  try {
    plat::FichierEcriture f(plateforme, ini);
    ADD_FAILURE() << "no error";
  } catch (const plat::EInOutError& e) {
    EXPECT_EQ(e.code, plat::kErrorAccessDenied);
  }
  EXPECT_TRUE(AppelsDe(plateforme, "CreateFileW").empty());
  EXPECT_EQ(LitTout(ini), "ancien");
}

TEST_F(Sauvegardes, UnPartageQuiDureEstSignaleApresUneSeconde) {
  EcritTout(ini, "ancien");
  plateforme.erreurs["ReplaceFileW"] = std::deque<int>(20, 32);
  try {
    plat::FichierEcriture f(plateforme, ini);
    f.Ecrit("a");
    f.Ferme();
    ADD_FAILURE() << "no error";
  } catch (const plat::EInOutError& e) {
    EXPECT_EQ(e.code, plat::kErrorSharingViolation);
  }
  EXPECT_EQ(AppelsDe(plateforme, "ReplaceFileW").size(), 10u);
  EXPECT_EQ(AppelsDe(plateforme, "Sleep(100)").size(), 9u);
  EXPECT_EQ(LitTout(ini), "ancien");
}

}  // namespace
