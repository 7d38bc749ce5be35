#include "Mesures.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include <psapi.h>

#include "app/Declars.h"
#include "app/Princip.h"
#include "pilote/Lanceur.h"
#include "support/FichierIni.h"

const std::string kVivlan = pilote::CheminWine(VIVLAN_EXE);
const std::string kPlancher = pilote::CheminWine(PLANCHER_EXE);
const std::string kMarqueur = pilote::CheminWine(MARQUEUR_EXE);

namespace {

constexpr char kTouches[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr UINT kMasques[] = {MOD_CONTROL | MOD_ALT, MOD_CONTROL | MOD_SHIFT, MOD_ALT | MOD_SHIFT,
                             MOD_CONTROL | MOD_ALT | MOD_SHIFT, MOD_CONTROL, MOD_ALT, MOD_SHIFT};

Memoire MemoireDe(HANDLE processus) {
  PROCESS_MEMORY_COUNTERS compteurs{};
  compteurs.cb = sizeof compteurs;
  if (!K32GetProcessMemoryInfo(processus, &compteurs, sizeof compteurs)) return {};
  constexpr double kMo = 1024.0 * 1024.0;
  return {compteurs.PeakWorkingSetSize / kMo, compteurs.WorkingSetSize / kMo};
}

}  // namespace

double Mediane(std::vector<double> valeurs) {
  if (valeurs.empty()) return 0;
  std::sort(valeurs.begin(), valeurs.end());
  const size_t m = valeurs.size() / 2;
  return valeurs.size() % 2 ? valeurs[m] : (valeurs[m - 1] + valeurs[m]) / 2;
}

bool Guette(const std::function<bool()>& condition) {
  return pilote::Attends(condition, kPatience, 1);
}

void Ligne(const char* quoi, double ms, double reference) {
  if (ms < 0) {
    std::printf("  %-44s      failed\n", quoi);
  } else if (reference > 0) {
    std::printf("  %-44s %9.1f ms   x%.2f\n", quoi, ms, ms / reference);
  } else {
    std::printf("  %-44s %9.1f ms\n", quoi, ms);
  }
}

Combinaison CombinaisonNumero(int i) { return {kMasques[i / 36], kTouches[i % 36]}; }

bool Tenue(const Combinaison& c) {
  constexpr int kSonde = 0xBFFF;
  if (!RegisterHotKey(nullptr, kSonde, c.masque, static_cast<UINT>(c.touche))) return true;
  UnregisterHotKey(nullptr, kSonde);
  return false;
}

std::string Ini(int n, int parMenu) {
  std::vector<Raccourci> raccourcis;
  for (int i = 0; i < n; ++i) {
    Raccourci r("Menu " + std::to_string(i / parMenu), "Raccourci " + std::to_string(i),
                kMarqueur, "p" + std::to_string(i));
    if (i < kCombinaisons) {
      const Combinaison c = CombinaisonNumero(i);
      r.Shift(c.masque & MOD_SHIFT).Ctrl(c.masque & MOD_CONTROL).Alt(c.masque & MOD_ALT);
      r.Touche(std::string(1, c.touche));
    }
    raccourcis.push_back(std::move(r));
  }
  return FichierIni(raccourcis);
}

bool Lance::Ferme(HWND fenetre) const {
  PostMessageW(fenetre, WM_CLOSE, 0, 0);
  return processus.AttendsFin(10000);
}

Executable Plancher() { return {"\"" + kPlancher + "\"", "TPlancher", "Plancher", -1}; }

Executable Vivlan(int raccourcis) {
  return {"\"" + kVivlan + "\"", TFrmPrincip::kClasse, TFrmPrincip::kTitre, raccourcis};
}

double Demarrage(const Executable& p, const std::string& dossier, Memoire* memoire, DWORD repos) {
  const double debut = plat::Millisecondes();
  Lance lance(p.ligne, dossier);
  const pilote::Processus& processus = lance.processus;
  if (!processus.Existe()) return -1;
  WaitForInputIdle(processus.Handle(), kPatience);
  HWND principale = nullptr;
  const bool pret = Guette([&] {
    principale = pilote::FenetreDe(processus.Pid(), p.classe, p.titre);
    if (!principale) return false;
    if (p.raccourcis < 0) return true;
    return pilote::FenetreIconeDe(processus.Pid()) &&
           (p.raccourcis == 0 ||
            Tenue(CombinaisonNumero(std::min(p.raccourcis, kCombinaisons) - 1)));
  });
  const double duree = plat::Millisecondes() - debut;
  if (pret && memoire != nullptr) {
    Sleep(repos);
    *memoire = MemoireDe(processus.Handle());
  }
  if (!pret || !lance.Ferme(principale)) return -1;
  return duree;
}

size_t LectureParCle(const std::string& fichier) {
  // Room for every name, as the launcher reads every section.
  constexpr DWORD kTailleNoms = 1 << 20;
  std::vector<char> noms(kTailleNoms);
  const DWORD lus = GetPrivateProfileStringA(nullptr, nullptr, "", noms.data(), kTailleNoms,
                                             fichier.c_str());
  size_t n = 0;
  for (DWORD i = 0; i < lus && noms[i] != '\0'; i += static_cast<DWORD>(std::strlen(&noms[i])) + 1)
    ++n;
  n = static_cast<std::uint16_t>(n);
  ListeEnreg liste;
  std::vector<std::vector<char>> tampons(kNombreClesIni, std::vector<char>(kTailleValeurIni));
  std::vector<std::string_view> valeurs(kNombreClesIni);
  for (size_t k = 1; k <= n; ++k) {
    const std::string section = std::to_string(k);
    for (size_t c = 0; c < kNombreClesIni; ++c) {
      const CleIni& cle = kClesIni[c];
      const DWORD l = GetPrivateProfileStringA(section.c_str(), cle.nom, cle.defaut,
                                               tampons[c].data(), kTailleValeurIni, fichier.c_str());
      valeurs[c] = std::string_view(tampons[c].data(), l);
    }
    AjouteEnreg(valeurs, liste);
  }
  return liste.size();
}

void Pompe() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
