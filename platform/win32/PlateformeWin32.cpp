#include "platform/win32/PlateformeWin32.h"

#include <algorithm>
#include <cstring>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include "platform/Nombres.h"
#include "platform/win32/Large.h"

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

static_assert(kDriveFixed == DRIVE_FIXED && kDriveRamdisk == DRIVE_RAMDISK);
static_assert(kFileAttributeReadOnly == FILE_ATTRIBUTE_READONLY &&
              kFileAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY &&
              kFileAttributeNormal == FILE_ATTRIBUTE_NORMAL);
static_assert(kErrorFileNotFound == ERROR_FILE_NOT_FOUND &&
              kErrorAccessDenied == ERROR_ACCESS_DENIED &&
              kErrorInvalidHandle == ERROR_INVALID_HANDLE &&
              kErrorSharingViolation == ERROR_SHARING_VIOLATION &&
              kErrorLockViolation == ERROR_LOCK_VIOLATION && kErrorFileExists == ERROR_FILE_EXISTS &&
              kErrorAlreadyExists == ERROR_ALREADY_EXISTS &&
              kErrorUnableToMoveReplacement2 == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
              kErrorBadExeFormat == ERROR_BAD_EXE_FORMAT && kErrorCancelled == ERROR_CANCELLED);

namespace {

HWND Hwnd(Handle h) { return reinterpret_cast<HWND>(h); }
HANDLE Fichier(Handle h) { return reinterpret_cast<HANDLE>(h); }

int DerniereErreur() { return static_cast<int>(GetLastError()); }

// A text the system writes into a buffer whose size it tells first (a size of 0 meaning failure).
template <class Appel>
std::string TexteDuSysteme(Appel&& appel) {
  std::wstring tampon(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = appel(tampon.data(), static_cast<DWORD>(tampon.size()));
    if (n == 0) return {};
    if (n < tampon.size()) return Etroit(tampon.data(), n);
    tampon.resize(n + 1);
  }
}

}  // namespace

void RejointCom() {
  static const bool rejoint = [] {
    using Init = HRESULT(WINAPI*)(LPVOID, DWORD);
    const auto init = reinterpret_cast<Init>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::LoadLibraryW(L"ole32.dll"), "CoInitializeEx")));
    return init != nullptr &&
           SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }();
  (void)rejoint;
}

void RestreintRechercheDesDll() {
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  ::SetDllDirectoryW(L"");
}

bool PlateformeWin32::RegisterHotKey(Handle fenetre, int id, unsigned modificateurs,
                                     unsigned touche) {
  return ::RegisterHotKey(Hwnd(fenetre), id, modificateurs, touche) != FALSE;
}

bool PlateformeWin32::UnregisterHotKey(Handle fenetre, int id) {
  return ::UnregisterHotKey(Hwnd(fenetre), id) != FALSE;
}

short PlateformeWin32::VkKeyScanW(char16_t caractere) {
  return ::VkKeyScanW(static_cast<WCHAR>(caractere));
}

// Not WinExec, which waits up to 30 s for the program to settle: that wait would hold the tray
// icon and every hotkey while a slow program starts.
int PlateformeWin32::CreateProcessW(const std::string& application, const std::string& ligne,
                                    const std::string& repertoire, int affichage) {
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof demarrage;
  demarrage.dwFlags = STARTF_USESHOWWINDOW;
  demarrage.wShowWindow = static_cast<WORD>(affichage);
  PROCESS_INFORMATION processus{};
  std::wstring commande = Large(ligne);  // CreateProcessW may write into it
  const std::wstring dossier = Large(repertoire);
  if (!::CreateProcessW(Large(application).c_str(), commande.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, dossier.empty() ? nullptr : dossier.c_str(), &demarrage,
                        &processus))
    return DerniereErreur();
  ::CloseHandle(processus.hThread);
  ::CloseHandle(processus.hProcess);
  return 0;
}

int PlateformeWin32::ShellExecuteExW(const std::string& fichier, const std::string& parametres,
                                     const std::string& repertoire, int affichage) {
  RejointCom();
  const std::wstring f = Large(fichier), p = Large(parametres), d = Large(repertoire);
  SHELLEXECUTEINFOW execution{};
  execution.cbSize = sizeof execution;
  // The shell's own error boxes stay shut: the launcher says what failed, in its words.
  execution.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execution.lpFile = f.c_str();
  execution.lpParameters = p.empty() ? nullptr : p.c_str();
  execution.lpDirectory = d.empty() ? nullptr : d.c_str();
  execution.nShow = affichage;
  return ::ShellExecuteExW(&execution) ? 0 : DerniereErreur();
}

std::optional<unsigned> PlateformeWin32::GetFileAttributesW(const std::string& chemin) {
  const DWORD attributs = ::GetFileAttributesW(Large(chemin).c_str());
  if (attributs == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributs;
}

unsigned PlateformeWin32::GetDriveTypeW(const std::string& racine) {
  return ::GetDriveTypeW(Large(racine).c_str());
}

std::string PlateformeWin32::GetSystemDirectoryW() {
  return TexteDuSysteme([](wchar_t* t, DWORD n) { return ::GetSystemDirectoryW(t, n); });
}

std::string PlateformeWin32::GetWindowsDirectoryW() {
  return TexteDuSysteme([](wchar_t* t, DWORD n) { return ::GetWindowsDirectoryW(t, n); });
}

std::string PlateformeWin32::GetEnvironmentVariableW(const std::string& nom) {
  const std::wstring n = Large(nom);
  return TexteDuSysteme(
      [&](wchar_t* t, DWORD taille) { return ::GetEnvironmentVariableW(n.c_str(), t, taille); });
}

std::string PlateformeWin32::GetCurrentDirectoryW() {
  return TexteDuSysteme([](wchar_t* t, DWORD n) { return ::GetCurrentDirectoryW(n, t); });
}

std::string PlateformeWin32::CheminAbsolu(const std::string& chemin) {
  const std::wstring c = Large(chemin);
  const std::string absolu = TexteDuSysteme(
      [&](wchar_t* t, DWORD n) { return ::GetFullPathNameW(c.c_str(), n, t, nullptr); });
  return absolu.empty() ? chemin : absolu;
}

bool PlateformeWin32::FindWindowW(const std::string& classe, const std::string& titre) {
  return ::FindWindowW(Large(classe).c_str(), Large(titre).c_str()) != nullptr;
}

bool PlateformeWin32::CreateMutexW(const std::string& nom) {
  // Held, never closed: the system releases it when the process ends, however it ends.
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, Large(nom).c_str());
  return mutex != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

std::optional<std::string> PlateformeWin32::LitFichier(const std::string& chemin) {
  HANDLE fichier = ::CreateFileW(Large(chemin).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

int PlateformeWin32::CreateFileW(const std::string& chemin, Handle& fichier) {
  HANDLE h = ::CreateFileW(Large(chemin).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return DerniereErreur();
  fichier = reinterpret_cast<Handle>(h);
  return 0;
}

int PlateformeWin32::WriteFile(Handle fichier, const std::string& octets) {
  std::size_t fait = 0;
  while (fait < octets.size()) {
    const DWORD morceau = static_cast<DWORD>(std::min<std::size_t>(octets.size() - fait, 1u << 20));
    DWORD ecrits = 0;
    if (!::WriteFile(Fichier(fichier), octets.data() + fait, morceau, &ecrits, nullptr))
      return DerniereErreur();
    // A disk file that takes fewer bytes than it is given is full.
    if (ecrits < morceau) return ERROR_DISK_FULL;
    fait += ecrits;
  }
  return 0;
}

int PlateformeWin32::FlushFileBuffers(Handle fichier) {
  return ::FlushFileBuffers(Fichier(fichier)) ? 0 : DerniereErreur();
}

int PlateformeWin32::CloseHandle(Handle fichier) {
  return ::CloseHandle(Fichier(fichier)) ? 0 : DerniereErreur();
}

int PlateformeWin32::ReplaceFileW(const std::string& remplace, const std::string& remplacant,
                                  const std::string& sauvegarde) {
  return ::ReplaceFileW(Large(remplace).c_str(), Large(remplacant).c_str(),
                        Large(sauvegarde).c_str(), REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)
             ? 0
             : DerniereErreur();
}

int PlateformeWin32::MoveFileExW(const std::string& de, const std::string& vers) {
  return ::MoveFileExW(Large(de).c_str(), Large(vers).c_str(), MOVEFILE_WRITE_THROUGH)
             ? 0
             : DerniereErreur();
}

int PlateformeWin32::DeleteFileW(const std::string& chemin) {
  return ::DeleteFileW(Large(chemin).c_str()) ? 0 : DerniereErreur();
}

void PlateformeWin32::Sleep(unsigned millisecondes) { ::Sleep(millisecondes); }

bool PlateformeWin32::Shell_NotifyIconW(unsigned message, const NotifyIconData& donnees) {
  static_assert(sizeof(NotifyIconData) == NOTIFYICONDATAW_V1_SIZE, "the first form of the record");
  NOTIFYICONDATAW nid{};
  nid.cbSize = donnees.cbSize;
  nid.hWnd = Hwnd(donnees.hWnd);
  nid.uID = donnees.uID;
  nid.uFlags = donnees.uFlags;
  nid.uCallbackMessage = donnees.uCallbackMessage;
  nid.hIcon = reinterpret_cast<HICON>(donnees.hIcon);
  static_assert(sizeof nid.szTip >= sizeof donnees.szTip, "tip of 64 characters");
  std::memcpy(nid.szTip, donnees.szTip, sizeof donnees.szTip);
  return ::Shell_NotifyIconW(message, &nid) != FALSE;
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

bool PlateformeWin32::PostMessageW(Handle fenetre, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
  return ::PostMessageW(Hwnd(fenetre), message, wParam, lParam) != FALSE;
}

bool PlateformeWin32::ShowWindow(Handle fenetre, int commande) {
  return ::ShowWindow(Hwnd(fenetre), commande) != FALSE;
}

unsigned PlateformeWin32::RegisterWindowMessageW(const std::string& nom) {
  return ::RegisterWindowMessageW(Large(nom).c_str());
}

}  // namespace plat
