// Acts as a user on the real Vivlan.exe under Wine: starts it in a fresh folder with a given
// Vivlan.ini, finds its windows, reads and drives their controls, sends keys and clicks the
// tray icon. Texts and paths are UTF-8, as in the program, and reach the system through the W
// functions only: folders and files of any name work whatever the test's ANSI code page, and
// controls of the other process are read in their UTF-16 form, since the ANSI forms come back
// cut across processes under Wine.
//
// Marqueur.exe, the program that e2e shortcuts start, appends two CR LF lines per run to the
// file named by the environment variable VIVLAN_MARQUEUR (Marqueur.txt next to Marqueur.exe
// without it): its command line, then its current directory. Vivelance sets that variable to
// Marqueur.txt in its own folder for every process it starts, so the launcher passes it on.
//
// Every wait polls every 50 ms up to kDelai: a test waits for what it expects, never sleeps.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace pilote {

inline constexpr DWORD kDelai = 20000;

// Polls `condition` until it holds; false once `delai` milliseconds have passed.
bool Attends(const std::function<bool()>& condition, DWORD delai = kDelai);

// Waits for what `lire` reads to become `attendu`; a failure shows the last value read.
template <typename T, typename Lecture>
::testing::AssertionResult Devient(Lecture lire, const T& attendu) {
  T vu{};
  if (Attends([&] { return (vu = lire()) == attendu; })) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "still " << ::testing::PrintToString(vu)
                                       << ", expected " << ::testing::PrintToString(attendu);
}

using Lignes = std::vector<std::string>;

// Windows paths of the programs under test.
std::string CheminVivlan();
std::string CheminMarqueur();
// The command line the launcher gives Marqueur.exe: its path quoted, then the arguments if any.
std::string LigneMarqueur(const std::string& arguments);
// The Vivelance folder of the zip, as paquet.Contenu unpacks it.
std::string CheminPaquet();

// UTF-16 <-> UTF-8.
std::string EnUtf8(const std::wstring& texte);
std::wstring EnLarge(const std::string& texte);

// Folders and files, by their UTF-8 paths.
bool CreeDossier(const std::string& chemin);
bool CopieFichier(const std::string& de, const std::string& vers);  // replaces `vers`
// The names a folder holds, "." and ".." left out.
Lignes FichiersDe(const std::string& dossier);

// A process started by the test; ended at destruction if it still runs.
class Processus {
 public:
  // `ligne`: the whole command line; `dossier`: its current directory; `travail`: a job object
  // to put it in before it runs, or nullptr.
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
// Waits for Notepad to show `attendu`, once it has made its window, then its text field, then
// read its file; what it shows by then, or "(no Notepad)".
std::string AttendsBlocNotes(const std::string& attendu);
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
// The child whose top-left corner is at (x, y) in its parent's client area.
HWND EnfantEn(HWND parent, int x, int y);
// Every text shown by the children, for messages whose control kind does not matter.
std::string TextesEnfants(HWND parent);

// Controls.
// The labels whose text, measured in the dialogs' font ("MS Sans Serif", 8 points) at the
// dialog's scale, or whose window reaches into a control that starts to their right on the same
// line: "text: ends at x, control at y", from the label's left.
std::vector<std::string> EtiquettesQuiDebordent(HWND dialogue);
std::vector<std::string> LignesListe(HWND liste);
int SelectionListe(HWND liste);  // LB_GETCURSEL, -1 for none
bool Coche(HWND caseACocher);
void EcrisTexte(HWND controle, const std::string& texte);  // WM_SETTEXT
// BM_CLICK, posted: a button that opens a modal box would block a sent message.
void Clique(HWND bouton);
// Returns once the window's thread has handled what came before: a sent WM_NULL.
void Synchronise(HWND fenetre);
bool AuPremierPlan(HWND fenetre);

// Keyboard, through SendInput to whichever window has the focus. Keys are virtual-key codes:
// 'A'..'Z', '0'..'9', VK_RETURN, VK_ESCAPE, VK_F1, VK_DOWN...
void Touche(WORD touche, std::initializer_list<WORD> modificateurs = {});
void Touches(std::initializer_list<WORD> touches);

// Mouse.
enum class Bouton { Gauche, Droit };
POINT PositionIcone();  // the icon at the right end of the virtual desktop's taskbar
// Whether an icon is drawn there: the 16 x 16 square read from the screen is not plain.
bool IconeAffichee();
void CliqueEcran(POINT point, Bouton bouton);     // SendInput, through Wine's desktop
void CliqueEcranX11(POINT point, Bouton bouton);  // xdotool on the X display, like a mouse
void CliqueIcone(Bouton bouton);                  // a real click on the tray icon
// The tray callback message with a mouse message, as the shell would post it.
bool PosteNotification(HWND fenetreIcone, UINT messageSouris);

// Linux, under Wine. `commande` runs in /bin/sh and holds no double quote; its exit code, or
// -1 when it could not run.
int CommandeLinux(const std::string& commande);
// The Linux path of a Windows one; empty when there is none.
std::string CheminLinux(const std::string& chemin);

// Popup menus (class "#32768"). Another process cannot read their entries: drive them with keys.
HWND MenuOuvert();
HWND AttendsMenu(DWORD delai = kDelai);
bool AttendsMenuFerme(DWORD delai = kDelai);

// A hidden top-level window of the test process, destroyed with the object.
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

// Vivlan.exe in a fresh temporary folder of its own. At destruction every process it started,
// and every process they started, is ended, and the folder removed. Wine reports an exception
// that the launcher lets reach the system ("err:seh") on the test's own error output, which
// CTest searches.
class Vivelance {
 public:
  // `ini`: the bytes of Vivlan.ini; nullopt: no settings file.
  explicit Vivelance(const std::optional<std::string>& ini = std::nullopt);
  // The Vivlan.exe that lies in `dossier`, started there; the folder stays as it is.
  struct Installe {
    std::string dossier;
  };
  explicit Vivelance(const Installe& installe);
  ~Vivelance();
  Vivelance(const Vivelance&) = delete;
  Vivelance& operator=(const Vivelance&) = delete;

  const std::string& Dossier() const { return dossier_; }
  std::string Chemin(const std::string& nom) const;
  void EcrisFichier(const std::string& nom, const std::string& octets) const;
  std::optional<std::string> LisFichier(const std::string& nom) const;  // nullopt: absent

  // Starts one more Vivlan.exe in the folder; the first one started is the instance under test.
  Processus& Lance();
  // Starts the instance under test and waits for its main window and its tray window.
  bool Demarre();
  // Once the instance under test has ended: starts another in its place, as Demarre does.
  bool Redemarre();
  Processus& Instance() { return processus_.front(); }

  HWND FenetrePrincipale() const;  // the instance's main window, by class and title
  // The tray icon's callback window: the newest hidden, zero-size, tool-window popup of the
  // instance.
  HWND FenetreIcone() const;

  // Right click on the icon, waits for the command menu, then its access key.
  bool Commande(WORD toucheAcces);
  // "&Quitter"; true once the process has ended.
  bool Quitte();

  // The lines Marqueur.exe wrote, CR LF removed.
  std::vector<std::string> LignesMarqueur() const;

 private:
  void Prepare();

  std::string dossier_;
  std::string winedebug_;     // the test's own, given back at the end
  std::string programme_ = CheminVivlan();
  bool dossierAMoi_ = true;
  HANDLE travail_ = nullptr;  // job object: whatever the launcher starts ends with the test
  std::deque<Processus> processus_;
};

// ---- The program's boxes and its editor

// A box of the program found by its caption; only a shown one counts, since the program's
// hidden owner window is captioned "Vivlan" too.
HWND AttendsBoite(DWORD pid, const std::string& titre);
// The prompt of `titre` that asks `question`, shown by the program over the editor.
HWND Invite(DWORD pid, const std::string& titre, const std::string& question);
// Sets that prompt's field, empty until then, and presses its "OK".
void Saisis(DWORD pid, const std::string& titre, const std::string& question,
            const std::string& libelle);

// The scale of the prefix's screen: 96 dpi, or what ctest gives a run in a prefix of its own.
int Ppp();

// "Configuration". The form lays its group boxes flat: every control is a child of the window,
// placed in the window's client area, where the design puts it at the screen's scale.
struct Editeur {
  HWND fenetre = nullptr;

  HWND En(int x, int y) const;
  HWND Menus() const { return En(54, 19); }
  HWND Items() const { return En(364, 19); }
  HWND MenuPlus() const { return En(145, 146); }
  HWND ItemPlus() const { return En(455, 146); }
  HWND Exe() const { return En(166, 238); }
  HWND Param() const { return En(166, 275); }
  HWND Chemin() const { return En(166, 312); }
  HWND Touche() const { return En(551, 353); }
  // Check boxes and buttons, by their caption.
  HWND Bouton(const char* texte) const { return Enfant(fenetre, "Button", std::string(texte)); }

  // What the lower half shows, in one line: a failure prints every field at once.
  std::string Fiche() const;
};

// Opens the editor from the command menu; a failure leaves `fenetre` null.
Editeur OuvreEditeur(Vivelance& vivelance);
// Ticks a check box with a click and waits for the program to show it ticked.
void CocheParClic(HWND caseACocher);
// Ctrl + Alt + `touche`, pressed once the launcher has settled and a window of the test has
// the focus: keys sent while the focus is still moving after a window closed can reach Wine
// without their modifiers.
void Combinaison(Vivelance& vivelance, char touche);

}  // namespace pilote
