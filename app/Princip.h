// The hidden main window: the shortcuts, the two tray menus, the hotkeys and
// the active/inactive state.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/Declars.h"
#include "components/IconeNotification.h"
#include "platform/Plateforme.h"
#include "toolkit/Toolkit.h"

class TFrmInfo;
class TFrmConfig;
class TFrmAPropos;

class TFrmPrincip : public tk::Form {
 public:
  // A second start, the tests and the benchmark find the window by these: fixed text, the title
  // not made from the version.
  static constexpr char kClasse[] = "TFrmPrincip";
  static constexpr char kTitre[] = "Vivelance 1.0";

  TFrmPrincip(tk::Application& application, plat::Plateforme& plateforme);
  ~TFrmPrincip() override;

  // The other windows, created after this one.
  void Relie(TFrmInfo& info, TFrmConfig& config, TFrmAPropos& aPropos);

  plat::Plateforme& Plateforme() { return plateforme_; }
  // The directory that was current at start: the settings file's, and the folder programs
  // start in when their shortcut names none.
  const std::string& DossierLanceur() const { return dossierLanceur_; }
  const std::string& CheminIni() const { return cheminIni_; }

  std::unique_ptr<ListeEnreg> ListeRaccourcis;
  bool EtatActif = false;

  tk::Picture iImgActive = tk::Picture::IconeActive;
  tk::Picture iImgDesactive = tk::Picture::IconeInactive;
  tk::PopupMenu iPmGauche;
  tk::PopupMenu iPmDroit;
  // Entries of iPmDroit, which owns them.
  tk::MenuItem* iMiActiveDesactive = nullptr;
  tk::MenuItem* iMiConfig = nullptr;
  tk::MenuItem* iMiAPropos = nullptr;
  tk::MenuItem* iMiAide = nullptr;
  tk::MenuItem* iMiQuitter = nullptr;
  TIconeNotification iTITray;

  void FormCreate();
  void FormClose();
  bool FormHelp(unsigned command, int data, bool& callHelp);

  void LectureIni();
  void EffacementsMenus();
  void ConstructionMenus();
  void EnabledHotKeys();
  void DisabledHotKeys();
  // Takes up the settings file just written: unregisters, releases, reads, rebuilds
  // the menu and registers again if active. The one place the list changes.
  void Recharge();

  void TraiteRaccourci(std::uint16_t index);
  void GestionHotKey(int id);
  void GestionClickMenu(tk::MenuItem& sender);

  void iMiActiveDesactiveClick();
  void iMiConfigClick();
  void iMiAProposClick();
  void iMiAideClick();
  void iMiQuitterClick();

 private:
  // Takes a copy: the launch's messages run nested loops, in which the list may be reloaded.
  void Lance(Enreg r);
  bool Inscrits() const;
  void LibereRaccourcis();

  plat::Plateforme& plateforme_;
  // Counts the registration passes: a pass resumed after one of its messages stops
  // if another pass ran meanwhile, since the list or the state it worked for is gone.
  unsigned passe_ = 0;
  std::string dossierLanceur_;
  std::string cheminIni_;
  // Not owned: made after this window and gone before it (Relie).
  TFrmInfo* frmInfo_ = nullptr;
  TFrmConfig* frmConfig_ = nullptr;
  TFrmAPropos* frmAPropos_ = nullptr;
};

// The key-combination text of a shortcut: "Ctrl + Shift + K".
std::string TexteCombinaison(const Enreg& r);

// The virtual key that registers a shortcut's key: a letter's key whatever its case, a digit's
// key, for any other character the key that types it on the user's keyboard layout. Nothing
// when no key types it.
std::optional<unsigned> CodeTouche(plat::Plateforme& plateforme, const std::string& touche);
