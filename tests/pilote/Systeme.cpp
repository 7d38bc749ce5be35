#include "pilote/Systeme.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/win32/Large.h"

namespace pilote {

namespace {

void SurLaSortieDErreur(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }

// Set before any code runs: a program's own hook, set while its statics are made, stays.
Signalement gSignalement = SurLaSortieDErreur;

}  // namespace

void SurEchec(Signalement signalement) { gSignalement = signalement; }
void Echec(const std::string& message) { gSignalement(message); }

bool Attends(const std::function<bool()>& condition, DWORD delai, DWORD intervalle) {
  const ULONGLONG fin = GetTickCount64() + delai;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= fin) return false;
    Sleep(intervalle);
  }
}

std::string NomUnique(const std::string& debut) {
  static int n = 0;
  return debut + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++n);
}

std::filesystem::path Fs(const std::string& chemin) { return std::filesystem::u8path(chemin); }

std::string CheminWine(std::string chemin) {
  if (!chemin.empty() && chemin.front() == '/') {
    for (char& c : chemin) {
      if (c == '/') c = '\\';
    }
    chemin = "Z:" + chemin;
  }
  return chemin;
}

std::string CheminLinux(const std::string& chemin) {
  const std::wstring large = plat::Large(chemin);
  using Conversion = char*(CDECL*)(const wchar_t*);
  const auto conversion = reinterpret_cast<Conversion>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* nom = conversion ? conversion(large.c_str()) : nullptr;
  if (!nom) return {};
  std::string resultat = nom;
  HeapFree(GetProcessHeap(), 0, nom);
  return resultat;
}

int CommandeLinux(const std::string& commande) {
  // Wine starts Linux programs too, but gives no handle to wait on: the shell leaves the
  // command's exit code in a file once it is done.
  const std::string fin = NomUnique("/tmp/vivlan-linux-");
  const std::string ligne = "/bin/sh -c \"" + commande + "; echo $? >" + fin + ".0 && mv " +
                            fin + ".0 " + fin + "\"";
  std::wstring large = plat::Large(ligne);
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof demarrage;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, large.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &demarrage, &info)) {
    Echec(ligne + ": " + std::to_string(GetLastError()));
    return -1;
  }
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  const std::string finWindows = CheminWine(fin);
  std::string code;
  const bool fini = Attends([&] {
    std::ifstream fichier(Fs(finWindows));
    return fichier && std::getline(fichier, code);
  });
  DeleteFileW(plat::Large(finWindows).c_str());
  if (!fini) {
    Echec("no end: " + ligne);
    return -1;
  }
  return std::stoi(code);
}

bool CreeDossier(const std::string& chemin) {
  return CreateDirectoryW(plat::Large(chemin).c_str(), nullptr) != FALSE;
}

bool CopieFichier(const std::string& de, const std::string& vers) {
  return CopyFileW(plat::Large(de).c_str(), plat::Large(vers).c_str(), FALSE) != FALSE;
}

Lignes FichiersDe(const std::string& dossier) {
  Lignes noms;
  WIN32_FIND_DATAW trouve;
  HANDLE recherche = FindFirstFileW(plat::Large(dossier + "\\*").c_str(), &trouve);
  if (recherche == INVALID_HANDLE_VALUE) return noms;
  do {
    const std::string nom = plat::Etroit(trouve.cFileName);
    if (nom != "." && nom != "..") noms.push_back(nom);
  } while (FindNextFileW(recherche, &trouve));
  FindClose(recherche);
  return noms;
}

}  // namespace pilote
