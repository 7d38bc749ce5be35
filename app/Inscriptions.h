// The hotkeys the main window hands to the system for its list of shortcuts.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/Declars.h"
#include "platform/Plateforme.h"
#include "toolkit/Toolkit.h"

// The virtual key that registers a shortcut's key: a letter's key whatever its case, a digit's
// key, for any other character the key that types it on the user's keyboard layout. Nothing
// when no key types it.
std::optional<unsigned> CodeTouche(plat::Plateforme& plateforme, const std::string& touche);

// Which records of the list are registered (their Enregistre), the passes that register and
// unregister them, and whether the window has closed. A pass shows messages, whose nested loops
// may run anything: another pass, a save that reloads the list, the window's close. So each
// pass is numbered and stops, when it resumes, if another began meanwhile: the list or the
// state it worked for is gone. Once closed, the list is not taken up again.
class Inscriptions {
 public:
  // `liste`: the window's list, looked at anew at each step (none once released).
  Inscriptions(tk::Form& fenetre, plat::Plateforme& plateforme,
               const std::unique_ptr<ListeEnreg>& liste);

  // Registers every complete combination of the list not registered yet, and reports the
  // incomplete ones and those refused.
  void Inscrit();
  // Unregisters every registered one; a refusal is reported, and not tried again.
  void Desinscrit();
  // Unregisters them all before the list changes: again if one was registered anew during a
  // pass's messages, so that no combination outlives its record.
  void Libere();
  // The window closes: every combination is taken back, and a reload begun meanwhile (by a
  // save during one of the messages) must not read the list again.
  void Ferme();
  bool EstFerme() const { return ferme_; }

 private:
  bool Inscrits() const;

  tk::Form& fenetre_;
  plat::Plateforme& plateforme_;
  const std::unique_ptr<ListeEnreg>& liste_;
  unsigned passe_ = 0;
  bool ferme_ = false;
};
