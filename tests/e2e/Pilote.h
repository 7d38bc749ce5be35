// Acts as a user on the real Vivlan.exe under Wine: starts it in a fresh folder with a given
// Vivlan.ini, finds its windows, reads and drives their controls, sends keys and clicks the
// tray icon. The helpers of tests/pilote do the work; this layer makes what they report a
// failure of the running test, and adds what only tests need.
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
#include <optional>
#include <string>
#include <vector>

#include "pilote/Fenetres.h"
#include "pilote/Lanceur.h"
#include "pilote/Processus.h"
#include "pilote/Systeme.h"

namespace pilote {

// Waits for what `lire` reads to become `attendu`; a failure shows the last value read.
template <typename T, typename Lecture>
::testing::AssertionResult Devient(Lecture lire, const T& attendu) {
  T vu{};
  if (Attends([&] { return (vu = lire()) == attendu; })) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "still " << ::testing::PrintToString(vu)
                                       << ", expected " << ::testing::PrintToString(attendu);
}

// Windows paths of the programs under test.
std::string CheminVivlan();
std::string CheminMarqueur();
// The command line the launcher gives Marqueur.exe: its path quoted, then the arguments if any.
std::string LigneMarqueur(const std::string& arguments);
// The Vivelance folder of the zip, as paquet.Contenu unpacks it.
std::string CheminPaquet();

// The labels whose text, measured in the dialogs' font ("MS Sans Serif", 8 points) at the
// dialog's scale, or whose window reaches into a control that starts to their right on the same
// line: "text: ends at x, control at y", from the label's left.
std::vector<std::string> EtiquettesQuiDebordent(HWND dialogue);

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
  // The tray icon's callback window, by the class the icon component registers.
  HWND FenetreIcone() const;

  // Right click on the icon, waits for the command menu, then its access key; true once the
  // menu has closed.
  bool Commande(WORD toucheAcces);
  // "&Quitter"; true once the process has ended.
  bool Quitte();

  // The lines Marqueur.exe wrote, CR LF removed.
  std::vector<std::string> LignesMarqueur() const;

 private:
  void Prepare();

  Travail travail_;  // whatever the launcher starts ends with the test
  std::string dossier_;
  std::string winedebug_;  // the test's own, given back at the end
  std::string programme_ = CheminVivlan();
  bool dossierAMoi_ = true;
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
// Presses the "OK" of a message box and waits for the box to close.
void FermeParOk(HWND boite);

// The scale of the prefix's screen: 96 dpi, or what ctest gives a run in a prefix of its own.
int Ppp();

// "Configuration", its controls found through their twins in Modeles().config.
struct Editeur {
  HWND fenetre = nullptr;

  HWND De(const tk::Control& modele) const { return Controle(fenetre, modele); }
  HWND Menus() const { return De(Modeles().config.iLixMenus); }
  HWND Items() const { return De(Modeles().config.iLixItems); }
  HWND MenuPlus() const { return De(Modeles().config.iSbtMenuPlus); }
  HWND ItemPlus() const { return De(Modeles().config.iSbtItemPlus); }
  HWND Exe() const { return De(Modeles().config.iEdExe); }
  HWND Param() const { return De(Modeles().config.iEdParam); }
  HWND Chemin() const { return De(Modeles().config.iEdChemin); }
  HWND Touche() const { return De(Modeles().config.iEdTouche); }
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
// Waits for Notepad to show `attendu`, once it has made its window, then its text field, then
// read its file; what it shows by then, or "(no Notepad)".
std::string AttendsBlocNotes(const std::string& attendu);

}  // namespace pilote
