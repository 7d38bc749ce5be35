#include "platform/win32/PlateformeWin32.h"

#include <cstring>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include "platform/Nombres.h"

namespace plat {

// The portable code's names for the system's numbers.
static_assert(kWmNull == WM_NULL && kWmQueryEndSession == WM_QUERYENDSESSION &&
              kWmHotKey == WM_HOTKEY && kWmMouseMove == WM_MOUSEMOVE &&
              kWmLButtonDown == WM_LBUTTONDOWN && kWmLButtonUp == WM_LBUTTONUP &&
              kWmLButtonDblClk == WM_LBUTTONDBLCLK && kWmRButtonDown == WM_RBUTTONDOWN &&
              kWmRButtonUp == WM_RBUTTONUP && kWmRButtonDblClk == WM_RBUTTONDBLCLK &&
              kWmMButtonDown == WM_MBUTTONDOWN && kWmMButtonUp == WM_MBUTTONUP &&
              kWmMButtonDblClk == WM_MBUTTONDBLCLK);
static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT &&
              kModWin == MOD_WIN);
static_assert(kVkShift == VK_SHIFT && kVkControl == VK_CONTROL && kVkMenu == VK_MENU);
static_assert(kSwHide == SW_HIDE && kSwShow == SW_SHOW && kSwRestore == SW_RESTORE &&
              kSwShowDefault == SW_SHOWDEFAULT);
static_assert(kNimAdd == NIM_ADD && kNimModify == NIM_MODIFY && kNimDelete == NIM_DELETE &&
              kNifMessage == NIF_MESSAGE && kNifIcon == NIF_ICON && kNifTip == NIF_TIP);

namespace {

HWND Hwnd(Handle h) { return reinterpret_cast<HWND>(h); }

int DerniereErreur() { return static_cast<int>(GetLastError()); }

int ErreurEcriture() { return CodeEcriture(DerniereErreur()); }

// The number WinExec gives for a start that failed, always below 32.
unsigned CodeWinExec(DWORD erreur) {
  if (erreur == ERROR_NOT_ENOUGH_MEMORY || erreur == ERROR_OUTOFMEMORY) return 0;
  return erreur < 32 ? erreur : ERROR_BAD_FORMAT;
}

// Written beside its target, and moved over it only once complete, so that a
// failure at any point leaves the previous file whole.
class FichierWin32 : public FichierEcriture {
 public:
  FichierWin32(std::string cible, std::string temporaire, HANDLE fichier)
      : cible_(std::move(cible)), temporaire_(std::move(temporaire)), fichier_(fichier) {}

  ~FichierWin32() override {
    if (fichier_ != INVALID_HANDLE_VALUE) CloseHandle(fichier_);
    if (!remplace_) DeleteFileA(temporaire_.c_str());
  }

  void Ecrit(const std::string& octets) override {
    if (fichier_ == INVALID_HANDLE_VALUE) throw EInOutError(ERROR_INVALID_HANDLE);
    std::size_t fait = 0;
    while (fait < octets.size()) {
      const DWORD morceau =
          static_cast<DWORD>(std::min<std::size_t>(octets.size() - fait, 1u << 20));
      DWORD ecrits = 0;
      if (!WriteFile(fichier_, octets.data() + fait, morceau, &ecrits, nullptr))
        throw EInOutError(ErreurEcriture());
      // A disk file that takes fewer bytes than it is given is full.
      if (ecrits < morceau) throw EInOutError(kDisquePlein);
      fait += ecrits;
    }
  }

  void Ferme() override {
    if (fichier_ == INVALID_HANDLE_VALUE) throw EInOutError(ERROR_INVALID_HANDLE);
    const BOOL ferme = CloseHandle(fichier_);
    fichier_ = INVALID_HANDLE_VALUE;
    if (!ferme) throw EInOutError(ErreurEcriture());
    if (!MoveFileExA(temporaire_.c_str(), cible_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      throw EInOutError(ErreurEcriture());
    remplace_ = true;
  }

 private:
  std::string cible_;
  std::string temporaire_;
  HANDLE fichier_;
  bool remplace_ = false;
};

}  // namespace

bool PlateformeWin32::RegisterHotKey(Handle fenetre, int id, unsigned modificateurs,
                                     unsigned touche) {
  return ::RegisterHotKey(Hwnd(fenetre), id, modificateurs, touche) != FALSE;
}

bool PlateformeWin32::UnregisterHotKey(Handle fenetre, int id) {
  return ::UnregisterHotKey(Hwnd(fenetre), id) != FALSE;
}

// What WinExec does, but for its wait of up to 30 s for the program to settle: that wait would
// hold the tray icon and every hotkey while a slow program starts.
unsigned PlateformeWin32::WinExec(const std::string& ligneDeCommande, unsigned affichage) {
  STARTUPINFOA demarrage{};
  demarrage.cb = sizeof demarrage;
  demarrage.dwFlags = STARTF_USESHOWWINDOW;
  demarrage.wShowWindow = static_cast<WORD>(affichage);
  PROCESS_INFORMATION processus{};
  std::vector<char> ligne(ligneDeCommande.begin(), ligneDeCommande.end());
  ligne.push_back('\0');  // CreateProcessA may write into the command line
  if (!::CreateProcessA(nullptr, ligne.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &demarrage, &processus))
    return CodeWinExec(::GetLastError());
  ::CloseHandle(processus.hThread);
  ::CloseHandle(processus.hProcess);
  return 33;
}

std::string PlateformeWin32::GetCurrentDirectoryA() {
  const DWORD taille = ::GetCurrentDirectoryA(0, nullptr);
  if (taille == 0) return {};
  std::vector<char> tampon(taille + 1);
  const DWORD lu = ::GetCurrentDirectoryA(static_cast<DWORD>(tampon.size()), tampon.data());
  if (lu == 0 || lu >= tampon.size()) return {};
  return std::string(tampon.data(), lu);
}

int PlateformeWin32::SetCurrentDirectoryA(const std::string& repertoire) {
  return ::SetCurrentDirectoryA(repertoire.c_str()) ? 0 : DerniereErreur();
}

std::string PlateformeWin32::CheminAbsolu(const std::string& chemin) {
  const DWORD taille = ::GetFullPathNameA(chemin.c_str(), 0, nullptr, nullptr);
  if (taille == 0) return chemin;
  std::vector<char> tampon(taille + 1);
  const DWORD lu =
      ::GetFullPathNameA(chemin.c_str(), static_cast<DWORD>(tampon.size()), tampon.data(), nullptr);
  if (lu == 0 || lu >= tampon.size()) return chemin;
  return std::string(tampon.data(), lu);
}

bool PlateformeWin32::FindWindowA(const std::string& classe, const std::string& titre) {
  return ::FindWindowA(classe.c_str(), titre.c_str()) != nullptr;
}

std::optional<std::string> PlateformeWin32::LitFichier(const std::string& chemin) {
  HANDLE fichier = ::CreateFileA(chemin.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (fichier == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string contenu;
  // Held in one block from the start: a large file is not copied as the string grows.
  LARGE_INTEGER taille{};
  if (::GetFileSizeEx(fichier, &taille)) contenu.reserve(static_cast<std::size_t>(taille.QuadPart));
  char tampon[65536];
  for (;;) {
    DWORD lus = 0;
    if (!::ReadFile(fichier, tampon, sizeof tampon, &lus, nullptr)) {
      ::CloseHandle(fichier);
      return std::nullopt;
    }
    if (lus == 0) break;
    contenu.append(tampon, lus);
  }
  ::CloseHandle(fichier);
  return contenu;
}

std::unique_ptr<FichierEcriture> PlateformeWin32::CreeFichier(const std::string& chemin) {
  // The move at the end would replace a file that may not be written (read-only,
  // locked): it is refused now, as opening it for writing would be. The attribute
  // is read as well, since a privileged user may open a read-only file anyway.
  const DWORD attributs = ::GetFileAttributesA(chemin.c_str());
  if (attributs != INVALID_FILE_ATTRIBUTES &&
      (attributs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
    throw EInOutError(ERROR_ACCESS_DENIED);
  HANDLE essai = ::CreateFileA(chemin.c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (essai != INVALID_HANDLE_VALUE) {
    ::CloseHandle(essai);
  } else if (const int code = DerniereErreur(); code != ERROR_FILE_NOT_FOUND) {
    throw EInOutError(code);
  }
  const std::string temporaire = chemin + ".tmp-" + std::to_string(::GetCurrentProcessId());
  HANDLE fichier = ::CreateFileA(temporaire.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (fichier == INVALID_HANDLE_VALUE) throw EInOutError(ErreurEcriture());
  return std::make_unique<FichierWin32>(chemin, temporaire, fichier);
}

bool PlateformeWin32::Shell_NotifyIconA(unsigned message, const NotifyIconData& donnees) {
  static_assert(sizeof(NotifyIconData) == NOTIFYICONDATAA_V1_SIZE, "the first form of the record");
  NOTIFYICONDATAA nid{};
  nid.cbSize = donnees.cbSize;
  nid.hWnd = Hwnd(donnees.hWnd);
  nid.uID = donnees.uID;
  nid.uFlags = donnees.uFlags;
  nid.uCallbackMessage = donnees.uCallbackMessage;
  nid.hIcon = reinterpret_cast<HICON>(donnees.hIcon);
  static_assert(sizeof nid.szTip >= sizeof donnees.szTip, "tip of 64 bytes");
  std::memcpy(nid.szTip, donnees.szTip, sizeof donnees.szTip);
  return ::Shell_NotifyIconA(message, &nid) != FALSE;
}

short PlateformeWin32::GetKeyState(int touche) { return ::GetKeyState(touche); }

bool PlateformeWin32::GetCursorPos(Point& position) {
  POINT p{};
  if (!::GetCursorPos(&p)) return false;
  position.x = p.x;
  position.y = p.y;
  return true;
}

bool PlateformeWin32::SetForegroundWindow(Handle fenetre) {
  return ::SetForegroundWindow(Hwnd(fenetre)) != FALSE;
}

bool PlateformeWin32::PostMessageA(Handle fenetre, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
  return ::PostMessageA(Hwnd(fenetre), message, wParam, lParam) != FALSE;
}

bool PlateformeWin32::ShowWindow(Handle fenetre, int commande) {
  return ::ShowWindow(Hwnd(fenetre), commande) != FALSE;
}

unsigned PlateformeWin32::RegisterWindowMessageA(const std::string& nom) {
  return ::RegisterWindowMessageA(nom.c_str());
}

}  // namespace plat
