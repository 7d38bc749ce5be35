// The hidden main window: the shortcuts, the two tray menus, the hotkeys and
// the active/inactive state.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/Declars.h"
#include "app/Inscriptions.h"
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

  plat::Plateforme& plateforme_;
  Inscriptions inscriptions_;
  std::string dossierLanceur_;
  std::string cheminIni_;
  // Not owned: made after this window and gone before it (Relie).
  TFrmInfo* frmInfo_ = nullptr;
  TFrmConfig* frmConfig_ = nullptr;
  TFrmAPropos* frmAPropos_ = nullptr;
};

// The key-combination text of a shortcut: "Ctrl + Shift + K".
std::string TexteCombinaison(const Enreg& r);
