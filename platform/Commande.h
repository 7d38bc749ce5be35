// Which program a shortcut starts, and with which command line: decided here, once, so that the
// system is never left to guess from a path with blanks or to look in a folder of its choosing.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Plateforme.h"

namespace plat {

struct Commande {
  std::string application;  // the program file, as CreateProcess's application name
  std::string ligne;        // the whole command line, the program's path quoted first
  std::string arguments;    // what follows the program on that line
};

// `chemin` taken from the folder `base` as the system takes a path from the current folder: a
// full path as it is, one from the root on base's drive, any other one below base.
std::string Joint(const std::string& base, const std::string& chemin);

// The folders a program named without one is looked for in, after the working folder: the
// system's folder, the Windows folder, then those of PATH that are full paths. Never the
// launcher's own folder nor the process's current one.
std::vector<std::string> DossiersDeRecherche(Plateforme& plateforme);

// The program that the executable field names, started in `repertoire` (a full path):
// - in quotes: the path between them, what follows them being the first arguments;
// - otherwise the whole field, blanks included, when it names a file;
// - otherwise the field is taken as a program followed by arguments, and the longest start of
//   it cut at a blank that names a file, extension included, is the program.
// A name without an extension gets ".exe"; a name without a folder is looked for in
// `repertoire`, then in `recherche`; one with a folder below `repertoire` only. The parameters
// follow after one blank when there are any. Nothing when no file answers.
std::optional<Commande> ResoutCommande(const std::string& executable, const std::string& parametres,
                                       const std::string& repertoire,
                                       const std::vector<std::string>& recherche,
                                       const std::function<bool(const std::string&)>& estFichier);

// "https://...", "mailto:...", "shell:...": a name for the shell, never a path ("C:..." is one).
bool EstAdresse(const std::string& texte);

// Whether a full path lies on a disk of this computer, which answers at once: not on a share
// ("\\\\serveur\\..."), a network drive, or a drive that may be waiting for its medium.
bool SurDisqueLocal(Plateforme& plateforme, const std::string& chemin);

}  // namespace plat
