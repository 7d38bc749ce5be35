// The program entry, apart from the Windows-specific WinMain that calls it.
#pragma once

#include <string>

#include "platform/Plateforme.h"
#include "toolkit/Toolkit.h"

// Runs the launcher until "&Quitter": single-instance test, the four windows in
// their order, the message loop. Returns the process's exit code.
int Vivlan(tk::Backend& backend, plat::Plateforme& plateforme, const std::string& cheminProgramme);
