// The launcher as the driver knows it. Its four windows are made in this process too, over the
// in-memory toolkit and never shown: each control of a real window is found by the identifier
// the toolkit gives its twin there (tk::Identifiant), so no place or size of the design is
// copied here. And the windows of a running Vivlan.exe, by the program's own class names.
#pragma once

#include <windows.h>

#include <vector>

#include "pilote/Fenetres.h"
#include "pilote/Processus.h"
#include "support/Programme.h"
#include "toolkit/Toolkit.h"

namespace pilote {

// The program's windows, made once in this process.
Programme& Modeles();
// The control of `fenetre`, a window of the program, that `modele` is in its twin of Modeles().
HWND Controle(HWND fenetre, const tk::Control& modele);
// A window of process `pid` made after `modele`: its class and caption.
HWND AttendsFenetreDe(DWORD pid, const tk::Form& modele, DWORD delai = kDelai);

HWND FenetrePrincipaleDe(DWORD pid);  // by class and title
// The tray icon's callback window.
HWND FenetreIconeDe(DWORD pid);
// Start-up is over: the main window and the tray icon's are made, and the message loop waits
// for input.
bool AttendsDemarrage(const Processus& vivlan);
// The tray callback message with a mouse message, as the shell would post it.
bool PosteNotification(HWND fenetreIcone, UINT messageSouris);

// The keys that choose "&Configuration" in the command menu. It shares its access key with
// "A&ctiver/Désactiver", which comes first: the entry is reached with the arrows (the separator
// between them is skipped).
inline const std::vector<WORD> kChoixConfiguration = {VK_DOWN, VK_DOWN, VK_RETURN};

}  // namespace pilote
