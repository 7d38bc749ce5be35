// Programs started by the driver, and the job object that ends them and all they started.
#pragma once

#include <windows.h>

#include <string>

#include "pilote/Systeme.h"

namespace pilote {

// A job object: the processes put in it, and the processes they start, end with it.
class Travail {
 public:
  Travail();
  ~Travail();  // Termine, then the job is closed
  Travail(const Travail&) = delete;
  Travail& operator=(const Travail&) = delete;

  HANDLE Handle() const { return travail_; }
  // Ends every process of the job and waits until none is left.
  void Termine();

 private:
  HANDLE travail_ = nullptr;
};

// A process started by the driver; ended at destruction if it still runs.
class Processus {
 public:
  // `ligne`: the whole command line; `dossier`: its current directory; `travail`: the job to
  // put it in before it runs, or nullptr.
  Processus(const std::string& ligne, const std::string& dossier, HANDLE travail = nullptr);
  Processus(const Processus&) = delete;
  Processus& operator=(const Processus&) = delete;
  ~Processus();

  bool Existe() const { return info_.hProcess != nullptr; }  // CreateProcess succeeded
  DWORD Pid() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool EnCours() const;
  bool AttendsFin(DWORD delai = kDelai) const;
  DWORD CodeSortie() const;  // STILL_ACTIVE while it runs
  void Termine();            // TerminateProcess, then waits for the end

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace pilote
