// A hotkey press to the started program running (its marker file appears), against this
// process starting the same command line with CreateProcess.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Mesures.h"
#include "pilote/Fenetres.h"
#include "pilote/Lanceur.h"

namespace {

void Presse(const Combinaison& c) {
  std::vector<WORD> modificateurs;
  if (c.masque & MOD_CONTROL) modificateurs.push_back(VK_CONTROL);
  if (c.masque & MOD_ALT) modificateurs.push_back(VK_MENU);
  if (c.masque & MOD_SHIFT) modificateurs.push_back(VK_SHIFT);
  pilote::Touche(static_cast<WORD>(c.touche), modificateurs);
}

bool MarqueurEcrit(const std::string& marqueur) {
  WIN32_FILE_ATTRIBUTE_DATA donnees{};
  return GetFileAttributesExA(marqueur.c_str(), GetFileExInfoStandard, &donnees) &&
         (donnees.nFileSizeLow > 0 || donnees.nFileSizeHigh > 0);
}

// Gone once the program that wrote it has closed it.
bool EffaceMarqueur(const std::string& marqueur) {
  return Guette([&] {
    return DeleteFileA(marqueur.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
  });
}

}  // namespace

void MesureRaccourci(const std::string& racine) {
  constexpr int kFois = 15;
  const std::string dossier = racine + "\\n100";
  const std::string marqueur = dossier + "\\Marqueur.txt";
  SetEnvironmentVariableA("VIVLAN_MARQUEUR", marqueur.c_str());
  std::printf("Launch to program running: marker file written (median of %d, alternated)\n",
              kFois);

  Lance vivlan("\"" + kVivlan + "\"", dossier);
  WaitForInputIdle(vivlan.processus.Handle(), kPatience);
  const Combinaison c = CombinaisonNumero(0);
  HWND principale = nullptr;
  if (!vivlan.processus.Existe() || !Guette([&] {
        principale = pilote::FenetrePrincipaleDe(vivlan.processus.Pid());
        return principale && Tenue(CombinaisonNumero(99));
      })) {
    Ligne("Vivlan.exe did not start", -1, 0);
    return;
  }
  EffaceMarqueur(marqueur);

  auto direct = [&]() -> double {
    const double debut = plat::Millisecondes();
    Lance p("\"" + kMarqueur + "\" p0", dossier);
    if (!Guette([&] { return MarqueurEcrit(marqueur); })) return -1;
    const double duree = plat::Millisecondes() - debut;
    p.processus.AttendsFin(10000);
    return EffaceMarqueur(marqueur) ? duree : -1;
  };
  auto raccourci = [&]() -> double {
    const double debut = plat::Millisecondes();
    Presse(c);
    if (!Guette([&] { return MarqueurEcrit(marqueur); })) return -1;
    const double duree = plat::Millisecondes() - debut;
    return EffaceMarqueur(marqueur) ? duree : -1;
  };
  direct();
  raccourci();
  std::vector<double> directs, raccourcis;
  for (int i = 0; i < kFois; ++i) {
    directs.push_back(direct());
    raccourcis.push_back(raccourci());
  }
  const bool echec = std::count(directs.begin(), directs.end(), -1.0) > 0 ||
                     std::count(raccourcis.begin(), raccourcis.end(), -1.0) > 0;
  const double d = echec ? -1 : Mediane(directs);
  Ligne("CreateProcess(Marqueur.exe p0) from here", d, 0);
  Ligne("Ctrl+Alt+A (SendInput) to Vivlan.exe", echec ? -1 : Mediane(raccourcis), d);
  vivlan.Ferme(principale);
  SetEnvironmentVariableA("VIVLAN_MARQUEUR", nullptr);
}
