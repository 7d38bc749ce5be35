// Chrono.exe: the launcher's timings under Wine, each printed beside what it is measured against.
// Asserts nothing; tools/bench builds and runs it. One file per part, each saying what it times:
// Demarrage.cpp, Raccourci.cpp, Lecture.cpp (in-process reading), Editeur.cpp, Menus.cpp and
// GrosFichier.cpp (the 100 MB file and the idle working set).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "Mesures.h"

// Arguments: the parts to run ("demarrage", "raccourci", "processus", "editeur", "menus", "gros"); none:
// all of them.
int main(int argc, char** argv) {
  auto partie = [&](const char* nom) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
      if (std::strcmp(argv[i], nom) == 0) return true;
    return false;
  };
  // Without it, under Wine, the window programs started from this console program die at their
  // first window with an X BadWindow error.
  GetDesktopWindow();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string racine =
      std::string(temp) + "vivlan-bench-" + std::to_string(GetCurrentProcessId());
  for (int n : kTailles) {
    const std::string dossier = racine + "\\n" + std::to_string(n);
    std::filesystem::create_directories(dossier);
    std::ofstream(dossier + "\\Vivlan.ini", std::ios::binary) << Ini(n);
  }
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const double debut = plat::Millisecondes();
  if (partie("demarrage")) MesureDemarrages(racine);
  if (partie("raccourci")) MesureRaccourci(racine);
  if (partie("processus")) MesureEnProcessus(racine);
  if (partie("editeur")) MesureEditeur(racine);
  if (partie("menus")) MesureMenus(racine);
  if (partie("gros")) MesureGrosFichier(racine);
  std::printf("Measured in %.0f s\n", (plat::Millisecondes() - debut) / 1000);
  std::error_code erreur;
  std::filesystem::remove_all(racine, erreur);
  return 0;
}
