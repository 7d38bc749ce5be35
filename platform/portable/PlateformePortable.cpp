#include "platform/portable/PlateformePortable.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace plat {

namespace {

constexpr int kFichierIntrouvable = 2;
constexpr int kCheminIntrouvable = 3;
constexpr int kAccesRefuse = 5;
constexpr int kDescripteurInvalide = 6;
constexpr int kEcritureImpossible = 29;
constexpr int kSystemeDisquePlein = 112;
constexpr int kNomTropLong = 206;
constexpr int kPasUnRepertoire = 267;
constexpr unsigned kPremierMessage = 0xC000;
constexpr unsigned kModNoRepeat = 0x4000;

fs::path Chemin(const std::string& chemin) { return fs::path(CheminNatif(chemin)); }

int CodeErrno(int numero, const std::string& chemin) {
  return CodeErreur(std::error_code(numero, std::generic_category()), chemin);
}

// Written beside its target and renamed over it by Ferme, so that the target is either the
// previous file or the new one, never a part of it.
class FichierPortable : public FichierEcriture {
 public:
  FichierPortable(fs::path cible, fs::path temporaire, std::FILE* fichier)
      : cible_(std::move(cible)), temporaire_(std::move(temporaire)), fichier_(fichier) {}

  ~FichierPortable() override {
    if (fichier_) std::fclose(fichier_);
    if (!remplace_) {
      std::error_code ignore;
      fs::remove(temporaire_, ignore);
    }
  }

  void Ecrit(const std::string& octets) override {
    if (!fichier_) throw EInOutError(kDescripteurInvalide);
    errno = 0;
    if (std::fwrite(octets.data(), 1, octets.size(), fichier_) != octets.size())
      throw EInOutError(errno ? CodeEcriture(CodeErrno(errno, temporaire_.string()))
                              : kDisquePlein);  // fewer bytes taken than given
  }

  void Ferme() override {
    if (!fichier_) throw EInOutError(kDescripteurInvalide);
    errno = 0;
    const bool vide = std::fflush(fichier_) == 0;
    const int erreurVidage = errno;
    const bool ferme = std::fclose(fichier_) == 0;
    fichier_ = nullptr;
    if (!vide || !ferme)
      throw EInOutError(erreurVidage || errno
                            ? CodeEcriture(CodeErrno(erreurVidage ? erreurVidage : errno,
                                                     temporaire_.string()))
                            : kEcritureImpossible);
    std::error_code erreur;
    fs::rename(temporaire_, cible_, erreur);
    if (erreur) throw EInOutError(CodeErreur(erreur, cible_.string()));
    remplace_ = true;
  }

 private:
  fs::path cible_;
  fs::path temporaire_;
  std::FILE* fichier_;
  bool remplace_ = false;
};

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

unsigned PlateformePortable::WinExec(const std::string&, unsigned) { return kFichierIntrouvable; }

std::string PlateformePortable::GetCurrentDirectoryA() {
  std::error_code erreur;
  const fs::path courant = fs::current_path(erreur);
  return erreur ? std::string() : courant.string();
}

int PlateformePortable::SetCurrentDirectoryA(const std::string& repertoire) {
  std::error_code erreur;
  fs::current_path(Chemin(repertoire), erreur);
  if (!erreur) return 0;
  std::error_code ignore;
  if (fs::exists(Chemin(repertoire), ignore) && !fs::is_directory(Chemin(repertoire), ignore))
    return kPasUnRepertoire;
  return CodeErreur(erreur, repertoire);
}

std::string PlateformePortable::CheminAbsolu(const std::string& chemin) {
  std::error_code erreur;
  const fs::path absolu = fs::absolute(Chemin(chemin), erreur);
  return erreur ? chemin : absolu.lexically_normal().string();
}

bool PlateformePortable::FindWindowA(const std::string&, const std::string&) { return false; }

std::optional<std::string> PlateformePortable::LitFichier(const std::string& chemin) {
  std::error_code erreur;
  if (!fs::is_regular_file(Chemin(chemin), erreur)) return std::nullopt;
  std::ifstream fichier(Chemin(chemin), std::ios::binary);
  if (!fichier) return std::nullopt;
  // Held in one block from the start: a large file is not copied as the string grows.
  std::string contenu;
  if (const auto taille = fs::file_size(Chemin(chemin), erreur); !erreur)
    contenu.reserve(static_cast<std::size_t>(taille));
  contenu.assign(std::istreambuf_iterator<char>(fichier), std::istreambuf_iterator<char>());
  if (fichier.bad()) return std::nullopt;
  return contenu;
}

std::unique_ptr<FichierEcriture> PlateformePortable::CreeFichier(const std::string& chemin) {
  const fs::path cible = Chemin(chemin);
  fs::path temporaire = cible;
  temporaire += ".tmp";
  errno = 0;
  std::FILE* fichier = std::fopen(temporaire.string().c_str(), "wb");
  if (!fichier)
    throw EInOutError(errno ? CodeErrno(errno, temporaire.string()) : kAccesRefuse);
  return std::make_unique<FichierPortable>(cible, temporaire, fichier);
}

bool PlateformePortable::Shell_NotifyIconA(unsigned, const NotifyIconData&) { return false; }

short PlateformePortable::GetKeyState(int) { return 0; }

bool PlateformePortable::GetCursorPos(Point& position) {
  position = Point{};
  return true;
}

bool PlateformePortable::SetForegroundWindow(Handle) { return false; }

bool PlateformePortable::PostMessageA(Handle, unsigned, std::uintptr_t, std::intptr_t) {
  return false;
}

bool PlateformePortable::ShowWindow(Handle, int) { return false; }

unsigned PlateformePortable::RegisterWindowMessageA(const std::string& nom) {
  if (nom.empty()) return 0;
  const std::string cle = Majuscules(nom);
  const auto it = std::find(messages_.begin(), messages_.end(), cle);
  if (it != messages_.end()) return kPremierMessage + static_cast<unsigned>(it - messages_.begin());
  messages_.push_back(cle);
  return kPremierMessage + static_cast<unsigned>(messages_.size() - 1);
}

}  // namespace plat
