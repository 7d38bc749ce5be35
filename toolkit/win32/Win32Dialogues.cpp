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

// A message box or a prompt: which button gives which result.
struct Dialogue {
  std::map<int, int> resultats;  // button id -> result
  int idDefaut = 0;
  int idAnnuler = 0;
  int resultat = mrNone;
  bool fini = false;
  HWND focus = nullptr;
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

// `saisie`: a text that may hold what the user typed (Impl::police).
HWND Enfant(Win32Backend::Impl& impl, HWND parent, const wchar_t* classe, const std::string& texte,
            DWORD style, int x, int y, int largeur, int hauteur, int id, DWORD exStyle = 0,
            bool saisie = false) {
  HWND hwnd = CreateWindowExW(
      exStyle, classe, plat::Large(texte).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, largeur,
      hauteur, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), impl.instance, nullptr);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(impl.police(Font{}, saisie)), FALSE);
  return hwnd;
}

HWND Bouton(Win32Backend::Impl& impl, HWND parent, Dialogue& d, const std::string& texte,
            int resultat, bool defaut, bool annuler, int x, int y) {
  const int id = kPremierBouton + static_cast<int>(d.resultats.size());
  d.resultats[id] = resultat;
  if (defaut) d.idDefaut = id;
  if (annuler) d.idAnnuler = id;
  // One group for all the buttons: the arrow keys go from one to the next.
  const DWORD groupe = id == kPremierBouton ? WS_GROUP : 0;
  return Enfant(impl, parent, L"BUTTON", texte,
                WS_TABSTOP | groupe | (defaut ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), x, y,
                kLargeurBouton, kHauteurBouton, id);
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

}  // namespace

int Win32Backend::messageBox(const MessageBoxSpec& boite) {
  Impl& impl = *impl_;
  Dialogue d;
  HWND hwnd = CreeFenetre(impl, kClasseMessage, boite.caption, d);
  if (hwnd == nullptr) return mrCancel;

  const int icone = GetSystemMetrics(SM_CXICON);
  const UINT format = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
  // The message may name what the user typed, in any script.
  const SIZE texte = Impl::mesureTexte(impl.police(Font{}, true), boite.text, format,
                                       GetSystemMetrics(SM_CXSCREEN) / 2);
  const int xTexte = kMarge + icone + kMarge;
  const int hautContenu = std::max(icone, static_cast<int>(texte.cy));
  const int nbBoutons = static_cast<int>(boite.buttons.size());
  const int largeurBoutons =
      nbBoutons * kLargeurBouton + std::max(nbBoutons - 1, 0) * kEcartBoutons;
  const int largeur =
      std::max(xTexte + static_cast<int>(texte.cx) + kMarge, largeurBoutons + 2 * kMarge);
  const int yBoutons = kMarge + hautContenu + kMarge;
  const int hauteur = yBoutons + kHauteurBouton + kMarge;

  // The system's numbers, as W names.
  const auto systeme = reinterpret_cast<LPCWSTR>(boite.icon == MessageIcon::Question ? IDI_QUESTION : IDI_HAND);
  HWND image = Enfant(impl, hwnd, L"STATIC", "", SS_ICON, kMarge, kMarge, icone, icone, -1);
  SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, systeme)), 0);
  const int yTexte = kMarge + (hautContenu - static_cast<int>(texte.cy)) / 2;
  Enfant(impl, hwnd, L"STATIC", boite.text, SS_LEFT | SS_NOPREFIX, xTexte, yTexte, texte.cx,
         texte.cy, -1, 0, true);

  // The focus starts on the default button, or the first one.
  HWND focus = nullptr;
  int x = (largeur - largeurBoutons) / 2;
  for (const MessageButton& b : boite.buttons) {
    HWND bouton = Bouton(impl, hwnd, d, b.caption, b.result, b.isDefault, b.isCancel, x, yBoutons);
    if (b.isDefault || focus == nullptr) focus = bouton;
    x += kLargeurBouton + kEcartBoutons;
  }
  Impl::centre(hwnd, largeur, hauteur);
  return Execute(impl, hwnd, d, focus);
}

bool Win32Backend::inputQuery(const std::string& caption, const std::string& prompt,
                              std::string& value, unsigned maxLength) {
  Impl& impl = *impl_;
  Dialogue d;
  HWND hwnd = CreeFenetre(impl, kClasseSaisie, caption, d);
  if (hwnd == nullptr) return false;

  constexpr int kBord = 8;
  const SIZE invite = Impl::mesureTexte(impl.police(Font{}), prompt, DT_LEFT, 0);
  const int largeur = std::max(270, static_cast<int>(invite.cx) + 2 * kBord);
  const int yChamp = kBord + static_cast<int>(invite.cy) + 6;
  const int yBoutons = yChamp + 21 + 14;
  const int hauteur = yBoutons + kHauteurBouton + 10;

  Enfant(impl, hwnd, L"STATIC", prompt, SS_LEFT, kBord, kBord, invite.cx, invite.cy, -1);
  HWND champ = Enfant(impl, hwnd, L"EDIT", value, ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, kBord,
                      yChamp, largeur - 2 * kBord, 21, kPremierBouton - 1, WS_EX_CLIENTEDGE, true);
  SendMessageW(champ, EM_LIMITTEXT, maxLength, 0);
  SendMessageW(champ, EM_SETSEL, 0, -1);
  const int x = largeur / 2 - kLargeurBouton - kEcartBoutons / 2;
  Bouton(impl, hwnd, d, "OK", mrOk, true, false, x, yBoutons);
  Bouton(impl, hwnd, d, "Annuler", mrCancel, false, true, x + kLargeurBouton + kEcartBoutons,
         yBoutons);
  Impl::centre(hwnd, largeur, hauteur);

  std::string saisi;
  const int resultat = Execute(impl, hwnd, d, champ, [&] { saisi = Impl::texteFenetre(champ); });
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
