// A launcher started over the in-memory toolkit and the recording platform,
// with the settings file the test gives it.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/APropos.h"
#include "app/Config.h"
#include "app/Info.h"
#include "app/Princip.h"
#include "support/FichierIni.h"
#include "support/PlateformeEnregistreuse.h"
#include "toolkit/memoire/BackendMemoire.h"

// A fresh folder of its own for each test, removed afterwards.
struct DossierTemporaire {
  DossierTemporaire();
  ~DossierTemporaire();
  // A file of the folder, with the system's separator.
  std::string Fichier(const std::string& nom) const;
  std::string chemin;
};

// The calls of `appels` whose record starts with `prefixe`.
std::vector<std::string> AppelsDe(const PlateformeEnregistreuse& p, const std::string& prefixe);
std::string LitTout(const std::string& chemin);
void EcritTout(const std::string& chemin, const std::string& octets);

class Banc : public ::testing::Test {
 protected:
  static constexpr const char* kExe = "C:\\Vivelance\\Vivlan.exe";

  DossierTemporaire dossier;
  // The settings file of the launcher started in `dossier`.
  const std::string ini = dossier.Fichier("Vivlan.ini");
  tk::BackendMemoire backend;
  PlateformeEnregistreuse plateforme{dossier.chemin};
  tk::Application application{backend, kExe};
  std::unique_ptr<TFrmPrincip> principal;
  std::unique_ptr<TFrmInfo> info;
  std::unique_ptr<TFrmConfig> config;
  std::unique_ptr<TFrmAPropos> aPropos;

  std::vector<std::string> Appels(const std::string& prefixe) const {
    return AppelsDe(plateforme, prefixe);
  }
  // The programs started so far, the launcher's folder written ".":
  // "CreateProcessW(.\x.exe,\".\x.exe\" -p,.,5)".
  std::vector<std::string> Lances() const;
  void Demarre(const std::vector<Raccourci>& raccourcis);
  void Demarre();
  void TearDown() override;

  // Entry `entree` of sub-menu `sousMenu` of the left menu.
  tk::MenuItem& Entree(int sousMenu, int entree);
  // The texts of the message boxes shown so far, then forgets them.
  std::vector<std::string> Messages();
  // What the left menu holds: "A[x,z] B[y]".
  std::string MenuGauche();
};

// A left or right click on the tray icon, as the shell reports it.
void ClicIcone(tk::BackendMemoire& backend, TIconeNotification& icone, bool droit);
