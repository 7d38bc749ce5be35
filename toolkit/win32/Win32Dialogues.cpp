#include "toolkit/win32/Win32Interne.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>

namespace tk {

namespace {

constexpr char kClasseMessage[] = "VivMessage";
constexpr char kClasseSaisie[] = "VivSaisie";
constexpr int kPremierBouton = 100;
constexpr int kMarge = 12;
constexpr int kLargeurBouton = 75;
constexpr int kHauteurBouton = 25;
constexpr int kEcartBoutons = 8;

// A message box or a prompt: which button gives which result, and how it is laid out.
struct Dialogue {
  Dialogue() = default;
  Dialogue(const Dialogue&) = delete;
  Dialogue& operator=(const Dialogue&) = delete;
  ~Dialogue() {
    if (icone != nullptr) DestroyIcon(icone);
  }

  std::map<int, int> resultats;  // button id -> result
  int idDefaut = 0;
  int idAnnuler = 0;
  int resultat = mrNone;
  bool fini = false;
  HWND focus = nullptr;
  // Places the children at a scale and gives the client area's size: when the box is made,
  // and when it has moved to a screen of another scale.
  std::function<Taille(int ppp)> dispose;
  HICON icone = nullptr;  // the message's, at the box's scale
};

void Termine(Dialogue& d, int id) {
  auto it = d.resultats.find(id);
  if (it == d.resultats.end()) return;
  d.resultat = it->second;
  d.fini = true;
}

LRESULT TraiteDialogue(Dialogue& d, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK && lParam == 0) {
        // Enter: the focused button, otherwise the default one.
        const int focus = GetDlgCtrlID(GetFocus());
        Termine(d, d.resultats.count(focus) != 0 ? focus : d.idDefaut);
      } else if (id == IDCANCEL && lParam == 0) {
        Termine(d, d.idAnnuler);
      } else if (HIWORD(wParam) == BN_CLICKED) {
        Termine(d, id);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      return Win32Backend::Impl::couleurStatique(wParam);
    case WM_DPICHANGED:
      if (d.dispose)
        Win32Backend::Impl::placeFenetre(hwnd, d.dispose(LOWORD(wParam)), LOWORD(wParam),
                                         reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd, focus)) d.focus = focus;
      } else if (d.focus != nullptr) {
        SetFocus(d.focus);
      }
      return 0;
    case WM_CLOSE:
      // The close box of the title bar.
      d.resultat = mrCancel;
      d.fini = true;
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

HWND CreeFenetre(Win32Backend::Impl& impl, const char* classe, const std::string& titre,
                 Dialogue& d) {
  impl.chargeControlesCommuns();
  impl.enregistreClasse(classe, Procedure<Dialogue, TraiteDialogue>, false);
  return CreateWindowExW(WS_EX_DLGMODALFRAME, plat::Large(classe).c_str(), plat::Large(titre).c_str(),
                         WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, impl.proprietaire(),
                         nullptr, impl.instance, &d);
}

// Made without a place: the box's `dispose` gives it one.
HWND Enfant(Win32Backend::Impl& impl, HWND parent, const wchar_t* classe, const std::string& texte,
            DWORD style, int id, DWORD exStyle = 0) {
  return CreateWindowExW(exStyle, classe, plat::Large(texte).c_str(),
                         WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), impl.instance,
                         nullptr);
}

// A child at its place, in pixels of the box's scale, in the dialogs' font at that scale.
void Pose(HWND enfant, HFONT police, int x, int y, int largeur, int hauteur) {
  SetWindowPos(enfant, nullptr, x, y, largeur, hauteur, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(enfant, WM_SETFONT, reinterpret_cast<WPARAM>(police), TRUE);
}

// The buttons of the design, at a scale.
struct Boutons {
  explicit Boutons(int ppp)
      : largeur(AEchelle(kLargeurBouton, ppp)),
        hauteur(AEchelle(kHauteurBouton, ppp)),
        ecart(AEchelle(kEcartBoutons, ppp)) {}
  int largeur;
  int hauteur;
  int ecart;
};

HWND Bouton(Win32Backend::Impl& impl, HWND parent, Dialogue& d, const std::string& texte,
            int resultat, bool defaut, bool annuler) {
  const int id = kPremierBouton + static_cast<int>(d.resultats.size());
  d.resultats[id] = resultat;
  if (defaut) d.idDefaut = id;
  if (annuler) d.idAnnuler = id;
  // One group for all the buttons: the arrow keys go from one to the next.
  const DWORD groupe = id == kPremierBouton ? WS_GROUP : 0;
  return Enfant(impl, parent, L"BUTTON", texte,
                WS_TABSTOP | groupe | (defaut ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), id);
}

// Shows the dialog modally over the program's other windows, then destroys it;
// `avantFermeture` reads what it needs from the window while it still exists.
int Execute(Win32Backend::Impl& impl, HWND hwnd, Dialogue& d, HWND focus,
            const std::function<void()>& avantFermeture = {}) {
  HWND precedente = GetActiveWindow();
  const std::vector<HWND> desactivees = impl.desactiveAutres(hwnd);
  d.focus = focus;
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  if (focus != nullptr) SetFocus(focus);
  if (!impl.boucleModale(hwnd, [&d] { return d.fini; })) d.resultat = mrCancel;
  if (avantFermeture) avantFermeture();
  Win32Backend::Impl::reactive(desactivees);
  DestroyWindow(hwnd);
  if (precedente != nullptr && precedente != hwnd && IsWindow(precedente) &&
      IsWindowVisible(precedente))
    SetActiveWindow(precedente);
  return d.resultat;
}

// Laid out at the scale of the screen it opens on, then shown.
int Montre(Win32Backend::Impl& impl, HWND hwnd, Dialogue& d, HWND focus,
           const std::function<void()>& avantFermeture = {}) {
  const int ppp = Win32Backend::Impl::pppDe(hwnd);
  Win32Backend::Impl::placeFenetre(hwnd, d.dispose(ppp), ppp);
  return Execute(impl, hwnd, d, focus, avantFermeture);
}

}  // namespace

int Win32Backend::messageBox(const MessageBoxSpec& boite) {
  Impl& impl = *impl_;
  Dialogue d;
  HWND hwnd = CreeFenetre(impl, kClasseMessage, boite.caption, d);
  if (hwnd == nullptr) return mrCancel;

  HWND image = Enfant(impl, hwnd, L"STATIC", "", SS_ICON, -1);
  HWND texte = Enfant(impl, hwnd, L"STATIC", boite.text, SS_LEFT | SS_NOPREFIX, -1);
  // The focus starts on the default button, or the first one.
  std::vector<HWND> boutons;
  HWND focus = nullptr;
  for (const MessageButton& b : boite.buttons) {
    boutons.push_back(Bouton(impl, hwnd, d, b.caption, b.result, b.isDefault, b.isCancel));
    if (b.isDefault || focus == nullptr) focus = boutons.back();
  }
  // The system's numbers, as W names.
  const auto systeme =
      reinterpret_cast<LPCWSTR>(boite.icon == MessageIcon::Question ? IDI_QUESTION : IDI_HAND);

  d.dispose = [&](int ppp) {
    const int marge = AEchelle(kMarge, ppp);
    const Boutons bouton(ppp);
    const int icone = Impl::metrique(SM_CXICON, ppp);
    if (d.icone != nullptr) DestroyIcon(d.icone);
    d.icone = impl.icone(nullptr, systeme, icone);
    SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(d.icone), 0);
    const HFONT police = impl.police(PoliceAEchelle(Font{}, ppp));
    // The message may name what the user typed, in any script.
    const HFONT policeTexte = impl.police(PoliceAEchelle(Font{}, ppp), true);
    const UINT format = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
    const SIZE t =
        Impl::mesureTexte(policeTexte, boite.text, format, GetSystemMetrics(SM_CXSCREEN) / 2);
    const int xTexte = marge + icone + marge;
    const int hautContenu = std::max(icone, static_cast<int>(t.cy));
    const int nbBoutons = static_cast<int>(boutons.size());
    const int largeurBoutons =
        nbBoutons * bouton.largeur + std::max(nbBoutons - 1, 0) * bouton.ecart;
    const int largeur =
        std::max(xTexte + static_cast<int>(t.cx) + marge, largeurBoutons + 2 * marge);
    const int yBoutons = marge + hautContenu + marge;

    Pose(image, police, marge, marge, icone, icone);
    Pose(texte, policeTexte, xTexte, marge + (hautContenu - static_cast<int>(t.cy)) / 2, t.cx, t.cy);
    int x = (largeur - largeurBoutons) / 2;
    for (HWND b : boutons) {
      Pose(b, police, x, yBoutons, bouton.largeur, bouton.hauteur);
      x += bouton.largeur + bouton.ecart;
    }
    return Taille{largeur, yBoutons + bouton.hauteur + marge};
  };
  return Montre(impl, hwnd, d, focus);
}

bool Win32Backend::inputQuery(const std::string& caption, const std::string& prompt,
                              std::string& value, unsigned maxLength) {
  Impl& impl = *impl_;
  Dialogue d;
  HWND hwnd = CreeFenetre(impl, kClasseSaisie, caption, d);
  if (hwnd == nullptr) return false;

  HWND invite = Enfant(impl, hwnd, L"STATIC", prompt, SS_LEFT, -1);
  HWND champ = Enfant(impl, hwnd, L"EDIT", value, ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP,
                      kPremierBouton - 1, WS_EX_CLIENTEDGE);
  SendMessageW(champ, EM_LIMITTEXT, maxLength, 0);
  SendMessageW(champ, EM_SETSEL, 0, -1);
  HWND ok = Bouton(impl, hwnd, d, "OK", mrOk, true, false);
  HWND annuler = Bouton(impl, hwnd, d, "Annuler", mrCancel, false, true);

  d.dispose = [&](int ppp) {
    const int bord = AEchelle(8, ppp);
    const Boutons bouton(ppp);
    const HFONT police = impl.police(PoliceAEchelle(Font{}, ppp));
    const SIZE t = Impl::mesureTexte(police, prompt, DT_LEFT, 0);
    const int largeur = std::max(AEchelle(270, ppp), static_cast<int>(t.cx) + 2 * bord);
    const int yChamp = bord + static_cast<int>(t.cy) + AEchelle(6, ppp);
    const int hauteurChamp = AEchelle(21, ppp);
    const int yBoutons = yChamp + hauteurChamp + AEchelle(14, ppp);

    Pose(invite, police, bord, bord, t.cx, t.cy);
    Pose(champ, impl.police(PoliceAEchelle(Font{}, ppp), true), bord, yChamp, largeur - 2 * bord,
         hauteurChamp);
    const int x = largeur / 2 - bouton.largeur - bouton.ecart / 2;
    Pose(ok, police, x, yBoutons, bouton.largeur, bouton.hauteur);
    Pose(annuler, police, x + bouton.largeur + bouton.ecart, yBoutons, bouton.largeur,
         bouton.hauteur);
    return Taille{largeur, yBoutons + bouton.hauteur + AEchelle(10, ppp)};
  };
  std::string saisi;
  const int resultat = Montre(impl, hwnd, d, champ, [&] { saisi = Impl::texteFenetre(champ); });
  if (resultat != mrOk) return false;
  value = saisi;
  return true;
}

bool Win32Backend::openDialog(OpenDialog& dialog) {
  Impl& impl = *impl_;
  // The dialog's library, and the printing one it brings along, are loaded when first asked for.
  static const HMODULE comdlg32 = LoadLibraryW(L"comdlg32.dll");
  static const auto ouvre = Fonction<decltype(&GetOpenFileNameW)>(comdlg32, "GetOpenFileNameW");
  static const auto erreur =
      Fonction<decltype(&CommDlgExtendedError)>(comdlg32, "CommDlgExtendedError");
  if (ouvre == nullptr || erreur == nullptr) return false;
  // "Description|pattern|..." becomes pairs of zero-terminated strings, ended by one more zero.
  std::wstring filtre = plat::Large(dialog.filter);
  if (!filtre.empty() && filtre.back() != L'|') filtre += L'|';
  std::replace(filtre.begin(), filtre.end(), L'|', L'\0');
  filtre += L'\0';
  const std::wstring nomDonne = plat::Large(dialog.fileName);
  std::vector<wchar_t> nom(std::max<std::size_t>(32768, nomDonne.size() + 1), L'\0');
  std::copy(nomDonne.begin(), nomDonne.end(), nom.begin());
  const std::wstring dossier = plat::Large(dialog.initialDir);
  const std::wstring titre = plat::Large(dialog.title);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = impl.proprietaire();
  ofn.lpstrFilter = dialog.filter.empty() ? nullptr : filtre.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = nom.data();
  ofn.nMaxFile = static_cast<DWORD>(nom.size());
  ofn.lpstrInitialDir = dossier.empty() ? nullptr : dossier.c_str();
  ofn.lpstrTitle = titre.empty() ? nullptr : titre.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  if (dialog.hideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (dialog.noChangeDir) ofn.Flags |= OFN_NOCHANGEDIR;

  const std::vector<HWND> desactivees = impl.desactiveAutres(ofn.hwndOwner);
  BOOL choisi = ouvre(&ofn);
  if (!choisi && erreur() == FNERR_INVALIDFILENAME) {
    // A field holding no valid name ("<Aucun>") would keep the dialog from opening at all.
    std::fill(nom.begin(), nom.end(), L'\0');
    choisi = ouvre(&ofn);
  }
  Impl::reactive(desactivees);
  if (!choisi) return false;
  dialog.fileName = plat::Etroit(nom.data(), std::wcslen(nom.data()));
  return true;
}

}  // namespace tk
