// The zip as a user gets it: paquet.Contenu unpacks it, these tests start it where it lies.
#include <gtest/gtest.h>

#include <vector>

#include "Pilote.h"
#include "platform/Encodage.h"
#include "platform/win32/Large.h"
#include "Version.h"

using namespace pilote;

TEST(Paquet, DemarreSansMessageEtOuvreSonLisezMoi) {
  Vivelance vivelance(Vivelance::Installe{CheminPaquet()});
  ASSERT_TRUE(vivelance.LisFichier("Vivlan.exe")) << CheminPaquet();
  const bool demarre = vivelance.Demarre();
  HWND erreur = FenetreDe(vivelance.Instance().Pid(), "", "Erreur");
  EXPECT_EQ(erreur, nullptr) << "the sample settings gave a message: " << TextesEnfants(erreur);
  ASSERT_TRUE(demarre);
  EXPECT_TRUE(Attends(IconeAffichee));

  const std::optional<std::string> lisezMoi = vivelance.LisFichier("LisezMoi.txt");
  ASSERT_TRUE(lisezMoi);
  ASSERT_TRUE(vivelance.Commande('R'));  // "&Rubriques d'aide"
  const std::string texte = plat::Utf8DepuisCp1252(*lisezMoi);  // a Windows-1252 file
  EXPECT_EQ(AttendsBlocNotes(texte), texte);
}

TEST(Paquet, LaVersionDuProgrammeEstCelleDuProjet) {
  const std::wstring exe = plat::Large(CheminPaquet() + "\\Vivlan.exe");
  DWORD inutile = 0;
  std::vector<char> infos(GetFileVersionInfoSizeW(exe.c_str(), &inutile));
  ASSERT_FALSE(infos.empty()) << CheminPaquet();
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(infos.size()), infos.data()));

  VS_FIXEDFILEINFO* fixe = nullptr;
  UINT taille = 0;
  ASSERT_TRUE(VerQueryValueW(infos.data(), L"\\", reinterpret_cast<void**>(&fixe), &taille));
  EXPECT_EQ(fixe->dwFileVersionMS, MAKELONG(VIVLAN_VERSION_MINEURE, VIVLAN_VERSION_MAJEURE));
  EXPECT_EQ(fixe->dwProductVersionMS, MAKELONG(VIVLAN_VERSION_MINEURE, VIVLAN_VERSION_MAJEURE));

  wchar_t* texte = nullptr;
  ASSERT_TRUE(VerQueryValueW(infos.data(), L"\\StringFileInfo\\040C04E4\\ProductVersion",
                             reinterpret_cast<void**>(&texte), &taille));
  EXPECT_EQ(plat::Etroit(texte), VIVLAN_VERSION);
}
