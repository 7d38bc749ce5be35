#include "app/Vivlan.h"

#include "app/APropos.h"
#include "app/Config.h"
#include "app/Info.h"
#include "app/Princip.h"

int Vivlan(tk::Backend& backend, plat::Plateforme& plateforme, const std::string& cheminProgramme) {
  tk::Application application(backend, cheminProgramme);
  // A running launcher is found by its main window, hidden as it is.
  if (plateforme.FindWindowA(TFrmPrincip::kClasse, TFrmPrincip::kTitre)) {
    tk::MessageErreur(application, "Vivelance est déjà en cours d'exécution !");
    return 0;
  }
  TFrmPrincip principal(application, plateforme);
  TFrmInfo info(application);
  TFrmConfig config(application, principal);
  TFrmAPropos aPropos(application);
  principal.Relie(info, config, aPropos);
  application.run();
  return application.exitCode();
}
