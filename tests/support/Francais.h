// The French the user reads in the launcher's windows, written out again apart from the
// program's: each window's non-empty control texts, one a line, in the order of the layout.
// Compared as sorted lines: the order in which the system lists controls is not the user's.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

inline constexpr char kTitreAPropos[] = "A propos de Vivelance";
inline constexpr char kTextesAPropos[] =
    "Vivelance\nCopyright © 2026 L'équipe Vivelance\ncontact@vivelance.fr\nOk";

inline constexpr char kTitreEditeur[] = "Configuration";
inline constexpr char kTextesEditeur[] =
    " Menu \n Sous-Menu \n Fiche \n Caractéristiques de l'application \n"
    "Chemin et nom de l'exécutable:\nParcourir...\nParamètres d'exécution:\n"
    "Répertoire de travail:\nTest d'exécution\n Activation \n Touches spéciales \nCtrl\nAlt\n"
    "Shift\nWindows\nTouche:\nOK\nAnnuler";

inline constexpr char kTitreInformations[] = "Informations";
inline constexpr char kTextesInformations[] =
    "Menu:\nItem:\nChemin et nom de l'exécutable:\nParamètres d'exécution:\n"
    "Répertoire de travail:\n Activation \n Touches spéciales \nCtrl\nAlt\nShift\nWindows\n"
    "Touche:\nOK\nActivation";

inline constexpr char kDejaEnCours[] = "Vivelance est déjà en cours d'exécution !";

inline std::vector<std::string> LignesTriees(const std::string& textes) {
  std::vector<std::string> lignes;
  std::istringstream flux(textes);
  for (std::string ligne; std::getline(flux, ligne);) lignes.push_back(ligne);
  std::sort(lignes.begin(), lignes.end());
  return lignes;
}
