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
// text fits, in UTF-16LE otherwise. A label without records is reported and left out. Throws
// plat::EInOutError.
void EcritureIni(tk::Application& application, plat::Plateforme& plateforme,
                 const std::string& chemin, const std::vector<std::string>& menus,
                 const ListeEnreg& travail);

// Starts `executable` (with its parameters) in `repertoire`, as a shortcut or the editor's test
// run does: in the launcher's folder `dossierLanceur` when `repertoire` is empty or cannot be
// entered, which is reported. The process's own current directory is neither used nor changed.
void Lancement(tk::Application& application, plat::Plateforme& plateforme,
               const std::string& dossierLanceur, const std::string& executable,
               const std::string& parametres, const std::string& repertoire);
