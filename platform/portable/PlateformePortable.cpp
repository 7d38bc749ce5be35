#include "platform/portable/PlateformePortable.h"

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace plat {

namespace {

constexpr int kFichierIntrouvable = 2;
constexpr int kCheminIntrouvable = 3;
constexpr int kAccesRefuse = 5;
constexpr int kFichierExistant = 80;
constexpr int kDejaExistant = 183;
constexpr int kSystemeDisquePlein = 112;
constexpr int kNomTropLong = 206;
constexpr int kPasUnRepertoire = 267;
constexpr unsigned kPremierMessage = 0xC000;
constexpr unsigned kModNoRepeat = 0x4000;

#ifdef _WIN32
constexpr int kOBinaire = O_BINARY;
#else
constexpr int kOBinaire = 0;
#endif

fs::path Chemin(const std::string& chemin) { return fs::path(CheminNatif(chemin)); }

// A handle of 0 is no file: descriptors are shifted by one.
int Descripteur(Handle fichier) { return static_cast<int>(fichier) - 1; }

int CodeErrno(int numero, const std::string& chemin) {
  return CodeErreur(std::error_code(numero, std::generic_category()), chemin);
}

std::string Majuscules(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

int CodeErreur(const std::error_code& erreur, const std::string& chemin) {
#ifdef _WIN32
  if (erreur.category() == std::system_category()) return erreur.value();  // already the system's
#endif
  if (erreur == std::errc::no_such_file_or_directory) {
    // The system tells a missing last part from a missing folder on the way.
    std::error_code ignore;
    const fs::path parent = fs::absolute(Chemin(chemin), ignore).parent_path();
    return fs::is_directory(parent, ignore) ? kFichierIntrouvable : kCheminIntrouvable;
  }
  if (erreur == std::errc::not_a_directory) return kCheminIntrouvable;
  if (erreur == std::errc::permission_denied || erreur == std::errc::operation_not_permitted ||
      erreur == std::errc::is_a_directory || erreur == std::errc::read_only_file_system)
    return kAccesRefuse;
  if (erreur == std::errc::no_space_on_device) return kSystemeDisquePlein;
  if (erreur == std::errc::filename_too_long) return kNomTropLong;
  return erreur.value();
}

std::string CheminNatif(const std::string& chemin) {
#ifdef _WIN32
  return chemin;
#else
  std::string natif = chemin;
  std::replace(natif.begin(), natif.end(), '\\', '/');
  return natif;
#endif
}

bool PlateformePortable::RegisterHotKey(Handle fenetre, int id, unsigned modificateurs,
                                        unsigned touche) {
  const unsigned mods = modificateurs & ~kModNoRepeat;
  const bool pris = std::any_of(raccourcis_.begin(), raccourcis_.end(), [&](const Raccourci& r) {
    return r.modificateurs == mods && r.touche == touche;
  });
  if (pris) return false;
  raccourcis_.push_back({fenetre, id, mods, touche});
  return true;
}

bool PlateformePortable::UnregisterHotKey(Handle fenetre, int id) {
  const auto it = std::find_if(raccourcis_.begin(), raccourcis_.end(), [&](const Raccourci& r) {
    return r.fenetre == fenetre && r.id == id;
  });
  if (it == raccourcis_.end()) return false;
  raccourcis_.erase(it);
  return true;
}

short PlateformePortable::VkKeyScanW(char16_t) { return -1; }

int PlateformePortable::CreateProcessW(const std::string&, const std::string&, const std::string&,
                                       int) {
  return kFichierIntrouvable;
}

int PlateformePortable::ShellExecuteExW(const std::string&, const std::string&,
                                        const std::string&, int) {
  return kFichierIntrouvable;
}

std::optional<unsigned> PlateformePortable::GetFileAttributesW(const std::string& chemin) {
  std::error_code erreur;
  const fs::file_status etat = fs::status(Chemin(chemin), erreur);
  if (erreur || !fs::exists(etat)) return std::nullopt;
  if (fs::is_directory(etat)) return kFileAttributeDirectory;
  const bool ecriture = (etat.permissions() & fs::perms::owner_write) != fs::perms::none;
  return ecriture ? kFileAttributeNormal : kFileAttributeReadOnly;
}

unsigned PlateformePortable::GetDriveTypeW(const std::string&) { return kDriveFixed; }

std::string PlateformePortable::GetSystemDirectoryW() { return {}; }

std::string PlateformePortable::GetWindowsDirectoryW() { return {}; }

std::string PlateformePortable::GetEnvironmentVariableW(const std::string& nom) {
  const char* valeur = std::getenv(nom.c_str());
  return valeur ? valeur : "";
}

std::string PlateformePortable::GetCurrentDirectoryW() {
  std::error_code erreur;
  const fs::path courant = fs::current_path(erreur);
  return erreur ? std::string() : courant.string();
}

std::string PlateformePortable::CheminAbsolu(const std::string& chemin) {
  std::error_code erreur;
  const fs::path absolu = fs::absolute(Chemin(chemin), erreur);
  return erreur ? chemin : absolu.lexically_normal().string();
}

bool PlateformePortable::FindWindowW(const std::string&, const std::string&) { return false; }

std::optional<std::string> PlateformePortable::LitFichier(const std::string& chemin) {
  std::error_code erreur;
  if (!fs::is_regular_file(Chemin(chemin), erreur)) return std::nullopt;
  std::ifstream fichier(Chemin(chemin), std::ios::binary);
  if (!fichier) return std::nullopt;
  // Held in one block from the start: a large file is not copied as the string grows.
  std::string contenu;
  if (const auto taille = fs::file_size(Chemin(chemin), erreur); !erreur)
    contenu.reserve(static_cast<std::size_t>(taille));
  // In blocks: a character at a time costs several times the reading itself.
  char tampon[65536];
  do {
    fichier.read(tampon, sizeof tampon);
    contenu.append(tampon, static_cast<std::size_t>(fichier.gcount()));
  } while (fichier);
  if (fichier.bad()) return std::nullopt;
  return contenu;
}

bool PlateformePortable::CreateMutexW(const std::string& nom) {
  return mutex_.insert(nom).second;
}

int PlateformePortable::CreateFileW(const std::string& chemin, Handle& fichier) {
  errno = 0;
  const int descripteur = ::open(Chemin(chemin).string().c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | kOBinaire, 0666);
  if (descripteur < 0) {
    if (errno == EEXIST) return kFichierExistant;
    return errno ? CodeErrno(errno, chemin) : kAccesRefuse;
  }
  fichier = static_cast<Handle>(descripteur) + 1;
  return 0;
}

int PlateformePortable::WriteFile(Handle fichier, const std::string& octets) {
  std::size_t fait = 0;
  while (fait < octets.size()) {
    errno = 0;
    const auto ecrits = ::write(Descripteur(fichier), octets.data() + fait,
                                static_cast<unsigned>(std::min<std::size_t>(octets.size() - fait, 1u << 20)));
    if (ecrits < 0) return CodeEcriture(CodeErrno(errno, {}));
    if (ecrits == 0) return kSystemeDisquePlein;
    fait += static_cast<std::size_t>(ecrits);
  }
  return 0;
}

int PlateformePortable::FlushFileBuffers(Handle fichier) {
#ifdef _WIN32
  const int vide = ::_commit(Descripteur(fichier));
#else
  const int vide = ::fsync(Descripteur(fichier));
#endif
  return vide == 0 ? 0 : CodeErrno(errno, {});
}

int PlateformePortable::CloseHandle(Handle fichier) {
  return ::close(Descripteur(fichier)) == 0 ? 0 : CodeErrno(errno, {});
}

int PlateformePortable::ReplaceFileW(const std::string& remplace, const std::string& remplacant,
                                     const std::string&) {
  std::error_code erreur;
  fs::rename(Chemin(remplacant), Chemin(remplace), erreur);
  return erreur ? CodeErreur(erreur, remplace) : 0;
}

int PlateformePortable::MoveFileExW(const std::string& de, const std::string& vers) {
  std::error_code erreur;
  if (fs::exists(Chemin(vers), erreur)) return kDejaExistant;
  fs::rename(Chemin(de), Chemin(vers), erreur);
  return erreur ? CodeErreur(erreur, vers) : 0;
}

int PlateformePortable::DeleteFileW(const std::string& chemin) {
  std::error_code erreur;
  if (!fs::remove(Chemin(chemin), erreur)) return erreur ? CodeErreur(erreur, chemin) : kFichierIntrouvable;
  return 0;
}

void PlateformePortable::Sleep(unsigned millisecondes) {
  std::this_thread::sleep_for(std::chrono::milliseconds(millisecondes));
}

bool PlateformePortable::Shell_NotifyIconW(unsigned, const NotifyIconData&) { return false; }

short PlateformePortable::GetKeyState(int) { return 0; }

bool PlateformePortable::GetCursorPos(Point& position) {
  position = Point{};
  return true;
}

bool PlateformePortable::SetForegroundWindow(Handle) { return false; }

bool PlateformePortable::PostMessageW(Handle, unsigned, std::uintptr_t, std::intptr_t) {
  return false;
}

bool PlateformePortable::ShowWindow(Handle, int) { return false; }

unsigned PlateformePortable::RegisterWindowMessageW(const std::string& nom) {
  if (nom.empty()) return 0;
  const std::string cle = Majuscules(nom);
  const auto it = std::find(messages_.begin(), messages_.end(), cle);
  if (it != messages_.end()) return kPremierMessage + static_cast<unsigned>(it - messages_.begin());
  messages_.push_back(cle);
  return kPremierMessage + static_cast<unsigned>(messages_.size() - 1);
}

}  // namespace plat
