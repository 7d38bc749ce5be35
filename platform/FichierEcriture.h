// The settings file written anew, so that no failure and no crash can leave it torn.
#pragma once

#include <string>

#include "platform/Plateforme.h"

namespace plat {

// Written into a temporary file of its own beside the target (a name nobody could have
// prepared, never an existing file or link), flushed to the disk, then put in the target's
// place in one step that keeps the target's permissions and attributes. Until Ferme has
// succeeded the previous file is whole; after a failure at any step no temporary file is left.
// Every failure throws EInOutError with the system's code.
class FichierEcriture {
 public:
  FichierEcriture(Plateforme& plateforme, std::string chemin);
  ~FichierEcriture();
  FichierEcriture(const FichierEcriture&) = delete;
  FichierEcriture& operator=(const FichierEcriture&) = delete;

  void Ecrit(const std::string& octets);
  // Flushes, closes and replaces the target. A file that another program holds for a moment
  // (an antivirus, a synchronisation tool) is tried again for about a second.
  void Ferme();

 private:
  Plateforme& plateforme_;
  std::string cible_;
  std::string temporaire_;
  Handle fichier_ = 0;
  bool ouvert_ = false;
  bool remplace_ = false;
};

}  // namespace plat
