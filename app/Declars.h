// The shortcut record, the list of shortcuts and the settings file.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Plateforme.h"
#include "platform/Profil.h"
#include "toolkit/Toolkit.h"

struct Enreg {
  std::string Menu;
  std::string Item;
  std::string Executable;
  std::string Parametres;
  std::string Repertoire;
  bool Shift = false;
  bool Ctrl = false;
  bool Alt = false;
  bool Win = false;
  bool Enregistre = false;  // handed to the system as a hotkey; never stored
  std::string Touche;       // empty or one character
};

// An ordered list of owned records; a record's position is the shortcut's index.
using ListeEnreg = std::vector<std::unique_ptr<Enreg>>;

// The settings file's name, in the directory current at start.
extern const char* const kNomFichierIni;

// A key of a section: its name, what a missing one reads as, and the field it fills, a text
// or a flag written "Oui" or "Non". The keys of kClesIni stand in the order they are written.
struct CleIni {
  const char* nom;
  const char* defaut;
  std::string Enreg::*texte;
  bool Enreg::*drapeau;
};
constexpr std::size_t kNombreClesIni = 10;
extern const CleIni kClesIni[kNombreClesIni];
// A field of a record and the control of a form `F` that shows it: a text field, or a box for
// a flag. One table of them serves both forms that show a shortcut, to fill their controls
// and to read them back, as kClesIni serves the file.
template <class F>
struct ChampFiche {
  std::string Enreg::*texte = nullptr;
  tk::Edit F::*champ = nullptr;
  bool Enreg::*drapeau = nullptr;
  tk::CheckBox F::*boite = nullptr;
};
// What a shortcut starts and with which keys: the editor's fields and the information's.
template <class F>
inline const ChampFiche<F> kChampsFiche[] = {
    {&Enreg::Executable, &F::iEdExe},
    {&Enreg::Parametres, &F::iEdParam},
    {&Enreg::Repertoire, &F::iEdChemin},
    {nullptr, nullptr, &Enreg::Ctrl, &F::iChxCtrl},
    {nullptr, nullptr, &Enreg::Alt, &F::iChxAlt},
    {nullptr, nullptr, &Enreg::Shift, &F::iChxShift},
    {nullptr, nullptr, &Enreg::Win, &F::iChxWin},
    {&Enreg::Touche, &F::iEdTouche},
};

// Shows `r` in the controls of `fiche`; none: the fields empty, the boxes unticked.
template <class F>
void MontreEnreg(F& fiche, const Enreg* r) {
  for (const ChampFiche<F>& c : kChampsFiche<F>) {
    if (c.texte)
      (fiche.*c.champ).setText(r ? r->*c.texte : std::string());
    else
      (fiche.*c.boite).setChecked(r && r->*c.drapeau);
  }
}

// The key is one character: what follows it is neither read nor written.
void CoupeTouche(Enreg& r);

// Reads the controls of `fiche` into `r`; its other fields stay as they are.
template <class F>
void LitEnreg(const F& fiche, Enreg& r) {
  for (const ChampFiche<F>& c : kChampsFiche<F>) {
    if (c.texte)
      r.*c.texte = (fiche.*c.champ).text();
    else
      r.*c.drapeau = (fiche.*c.boite).checked();
  }
  CoupeTouche(r);
}

// The buffer a value is read with.
constexpr std::size_t kTailleValeurIni = 2048;
// The most shortcuts there can be: a shortcut's index is its hotkey's identifier, which the
// system takes from 0 to 0xBFFF. The file is read up to there, and the editor adds no more.
constexpr std::size_t kMaxRaccourcis = 0xC000;

// Appends the record of one section to `liste`, from the values read for the keys of kClesIni,
// in their order.
void AjouteEnreg(const std::vector<std::string_view>& valeurs, ListeEnreg& liste);

// The values LectureIni makes its records of, handed to `section` one section after the other:
// the keys of kClesIni, in their order, of the sections "1", "2", … as many as the file has
// names, up to kMaxRaccourcis.
void ValeursIni(const plat::Profil& profil, const plat::Profil::Reception& section);

// Reads the file's bytes (none when it is missing), in whichever of its forms, and appends one
// record per section to `liste`, from the sections "1", "2", … whatever the names found, up to
// kMaxRaccourcis.
void LectureIni(const std::optional<std::string>& contenu, ListeEnreg& liste);

// Writes the records of `travail`, menu label by menu label in the order of
// `menus`, into a new file that replaces `chemin` once complete: in Windows-1252 when every
// text fits, in UTF-16LE otherwise. Returns the labels without records, left out, in their
// order, for the caller to report once the file is written. Throws plat::EInOutError.
std::vector<std::string> EcritureIni(plat::Plateforme& plateforme, const std::string& chemin,
                                     const std::vector<std::string>& menus,
                                     const ListeEnreg& travail);

// Starts `executable` (with its parameters) in `repertoire`, as a shortcut or the editor's test
// run does: in the launcher's folder `dossierLanceur` when `repertoire` is empty or cannot be
// entered, which is reported. A program starts as it is; a document, a folder, an address or a
// program that asks for more rights is opened by the shell. The process's own current directory
// is neither used nor changed.
void Lancement(tk::Application& application, plat::Plateforme& plateforme,
               const std::string& dossierLanceur, const std::string& executable,
               const std::string& parametres, const std::string& repertoire);

// Where the icon of a shortcut's menu entry comes from: its target as the launch finds it (a
// program, a document, a folder, an address), or the icon of its kind when it is missing.
tk::SourceIcone IconeDuRaccourci(plat::Plateforme& plateforme, const std::string& dossierLanceur,
                            const std::string& executable, const std::string& repertoire);
