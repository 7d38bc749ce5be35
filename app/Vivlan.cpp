#include "app/Vivlan.h"

#include "app/APropos.h"
#include "app/Config.h"
#include "app/Info.h"
#include "app/Princip.h"

namespace {

// One per Windows logon. Taken before any window exists: two starts at the same moment find
// each other, where the main window would come too late for the second to see it.
constexpr char kMutex[] = "Local\\Vivelance";

}  // namespace

int Vivlan(tk::Backend& backend, plat::Plateforme& plateforme, const std::string& cheminProgramme) {
  tk::Application application(backend, cheminProgramme);
  // Others find a running launcher by its main window, hidden as it is: a window of that class
  // and title holds the place too.
  if (!plateforme.CreateMutexW(kMutex) ||
      plateforme.FindWindowW(TFrmPrincip::kClasse, TFrmPrincip::kTitre)) {
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
