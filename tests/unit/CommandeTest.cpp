// Which program an executable field starts, and the command line it gets: a path with blanks
// starts that file, never the first part of it that someone may have planted.
#include "platform/Commande.h"

#include <gtest/gtest.h>

#include <set>

#include "support/PlateformeEnregistreuse.h"

namespace {

const std::set<std::string> kFichiers = {
    "C:\\Program Files\\App\\app.exe", "C:\\Program.exe",  // planted
    "D:\\Mes Outils\\x.exe",           "D:\\Mes.exe",      // planted
    "D:\\Travail\\local.exe",          "D:\\Travail\\sous\\prog.exe",
    "C:\\Windows\\System32\\notepad.exe", "C:\\Windows\\notepad.exe",
    "C:\\Windows\\System32\\calc.exe", "C:\\Outils\\outil.exe"};

struct Cas {
  const char* executable;
  const char* parametres;
  const char* application;  // nullptr: nothing starts
  const char* ligne;
};

const Cas kCas[] = {
    {"C:\\Program Files\\App\\app.exe", "", "C:\\Program Files\\App\\app.exe",
     "\"C:\\Program Files\\App\\app.exe\""},
    {"D:\\Mes Outils\\x.exe", "-a \"b c\"", "D:\\Mes Outils\\x.exe", "\"D:\\Mes Outils\\x.exe\" -a \"b c\""},
    {"\"C:\\Program Files\\App\\app.exe\"", "", "C:\\Program Files\\App\\app.exe",
     "\"C:\\Program Files\\App\\app.exe\""},
    {"\"C:\\Program Files\\App\\app.exe\" --x", "p", "C:\\Program Files\\App\\app.exe",
     "\"C:\\Program Files\\App\\app.exe\" --x p"},
    {"\"D:\\Mes Outils\\x.exe", "", "D:\\Mes Outils\\x.exe", "\"D:\\Mes Outils\\x.exe\""},
    // A program followed by arguments, as files written by hand hold: the longest start that
    // names a file.
    {"C:\\Program Files\\App\\app.exe --flag", "", "C:\\Program Files\\App\\app.exe",
     "\"C:\\Program Files\\App\\app.exe\" --flag"},
    {"notepad.exe  C:\\notes.txt", "", "C:\\Windows\\System32\\notepad.exe",
     "\"C:\\Windows\\System32\\notepad.exe\"  C:\\notes.txt"},
    // Bare names: the working folder, the system's folders, then PATH; ".exe" when none.
    {"notepad", "", "C:\\Windows\\System32\\notepad.exe", "\"C:\\Windows\\System32\\notepad.exe\""},
    {"local.exe", "  ", "D:\\Travail\\local.exe", "\"D:\\Travail\\local.exe\"   "},
    {"outil.exe", "", "C:\\Outils\\outil.exe", "\"C:\\Outils\\outil.exe\""},
    // A folder in the name: below the working folder only.
    {"sous\\prog.exe", "", "D:\\Travail\\sous\\prog.exe", "\"D:\\Travail\\sous\\prog.exe\""},
    {"\\Travail\\local.exe", "", "D:\\Travail\\local.exe", "\"D:\\Travail\\local.exe\""},
    {"sous\\calc.exe", "", nullptr, nullptr},
    {"absent.exe", "-p", nullptr, nullptr},
    // A program that has gone never lets a planted one start in its place.
    {"C:\\Program Files\\Absent\\a.exe", "", nullptr, nullptr},
    {"D:\\Mes Outils\\y.exe -p", "", nullptr, nullptr},
    {"", "", nullptr, nullptr},
};

TEST(ResoutCommande, LeFichierNommeEnEntierEtJamaisUnDebutPlante) {
  const std::vector<std::string> recherche = {"C:\\Windows\\System32", "C:\\Windows", "C:\\Outils"};
  const auto estFichier = [](const std::string& c) { return kFichiers.count(c) > 0; };
  for (const Cas& c : kCas) {
    const auto commande = plat::ResoutCommande(c.executable, c.parametres, "D:\\Travail", recherche,
                                               estFichier);
    if (c.application == nullptr) {
      EXPECT_FALSE(commande) << c.executable << " starts " << commande->application;
      continue;
    }
    ASSERT_TRUE(commande) << c.executable;
    EXPECT_EQ(commande->application, c.application) << c.executable;
    EXPECT_EQ(commande->ligne, c.ligne) << c.executable;
  }
}

TEST(ResoutCommande, DossiersDeRechercheSansLeCourantNiLeLanceur) {
  PlateformeEnregistreuse p(".");
  p.variables["PATH"] = "C:\\Outils;relatif;.;\"C:\\Avec Blanc\";;\\\\serveur\\partage ";
  EXPECT_EQ(plat::DossiersDeRecherche(p),
            (std::vector<std::string>{"C:\\Windows\\System32", "C:\\Windows", "C:\\Outils",
                                      "C:\\Avec Blanc", "\\\\serveur\\partage"}));
}

}  // namespace
