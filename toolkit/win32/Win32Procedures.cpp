// What the windows of forms and the utility windows do with their messages.
#include "toolkit/win32/Win32Interne.h"

namespace tk {

namespace {

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
  if (it != f.controles.end()) Notifie(*f.impl, *it->second, controle, code);
}

void DessineCadre(const Panel& panel, const DRAWITEMSTRUCT& dessin) {
  UINT bords = 0;
  if (panel.bevelOuterLowered) bords |= BDR_SUNKENOUTER;
  if (panel.bevelInnerRaised) bords |= BDR_RAISEDINNER;
  RECT r = dessin.rcItem;
  FillRect(dessin.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dessin.hDC, &r, bords, BF_RECT);
}

LRESULT TraiteForm(FenetreForm& f, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (f.form == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  Form& form = *f.form;
  switch (message) {
    case WM_HOTKEY:
      if (!form.OnHotKey) break;
      f.impl->dispatch([&] { form.OnHotKey(static_cast<int>(wParam)); });
      return 0;
    case WM_COMMAND:
      Commande(f, hwnd, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_DRAWITEM: {
      const auto& dessin = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      auto it = f.controles.find(static_cast<int>(dessin.CtlID));
      if (it != f.controles.end() && it->second->kind() == Kind::Panel) {
        DessineCadre(static_cast<const Panel&>(*it->second), dessin);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
      return Win32Backend::Impl::couleurStatique(wParam);
    case WM_DPICHANGED:
      // Moved to a screen of another scale: laid out again there.
      f.impl->disposeForm(hwnd, f, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd, focus)) f.focus = focus;
      } else {
        HWND cible = f.focus;
        if (cible == nullptr || !IsWindow(cible) || !IsWindowEnabled(cible))
          cible = GetNextDlgTabItem(hwnd, nullptr, FALSE);
        if (cible == nullptr) break;  // no control: the form itself takes the focus
        SetFocus(cible);
      }
      return 0;
    case WM_CLOSE:
      // Closed by the system (Alt+F4, the taskbar): like the program's own close.
      if (f.modale) {
        if (form.modalResult == mrNone) form.modalResult = mrCancel;
      } else {
        f.impl->dispatch([&] { form.close(); });
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT TraiteUtilitaire(FenetreUtilitaire& u, HWND hwnd, UINT message, WPARAM wParam,
                         LPARAM lParam) {
  if (u.procedure) {
    std::optional<std::intptr_t> resultat;
    u.impl->dispatch([&] { resultat = u.procedure(message, wParam, lParam); });
    if (resultat) return static_cast<LRESULT>(*resultat);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

const WNDPROC kProcedureForm = Procedure<FenetreForm, TraiteForm>;
const WNDPROC kProcedureUtilitaire = Procedure<FenetreUtilitaire, TraiteUtilitaire>;

void Detruit(HWND hwnd) {
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
}

}  // namespace tk
