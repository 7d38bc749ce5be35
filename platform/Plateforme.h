// Everything the launcher asks of the operating system that is not drawing.
// One method per system call, named after it; the Win32 build forwards each to
// the real call, the tests use a recording fake.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/Nombres.h"

namespace plat {

using Handle = std::uintptr_t;

struct Point {
  int x = 0;
  int y = 0;
};

// An input/output failure that the program does not test itself (writing the
// settings file). The toolkit's event dispatch reports it with the generic error box.
class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(int code)
      : std::runtime_error("EInOutError " + std::to_string(code)), code(code) {}
  int code;
};

// The input/output code of a write that found no room left, whatever the system called it.
constexpr int kDisquePlein = 101;
// A failed write's system code as the program reports it: both of the system's "disk full"
// errors (112, and 39 for a handle) are a full disk.
inline int CodeEcriture(int code) { return code == 112 || code == 39 ? kDisquePlein : code; }

// The first form of NOTIFYICONDATAW, laid out as the platform lays it out: its size is the
// record's cbSize, 152 bytes in a 32-bit program and 168 in a 64-bit one. The tip is UTF-16.
struct NotifyIconData {
  unsigned cbSize = 0;
  Handle hWnd = 0;
  unsigned uID = 0;
  unsigned uFlags = 0;
  unsigned uCallbackMessage = 0;
  Handle hIcon = 0;
  char16_t szTip[64] = {};
};

// The calls that return a system error code return 0 when they succeed.
class Plateforme {
 public:
  virtual ~Plateforme() = default;

  virtual bool RegisterHotKey(Handle fenetre, int id, unsigned modificateurs, unsigned touche) = 0;
  virtual bool UnregisterHotKey(Handle fenetre, int id) = 0;
  // The key that types `caractere` on the user's keyboard layout in its low byte (the shift
  // state it needs in the high byte); -1 when no key types it.
  virtual short VkKeyScanW(char16_t caractere) = 0;

  // Starts the program file `application` with the whole command line `ligne`, in the folder
  // `repertoire`, and returns at once without waiting for it to settle.
  virtual int CreateProcessW(const std::string& application, const std::string& ligne,
                             const std::string& repertoire, int affichage) = 0;
  // Asks the shell to open `fichier` (a document, a folder, an address, a program that needs
  // more rights) as a double click would, with `parametres`, in `repertoire`; returns at once.
  virtual int ShellExecuteExW(const std::string& fichier, const std::string& parametres,
                              const std::string& repertoire, int affichage) = 0;
  // What the path names (kFileAttribute...), nothing when it names nothing.
  virtual std::optional<unsigned> GetFileAttributesW(const std::string& chemin) = 0;
  // The kind of drive of a root ("C:\\"): kDriveFixed, a network drive, a removable one...
  virtual unsigned GetDriveTypeW(const std::string& racine) = 0;
  virtual std::string GetSystemDirectoryW() = 0;
  virtual std::string GetWindowsDirectoryW() = 0;
  // Empty when the variable is not set.
  virtual std::string GetEnvironmentVariableW(const std::string& nom) = 0;

  // Read once, at start: the launcher's folder.
  virtual std::string GetCurrentDirectoryW() = 0;
  // The absolute form of a path relative to the current directory.
  virtual std::string CheminAbsolu(const std::string& chemin) = 0;

  virtual bool FindWindowW(const std::string& classe, const std::string& titre) = 0;
  // Creates the named mutex, held until the process ends; false when it existed already.
  virtual bool CreateMutexW(const std::string& nom) = 0;

  // The whole file, or nothing when it is missing or cannot be read.
  virtual std::optional<std::string> LitFichier(const std::string& chemin) = 0;
  // A new file for writing; never one that exists, nor what a link of that name points to
  // (80, ERROR_FILE_EXISTS, then).
  virtual int CreateFileW(const std::string& chemin, Handle& fichier) = 0;
  virtual int WriteFile(Handle fichier, const std::string& octets) = 0;
  virtual int FlushFileBuffers(Handle fichier) = 0;
  virtual int CloseHandle(Handle fichier) = 0;
  // `remplacant` takes the place of `remplace`, keeping the latter's permissions and
  // attributes, which goes to `sauvegarde` meanwhile; written through to the disk.
  virtual int ReplaceFileW(const std::string& remplace, const std::string& remplacant,
                           const std::string& sauvegarde) = 0;
  // Renames a file to a name that is not taken, written through to the disk.
  virtual int MoveFileExW(const std::string& de, const std::string& vers) = 0;
  virtual int DeleteFileW(const std::string& chemin) = 0;
  virtual void Sleep(unsigned millisecondes) = 0;

  virtual bool Shell_NotifyIconW(unsigned message, const NotifyIconData& donnees) = 0;
  virtual short GetKeyState(int touche) = 0;
  virtual bool GetCursorPos(Point& position) = 0;
  virtual bool SetForegroundWindow(Handle fenetre) = 0;
  virtual bool PostMessageW(Handle fenetre, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) = 0;
  virtual bool ShowWindow(Handle fenetre, int commande) = 0;
  // The number of a registered window message ("TaskbarCreated": the shell's
  // notification area has restarted); 0 on failure.
  virtual unsigned RegisterWindowMessageW(const std::string& nom) = 0;
};

}  // namespace plat
