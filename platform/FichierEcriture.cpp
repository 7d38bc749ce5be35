#include "platform/FichierEcriture.h"

#include <cstdio>
#include <random>

namespace plat {

namespace {

constexpr int kNomsEssayes = 16;
constexpr int kEssaisPartage = 10;
constexpr unsigned kPausePartage = 100;  // ms: ten of them make the second a user waits at most

// Beside the target, so that the last step is a rename within one volume.
std::string NomAuHasard(const std::string& cible, const char* extension) {
  static std::random_device hasard;
  char suffixe[16];
  std::snprintf(suffixe, sizeof suffixe, ".~%08x", static_cast<unsigned>(hasard()));
  return cible + suffixe + extension;
}

}  // namespace

FichierEcriture::FichierEcriture(Plateforme& plateforme, std::string chemin)
    : plateforme_(plateforme), cible_(std::move(chemin)) {
  // Replacing a read-only file would go through for a privileged user: refused as the
  // system refuses to open it for writing.
  if (const auto attributs = plateforme_.GetFileAttributesW(cible_);
      attributs && (*attributs & (kFileAttributeReadOnly | kFileAttributeDirectory)) != 0)
    throw EInOutError(kErrorAccessDenied);
  int code = kErrorFileExists;
  for (int essai = 0; essai < kNomsEssayes; ++essai) {
    temporaire_ = NomAuHasard(cible_, ".tmp");
    code = plateforme_.CreateFileW(temporaire_, fichier_);
    if (code != kErrorFileExists && code != kErrorAlreadyExists) break;
  }
  if (code != 0) throw EInOutError(CodeEcriture(code));
  ouvert_ = true;
}

FichierEcriture::~FichierEcriture() {
  if (ouvert_) plateforme_.CloseHandle(fichier_);
  if (!remplace_) plateforme_.DeleteFileW(temporaire_);
}

void FichierEcriture::Ecrit(const std::string& octets) {
  if (!ouvert_) throw EInOutError(kErrorInvalidHandle);
  if (const int code = plateforme_.WriteFile(fichier_, octets)) throw EInOutError(CodeEcriture(code));
}

void FichierEcriture::Ferme() {
  if (!ouvert_) throw EInOutError(kErrorInvalidHandle);
  const int vidage = plateforme_.FlushFileBuffers(fichier_);
  const int fermeture = plateforme_.CloseHandle(fichier_);
  ouvert_ = false;
  if (vidage != 0 || fermeture != 0) throw EInOutError(CodeEcriture(vidage ? vidage : fermeture));
  const bool existe = plateforme_.GetFileAttributesW(cible_).has_value();
  const std::string sauvegarde = NomAuHasard(cible_, ".bak");
  for (int essai = 1;; ++essai) {
    const int code = existe ? plateforme_.ReplaceFileW(cible_, temporaire_, sauvegarde)
                            : plateforme_.MoveFileExW(temporaire_, cible_);
    if (code == 0) break;
    if ((code == kErrorSharingViolation || code == kErrorLockViolation) && essai < kEssaisPartage) {
      plateforme_.Sleep(kPausePartage);
      continue;
    }
    // The previous file went to the backup's name and the new one could not take its place:
    // it comes back.
    if (code == kErrorUnableToMoveReplacement2) plateforme_.MoveFileExW(sauvegarde, cible_);
    throw EInOutError(code);
  }
  remplace_ = true;
  if (existe) plateforme_.DeleteFileW(sauvegarde);
}

}  // namespace plat
