// The control factory: each kind of control as a window, and the two ways between them.
#include "toolkit/win32/Win32Interne.h"

#include <algorithm>
#include <iterator>

namespace tk {

namespace {

bool EstConteneur(const Control& c) {
  return c.kind() == Kind::GroupBox || c.kind() == Kind::Panel;
}

// Whether the window's text had to change.
bool MetTexte(HWND hwnd, const Control& c) {
  if (Win32Backend::Impl::texteFenetre(hwnd) == c.text()) return false;
  SetWindowTextW(hwnd, plat::Large(c.text()).c_str());
  return true;
}

// A label laid out without a size takes the size of its text, at its form's scale.
void AjusteEtiquette(Win32Backend::Impl& impl, HWND hwnd, Control& c) {
  auto it = impl.forms.find(Hwnd(c.form().native));
  const int ppp = it != impl.forms.end() ? it->second->ppp : kPppConception;
  if (const auto taille = TailleDuTexte(c, ppp, impl.mesure()))
    SetWindowPos(hwnd, nullptr, 0, 0, taille->largeur, taille->hauteur,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Every row in one pass: storage for all of them at once, drawn once at the end.
void RemplitListe(HWND hwnd, const ListBox& liste) {
  SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
  const int haut = static_cast<int>(SendMessageW(hwnd, LB_GETTOPINDEX, 0, 0));
  SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
  std::size_t octets = 0;
  for (const ListBox::Row& ligne : liste.rows()) octets += (ligne.text.size() + 1) * sizeof(wchar_t);
  SendMessageW(hwnd, LB_INITSTORAGE, liste.rows().size(), static_cast<LPARAM>(octets));
  for (const ListBox::Row& ligne : liste.rows())
    SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(plat::Large(ligne.text).c_str()));
  SendMessageW(hwnd, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(haut, 0)), 0);
  SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(liste.itemIndex()), 0);
  SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void SelectionListe(HWND hwnd, const ListBox& liste) {
  if (SendMessageW(hwnd, LB_GETCURSEL, 0, 0) != liste.itemIndex())
    SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(liste.itemIndex()), 0);
}

// Small picture buttons give the focus back to whoever had it before the click.
constexpr wchar_t kFocusAvant[] = L"VivFocusAvant";

LRESULT CALLBACK ProcedureBoutonRapide(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR donnees) {
  return Protege([&] {
    const auto& sc = *reinterpret_cast<const Win32Backend::Impl::SousClassement*>(donnees);
    if (message == WM_LBUTTONDOWN) {
      SetPropW(hwnd, kFocusAvant, GetFocus());
    } else if (message == WM_NCDESTROY) {
      RemovePropW(hwnd, kFocusAvant);
      sc.retire(hwnd, ProcedureBoutonRapide, 0);
    }
    const LRESULT resultat = sc.suite(hwnd, message, wParam, lParam);
    if (message == WM_LBUTTONUP) {
      HWND avant = static_cast<HWND>(RemovePropW(hwnd, kFocusAvant));
      if (avant != nullptr && avant != hwnd && IsWindow(avant) && GetFocus() == hwnd)
        SetFocus(avant);
    }
    return resultat;
  });
}

// Glyphs at the size of the small icons: what the system would draw at that scale.
void ImageBouton(Win32Backend::Impl& impl, HWND hwnd, const Control& c, int ppp) {
  const Picture picture = static_cast<const Button&>(c).picture;
  if (picture == Picture::None) return;
  const HANDLE image = impl.image(picture, Win32Backend::Impl::tailleIcone(false, ppp));
  SendMessageW(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
}

void CliqueBouton(Win32Backend::Impl&, Control& c, HWND, WORD code) {
  if (code == BN_CLICKED) static_cast<Button&>(c).click();
}

void MiroirTexte(Win32Backend::Impl&, HWND hwnd, Control& c) { MetTexte(hwnd, c); }

// What each kind of control is on the screen. `style` and `exStyle` come on top of a visible
// child's; the hooks, where there are any: the styles that depend on the object, what follows
// the window's creation, its picture at a scale, what the user did (a WM_COMMAND's
// notification code, which comes while the backend itself writes to the control too), and a
// change of the object to show.
struct Genre {
  const wchar_t* classe;  // null: the form, not a control
  DWORD style;
  DWORD exStyle;
  bool texte;           // shows the control's text
  bool horsTabulation;  // never in the keyboard order
  DWORD (*styleDe)(const Control&);
  void (*cree)(Win32Backend::Impl&, HWND, Control&);
  void (*image)(Win32Backend::Impl&, HWND, const Control&, int ppp);
  void (*notification)(Win32Backend::Impl&, Control&, HWND, WORD code);
  void (*miroir)(Win32Backend::Impl&, HWND, Control&);
};

// In the order of Kind.
const Genre kGenres[] = {
    // Form: its caption only
    {nullptr, 0, 0, false, false, nullptr, nullptr, nullptr, nullptr, MiroirTexte},
    // Label: sized with the others
    {L"STATIC", SS_LEFT, 0, true, false, nullptr, nullptr, nullptr, nullptr,
     [](Win32Backend::Impl& impl, HWND hwnd, Control& c) {
       if (MetTexte(hwnd, c)) AjusteEtiquette(impl, hwnd, c);
     }},
    // Edit
    {L"EDIT", ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE, true, false,
     [](const Control& c) -> DWORD {
       return static_cast<const Edit&>(c).readOnly ? ES_READONLY : 0;
     },
     [](Win32Backend::Impl&, HWND hwnd, Control& c) {
       // 0 lifts the system's default limit of 30000 characters.
       SendMessageW(hwnd, EM_LIMITTEXT, static_cast<const Edit&>(c).maxLength, 0);
     },
     nullptr,
     [](Win32Backend::Impl& impl, Control& c, HWND controle, WORD code) {
       if (code != EN_CHANGE || impl.miroir != 0) return;
       auto& edit = static_cast<Edit&>(c);
       const std::string texte = Win32Backend::Impl::texteFenetre(controle);
       impl.dispatch([&] { edit.textFromScreen(texte); });
     },
     [](Win32Backend::Impl&, HWND hwnd, Control& c) {
       if (!MetTexte(hwnd, c)) return;
       const auto fin = static_cast<WPARAM>(c.text().size());
       SendMessageW(hwnd, EM_SETSEL, fin, static_cast<LPARAM>(fin));
     }},
    // CheckBox
    {L"BUTTON", BS_CHECKBOX, 0, true, false, nullptr, nullptr, nullptr,
     [](Win32Backend::Impl&, Control& c, HWND, WORD code) {
       if (code != BN_CLICKED) return;
       auto& coche = static_cast<CheckBox&>(c);
       coche.setChecked(!coche.checked());
     },
     [](Win32Backend::Impl&, HWND hwnd, Control& c) {
       MetTexte(hwnd, c);
       SendMessageW(hwnd, BM_SETCHECK,
                    static_cast<CheckBox&>(c).checked() ? BST_CHECKED : BST_UNCHECKED, 0);
     }},
    // GroupBox
    {L"BUTTON", BS_GROUPBOX, 0, true, false, nullptr, nullptr, nullptr, nullptr, MiroirTexte},
    // Panel
    {L"STATIC", SS_OWNERDRAW, 0, false, false, nullptr, nullptr, nullptr, nullptr, nullptr},
    // Button
    {L"BUTTON", 0, 0, true, false,
     [](const Control& c) -> DWORD {
       return static_cast<const Button&>(c).isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
     },
     nullptr, ImageBouton, CliqueBouton, MiroirTexte},
    // SpeedButton
    {L"BUTTON", BS_PUSHBUTTON, 0, true, true,
     [](const Control& c) -> DWORD { return c.text().empty() ? BS_ICON : 0; },
     [](Win32Backend::Impl& impl, HWND hwnd, Control&) {
       const auto& sc = impl.sousClassement;
       if (sc.pose != nullptr && sc.retire != nullptr && sc.suite != nullptr)
         sc.pose(hwnd, ProcedureBoutonRapide, 0, reinterpret_cast<DWORD_PTR>(&sc));
     },
     ImageBouton, CliqueBouton, MiroirTexte},
    // ListBox
    {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE, true, false,
     nullptr,
     [](Win32Backend::Impl&, HWND hwnd, Control& c) {
       RemplitListe(hwnd, static_cast<ListBox&>(c));
     },
     nullptr,
     [](Win32Backend::Impl& impl, Control& c, HWND controle, WORD code) {
       if (impl.miroir != 0 || (code != LBN_SELCHANGE && code != LBN_DBLCLK)) return;
       auto& liste = static_cast<ListBox&>(c);
       const int ligne = static_cast<int>(SendMessageW(controle, LB_GETCURSEL, 0, 0));
       if (code == LBN_SELCHANGE)
         liste.clickFromScreen(ligne);
       else
         liste.doubleClickFromScreen(ligne);
     },
     [](Win32Backend::Impl&, HWND hwnd, Control& c) {
       SelectionListe(hwnd, static_cast<ListBox&>(c));
     }},
    // Image: an icon of the large size, as it was designed at 32 pixels
    {L"STATIC", SS_ICON, 0, false, false, nullptr, nullptr,
     [](Win32Backend::Impl& impl, HWND hwnd, const Control& c, int ppp) {
       const Picture picture = static_cast<const Image&>(c).picture;
       const HANDLE image = impl.image(picture, Win32Backend::Impl::tailleIcone(true, ppp));
       SendMessageW(hwnd, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
     },
     nullptr, nullptr},
};
static_assert(std::size(kGenres) == static_cast<std::size_t>(Kind::Image) + 1,
              "one description for each kind of control");

const Genre& GenreDe(const Control& c) { return kGenres[static_cast<std::size_t>(c.kind())]; }

// Made without a place or a font: disposeForm gives them at the form's scale.
HWND CreeControle(Win32Backend::Impl& impl, FenetreForm& f, HWND parent, Control& c, int id) {
  const Genre& genre = GenreDe(c);
  if (genre.classe == nullptr) return nullptr;
  // Containers lie under their contents: each control paints only its own part.
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | genre.style;
  if (c.tabStop) style |= (genre.horsTabulation ? 0 : WS_TABSTOP) | WS_GROUP;
  if (genre.styleDe != nullptr) style |= genre.styleDe(c);
  HWND hwnd = CreateWindowExW(genre.exStyle, genre.classe,
                              genre.texte ? plat::Large(c.text()).c_str() : L"", style, 0, 0, 0, 0,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              impl.instance, nullptr);
  if (hwnd == nullptr) return nullptr;
  c.native = reinterpret_cast<std::uintptr_t>(hwnd);
  f.controles[id] = &c;
  if (genre.cree != nullptr) genre.cree(impl, hwnd, c);
  return hwnd;
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

bool ActifEffectif(const Control& c) {
  for (const Control* p = &c; p != nullptr && p->kind() != Kind::Form; p = p->parent())
    if (!p->enabled()) return false;
  return true;
}

void Notifie(Win32Backend::Impl& impl, Control& c, HWND controle, WORD code) {
  const Genre& genre = GenreDe(c);
  if (genre.notification != nullptr) genre.notification(impl, c, controle, code);
}

LRESULT Win32Backend::Impl::couleurStatique(WPARAM dc) {
  SetTextColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

std::string Win32Backend::Impl::texteFenetre(HWND fenetre) {
  const int longueur = GetWindowTextLengthW(fenetre);
  std::wstring texte(static_cast<std::size_t>(longueur) + 1, L'\0');
  const int lu = GetWindowTextW(fenetre, texte.data(), longueur + 1);
  return plat::Etroit(texte.data(), static_cast<std::size_t>(std::max(lu, 0)));
}

SIZE Win32Backend::Impl::mesureTexte(HFONT police, const std::string& texte, UINT format,
                                     int largeurMax) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ avant = SelectObject(dc, police);
  RECT r{0, 0, largeurMax, 0};
  // An empty text still takes one line, as a label does.
  const std::wstring mesure = texte.empty() ? std::wstring(L" ") : plat::Large(texte);
  DrawTextW(dc, mesure.c_str(), static_cast<int>(mesure.size()), &r, format | DT_CALCRECT);
  SelectObject(dc, avant);
  ReleaseDC(nullptr, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

MesureTexte Win32Backend::Impl::mesure() {
  return [this](const Font& font, const std::string& texte) {
    const SIZE taille = mesureTexte(police(font), texte, DT_LEFT, 0);
    return Taille{taille.cx, taille.cy};
  };
}

void Win32Backend::Impl::disposeForm(HWND fenetre, FenetreForm& f, int ppp,
                                     const RECT* proposee) {
  f.ppp = ppp;
  for (const Place& p : Disposition(*f.form, ppp, mesure())) {
    Control& c = *p.controle;
    HWND hwnd = Hwnd(c.native);
    if (hwnd == nullptr) hwnd = CreeControle(*this, f, fenetre, c, p.identifiant);
    if (hwnd == nullptr) continue;
    SetWindowPos(hwnd, nullptr, p.rect.left, p.rect.top, p.rect.width, p.rect.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const bool saisie = c.kind() == Kind::Edit || c.kind() == Kind::ListBox;
    SendMessageW(hwnd, WM_SETFONT,
                 reinterpret_cast<WPARAM>(police(PoliceAEchelle(c.font, ppp), saisie)), TRUE);
    const Genre& genre = GenreDe(c);
    if (genre.image != nullptr) genre.image(*this, hwnd, c, ppp);
  }
  const Form& form = *f.form;
  placeFenetre(fenetre, {AEchelle(form.clientWidth(), ppp), AEchelle(form.clientHeight(), ppp)},
               ppp, proposee);
}

Handle Win32Backend::realize(Form& form) {
  if (form.native != 0) return form.native;
  Impl& impl = *impl_;
  impl.connait(form.application());
  if (!form.children().empty()) impl.chargeControlesCommuns();
  impl.enregistreClasse(form.className(), kProcedureForm, true);

  auto f = std::make_unique<FenetreForm>();
  f->impl = &impl;
  f->form = &form;
  // A fixed border and no title-bar buttons. Not clipping its children: the
  // form's own background shows through the group boxes.
  const DWORD style = WS_POPUP | WS_CAPTION;
  ++impl.miroir;
  HWND hwnd = CreateWindowExW(0, plat::Large(form.className()).c_str(),
                              plat::Large(form.text()).c_str(), style, 0, 0, 0, 0,
                              impl.fenetreApplication, nullptr, impl.instance, f.get());
  if (hwnd == nullptr) {
    --impl.miroir;
    return 0;
  }
  FenetreForm& fr = *f;
  impl.forms[hwnd] = std::move(f);
  impl.disposeForm(hwnd, fr, Impl::pppDe(hwnd));
  // The keyboard order walks the children from the top; containers take no
  // focus, so they can go to the bottom, the outermost last.
  for (auto it = fr.controles.rbegin(); it != fr.controles.rend(); ++it)
    if (EstConteneur(*it->second))
      SetWindowPos(Hwnd(it->second->native), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  form.native = reinterpret_cast<std::uintptr_t>(hwnd);
  for (auto& [cid, c] : fr.controles) controlChanged(*c);
  --impl.miroir;
  return form.native;
}

void Win32Backend::destroy(Form& form) {
  HWND hwnd = Hwnd(form.native);
  if (hwnd == nullptr) return;
  Detruit(hwnd);
  impl_->forms.erase(hwnd);
  OublieNatifs(form);
}

void Win32Backend::controlChanged(Control& control) {
  HWND hwnd = Hwnd(control.native);
  if (hwnd == nullptr) return;
  Impl& impl = *impl_;
  ++impl.miroir;
  const Genre& genre = GenreDe(control);
  if (genre.miroir != nullptr) genre.miroir(impl, hwnd, control);
  MiroirActif(control);
  --impl.miroir;
}

void Win32Backend::rowsChanged(ListBox& liste, RowChange change) {
  HWND hwnd = Hwnd(liste.native);
  if (hwnd == nullptr) return;
  ++impl_->miroir;
  const auto texte = [&liste](int ligne) {
    return plat::Large(liste.rowText(ligne));
  };
  const auto ligne = static_cast<WPARAM>(change.index);
  switch (change.what) {
    case RowChange::Inserted:
      SendMessageW(hwnd, LB_INSERTSTRING, ligne, reinterpret_cast<LPARAM>(texte(change.index).c_str()));
      break;
    case RowChange::Removed:
      SendMessageW(hwnd, LB_DELETESTRING, ligne, 0);
      break;
    case RowChange::Replaced:
      SendMessageW(hwnd, LB_DELETESTRING, ligne, 0);
      SendMessageW(hwnd, LB_INSERTSTRING, ligne, reinterpret_cast<LPARAM>(texte(change.index).c_str()));
      break;
    case RowChange::All:
      RemplitListe(hwnd, liste);
      break;
  }
  SelectionListe(hwnd, liste);
  --impl_->miroir;
}

}  // namespace tk
