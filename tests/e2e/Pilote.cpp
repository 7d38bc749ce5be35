#include "Pilote.h"

#include "app/Princip.h"
#include "components/IconeNotification.h"
#include "toolkit/Echelle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace pilote {

namespace {

// CMake gives Linux paths; Wine's drive Z: is the Linux root.
std::string CheminWine(std::string chemin) {
  if (!chemin.empty() && chemin.front() == '/') {
    for (char& c : chemin) {
      if (c == '/') c = '\\';
    }
    chemin = "Z:" + chemin;
  }
  return chemin;
}

constexpr UINT kDelaiMessage = 5000;

// Sends a message to a window of another process without hanging with a process that hangs.
// A window that went away meanwhile just answers 0.
LRESULT Envoie(HWND fenetre, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR resultat = 0;
  if (!SendMessageTimeoutW(fenetre, message, wParam, lParam, SMTO_ABORTIFHUNG, kDelaiMessage,
                           &resultat) &&
      IsWindow(fenetre)) {
    ADD_FAILURE() << "no answer to message 0x" << std::hex << message << " from window "
                  << static_cast<const void*>(fenetre);
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
  return EnUtf8(std::wstring(titre, static_cast<size_t>(n > 0 ? n : 0)));
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
  EXPECT_EQ(envoyees, entrees.size()) << "SendInput: " << GetLastError();
}

int Sequence() {
  static int n = 0;
  return ++n;
}

// MinGW's narrow paths go through the ANSI code page: a path is made from UTF-8 explicitly.
std::filesystem::path Fs(const std::string& chemin) { return std::filesystem::u8path(chemin); }

}  // namespace

bool Attends(const std::function<bool()>& condition, DWORD delai) {
  const ULONGLONG fin = GetTickCount64() + delai;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= fin) return false;
    Sleep(50);
  }
}

std::string CheminVivlan() { return CheminWine(VIVLAN_EXE); }
std::string CheminMarqueur() { return CheminWine(MARQUEUR_EXE); }
std::string CheminPaquet() { return CheminWine(VIVLAN_DEBALLE "/Vivelance"); }

std::string LigneMarqueur(const std::string& arguments) {
  return '"' + CheminMarqueur() + '"' + (arguments.empty() ? "" : " " + arguments);
}

std::string EnUtf8(const std::wstring& texte) {
  if (texte.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string resultat(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), resultat.data(), n,
                      nullptr, nullptr);
  return resultat;
}

std::wstring EnLarge(const std::string& texte) {
  if (texte.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), nullptr, 0);
  std::wstring resultat(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), resultat.data(), n);
  return resultat;
}

// ---- Folders and files

bool CreeDossier(const std::string& chemin) {
  return CreateDirectoryW(EnLarge(chemin).c_str(), nullptr) != FALSE;
}

bool CopieFichier(const std::string& de, const std::string& vers) {
  return CopyFileW(EnLarge(de).c_str(), EnLarge(vers).c_str(), FALSE) != FALSE;
}

Lignes FichiersDe(const std::string& dossier) {
  Lignes noms;
  WIN32_FIND_DATAW trouve;
  HANDLE recherche = FindFirstFileW(EnLarge(dossier + "\\*").c_str(), &trouve);
  if (recherche == INVALID_HANDLE_VALUE) return noms;
  do {
    const std::string nom = EnUtf8(trouve.cFileName);
    if (nom != "." && nom != "..") noms.push_back(nom);
  } while (FindNextFileW(recherche, &trouve));
  FindClose(recherche);
  return noms;
}

// ---- Processus

Processus::Processus(const std::string& ligne, const std::string& dossier, HANDLE travail) {
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof demarrage;
  std::wstring commande = EnLarge(ligne);  // CreateProcessW may write into it
  const std::wstring repertoire = EnLarge(dossier);
  // Suspended until it is in the job, so that nothing it starts escapes the job.
  DWORD options = travail ? CREATE_SUSPENDED : 0;
  if (!CreateProcessW(nullptr, commande.data(), nullptr, nullptr, FALSE, options, nullptr,
                      repertoire.empty() ? nullptr : repertoire.c_str(), &demarrage, &info_)) {
    ADD_FAILURE() << "CreateProcess(" << ligne << ") in " << dossier << ": " << GetLastError();
    info_ = {};
    return;
  }
  if (travail) {
    EXPECT_TRUE(AssignProcessToJobObject(travail, info_.hProcess)) << GetLastError();
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

// ---- Windows

std::string Classe(HWND fenetre) {
  wchar_t nom[256];
  int n = GetClassNameW(fenetre, nom, 256);
  return EnUtf8(std::wstring(nom, static_cast<size_t>(n > 0 ? n : 0)));
}

std::string Texte(HWND fenetre) {
  LRESULT longueur = Envoie(fenetre, WM_GETTEXTLENGTH, 0, 0);
  std::wstring texte(static_cast<size_t>(longueur) + 1, L'\0');
  LRESULT n = Envoie(fenetre, WM_GETTEXT, texte.size(), reinterpret_cast<LPARAM>(texte.data()));
  texte.resize(static_cast<size_t>(n));
  return EnUtf8(texte);
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
  const std::wstring c = EnLarge(classe), t = EnLarge(titre);
  return FindWindowW(classe.empty() ? nullptr : c.c_str(), titre.empty() ? nullptr : t.c_str());
}

std::string AttendsBlocNotes(const std::string& attendu) {
  std::string lu = "(no Notepad)";
  Attends([&] {
    HWND blocNotes = Trouve("Notepad");
    HWND texte = blocNotes ? Enfant(blocNotes, "Edit") : nullptr;
    if (texte) lu = Texte(texte);
    return lu == attendu;
  });
  return lu;
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

HWND EnfantEn(HWND parent, int x, int y) {
  for (HWND enfant : Enfants(parent)) {
    RECT r = RectFenetre(enfant);
    POINT coin{r.left, r.top};
    ScreenToClient(GetParent(enfant), &coin);
    if (GetParent(enfant) == parent && coin.x == x && coin.y == y) return enfant;
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

std::vector<std::string> EtiquettesQuiDebordent(HWND dialogue) {
  std::vector<std::string> debordent;
  const std::vector<HWND> enfants = Enfants(dialogue);
  // A font handle of the other process means nothing here (and Wine answers WM_GETFONT from
  // another process with 0): the dialogs' own font, made alike at the dialog's scale.
  const UINT ppp = GetDpiForWindow(dialogue);
  const int hauteur = tk::HauteurPolice(tk::Font{}.height, ppp != 0 ? ppp : GetDpiForSystem());
  HFONT police = CreateFontW(hauteur, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
  HDC dc = GetDC(nullptr);
  HGDIOBJ avant = SelectObject(dc, police);
  for (HWND etiquette : enfants) {
    const std::wstring texte = EnLarge(Texte(etiquette));
    if (Classe(etiquette) != "Static" || texte.empty()) continue;
    SIZE taille{};
    GetTextExtentPoint32W(dc, texte.c_str(), static_cast<int>(texte.size()), &taille);
    const RECT e = RectFenetre(etiquette);
    const LONG fin = std::max(e.right, e.left + taille.cx);
    for (HWND voisin : enfants) {
      const RECT v = RectFenetre(voisin);
      // A group box holds its labels: only what lies beside them counts.
      const bool groupe = Classe(voisin) == "Button" &&
                          (GetWindowLongW(voisin, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
      if (voisin != etiquette && !groupe && v.top < e.bottom && e.top < v.bottom &&
          v.left >= e.left && v.left < fin)
        debordent.push_back(EnUtf8(texte) + ": ends at " + std::to_string(fin - e.left) +
                            ", control at " + std::to_string(v.left - e.left));
    }
  }
  SelectObject(dc, avant);
  ReleaseDC(nullptr, dc);
  DeleteObject(police);
  return debordent;
}

std::vector<std::string> LignesListe(HWND liste) {
  std::vector<std::string> lignes;
  LRESULT n = Envoie(liste, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    LRESULT longueur = Envoie(liste, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring ligne(static_cast<size_t>(longueur > 0 ? longueur : 0) + 1, L'\0');
    LRESULT lus = Envoie(liste, LB_GETTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(ligne.data()));
    ligne.resize(static_cast<size_t>(lus > 0 ? lus : 0));
    lignes.push_back(EnUtf8(ligne));
  }
  return lignes;
}

int SelectionListe(HWND liste) { return static_cast<int>(Envoie(liste, LB_GETCURSEL, 0, 0)); }

bool Coche(HWND caseACocher) { return Envoie(caseACocher, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void EcrisTexte(HWND controle, const std::string& texte) {
  std::wstring large = EnLarge(texte);
  Envoie(controle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(large.c_str()));
}

void Clique(HWND bouton) { EXPECT_TRUE(PostMessageW(bouton, BM_CLICK, 0, 0)) << GetLastError(); }


void Synchronise(HWND fenetre) { Envoie(fenetre, WM_NULL, 0, 0); }

bool AuPremierPlan(HWND fenetre) {
  SetForegroundWindow(fenetre);
  return Attends([&] { return GetForegroundWindow() == fenetre; });
}

// ---- Keyboard

void Touche(WORD touche, std::initializer_list<WORD> modificateurs) {
  std::vector<INPUT> entrees;
  for (WORD m : modificateurs) entrees.push_back(EntreeClavier(m, false));
  entrees.push_back(EntreeClavier(touche, false));
  entrees.push_back(EntreeClavier(touche, true));
  for (auto m = std::rbegin(modificateurs); m != std::rend(modificateurs); ++m) {
    entrees.push_back(EntreeClavier(*m, true));
  }
  Envoie(std::move(entrees));
}

void Touches(std::initializer_list<WORD> touches) {
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
  EXPECT_TRUE(SetCursorPos(point.x, point.y)) << GetLastError();
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
  EXPECT_EQ(CommandeLinux(ligne.str()), 0) << ligne.str();
}

void CliqueIcone(Bouton bouton) { CliqueEcran(PositionIcone(), bouton); }

bool PosteNotification(HWND fenetreIcone, UINT messageSouris) {
  return PostMessageW(fenetreIcone, TIconeNotification::WM_TRAYICON, 1, static_cast<LPARAM>(messageSouris));
}

// ---- Linux

int CommandeLinux(const std::string& commande) {
  // Wine starts Linux programs too, but gives no handle to wait on: the shell leaves the
  // command's exit code in a file once it is done.
  const std::string fin = "/tmp/vivlan-linux-" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(Sequence());
  const std::string ligne = "/bin/sh -c \"" + commande + "; echo $? >" + fin + ".0 && mv " +
                            fin + ".0 " + fin + "\"";
  std::wstring large = EnLarge(ligne);
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof demarrage;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, large.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &demarrage, &info)) {
    ADD_FAILURE() << ligne << ": " << GetLastError();
    return -1;
  }
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  const std::string finWindows = CheminWine(fin);
  std::string code;
  const bool fini = Attends([&] {
    std::ifstream fichier(Fs(finWindows));
    return fichier && std::getline(fichier, code);
  });
  DeleteFileW(EnLarge(finWindows).c_str());
  if (!fini) {
    ADD_FAILURE() << "no end: " << ligne;
    return -1;
  }
  return std::stoi(code);
}

std::string CheminLinux(const std::string& chemin) {
  const std::wstring large = EnLarge(chemin);
  using Conversion = char*(CDECL*)(const wchar_t*);
  const auto conversion = reinterpret_cast<Conversion>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* nom = conversion ? conversion(large.c_str()) : nullptr;
  if (!nom) return {};
  std::string resultat = nom;
  HeapFree(GetProcessHeap(), 0, nom);
  return resultat;
}

// ---- Menus

HWND MenuOuvert() {
  for (HWND fenetre : Toutes()) {
    if (Visible(fenetre) && Classe(fenetre) == "#32768") return fenetre;
  }
  return nullptr;
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

// ---- FenetreTemoin

FenetreTemoin::FenetreTemoin(const std::string& classe, const std::string& titre) {
  const std::wstring nom = EnLarge(classe);
  WNDCLASSW description{};
  description.lpfnWndProc = DefWindowProcW;
  description.hInstance = GetModuleHandleW(nullptr);
  description.lpszClassName = nom.c_str();
  RegisterClassW(&description);  // may already exist from an earlier test
  fenetre_ = CreateWindowExW(0, nom.c_str(), EnLarge(titre).c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                             100, 100, nullptr, nullptr, description.hInstance, nullptr);
  EXPECT_NE(fenetre_, nullptr) << GetLastError();
}

FenetreTemoin::~FenetreTemoin() {
  if (fenetre_) DestroyWindow(fenetre_);
}

// ---- Vivelance

Vivelance::Vivelance(const std::optional<std::string>& ini) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  dossier_ = EnUtf8(temp) + "vivlan-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(Sequence());
  std::error_code erreur;
  std::filesystem::remove_all(Fs(dossier_), erreur);
  EXPECT_TRUE(CreeDossier(dossier_)) << dossier_ << ": " << GetLastError();
  if (ini) EcrisFichier("Vivlan.ini", *ini);
  Prepare();
}

Vivelance::Vivelance(const Installe& installe)
    : dossier_(installe.dossier), programme_(installe.dossier + "\\Vivlan.exe"),
      dossierAMoi_(false) {
  Prepare();
}

void Vivelance::Prepare() {
  // Wine starts the desktop's process for the first program that asks for the desktop: that
  // must be this one, or the desktop would be the launcher's child and die with its job.
  GetDesktopWindow();
  travail_ = CreateJobObjectW(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limites{};
  limites.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(travail_, JobObjectExtendedLimitInformation, &limites, sizeof limites);

  SetEnvironmentVariableW(L"VIVLAN_MARQUEUR", EnLarge(Chemin("Marqueur.txt")).c_str());
  wchar_t winedebug[256] = L"";
  GetEnvironmentVariableW(L"WINEDEBUG", winedebug, 256);
  winedebug_ = EnUtf8(winedebug);
  SetEnvironmentVariableW(L"WINEDEBUG", EnLarge(winedebug_ + ",err+seh").c_str());
}

Vivelance::~Vivelance() {
  TerminateJobObject(travail_, 1);
  Attends([&] {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION compte{};
    return !QueryInformationJobObject(travail_, JobObjectBasicAccountingInformation, &compte,
                                      sizeof compte, nullptr) ||
           compte.ActiveProcesses == 0;
  });
  processus_.clear();
  CloseHandle(travail_);
  SetEnvironmentVariableW(L"VIVLAN_MARQUEUR", nullptr);
  SetEnvironmentVariableW(L"WINEDEBUG", winedebug_.empty() ? nullptr : EnLarge(winedebug_).c_str());
  std::error_code erreur;
  if (dossierAMoi_) std::filesystem::remove_all(Fs(dossier_), erreur);
}

std::string Vivelance::Chemin(const std::string& nom) const { return dossier_ + "\\" + nom; }

void Vivelance::EcrisFichier(const std::string& nom, const std::string& octets) const {
  std::ofstream fichier(Fs(Chemin(nom)), std::ios::binary | std::ios::trunc);
  fichier << octets;
  EXPECT_TRUE(fichier.good()) << Chemin(nom);
}

std::optional<std::string> Vivelance::LisFichier(const std::string& nom) const {
  std::ifstream fichier(Fs(Chemin(nom)), std::ios::binary);
  if (!fichier) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(fichier), std::istreambuf_iterator<char>());
}

Processus& Vivelance::Lance() {
  processus_.emplace_back("\"" + programme_ + "\"", dossier_, travail_);
  return processus_.back();
}

bool Vivelance::Demarre() {
  if (processus_.empty() && Trouve(TFrmPrincip::kClasse, TFrmPrincip::kTitre)) {
    ADD_FAILURE() << "a Vivelance started elsewhere is running";
    return false;
  }
  Processus& instance = processus_.empty() ? Lance() : processus_.front();
  if (!instance.Existe()) return false;
  if (!Attends([&] { return FenetrePrincipale() && FenetreIcone(); })) return false;
  // Start-up is over once the message loop waits for input.
  return WaitForInputIdle(instance.Handle(), kDelai) == 0;
}

bool Vivelance::Redemarre() {
  if (processus_.empty() || processus_.front().EnCours()) {
    ADD_FAILURE() << "no launcher under test has ended";
    return false;
  }
  // The new one goes first: it is the instance under test.
  processus_.pop_front();
  processus_.emplace_front("\"" + programme_ + "\"", dossier_, travail_);
  return Demarre();
}

HWND Vivelance::FenetrePrincipale() const {
  if (processus_.empty()) return nullptr;
  return FenetreDe(processus_.front().Pid(), TFrmPrincip::kClasse, TFrmPrincip::kTitre);
}

HWND Vivelance::FenetreIcone() const {
  if (processus_.empty()) return nullptr;
  return FenetreDe(processus_.front().Pid(), TIconeNotification::kClasse);
}

bool Vivelance::Commande(WORD toucheAcces) {
  CliqueIcone(Bouton::Droit);
  if (!AttendsMenu()) return false;
  Touche(toucheAcces);
  return AttendsMenuFerme();
}

bool Vivelance::Quitte() { return Commande('Q') && Instance().AttendsFin(); }

std::vector<std::string> Vivelance::LignesMarqueur() const {
  std::vector<std::string> lignes;
  std::optional<std::string> contenu = LisFichier("Marqueur.txt");
  if (!contenu) return lignes;
  std::istringstream flux(*contenu);
  std::string ligne;
  while (std::getline(flux, ligne)) {
    if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
    lignes.push_back(ligne);
  }
  return lignes;
}

// ---- The program's boxes and its editor

HWND AttendsBoite(DWORD pid, const std::string& titre) {
  HWND trouvee = nullptr;
  Attends([&] {
    for (HWND fenetre : FenetresDe(pid))
      if (Visible(fenetre) && Texte(fenetre) == titre) trouvee = fenetre;
    return trouvee != nullptr;
  });
  return trouvee;
}

HWND Invite(DWORD pid, const std::string& titre, const std::string& question) {
  HWND boite = AttendsBoite(pid, titre);
  if (boite == nullptr) {
    ADD_FAILURE() << "no prompt \"" << titre << "\"";
    return nullptr;
  }
  EXPECT_NE(Enfant(boite, "", question), nullptr) << TextesEnfants(boite);
  return boite;
}

void Saisis(DWORD pid, const std::string& titre, const std::string& question,
            const std::string& libelle) {
  HWND boite = Invite(pid, titre, question);
  ASSERT_NE(boite, nullptr);
  HWND champ = Enfant(boite, "Edit");
  ASSERT_NE(champ, nullptr) << TextesEnfants(boite);
  EXPECT_EQ(Texte(champ), "");
  EcrisTexte(champ, libelle);
  HWND ok = Enfant(boite, "Button", std::string("OK"));
  ASSERT_NE(ok, nullptr) << TextesEnfants(boite);
  Clique(ok);
  EXPECT_TRUE(AttendsDestruction(boite));
}

int Ppp() {
  const char* ppp = std::getenv("VIVLAN_PPP");
  return ppp != nullptr ? std::atoi(ppp) : tk::kPppConception;
}

HWND Editeur::En(int x, int y) const {
  return EnfantEn(fenetre, tk::AEchelle(x, Ppp()), tk::AEchelle(y, Ppp()));
}

std::string Editeur::Fiche() const {
  return Texte(Exe()) + " | " + Texte(Param()) + " | " + Texte(Chemin()) + " | " +
         (Coche(Bouton("Ctrl")) ? "Ctrl " : "") + (Coche(Bouton("Alt")) ? "Alt " : "") +
         (Coche(Bouton("Shift")) ? "Shift " : "") + (Coche(Bouton("Windows")) ? "Win " : "") +
         "| " + Texte(Touche());
}

// "&Configuration" shares its access key with "A&ctiver/Désactiver", which comes first: the
// entry is reached with the arrows (the separator between them is skipped).
Editeur OuvreEditeur(Vivelance& vivelance) {
  Editeur editeur;
  CliqueIcone(Bouton::Droit);
  if (!AttendsMenu()) {
    ADD_FAILURE() << "no menu after a right click on the tray icon";
    return editeur;
  }
  Touches({VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_TRUE(AttendsMenuFerme());
  editeur.fenetre = AttendsFenetreDe(vivelance.Instance().Pid(), "TFrmConfig", "Configuration");
  if (editeur.fenetre == nullptr || !AttendsVisible(editeur.fenetre)) {
    ADD_FAILURE() << "the editor did not open";
    editeur.fenetre = nullptr;
  }
  return editeur;
}

void CocheParClic(HWND caseACocher) {
  ASSERT_NE(caseACocher, nullptr);
  Clique(caseACocher);
  EXPECT_TRUE(Attends([&] { return Coche(caseACocher); })) << Texte(caseACocher);
}

void Combinaison(Vivelance& vivelance, char touche) {
  Synchronise(vivelance.FenetrePrincipale());
  FenetreTemoin clavier("TTemoinClavier", "Clavier");
  ShowWindow(clavier.Handle(), SW_SHOW);
  ASSERT_TRUE(AuPremierPlan(clavier.Handle()));
  Touche(static_cast<WORD>(touche), {VK_CONTROL, VK_MENU});
}

}  // namespace pilote
