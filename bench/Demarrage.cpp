// Start-up to ready, Vivlan.exe with 0 to 3,498 shortcuts against Plancher.exe. Ready: the main
// window and the tray icon's window exist, the process waits for input in its message loop (the
// icon is added before it), and the last combination of the file is held: this process can no
// longer register it.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Mesures.h"

// Round after round over every program, so that a busy moment of the machine weighs on all alike.
void MesureDemarrages(const std::string& racine) {
  constexpr int kFois = 7;
  std::printf("Start-up to ready (median of %d rounds, after one to warm up)\n", kFois);
  struct Cas {
    Executable programme;
    std::string dossier;
    std::vector<double> mesures;
  };
  std::vector<Cas> cas(1);
  cas[0].programme = Plancher();
  cas[0].dossier = racine;
  for (int n : kTailles) {
    Cas c;
    c.programme = Vivlan(n);
    c.dossier = racine + "\\n" + std::to_string(n);
    cas.push_back(std::move(c));
  }
  for (int tour = 0; tour <= kFois; ++tour) {
    for (Cas& c : cas) {
      const double ms = Demarrage(c.programme, c.dossier);
      if (tour > 0) c.mesures.push_back(ms);
    }
  }
  auto mediane = [](const Cas& c) {
    return std::count(c.mesures.begin(), c.mesures.end(), -1.0) > 0 ? -1 : Mediane(c.mesures);
  };
  const double sol = mediane(cas[0]);
  Ligne("floor: Plancher.exe (one window, one icon)", sol, 0);
  for (size_t i = 1; i < cas.size(); ++i) {
    const int n = cas[i].programme.raccourcis;
    const std::string quoi = "Vivlan.exe, " + std::to_string(n) + " shortcuts (" +
                             std::to_string(std::min(n, kCombinaisons)) + " hotkeys)";
    Ligne(quoi.c_str(), mediane(cas[i]), sol);
  }
}

