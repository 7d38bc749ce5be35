#include "pilote/Fenetres.h"

#include <iterator>
#include <sstream>

#include "platform/win32/Large.h"

namespace pilote {

namespace {

constexpr UINT kDelaiMessage = 5000;

// Sends a message to a window of another process without hanging with a process that hangs.
// A window that went away meanwhile just answers 0.
LRESULT Envoie(HWND fenetre, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR resultat = 0;
  if (!SendMessageTimeoutW(fenetre, message, wParam, lParam, SMTO_ABORTIFHUNG, kDelaiMessage,
                           &resultat) &&
      IsWindow(fenetre)) {
    std::ostringstream texte;
    texte << "no answer to message 0x" << std::hex << message << " from window "
              << static_cast<const void*>(fenetre);
    Echec(texte.str());
  }
  return static_cast<LRESULT>(resultat);
}

std::vector<HWND> Toutes() {
  std::vector<HWND> fenetres;
  EnumWindows(
      [](HWND fenetre, LPARAM liste) {
        reinterpret_cast<std::vector<HWND>*>(liste)->push_back(fenetre);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&fenetres));
  return fenetres;
}

// The title the system keeps for a top-level window: no message to a process that may be busy.
std::string Titre(HWND fenetre) {
  wchar_t titre[512];
  int n = GetWindowTextW(fenetre, titre, 512);
  return plat::Etroit(titre, static_cast<size_t>(n > 0 ? n : 0));
}

bool Correspond(HWND fenetre, const std::string& classe, const std::string& titre) {
  return (classe.empty() || Classe(fenetre) == classe) && (titre.empty() || Titre(fenetre) == titre);
}

bool Etendue(WORD touche) {
  switch (touche) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE: case VK_LWIN: case VK_RWIN:
      return true;
    default:
      return false;
  }
}

INPUT EntreeClavier(WORD touche, bool relachee) {
  INPUT entree{};
  entree.type = INPUT_KEYBOARD;
  entree.ki.wVk = touche;
  entree.ki.wScan = static_cast<WORD>(MapVirtualKeyW(touche, MAPVK_VK_TO_VSC));
  entree.ki.dwFlags = (relachee ? KEYEVENTF_KEYUP : 0) | (Etendue(touche) ? KEYEVENTF_EXTENDEDKEY : 0);
  return entree;
}

void Envoie(std::vector<INPUT> entrees) {
  UINT envoyees = SendInput(static_cast<UINT>(entrees.size()), entrees.data(), sizeof(INPUT));
  if (envoyees != entrees.size()) Echec("SendInput: " + std::to_string(GetLastError()));
}

}  // namespace

// ---- Windows

std::string Classe(HWND fenetre) {
  wchar_t nom[256];
  int n = GetClassNameW(fenetre, nom, 256);
  return plat::Etroit(nom, static_cast<size_t>(n > 0 ? n : 0));
}

std::string Texte(HWND fenetre) {
  LRESULT longueur = Envoie(fenetre, WM_GETTEXTLENGTH, 0, 0);
  std::wstring texte(static_cast<size_t>(longueur) + 1, L'\0');
  LRESULT n = Envoie(fenetre, WM_GETTEXT, texte.size(), reinterpret_cast<LPARAM>(texte.data()));
  texte.resize(static_cast<size_t>(n));
  return plat::Etroit(texte);
}

bool Visible(HWND fenetre) { return IsWindowVisible(fenetre); }
bool Actif(HWND fenetre) { return IsWindowEnabled(fenetre); }

DWORD PidDe(HWND fenetre) {
  DWORD pid = 0;
  GetWindowThreadProcessId(fenetre, &pid);
  return pid;
}

RECT RectFenetre(HWND fenetre) {
  RECT r{};
  GetWindowRect(fenetre, &r);
  return r;
}

RECT RectClient(HWND fenetre) {
  RECT r{};
  GetClientRect(fenetre, &r);
  return r;
}

HWND Trouve(const std::string& classe, const std::string& titre) {
  const std::wstring c = plat::Large(classe), t = plat::Large(titre);
  return FindWindowW(classe.empty() ? nullptr : c.c_str(), titre.empty() ? nullptr : t.c_str());
}

bool AttendsAbsence(const std::string& classe, const std::string& titre, DWORD delai) {
  return Attends([&] { return Trouve(classe, titre) == nullptr; }, delai);
}

std::vector<HWND> FenetresDe(DWORD pid) {
  std::vector<HWND> siennes;
  for (HWND fenetre : Toutes()) {
    if (PidDe(fenetre) == pid) siennes.push_back(fenetre);
  }
  return siennes;
}

HWND FenetreDe(DWORD pid, const std::string& classe, const std::string& titre) {
  for (HWND fenetre : FenetresDe(pid)) {
    if (Correspond(fenetre, classe, titre)) return fenetre;
  }
  return nullptr;
}

HWND AttendsFenetreDe(DWORD pid, const std::string& classe, const std::string& titre,
                      DWORD delai) {
  HWND trouvee = nullptr;
  Attends([&] { return (trouvee = FenetreDe(pid, classe, titre)) != nullptr; }, delai);
  return trouvee;
}

bool AttendsVisible(HWND fenetre, bool visible, DWORD delai) {
  return Attends([&] { return Visible(fenetre) == visible; }, delai);
}

bool AttendsDestruction(HWND fenetre, DWORD delai) {
  return Attends([&] { return !IsWindow(fenetre); }, delai);
}

std::vector<HWND> Enfants(HWND parent) {
  std::vector<HWND> enfants;
  EnumChildWindows(
      parent,
      [](HWND fenetre, LPARAM liste) {
        reinterpret_cast<std::vector<HWND>*>(liste)->push_back(fenetre);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&enfants));
  return enfants;
}

HWND Enfant(HWND parent, const std::string& classe, const std::optional<std::string>& texte) {
  for (HWND enfant : Enfants(parent)) {
    if ((classe.empty() || Classe(enfant) == classe) && (!texte || Texte(enfant) == *texte)) {
      return enfant;
    }
  }
  return nullptr;
}

std::string TextesEnfants(HWND parent) {
  std::string textes;
  for (HWND enfant : Enfants(parent)) {
    std::string texte = Texte(enfant);
    if (texte.empty()) continue;
    if (!textes.empty()) textes += '\n';
    textes += texte;
  }
  return textes;
}

// ---- Controls

std::vector<std::string> LignesListe(HWND liste) {
  std::vector<std::string> lignes;
  LRESULT n = Envoie(liste, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    LRESULT longueur = Envoie(liste, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring ligne(static_cast<size_t>(longueur > 0 ? longueur : 0) + 1, L'\0');
    LRESULT lus = Envoie(liste, LB_GETTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(ligne.data()));
    ligne.resize(static_cast<size_t>(lus > 0 ? lus : 0));
    lignes.push_back(plat::Etroit(ligne));
  }
  return lignes;
}

int SelectionListe(HWND liste) { return static_cast<int>(Envoie(liste, LB_GETCURSEL, 0, 0)); }

bool Coche(HWND caseACocher) { return Envoie(caseACocher, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void EcrisTexte(HWND controle, const std::string& texte) {
  std::wstring large = plat::Large(texte);
  Envoie(controle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(large.c_str()));
}

void Clique(HWND bouton) {
  if (!PostMessageW(bouton, BM_CLICK, 0, 0)) Echec("BM_CLICK: " + std::to_string(GetLastError()));
}

void Synchronise(HWND fenetre) { Envoie(fenetre, WM_NULL, 0, 0); }

bool AuPremierPlan(HWND fenetre) {
  SetForegroundWindow(fenetre);
  return Attends([&] { return GetForegroundWindow() == fenetre; });
}

// ---- Keyboard

void Touche(WORD touche, const std::vector<WORD>& modificateurs) {
  std::vector<INPUT> entrees;
  for (WORD m : modificateurs) entrees.push_back(EntreeClavier(m, false));
  entrees.push_back(EntreeClavier(touche, false));
  entrees.push_back(EntreeClavier(touche, true));
  for (auto m = modificateurs.rbegin(); m != modificateurs.rend(); ++m) {
    entrees.push_back(EntreeClavier(*m, true));
  }
  Envoie(std::move(entrees));
}

void Touches(const std::vector<WORD>& touches) {
  for (WORD touche : touches) Touche(touche);
}

// ---- Mouse

POINT PositionIcone() {
  return {GetSystemMetrics(SM_CXSCREEN) - 11, GetSystemMetrics(SM_CYSCREEN) - 10};
}

bool IconeAffichee() {
  const POINT centre = PositionIcone();
  HDC ecran = GetDC(nullptr);
  const COLORREF fond = GetPixel(ecran, centre.x - 8, centre.y - 8);
  bool dessin = false;
  for (int y = centre.y - 8; y < centre.y + 8 && !dessin; ++y) {
    for (int x = centre.x - 8; x < centre.x + 8 && !dessin; ++x) {
      dessin = GetPixel(ecran, x, y) != fond;
    }
  }
  ReleaseDC(nullptr, ecran);
  return dessin;
}

void CliqueEcran(POINT point, Bouton bouton) {
  if (!SetCursorPos(point.x, point.y)) Echec("SetCursorPos: " + std::to_string(GetLastError()));
  // The position travels with every event: under Wine a button event without one may land
  // where the pointer was before.
  const LONG x = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  const LONG y = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  INPUT entrees[3]{};
  const DWORD bas = bouton == Bouton::Gauche ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
  const DWORD haut = bouton == Bouton::Gauche ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
  const DWORD drapeaux[3] = {0, bas, haut};
  for (int i = 0; i < 3; ++i) {
    entrees[i].type = INPUT_MOUSE;
    entrees[i].mi.dx = x;
    entrees[i].mi.dy = y;
    entrees[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | drapeaux[i];
  }
  Envoie(std::vector<INPUT>(std::begin(entrees), std::end(entrees)));
}

void CliqueEcranX11(POINT point, Bouton bouton) {
  std::ostringstream ligne;
  ligne << "/usr/bin/xdotool mousemove " << point.x << ' ' << point.y << " click "
        << (bouton == Bouton::Gauche ? 1 : 3);
  if (CommandeLinux(ligne.str()) != 0) Echec("failed: " + ligne.str());
}

void CliqueIcone(Bouton bouton) { CliqueEcran(PositionIcone(), bouton); }

// ---- Menus

std::vector<HWND> MenusOuverts() {
  std::vector<HWND> menus;
  for (HWND fenetre : Toutes()) {
    if (Visible(fenetre) && Classe(fenetre) == "#32768") menus.push_back(fenetre);
  }
  return menus;
}

HWND MenuOuvert() {
  const std::vector<HWND> menus = MenusOuverts();
  return menus.empty() ? nullptr : menus.front();
}

HWND AttendsMenu(DWORD delai) {
  HWND menu = nullptr;
  // Open, and its program in the foreground: keys sent before that go to the window that had
  // the focus, and the menu never sees them.
  return Attends([&] {
    return (menu = MenuOuvert()) != nullptr && PidDe(GetForegroundWindow()) == PidDe(menu);
  }, delai) ? menu : nullptr;
}

bool AttendsMenuFerme(DWORD delai) {
  return Attends([] { return MenuOuvert() == nullptr; }, delai);
}

bool OuvreMenuIcone(Bouton bouton) {
  CliqueIcone(bouton);
  return AttendsMenu() != nullptr;
}

bool ChoisitDansLeMenu(Bouton bouton, const std::vector<WORD>& touches) {
  if (!OuvreMenuIcone(bouton)) return false;
  Touches(touches);
  return AttendsMenuFerme();
}

// ---- FenetreTemoin

FenetreTemoin::FenetreTemoin(const std::string& classe, const std::string& titre) {
  const std::wstring nom = plat::Large(classe);
  WNDCLASSW description{};
  description.lpfnWndProc = DefWindowProcW;
  description.hInstance = GetModuleHandleW(nullptr);
  description.lpszClassName = nom.c_str();
  RegisterClassW(&description);  // may already exist from an earlier test
  fenetre_ = CreateWindowExW(0, nom.c_str(), plat::Large(titre).c_str(), WS_OVERLAPPEDWINDOW, 0,
                             0, 100, 100, nullptr, nullptr, description.hInstance, nullptr);
  if (fenetre_ == nullptr) Echec("CreateWindowEx: " + std::to_string(GetLastError()));
}

FenetreTemoin::~FenetreTemoin() {
  if (fenetre_) DestroyWindow(fenetre_);
}

}  // namespace pilote
