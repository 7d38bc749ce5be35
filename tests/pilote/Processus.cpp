#include "pilote/Processus.h"

#include "platform/win32/Large.h"

namespace pilote {

Travail::Travail() {
  // Wine starts the desktop's process for the first program that asks for the desktop: that
  // must be this one, or the desktop would be a child in the job and die with it.
  GetDesktopWindow();
  travail_ = CreateJobObjectW(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limites{};
  limites.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(travail_, JobObjectExtendedLimitInformation, &limites, sizeof limites);
}

Travail::~Travail() {
  Termine();
  CloseHandle(travail_);
}

void Travail::Termine() {
  TerminateJobObject(travail_, 1);
  Attends([&] {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION compte{};
    return !QueryInformationJobObject(travail_, JobObjectBasicAccountingInformation, &compte,
                                      sizeof compte, nullptr) ||
           compte.ActiveProcesses == 0;
  });
}

Processus::Processus(const std::string& ligne, const std::string& dossier, HANDLE travail) {
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof demarrage;
  std::wstring commande = plat::Large(ligne);  // CreateProcessW may write into it
  const std::wstring repertoire = plat::Large(dossier);
  // Suspended until it is in the job, so that nothing it starts escapes the job.
  DWORD options = travail ? CREATE_SUSPENDED : 0;
  if (!CreateProcessW(nullptr, commande.data(), nullptr, nullptr, FALSE, options, nullptr,
                      repertoire.empty() ? nullptr : repertoire.c_str(), &demarrage, &info_)) {
    Echec("CreateProcess(" + ligne + ") in " + dossier + ": " + std::to_string(GetLastError()));
    info_ = {};
    return;
  }
  if (travail) {
    if (!AssignProcessToJobObject(travail, info_.hProcess))
      Echec("AssignProcessToJobObject: " + std::to_string(GetLastError()));
    ResumeThread(info_.hThread);
  }
}

Processus::~Processus() {
  if (!info_.hProcess) return;
  Termine();
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool Processus::EnCours() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Processus::AttendsFin(DWORD delai) const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, delai) == WAIT_OBJECT_0;
}

DWORD Processus::CodeSortie() const {
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void Processus::Termine() {
  if (EnCours()) {
    TerminateProcess(info_.hProcess, 1);
    AttendsFin();
  }
}

}  // namespace pilote
