// What the driver asks of Windows and of the Linux underneath Wine, without a test framework:
// the e2e tests, the benchmark and the pictures of the read-me share it. Texts and paths are
// UTF-8 and reach the system through the W functions only, so that names of any script work
// whatever the ANSI code page.
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pilote {

inline constexpr DWORD kDelai = 20000;

// What a helper does when the system refuses it: a line on the error output unless the program
// says otherwise (the e2e tests make it a failure of the running test).
using Signalement = void (*)(const std::string& message);
void SurEchec(Signalement signalement);
void Echec(const std::string& message);

// Polls `condition` every `intervalle` ms until it holds; false once `delai` ms have passed.
bool Attends(const std::function<bool()>& condition, DWORD delai = kDelai, DWORD intervalle = 50);

using Lignes = std::vector<std::string>;

// `debut`, this process's id and a number not given before: a name that neither another call
// nor another run at the same time takes.
std::string NomUnique(const std::string& debut);

// A UTF-8 path for std::filesystem and the streams: MinGW's narrow paths go through the ANSI
// code page.
std::filesystem::path Fs(const std::string& chemin);

// The Windows path of a Linux one (Wine's drive Z: is the Linux root); others as they are.
std::string CheminWine(std::string chemin);
// The Linux path of a Windows one; empty when there is none.
std::string CheminLinux(const std::string& chemin);
// `commande` runs in /bin/sh and holds no double quote; its exit code, or -1 when it could not
// run.
int CommandeLinux(const std::string& commande);

// Folders and files, by their UTF-8 paths.
bool CreeDossier(const std::string& chemin);
bool CopieFichier(const std::string& de, const std::string& vers);  // replaces `vers`
// The names a folder holds, "." and ".." left out.
Lignes FichiersDe(const std::string& dossier);

}  // namespace pilote
