#include "toolkit/win32/Win32Interne.h"

#include <algorithm>

#include <commctrl.h>

#include "resources/resource.h"

namespace tk {

namespace {

constexpr char kClasseApplication[] = "VivApplication";
constexpr char kClasseUtilitaire[] = "VivUtilitaire";
constexpr int kPremierId = 100;  // below: IDOK and IDCANCEL from the dialog keys

HWND Hwnd(std::uintptr_t native) { return reinterpret_cast<HWND>(native); }

struct RessourceImage {
  int id;
  UINT type;
  int taille;
};

RessourceImage Ressource(Picture picture) {
  switch (picture) {
    case Picture::IconeActive:
      return {IDI_ICONE_ACTIVE, IMAGE_ICON, 32};
    case Picture::IconeInactive:
      return {IDI_ICONE_INACTIVE, IMAGE_ICON, 32};
    case Picture::MenuConfig:
      return {IDB_MENU_CONFIG, IMAGE_BITMAP, 16};
    case Picture::MenuAide:
      return {IDB_MENU_AIDE, IMAGE_BITMAP, 16};
    case Picture::GlyphOk:
      return {IDI_GLYPH_OK, IMAGE_ICON, 16};
    case Picture::GlyphAnnuler:
      return {IDI_GLYPH_ANNULER, IMAGE_ICON, 16};
    case Picture::GlyphActivation:
      return {IDI_GLYPH_ACTIVATION, IMAGE_ICON, 16};
    case Picture::GlyphParcourir:
      return {IDI_GLYPH_PARCOURIR, IMAGE_ICON, 16};
    case Picture::GlyphTest:
      return {IDI_GLYPH_TEST, IMAGE_ICON, 16};
    case Picture::FlecheHaut:
      return {IDI_FLECHE_HAUT, IMAGE_ICON, 16};
    case Picture::FlecheBas:
      return {IDI_FLECHE_BAS, IMAGE_ICON, 16};
    case Picture::Plus:
      return {IDI_PLUS, IMAGE_ICON, 16};
    case Picture::Moins:
      return {IDI_MOINS, IMAGE_ICON, 16};
    case Picture::None:
      break;
  }
  return {0, IMAGE_ICON, 0};
}

bool EstConteneur(const Control& c) {
  return c.kind() == Kind::GroupBox || c.kind() == Kind::Panel;
}

// A control is usable only while its containers are: they are flattened into the form.
bool ActifEffectif(const Control& c) {
  for (const Control* p = &c; p != nullptr && p->kind() != Kind::Form; p = p->parent())
    if (!p->enabled()) return false;
  return true;
}

std::vector<Control*> DansLOrdre(const Control& parent) {
  std::vector<Control*> enfants = parent.children();
  std::stable_sort(enfants.begin(), enfants.end(),
                   [](const Control* a, const Control* b) { return a->tabOrder < b->tabOrder; });
  return enfants;
}

// Small picture buttons give the focus back to whoever had it before the click.
WNDPROC gProcedureBouton = nullptr;
constexpr char kFocusAvant[] = "VivFocusAvant";

LRESULT TraiteBoutonRapide(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN)
    SetPropA(hwnd, kFocusAvant, GetFocus());
  else if (message == WM_NCDESTROY)
    RemovePropA(hwnd, kFocusAvant);
  const LRESULT resultat = CallWindowProcA(gProcedureBouton, hwnd, message, wParam, lParam);
  if (message == WM_LBUTTONUP) {
    HWND avant = static_cast<HWND>(RemovePropA(hwnd, kFocusAvant));
    if (avant != nullptr && avant != hwnd && IsWindow(avant) && GetFocus() == hwnd) SetFocus(avant);
  }
  return resultat;
}

LRESULT CALLBACK ProcedureBoutonRapide(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Protege([&] { return TraiteBoutonRapide(hwnd, message, wParam, lParam); });
}

Button* BoutonParDefaut(Control& c, bool annuler) {
  for (Control* enfant : c.children()) {
    if (enfant->kind() == Kind::Button) {
      auto* b = static_cast<Button*>(enfant);
      if (annuler ? b->isCancel : b->isDefault) return b;
    }
    if (Button* b = BoutonParDefaut(*enfant, annuler)) return b;
  }
  return nullptr;
}

void CliqueSiActif(Button* bouton) {
  if (bouton != nullptr && ActifEffectif(*bouton)) bouton->click();
}

void Commande(FenetreForm& f, HWND hwnd, WORD id, WORD code, HWND controle) {
  Win32Backend::Impl& impl = *f.impl;
  if (id == IDOK && controle == nullptr) {
    // Enter: a focused push button is pressed, otherwise the default one.
    HWND focus = GetFocus();
    for (auto& [cid, c] : f.controles)
      if (c->kind() == Kind::Button && Hwnd(c->native) == focus && IsChild(hwnd, focus)) {
        CliqueSiActif(static_cast<Button*>(c));
        return;
      }
    CliqueSiActif(BoutonParDefaut(*f.form, false));
    return;
  }
  if (id == IDCANCEL && controle == nullptr) {
    CliqueSiActif(BoutonParDefaut(*f.form, true));
    return;
  }
  auto it = f.controles.find(id);
  if (it == f.controles.end()) return;
  Control& c = *it->second;
  switch (c.kind()) {
    case Kind::Edit:
      if (code == EN_CHANGE && impl.miroir == 0) {
        auto& edit = static_cast<Edit&>(c);
        const std::string texte = Win32Backend::Impl::texteFenetre(controle);
        impl.dispatch([&] { edit.textFromScreen(texte); });
      }
      break;
    case Kind::CheckBox:
      if (code == BN_CLICKED) {
        auto& coche = static_cast<CheckBox&>(c);
        coche.setChecked(!coche.checked());
      }
      break;
    case Kind::Button:
    case Kind::SpeedButton:
      if (code == BN_CLICKED) static_cast<Button&>(c).click();
      break;
    case Kind::ListBox:
      if (impl.miroir == 0 && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) {
        auto& liste = static_cast<ListBox&>(c);
        const int ligne = static_cast<int>(SendMessageA(controle, LB_GETCURSEL, 0, 0));
        if (code == LBN_SELCHANGE)
          liste.clickFromScreen(ligne);
        else
          liste.doubleClickFromScreen(ligne);
      }
      break;
    default:
      break;
  }
}

void DessineCadre(const Panel& panel, const DRAWITEMSTRUCT& dessin) {
  UINT bords = 0;
  if (panel.bevelOuterLowered) bords |= BDR_SUNKENOUTER;
  if (panel.bevelInnerRaised) bords |= BDR_RAISEDINNER;
  RECT r = dessin.rcItem;
  FillRect(dessin.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dessin.hDC, &r, bords, BF_RECT);
}

LRESULT TraiteForm(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* f = reinterpret_cast<FenetreForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (f == nullptr || f->form == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  Form& form = *f->form;

  switch (message) {
    case WM_HOTKEY:
      if (!form.OnHotKey) break;
      f->impl->dispatch([&] { form.OnHotKey(static_cast<int>(wParam)); });
      return 0;
    case WM_COMMAND:
      Commande(*f, hwnd, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_DRAWITEM: {
      const auto& dessin = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      auto it = f->controles.find(static_cast<int>(dessin.CtlID));
      if (it != f->controles.end() && it->second->kind() == Kind::Panel) {
        DessineCadre(static_cast<const Panel&>(*it->second), dessin);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
      return Win32Backend::Impl::couleurStatique(wParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd, focus)) f->focus = focus;
      } else {
        HWND cible = f->focus;
        if (cible == nullptr || !IsWindow(cible) || !IsWindowEnabled(cible))
          cible = GetNextDlgTabItem(hwnd, nullptr, FALSE);
        if (cible == nullptr) break;  // no control: the form itself takes the focus
        SetFocus(cible);
      }
      return 0;
    case WM_CLOSE:
      // Closed by the system (Alt+F4, the taskbar): like the program's own close.
      if (f->modale) {
        if (form.modalResult == mrNone) form.modalResult = mrCancel;
      } else {
        f->impl->dispatch([&] { form.close(); });
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ProcedureForm(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Protege([&] { return TraiteForm(hwnd, message, wParam, lParam); });
}

LRESULT TraiteUtilitaire(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* u = reinterpret_cast<FenetreUtilitaire*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (u != nullptr && u->procedure) {
    std::optional<std::intptr_t> resultat;
    u->impl->dispatch([&] { resultat = u->procedure(message, wParam, lParam); });
    if (resultat) return static_cast<LRESULT>(*resultat);
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ProcedureUtilitaire(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Protege([&] { return TraiteUtilitaire(hwnd, message, wParam, lParam); });
}

HWND CreeControle(Win32Backend::Impl& impl, FenetreForm& f, HWND parent, Control& c, int x, int y,
                  int id) {
  const Rect b = c.bounds();
  const HFONT police = impl.police(c.font);
  // Containers lie under their contents: each control paints only its own part.
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  const char* classe = "STATIC";
  std::string texte = c.text();
  int largeur = b.width;
  int hauteur = b.height;
  if (c.tabStop) style |= WS_TABSTOP | WS_GROUP;

  switch (c.kind()) {
    case Kind::Label:
      style |= SS_LEFT;
      if (largeur == 0 && hauteur == 0) {
        const SIZE taille = Win32Backend::Impl::mesureTexte(police, texte, DT_LEFT, 0);
        largeur = taille.cx;
        hauteur = taille.cy;
      }
      break;
    case Kind::Edit: {
      const auto& edit = static_cast<const Edit&>(c);
      classe = "EDIT";
      exStyle |= WS_EX_CLIENTEDGE;
      style |= ES_AUTOHSCROLL | ES_LEFT;
      if (edit.readOnly) style |= ES_READONLY;
      break;
    }
    case Kind::CheckBox:
      classe = "BUTTON";
      style |= BS_CHECKBOX;
      break;
    case Kind::GroupBox:
      classe = "BUTTON";
      style |= BS_GROUPBOX;
      break;
    case Kind::Panel:
      style |= SS_OWNERDRAW;
      texte.clear();
      break;
    case Kind::Image:
      style |= SS_ICON;
      texte.clear();
      break;
    case Kind::Button: {
      classe = "BUTTON";
      style |= static_cast<const Button&>(c).isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      break;
    }
    case Kind::SpeedButton:
      classe = "BUTTON";
      style = (style & ~static_cast<DWORD>(WS_TABSTOP)) | BS_PUSHBUTTON;
      if (texte.empty()) style |= BS_ICON;
      break;
    case Kind::ListBox:
      classe = "LISTBOX";
      exStyle |= WS_EX_CLIENTEDGE;
      style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
      break;
    case Kind::Form:
      return nullptr;
  }

  HWND hwnd =
      CreateWindowExA(exStyle, classe, texte.c_str(), style, x, y, largeur, hauteur, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), impl.instance, nullptr);
  if (hwnd == nullptr) return nullptr;
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(police), FALSE);
  c.native = reinterpret_cast<std::uintptr_t>(hwnd);
  f.controles[id] = &c;

  switch (c.kind()) {
    case Kind::Edit:
      // 0 lifts the system's default limit of 30000 characters.
      SendMessageA(hwnd, EM_LIMITTEXT, static_cast<const Edit&>(c).maxLength, 0);
      break;
    case Kind::Image:
      SendMessageA(hwnd, STM_SETICON,
                   reinterpret_cast<WPARAM>(impl.image(static_cast<const Image&>(c).picture)), 0);
      break;
    case Kind::Button:
    case Kind::SpeedButton: {
      const Picture picture = static_cast<const Button&>(c).picture;
      if (picture != Picture::None)
        SendMessageA(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(impl.image(picture)));
      if (c.kind() == Kind::SpeedButton) {
        gProcedureBouton = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProcedureBoutonRapide)));
      }
      break;
    }
    default:
      break;
  }
  return hwnd;
}

void CreeControles(Win32Backend::Impl& impl, FenetreForm& f, HWND fenetre, Control& parent, int dx,
                   int dy, int& id) {
  for (Control* c : DansLOrdre(parent)) {
    const int x = dx + c->bounds().left;
    const int y = dy + c->bounds().top;
    CreeControle(impl, f, fenetre, *c, x, y, id++);
    if (EstConteneur(*c) || !c->children().empty()) CreeControles(impl, f, fenetre, *c, x, y, id);
  }
}

// Every row in one pass: storage for all of them at once, drawn once at the end.
void RemplitListe(HWND hwnd, const ListBox& liste) {
  SendMessageA(hwnd, WM_SETREDRAW, FALSE, 0);
  const int haut = static_cast<int>(SendMessageA(hwnd, LB_GETTOPINDEX, 0, 0));
  SendMessageA(hwnd, LB_RESETCONTENT, 0, 0);
  std::size_t octets = 0;
  for (const ListBox::Row& ligne : liste.rows()) octets += ligne.text.size() + 1;
  SendMessageA(hwnd, LB_INITSTORAGE, liste.rows().size(), static_cast<LPARAM>(octets));
  for (const ListBox::Row& ligne : liste.rows())
    SendMessageA(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ligne.text.c_str()));
  SendMessageA(hwnd, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(haut, 0)), 0);
  SendMessageA(hwnd, LB_SETCURSEL, static_cast<WPARAM>(liste.itemIndex()), 0);
  SendMessageA(hwnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void SelectionListe(HWND hwnd, const ListBox& liste) {
  if (SendMessageA(hwnd, LB_GETCURSEL, 0, 0) != liste.itemIndex())
    SendMessageA(hwnd, LB_SETCURSEL, static_cast<WPARAM>(liste.itemIndex()), 0);
}

void OublieNatifs(Control& c) {
  c.native = 0;
  for (Control* enfant : c.children()) OublieNatifs(*enfant);
}

void MiroirActif(Control& c) {
  if (c.native != 0 && c.kind() != Kind::Form) EnableWindow(Hwnd(c.native), ActifEffectif(c));
  for (Control* enfant : c.children()) MiroirActif(*enfant);
}

}  // namespace

// ---------------------------------------------------------------- shared helpers

namespace {
// The application that reports what a window procedure caught; one per process.
Application* gApplication = nullptr;
}  // namespace

void SignaleException(std::exception_ptr exception) {
  // Without an application there is nobody to tell: a plain crash rather than a silent one.
  if (gApplication == nullptr) std::terminate();
  gApplication->dispatch([&] { std::rethrow_exception(exception); });
}

void Win32Backend::Impl::chargeControlesCommuns() {
  if (controlesCommuns) return;
  controlesCommuns = true;
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto init = Fonction<Init>(LoadLibraryA("comctl32.dll"), "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  if (init != nullptr) init(&icc);
}

void Win32Backend::Impl::connait(Application& app) {
  if (application == &app) return;
  application = &app;
  gApplication = &app;
  SetWindowTextA(fenetreApplication, app.title().c_str());
}

void Win32Backend::Impl::dispatch(const std::function<void()>& handler) {
  if (application != nullptr)
    application->dispatch(handler);
  else
    handler();
}

void Win32Backend::Impl::enregistreClasse(const std::string& nom, WNDPROC procedure,
                                          bool avecIcone) {
  if (std::find(classes.begin(), classes.end(), nom) != classes.end()) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = nom.c_str();
  if (avecIcone) wc.hIcon = static_cast<HICON>(image(Picture::IconeActive));
  if (RegisterClassExA(&wc) != 0) classes.push_back(nom);
}

HFONT Win32Backend::Impl::police(const Font& font) {
  const auto cle = std::make_tuple(font.name, font.height, font.bold);
  auto it = polices.find(cle);
  if (it != polices.end()) return it->second;
  HFONT p = CreateFontA(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, font.name.c_str());
  polices[cle] = p;
  return p;
}

HANDLE Win32Backend::Impl::image(Picture picture) {
  auto it = images.find(picture);
  if (it != images.end()) return it->second;
  const RessourceImage r = Ressource(picture);
  HANDLE h = nullptr;
  if (r.id != 0) {
    // Menu bitmaps: their light grey becomes the system's face colour.
    const UINT options = r.type == IMAGE_BITMAP ? LR_LOADMAP3DCOLORS : LR_DEFAULTCOLOR;
    h = LoadImageA(instance, MAKEINTRESOURCEA(r.id), r.type, r.taille, r.taille, options);
  }
  images[picture] = h;
  return h;
}

bool Win32Backend::Impl::estBitmap(Picture picture) {
  return Ressource(picture).type == IMAGE_BITMAP;
}

HWND Win32Backend::Impl::creeUtilitaire(const std::string& classe, WindowProcedure procedure) {
  enregistreClasse(classe, ProcedureUtilitaire, false);
  auto u = std::make_unique<FenetreUtilitaire>();
  u->impl = this;
  u->procedure = std::move(procedure);
  HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, classe.c_str(), "", WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, instance, u.get());
  if (hwnd != nullptr) utilitaires[hwnd] = std::move(u);
  return hwnd;
}

bool Win32Backend::Impl::boucleModale(HWND fenetre, const std::function<bool()>& fini) {
  MSG msg;
  while (!fini() && IsWindow(fenetre)) {
    const BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (r == -1) return false;
    if (IsDialogMessageA(fenetre, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

std::vector<HWND> Win32Backend::Impl::desactiveAutres(HWND sauf) {
  // Every window of the program, message boxes and prompts too: a box left enabled under
  // a dialog opened from the tray would let its handler resume under the dialog.
  struct Recherche {
    HWND sauf;
    std::vector<HWND> fenetres;
  } recherche{sauf, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM donnees) -> BOOL {
        auto& r = *reinterpret_cast<Recherche*>(donnees);
        if (h != r.sauf && IsWindowVisible(h) && IsWindowEnabled(h)) r.fenetres.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&recherche));
  for (HWND h : recherche.fenetres) EnableWindow(h, FALSE);
  return recherche.fenetres;
}

void Win32Backend::Impl::reactive(const std::vector<HWND>& fenetres) {
  for (auto it = fenetres.rbegin(); it != fenetres.rend(); ++it)
    if (IsWindow(*it)) EnableWindow(*it, TRUE);
}

HWND Win32Backend::Impl::proprietaire() {
  HWND active = GetActiveWindow();
  if (active != nullptr && forms.count(active) != 0 && IsWindowVisible(active)) return active;
  return fenetreApplication;
}

void Win32Backend::Impl::centre(HWND fenetre, int largeur, int hauteur) {
  RECT r{0, 0, largeur, hauteur};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(fenetre, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(fenetre, GWL_EXSTYLE)));
  const int l = r.right - r.left;
  const int h = r.bottom - r.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - l) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  SetWindowPos(fenetre, nullptr, x, y, l, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Win32Backend::Impl::couleurStatique(WPARAM dc) {
  SetTextColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

std::string Win32Backend::Impl::texteFenetre(HWND fenetre) {
  const int longueur = GetWindowTextLengthA(fenetre);
  std::string texte(static_cast<std::size_t>(longueur) + 1, '\0');
  const int lu = GetWindowTextA(fenetre, texte.data(), longueur + 1);
  texte.resize(static_cast<std::size_t>(std::max(lu, 0)));
  return texte;
}

SIZE Win32Backend::Impl::mesureTexte(HFONT police, const std::string& texte, UINT format,
                                     int largeurMax) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ avant = SelectObject(dc, police);
  RECT r{0, 0, largeurMax, 0};
  // An empty text still takes one line, as a label does.
  const std::string mesure = texte.empty() ? std::string(" ") : texte;
  DrawTextA(dc, mesure.c_str(), static_cast<int>(mesure.size()), &r, format | DT_CALCRECT);
  SelectObject(dc, avant);
  ReleaseDC(nullptr, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// ---------------------------------------------------------------- backend

Win32Backend::Win32Backend(std::uintptr_t instance) : impl_(std::make_unique<Impl>()) {
  impl_->instance = reinterpret_cast<HINSTANCE>(instance);
  impl_->enregistreClasse(kClasseApplication, DefWindowProcA, true);
  // Owner of every form: hidden, it keeps them off the taskbar.
  impl_->fenetreApplication = CreateWindowExA(
      0, kClasseApplication, "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
      nullptr, nullptr, impl_->instance, nullptr);
  impl_->proprietaireMenus = impl_->creeUtilitaire(
      kClasseUtilitaire, [impl = impl_.get()](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        return MessageMenus(*impl, message, wParam, lParam);
      });
  impl_->fenetreTimers = impl_->creeUtilitaire(
      kClasseUtilitaire, [impl = impl_.get()](unsigned message, std::uintptr_t wParam,
                                              std::intptr_t) -> std::optional<std::intptr_t> {
        if (message != WM_TIMER) return std::nullopt;
        auto it = impl->timers.find(wParam);
        if (it != impl->timers.end()) it->second->tick();
        return 0;
      });
}

Win32Backend::~Win32Backend() {
  if (gApplication == impl_->application) gApplication = nullptr;
  for (auto& [hwnd, f] : impl_->forms) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
  }
  for (auto& [hwnd, u] : impl_->utilitaires) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
  }
  DestroyWindow(impl_->fenetreApplication);
  for (auto& [cle, p] : impl_->polices) DeleteObject(p);
  for (auto& [picture, h] : impl_->images) {
    if (h == nullptr) continue;
    if (Ressource(picture).type == IMAGE_BITMAP)
      DeleteObject(h);
    else
      DestroyIcon(static_cast<HICON>(h));
  }
}

Handle Win32Backend::realize(Form& form) {
  if (form.native != 0) return form.native;
  Impl& impl = *impl_;
  impl.connait(form.application());
  if (!form.children().empty()) impl.chargeControlesCommuns();
  impl.enregistreClasse(form.className(), ProcedureForm, true);

  auto f = std::make_unique<FenetreForm>();
  f->impl = &impl;
  f->form = &form;
  // A fixed border and no title-bar buttons. Not clipping its children: the
  // form's own background shows through the group boxes.
  const DWORD style = WS_POPUP | WS_CAPTION;
  ++impl.miroir;
  HWND hwnd = CreateWindowExA(0, form.className().c_str(), form.text().c_str(), style, 0, 0, 0, 0,
                              impl.fenetreApplication, nullptr, impl.instance, f.get());
  if (hwnd == nullptr) {
    --impl.miroir;
    return 0;
  }
  FenetreForm& fr = *f;
  impl.forms[hwnd] = std::move(f);
  Impl::centre(hwnd, form.clientWidth(), form.clientHeight());
  int id = kPremierId;
  CreeControles(impl, fr, hwnd, form, 0, 0, id);
  // The keyboard order walks the children from the top; containers take no
  // focus, so they can go to the bottom, the outermost last.
  for (auto it = fr.controles.rbegin(); it != fr.controles.rend(); ++it)
    if (EstConteneur(*it->second))
      SetWindowPos(Hwnd(it->second->native), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  form.native = reinterpret_cast<std::uintptr_t>(hwnd);
  for (auto& [cid, c] : fr.controles) {
    if (c->kind() == Kind::ListBox) RemplitListe(Hwnd(c->native), static_cast<ListBox&>(*c));
    controlChanged(*c);
  }
  --impl.miroir;
  return form.native;
}

void Win32Backend::destroy(Form& form) {
  HWND hwnd = Hwnd(form.native);
  if (hwnd == nullptr) return;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
  impl_->forms.erase(hwnd);
  OublieNatifs(form);
}

void Win32Backend::controlChanged(Control& control) {
  HWND hwnd = Hwnd(control.native);
  if (hwnd == nullptr) return;
  Impl& impl = *impl_;
  ++impl.miroir;
  switch (control.kind()) {
    case Kind::Edit:
      if (Impl::texteFenetre(hwnd) != control.text()) {
        SetWindowTextA(hwnd, control.text().c_str());
        const auto fin = static_cast<WPARAM>(control.text().size());
        SendMessageA(hwnd, EM_SETSEL, fin, static_cast<LPARAM>(fin));
      }
      break;
    case Kind::CheckBox:
      if (Impl::texteFenetre(hwnd) != control.text()) SetWindowTextA(hwnd, control.text().c_str());
      SendMessageA(hwnd, BM_SETCHECK,
                   static_cast<CheckBox&>(control).checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Kind::ListBox:
      SelectionListe(hwnd, static_cast<ListBox&>(control));
      break;
    case Kind::Label: {
      if (Impl::texteFenetre(hwnd) != control.text()) {
        SetWindowTextA(hwnd, control.text().c_str());
        const Rect b = control.bounds();
        if (b.width == 0 && b.height == 0) {
          const SIZE taille =
              Impl::mesureTexte(impl.police(control.font), control.text(), DT_LEFT, 0);
          SetWindowPos(hwnd, nullptr, 0, 0, taille.cx, taille.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
      }
      break;
    }
    case Kind::Panel:
    case Kind::Image:
      break;
    default:
      if (Impl::texteFenetre(hwnd) != control.text()) SetWindowTextA(hwnd, control.text().c_str());
      break;
  }
  MiroirActif(control);
  --impl.miroir;
}

void Win32Backend::rowsChanged(ListBox& liste, RowChange change) {
  HWND hwnd = Hwnd(liste.native);
  if (hwnd == nullptr) return;
  ++impl_->miroir;
  const auto texte = [&liste](int ligne) {
    return reinterpret_cast<LPARAM>(liste.rows()[static_cast<std::size_t>(ligne)].text.c_str());
  };
  const auto ligne = static_cast<WPARAM>(change.index);
  switch (change.what) {
    case RowChange::Inserted:
      SendMessageA(hwnd, LB_INSERTSTRING, ligne, texte(change.index));
      break;
    case RowChange::Removed:
      SendMessageA(hwnd, LB_DELETESTRING, ligne, 0);
      break;
    case RowChange::Replaced:
      SendMessageA(hwnd, LB_DELETESTRING, ligne, 0);
      SendMessageA(hwnd, LB_INSERTSTRING, ligne, texte(change.index));
      break;
    case RowChange::All:
      RemplitListe(hwnd, liste);
      break;
  }
  SelectionListe(hwnd, liste);
  --impl_->miroir;
}

int Win32Backend::showModal(Form& form) {
  HWND hwnd = Hwnd(realize(form));
  if (hwnd == nullptr) {
    form.modalResult = mrCancel;
    return mrCancel;
  }
  Impl& impl = *impl_;
  FenetreForm& f = *impl.forms[hwnd];
  f.precedente = GetActiveWindow();
  f.modale = true;
  f.focus = nullptr;
  const std::vector<HWND> desactivees = impl.desactiveAutres(hwnd);
  form.setVisibleFromBackend(true);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  if (GetFocus() == nullptr || !IsChild(hwnd, GetFocus())) {
    HWND premier = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    if (premier != nullptr) SetFocus(premier);
  }
  if (!impl.boucleModale(hwnd, [&form] { return form.modalResult != mrNone; }) &&
      form.modalResult == mrNone)
    form.modalResult = mrCancel;
  // Enabled again before the form hides, so that activation returns to them.
  Impl::reactive(desactivees);
  f.modale = false;
  return form.modalResult;
}

void Win32Backend::show(Form& form) {
  ShowWindow(Hwnd(form.handle()), SW_SHOW);
  form.setVisibleFromBackend(true);
}

void Win32Backend::hide(Form& form) {
  HWND hwnd = Hwnd(form.native);
  if (hwnd == nullptr) return;
  HWND precedente = nullptr;
  auto it = impl_->forms.find(hwnd);
  if (it != impl_->forms.end()) precedente = it->second->precedente;
  ShowWindow(hwnd, SW_HIDE);
  form.setVisibleFromBackend(false);
  if (precedente == nullptr || precedente == hwnd || !IsWindowVisible(precedente)) {
    // Opened from the tray over another modal form: that form gets the focus back.
    precedente = nullptr;
    for (Form* autre : impl_->application->forms()) {
      HWND h = Hwnd(autre->native);
      if (h != nullptr && h != hwnd && IsWindowVisible(h) && IsWindowEnabled(h)) precedente = h;
    }
  }
  if (precedente != nullptr) SetActiveWindow(precedente);
}

bool Win32Backend::timerChanged(Timer& timer) {
  Impl& impl = *impl_;
  if (!timer.running()) {
    if (timer.native != 0) {
      KillTimer(impl.fenetreTimers, timer.native);
      impl.timers.erase(timer.native);
    }
    return true;
  }
  if (timer.native == 0) timer.native = impl.prochainTimer++;
  if (SetTimer(impl.fenetreTimers, timer.native, timer.interval(), nullptr) == 0) {
    impl.timers.erase(timer.native);
    return false;
  }
  impl.timers[timer.native] = &timer;
  return true;
}

Handle Win32Backend::icon(Picture picture) {
  if (Ressource(picture).type != IMAGE_ICON) return 0;
  return reinterpret_cast<Handle>(impl_->image(picture));
}

Handle Win32Backend::createUtilityWindow(const std::string& className,
                                         WindowProcedure procedure) {
  return reinterpret_cast<Handle>(impl_->creeUtilitaire(className, std::move(procedure)));
}

void Win32Backend::destroyUtilityWindow(Handle window) {
  HWND hwnd = Hwnd(window);
  auto it = impl_->utilitaires.find(hwnd);
  if (it == impl_->utilitaires.end()) return;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
  impl_->utilitaires.erase(it);
}

Handle Win32Backend::applicationHandle() {
  return reinterpret_cast<Handle>(impl_->fenetreApplication);
}

Form* Win32Backend::activeForm() {
  Impl& impl = *impl_;
  if (impl.application == nullptr) return nullptr;
  HWND active = GetActiveWindow();
  for (Form* f : impl.application->forms())
    if (f->native != 0 && Hwnd(f->native) == active) return f;
  // The tray icon makes the hidden main form the foreground window before its
  // menus open; a window of ours in front (a menu, its owner) counts as it.
  Form* principale = impl.application->mainForm();
  if (principale == nullptr || principale->native == 0) return nullptr;
  HWND devant = GetForegroundWindow();
  if (devant == Hwnd(principale->native)) return principale;
  if (devant != nullptr && GetWindowThreadProcessId(devant, nullptr) == GetCurrentThreadId())
    return principale;
  return nullptr;
}

void Win32Backend::run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Win32Backend::terminate() { PostQuitMessage(0); }

}  // namespace tk
