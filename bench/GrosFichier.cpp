// A 100 MB settings file of short lines: start-up to ready and the peak working set against the
// file's size; then the working set of the launcher idle against the floor's.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Mesures.h"

void MesureGrosFichier(const std::string& racine) {
  constexpr std::size_t kTaille = 100u << 20;
  const std::string dossier = racine + "\\gros";
  std::filesystem::create_directories(dossier);
  {
    // Short lines before the sections: the whole file is walked before the first of them.
    std::string ini;
    ini.reserve(kTaille + (1u << 20));
    while (ini.size() < kTaille) ini += "x = 1\r\n";
    ini += Ini(3498);
    std::ofstream(dossier + "\\Vivlan.ini", std::ios::binary) << ini;
  }
  const double mo = static_cast<double>(std::filesystem::file_size(dossier + "\\Vivlan.ini")) /
                    (1024.0 * 1024.0);
  std::printf("A settings file of %.0f MB: 15 million short lines, then 3,498 sections\n", mo);
  const Executable vivlan = Vivlan(3498);
  Memoire memoire;
  const double normal = Demarrage(vivlan, racine + "\\n3498");
  Ligne("start-up to ready, 3,498 shortcuts", normal, 0);
  Ligne("start-up to ready, the same after 100 MB", Demarrage(vivlan, dossier, &memoire), normal);
  std::printf("  %-44s %9.1f MB   file + %.1f MB\n", "peak working set", memoire.pic,
              memoire.pic - mo);

  std::printf("Working set when idle (1 s after ready)\n");
  Memoire sol, lanceur;
  Demarrage(Plancher(), racine, &sol, 1000);
  Demarrage(vivlan, racine + "\\n3498", &lanceur, 1000);
  std::printf("  %-44s %9.1f MB\n", "floor: Plancher.exe", sol.courant);
  std::printf("  %-44s %9.1f MB   x%.2f\n", "Vivlan.exe, 3,498 shortcuts", lanceur.courant,
              sol.courant > 0 ? lanceur.courant / sol.courant : 0.0);
}
