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
// settings file, going back to the remembered directory). The toolkit's event
// dispatch reports it with the generic error box.
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

// The first, ANSI form of NOTIFYICONDATA, laid out as the platform lays it out: its size is
// the record's cbSize, 88 bytes in a 32-bit program and 104 in a 64-bit one.
struct NotifyIconData {
  unsigned cbSize = 0;
  Handle hWnd = 0;
  unsigned uID = 0;
  unsigned uFlags = 0;
  unsigned uCallbackMessage = 0;
  Handle hIcon = 0;
  char szTip[64] = {};
};

// A text file being written. Nothing replaces the target until Ferme has
// succeeded: destroying the object before that leaves the previous file whole.
class FichierEcriture {
 public:
  virtual ~FichierEcriture() = default;
  virtual void Ecrit(const std::string& octets) = 0;  // throws EInOutError
  virtual void Ferme() = 0;                            // throws EInOutError
};

class Plateforme {
 public:
  virtual ~Plateforme() = default;

  virtual bool RegisterHotKey(Handle fenetre, int id, unsigned modificateurs, unsigned touche) = 0;
  virtual bool UnregisterHotKey(Handle fenetre, int id) = 0;

  // Starts a command line and returns at once, without waiting for the program to settle.
  // Result below 32 (WinExec's numbers): the program was not started.
  virtual unsigned WinExec(const std::string& ligneDeCommande, unsigned affichage) = 0;

  virtual std::string GetCurrentDirectoryA() = 0;
  // 0 when done, otherwise the system's error code.
  virtual int SetCurrentDirectoryA(const std::string& repertoire) = 0;
  // The absolute form of a path relative to the current directory.
  virtual std::string CheminAbsolu(const std::string& chemin) = 0;

  virtual bool FindWindowA(const std::string& classe, const std::string& titre) = 0;

  // The whole file, or nothing when it is missing or cannot be read.
  virtual std::optional<std::string> LitFichier(const std::string& chemin) = 0;
  // Opens a new file beside `chemin` that replaces it on Ferme. Throws EInOutError.
  virtual std::unique_ptr<FichierEcriture> CreeFichier(const std::string& chemin) = 0;

  virtual bool Shell_NotifyIconA(unsigned message, const NotifyIconData& donnees) = 0;
  virtual short GetKeyState(int touche) = 0;
  virtual bool GetCursorPos(Point& position) = 0;
  virtual bool SetForegroundWindow(Handle fenetre) = 0;
  virtual bool PostMessageA(Handle fenetre, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) = 0;
  virtual bool ShowWindow(Handle fenetre, int commande) = 0;
  // The number of a registered window message ("TaskbarCreated": the shell's
  // notification area has restarted); 0 on failure.
  virtual unsigned RegisterWindowMessageA(const std::string& nom) = 0;
};

}  // namespace plat
