#include "support/PlateformeEnregistreuse.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "platform/Encodage.h"

namespace {

template <typename... T>
std::string Appel(const char* nom, const T&... arguments) {
  std::ostringstream texte;
  texte << nom << '(';
  const char* separateur = "";
  ((texte << separateur << arguments, separateur = ","), ...);
  texte << ')';
  return texte.str();
}

// The model disk's answer for a path that names nothing real.
std::optional<unsigned> Modele(const std::string& chemin) {
  const std::string nom = chemin.substr(chemin.find_last_of("\\/") + 1);
  if (nom.empty()) return plat::kFileAttributeDirectory;
  if (nom.find_first_of("<>:\"|?*") != std::string::npos) return std::nullopt;
  std::string minuscules = nom;
  for (char& c : minuscules)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (minuscules.size() > 4 && minuscules.compare(minuscules.size() - 4, 4, ".exe") == 0)
    return plat::kFileAttributeNormal;
  if (nom.find('.') == std::string::npos) return plat::kFileAttributeDirectory;
  return std::nullopt;
}

}  // namespace

PlateformeEnregistreuse::PlateformeEnregistreuse(std::string repertoire)
    : repertoireCourant(std::move(repertoire)) {}

std::string PlateformeEnregistreuse::Resolu(const std::string& chemin) const {
  const std::filesystem::path p(plat::CheminNatif(chemin));
  if (p.is_absolute()) return p.lexically_normal().string();
  return (std::filesystem::path(plat::CheminNatif(repertoireCourant)) / p)
      .lexically_normal()
      .string();
}

bool PlateformeEnregistreuse::RegisterHotKey(plat::Handle fenetre, int id, unsigned modificateurs,
                                             unsigned touche) {
  appels.push_back(Appel("RegisterHotKey", fenetre, id, modificateurs, touche));
  const std::pair<unsigned, unsigned> combinaison{modificateurs, touche};
  if (raccourcisRefuses.count(combinaison)) return false;
  for (const auto& [cle, prise] : raccourcis)
    if (prise == combinaison) return false;
  raccourcis[{fenetre, id}] = combinaison;
  return true;
}

bool PlateformeEnregistreuse::UnregisterHotKey(plat::Handle fenetre, int id) {
  appels.push_back(Appel("UnregisterHotKey", fenetre, id));
  return raccourcis.erase({fenetre, id}) > 0;
}

short PlateformeEnregistreuse::VkKeyScanW(char16_t caractere) {
  appels.push_back(Appel("VkKeyScanW", static_cast<unsigned>(caractere)));
  const auto it = clavier.find(caractere);
  return it != clavier.end() ? it->second : -1;
}

int PlateformeEnregistreuse::CreateProcessW(const std::string& application,
                                            const std::string& ligne,
                                            const std::string& repertoire, int affichage) {
  appels.push_back(Appel("CreateProcessW", application, ligne, repertoire, affichage));
  const auto it = lancementsRefuses.find(application.substr(application.find_last_of("\\/") + 1));
  return it != lancementsRefuses.end() ? it->second : 0;
}

int PlateformeEnregistreuse::ShellExecuteExW(const std::string& fichier,
                                             const std::string& parametres,
                                             const std::string& repertoire, int affichage) {
  appels.push_back(Appel("ShellExecuteExW", fichier, parametres, repertoire, affichage));
  const auto it = ouverturesRefusees.find(fichier.substr(fichier.find_last_of("\\/") + 1));
  return it != ouverturesRefusees.end() ? it->second : 0;
}

std::optional<unsigned> PlateformeEnregistreuse::GetFileAttributesW(const std::string& chemin) {
  appels.push_back(Appel("GetFileAttributesW", chemin));
  if (absents.count(chemin)) return std::nullopt;
  if (const auto it = attributs.find(chemin); it != attributs.end()) return it->second;
  if (const auto reel = fichiers_.GetFileAttributesW(Resolu(chemin))) return reel;
  return Modele(chemin);
}

unsigned PlateformeEnregistreuse::GetDriveTypeW(const std::string& racine) {
  appels.push_back(Appel("GetDriveTypeW", racine));
  const auto it = lecteurs.find(racine);
  return it != lecteurs.end() ? it->second : plat::kDriveFixed;
}

std::string PlateformeEnregistreuse::GetSystemDirectoryW() {
  appels.push_back("GetSystemDirectoryW");
  return dossierSysteme;
}

std::string PlateformeEnregistreuse::GetWindowsDirectoryW() {
  appels.push_back("GetWindowsDirectoryW");
  return dossierWindows;
}

std::string PlateformeEnregistreuse::GetEnvironmentVariableW(const std::string& nom) {
  appels.push_back(Appel("GetEnvironmentVariableW", nom));
  const auto it = variables.find(nom);
  return it != variables.end() ? it->second : std::string();
}

std::string PlateformeEnregistreuse::GetCurrentDirectoryW() {
  appels.push_back("GetCurrentDirectory");
  return repertoireCourant;
}

std::string PlateformeEnregistreuse::CheminAbsolu(const std::string& chemin) {
  appels.push_back(Appel("CheminAbsolu", chemin));
  return Resolu(chemin);
}

bool PlateformeEnregistreuse::FindWindowW(const std::string& classe, const std::string& titre) {
  appels.push_back(Appel("FindWindowW", classe, titre));
  return fenetreTrouvee;
}

std::optional<std::string> PlateformeEnregistreuse::LitFichier(const std::string& chemin) {
  appels.push_back(Appel("LitFichier", chemin));
  if (fichiersIllisibles.count(chemin)) return std::nullopt;
  return fichiers_.LitFichier(Resolu(chemin));
}

bool PlateformeEnregistreuse::CreateMutexW(const std::string& nom) {
  appels.push_back(Appel("CreateMutexW", nom));
  return !mutexPris;
}

int PlateformeEnregistreuse::Erreur(const std::string& appel) {
  auto it = erreurs.find(appel);
  if (it == erreurs.end() || it->second.empty()) return 0;
  const int code = it->second.front();
  it->second.pop_front();
  return code;
}

int PlateformeEnregistreuse::CreateFileW(const std::string& chemin, plat::Handle& fichier) {
  appels.push_back(Appel("CreateFileW", chemin));
  if (const int code = Erreur("CreateFileW")) return code;
  return fichiers_.CreateFileW(Resolu(chemin), fichier);
}

int PlateformeEnregistreuse::WriteFile(plat::Handle fichier, const std::string& octets) {
  appels.push_back(Appel("WriteFile", octets));
  if (const int code = Erreur("WriteFile")) return code;
  return fichiers_.WriteFile(fichier, octets);
}

int PlateformeEnregistreuse::FlushFileBuffers(plat::Handle fichier) {
  appels.push_back("FlushFileBuffers");
  if (const int code = Erreur("FlushFileBuffers")) return code;
  return fichiers_.FlushFileBuffers(fichier);
}

int PlateformeEnregistreuse::CloseHandle(plat::Handle fichier) {
  appels.push_back("CloseHandle");
  // Closed all the same, as the system does: a handle is never left open.
  const int reel = fichiers_.CloseHandle(fichier);
  if (const int code = Erreur("CloseHandle")) return code;
  return reel;
}

int PlateformeEnregistreuse::ReplaceFileW(const std::string& remplace,
                                          const std::string& remplacant,
                                          const std::string& sauvegarde) {
  appels.push_back(Appel("ReplaceFileW", remplace, remplacant, sauvegarde));
  if (const int code = Erreur("ReplaceFileW")) return code;
  return fichiers_.ReplaceFileW(Resolu(remplace), Resolu(remplacant), Resolu(sauvegarde));
}

int PlateformeEnregistreuse::MoveFileExW(const std::string& de, const std::string& vers) {
  appels.push_back(Appel("MoveFileExW", de, vers));
  if (const int code = Erreur("MoveFileExW")) return code;
  return fichiers_.MoveFileExW(Resolu(de), Resolu(vers));
}

int PlateformeEnregistreuse::DeleteFileW(const std::string& chemin) {
  appels.push_back(Appel("DeleteFileW", chemin));
  return fichiers_.DeleteFileW(Resolu(chemin));
}

void PlateformeEnregistreuse::Sleep(unsigned millisecondes) {
  appels.push_back(Appel("Sleep", millisecondes));
}

bool PlateformeEnregistreuse::Shell_NotifyIconW(unsigned message,
                                                const plat::NotifyIconData& donnees) {
  const char16_t* fin = std::find(std::begin(donnees.szTip), std::end(donnees.szTip), u'\0');
  const std::string tip = plat::Utf8(std::u16string_view(donnees.szTip, static_cast<std::size_t>(fin - donnees.szTip)));
  appels.push_back(Appel("Shell_NotifyIconW", message, "hIcon=" + std::to_string(donnees.hIcon),
                         "tip=" + tip));
  icones.push_back(donnees);
  return resultatNotifyIcon;
}

short PlateformeEnregistreuse::GetKeyState(int touche) {
  appels.push_back(Appel("GetKeyState", touche));
  const auto it = etatsTouches.find(touche);
  return it != etatsTouches.end() ? it->second : 0;
}

bool PlateformeEnregistreuse::GetCursorPos(plat::Point& position) {
  appels.push_back("GetCursorPos");
  if (curseurEchoue) return false;
  position = curseur;
  return true;
}

bool PlateformeEnregistreuse::SetForegroundWindow(plat::Handle fenetre) {
  appels.push_back(Appel("SetForegroundWindow", fenetre));
  return resultatForeground;
}

bool PlateformeEnregistreuse::PostMessageW(plat::Handle fenetre, unsigned message,
                                           std::uintptr_t wParam, std::intptr_t lParam) {
  appels.push_back(Appel("PostMessageW", fenetre, message, wParam, lParam));
  return resultatPostMessage;
}

bool PlateformeEnregistreuse::ShowWindow(plat::Handle fenetre, int commande) {
  appels.push_back(Appel("ShowWindow", fenetre, commande));
  return resultatShowWindow;
}

unsigned PlateformeEnregistreuse::RegisterWindowMessageW(const std::string& nom) {
  appels.push_back(Appel("RegisterWindowMessageW", nom));
  return messageEnregistre;
}
