// Windows of other processes, found, read and driven as a user would: controls of another
// process are read in their UTF-16 form, since the ANSI forms come back cut across processes
// under Wine. Keys and clicks go through SendInput, to whichever window has the focus.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "pilote/Systeme.h"

namespace pilote {

// Windows. Hidden ones count everywhere but in MenuOuvert.
std::string Classe(HWND fenetre);
std::string Texte(HWND fenetre);  // WM_GETTEXT, answered by the owning process
bool Visible(HWND fenetre);
bool Actif(HWND fenetre);  // enabled
DWORD PidDe(HWND fenetre);
RECT RectFenetre(HWND fenetre);  // screen coordinates
RECT RectClient(HWND fenetre);   // client coordinates: left and top are 0

// FindWindowW; an empty class or title matches any.
HWND Trouve(const std::string& classe, const std::string& titre = "");
bool AttendsAbsence(const std::string& classe, const std::string& titre = "",
                    DWORD delai = kDelai);
// Top-level windows of one process, hidden ones included.
std::vector<HWND> FenetresDe(DWORD pid);
HWND FenetreDe(DWORD pid, const std::string& classe, const std::string& titre = "");
HWND AttendsFenetreDe(DWORD pid, const std::string& classe, const std::string& titre = "",
                      DWORD delai = kDelai);
bool AttendsVisible(HWND fenetre, bool visible = true, DWORD delai = kDelai);
bool AttendsDestruction(HWND fenetre, DWORD delai = kDelai);

// Children, at every depth, in the order of EnumChildWindows (creation order among siblings).
std::vector<HWND> Enfants(HWND parent);
// The first child of that class (empty: any) whose text is `texte` (nullopt: any).
HWND Enfant(HWND parent, const std::string& classe,
            const std::optional<std::string>& texte = std::nullopt);
// Every text shown by the children, for messages whose control kind does not matter.
std::string TextesEnfants(HWND parent);

// Controls.
std::vector<std::string> LignesListe(HWND liste);
int SelectionListe(HWND liste);  // LB_GETCURSEL, -1 for none
bool Coche(HWND caseACocher);
void EcrisTexte(HWND controle, const std::string& texte);  // WM_SETTEXT
// BM_CLICK, posted: a button that opens a modal box would block a sent message.
void Clique(HWND bouton);
// Returns once the window's thread has handled what came before: a sent WM_NULL.
void Synchronise(HWND fenetre);
bool AuPremierPlan(HWND fenetre);

// Keyboard. Keys are virtual-key codes: 'A'..'Z', '0'..'9', VK_RETURN, VK_ESCAPE, VK_F1,
// VK_DOWN...
void Touche(WORD touche, const std::vector<WORD>& modificateurs = {});
void Touches(const std::vector<WORD>& touches);

// Mouse.
enum class Bouton { Gauche, Droit };
POINT PositionIcone();  // the icon at the right end of the virtual desktop's taskbar
// Whether an icon is drawn there: the 16 x 16 square read from the screen is not plain.
bool IconeAffichee();
void CliqueEcran(POINT point, Bouton bouton);     // SendInput, through Wine's desktop
void CliqueEcranX11(POINT point, Bouton bouton);  // xdotool on the X display, like a mouse
void CliqueIcone(Bouton bouton);                  // a real click on the tray icon

// Popup menus (class "#32768"). Another process cannot read their entries: drive them with keys.
std::vector<HWND> MenusOuverts();  // the visible ones
HWND MenuOuvert();
HWND AttendsMenu(DWORD delai = kDelai);
bool AttendsMenuFerme(DWORD delai = kDelai);
// A click on the tray icon; true once its menu is open and in front, where keys reach it.
bool OuvreMenuIcone(Bouton bouton);
// The tray icon's menu, opened with `bouton` and walked with `touches`; true once it has closed.
bool ChoisitDansLeMenu(Bouton bouton, const std::vector<WORD>& touches);

// A hidden top-level window of this process, destroyed with the object.
class FenetreTemoin {
 public:
  FenetreTemoin(const std::string& classe, const std::string& titre);
  ~FenetreTemoin();
  FenetreTemoin(const FenetreTemoin&) = delete;
  FenetreTemoin& operator=(const FenetreTemoin&) = delete;
  HWND Handle() const { return fenetre_; }

 private:
  HWND fenetre_ = nullptr;
};

}  // namespace pilote
