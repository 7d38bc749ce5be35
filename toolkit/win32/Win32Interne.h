// What the parts of the Windows backend share.
#pragma once

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/Large.h"
#include "toolkit/Echelle.h"
#include "toolkit/IconesDeMenu.h"
#include "toolkit/win32/Win32Backend.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

namespace tk {

inline HWND Hwnd(std::uintptr_t native) { return reinterpret_cast<HWND>(native); }

// A form's window and what its window procedure needs.
struct FenetreForm {
  Win32Backend::Impl* impl = nullptr;
  Form* form = nullptr;
  std::map<int, Control*> controles;  // by control id
  HWND focus = nullptr;               // control to give the focus back to on activation
  HWND precedente = nullptr;          // window active before the form was shown
  bool modale = false;                // inside showModal
  int ppp = kPppConception;           // the window's dots per inch, which its controls follow
};

struct FenetreUtilitaire {
  Win32Backend::Impl* impl = nullptr;
  WindowProcedure procedure;
};

// The menus' owner window's timer that fetches icons at idle moments.
constexpr UINT_PTR kTimerIcones = 1;

struct Win32Backend::Impl {
  HINSTANCE instance = nullptr;
  Application* application = nullptr;  // known from the first form or menu
  HWND fenetreApplication = nullptr;
  // Owner of the popup menus, and the window the timers tick to: one hidden window less to
  // make at start-up.
  HWND proprietaireMenus = nullptr;

  std::map<HWND, std::unique_ptr<FenetreForm>> forms;
  std::map<HWND, std::unique_ptr<FenetreUtilitaire>> utilitaires;
  std::map<UINT_PTR, Timer*> timers;
  UINT_PTR prochainTimer = kTimerIcones + 1;
  std::map<std::tuple<std::string, int, bool, bool>, HFONT> polices;
  std::map<std::pair<Picture, int>, HANDLE> images;  // by picture and size
  std::vector<std::string> classes;

  // An open popup menu: its entries by command id and a help request held until it closes.
  struct MenuOuvert {
    std::map<UINT, MenuItem*> entrees;
    // Each menu's entries that show a file's icon, by their id.
    std::map<HMENU, std::vector<std::pair<UINT, MenuItem*>>> aIcones;
    MenuItem* aideEnAttente = nullptr;
  };
  // The innermost one: a menu opened inside another's loop has its own, the outer one's
  // comes back when it closes.
  MenuOuvert* menu = nullptr;

  // The icons of menu entries, made when first needed (Win32Icones).
  std::unique_ptr<IconesDeMenu> icones;
  // A menu about to open: its entries' icons, within the budget; the rest at idle moments.
  void ouvreMenu(HMENU menu);
  // An idle moment of the menus' owner window.
  void iconesAuRepos();
  void fermeMenu();

  // Non-zero while the backend itself writes to a control, so that the
  // control's notification is not taken for the user's doing.
  int miroir = 0;

  // The common controls of the manifest (version 6, which draws pictures on push buttons, and
  // the theme library with it): loaded with the first window that has controls, not at start.
  bool controlesCommuns = false;
  void chargeControlesCommuns();
  // Their subclassing of a window, found with them; null if they could not be loaded.
  struct SousClassement {
    decltype(&SetWindowSubclass) pose = nullptr;
    decltype(&RemoveWindowSubclass) retire = nullptr;
    decltype(&DefSubclassProc) suite = nullptr;
  } sousClassement;
  // Theirs too: an icon of a size it does not hold, scaled down from a larger one.
  decltype(&LoadIconWithScaleDown) iconeReduite = nullptr;

  void connait(Application& app);
  void dispatch(const std::function<void()>& handler);
  void enregistreClasse(const std::string& nom, WNDPROC procedure, bool avecIcone);
  // The program's own French in the designed face, or its TrueType twin on a code page whose
  // form of it lacks "é"; what the user types or named (`saisie`), in any script, in the
  // system's dialog face, which reaches every script through font linking.
  HFONT police(const Font& font, bool saisie = false);
  // A picture `taille` pixels wide: an icon, or a bitmap for the menus (estBitmap).
  HANDLE image(Picture picture, int taille);
  // At the size of the small icons of the system's scale: the menus' and the notification area's.
  HANDLE image(Picture picture);
  // An icon of `module` (the system's: none) at a size, the caller's to destroy: scaled down
  // by the common controls when they are there, which know every size the system keeps.
  HICON icone(HINSTANCE module, LPCWSTR nom, int taille) const;
  static bool estBitmap(Picture picture);
  // The size of the system's small or large icons at `ppp`.
  static int tailleIcone(bool grande, int ppp);
  // Texts measured as the labels show them.
  MesureTexte mesure();
  void libereRessources();
  HWND creeUtilitaire(const std::string& classe, WindowProcedure procedure);

  // Nested loop until `fini` holds; false when the program is ending (WM_QUIT re-posted).
  bool boucleModale(HWND fenetre, const std::function<bool()>& fini);
  // Disables the other visible windows of the program for a modal window.
  std::vector<HWND> desactiveAutres(HWND sauf);
  static void reactive(const std::vector<HWND>& fenetres);
  // Owner for a dialog: the program's active window, else the application window.
  HWND proprietaire();
  // The scale of a window, of the system, and the system's measures at a scale.
  static int pppDe(HWND fenetre);
  static int pppSysteme();
  static int metrique(int index, int ppp);
  // Places a window so that its client area has the given size at `ppp`: centred on the
  // screen, or from the top-left corner of the place the system proposes for a new scale.
  static void placeFenetre(HWND fenetre, Taille client, int ppp, const RECT* proposee = nullptr);
  // A form's controls, fonts and pictures at `ppp`: when it is made, and when its window has
  // moved to a screen of another scale.
  void disposeForm(HWND fenetre, FenetreForm& f, int ppp, const RECT* proposee = nullptr);
  static std::string texteFenetre(HWND fenetre);
  // Labels, read-only fields and group boxes on the face colour of their window.
  static LRESULT couleurStatique(WPARAM dc);
  static SIZE mesureTexte(HFONT police, const std::string& texte, UINT format, int largeurMax);
};

// What every window procedure wraps its work in: no exception may cross into the system,
// which can swallow it and let the program run on broken. The application reports it.
void SignaleException(std::exception_ptr exception);
template <class Corps>
LRESULT Protege(Corps&& corps) {
  try {
    return corps();
  } catch (...) {
    SignaleException(std::current_exception());
    return 0;
  }
}

// The one window procedure of our window classes: the object given to CreateWindowEx rides in
// GWLP_USERDATA from WM_NCCREATE on, and every message goes with it to `Traite`.
template <class Objet, LRESULT (*Traite)(Objet&, HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Protege([&] {
    if (message == WM_NCCREATE) {
      const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* objet = reinterpret_cast<Objet*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (objet == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return Traite(*objet, hwnd, message, wParam, lParam);
  });
}
// Cut from its object first: a window's last messages must not reach an object on its way out.
void Detruit(HWND hwnd);

// The procedures of the forms' classes (a FenetreForm each) and the utility windows' ones.
extern const WNDPROC kProcedureForm;
extern const WNDPROC kProcedureUtilitaire;

// A control is usable only while its containers are: they are flattened into the form.
bool ActifEffectif(const Control& c);
// The control's share of a WM_COMMAND: what the user did to it, for its object.
void Notifie(Win32Backend::Impl& impl, Control& c, HWND controle, WORD code);

// A function of a library loaded when first needed; through void (*)(), which converts to any
// function pointer without a warning.
template <class F>
F Fonction(HMODULE module, const char* nom) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, nom)));
}

// Messages of the menus' owner window: hints and F1 on the highlighted entry, and the timers.
std::optional<std::intptr_t> MessageMenus(Win32Backend::Impl& impl, unsigned message,
                                          std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace tk
