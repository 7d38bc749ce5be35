// Showing and hiding forms, the nested modal loop and who is active meanwhile.
#include "toolkit/win32/Win32Interne.h"

namespace tk {

bool Win32Backend::Impl::boucleModale(HWND fenetre, const std::function<bool()>& fini) {
  MSG msg;
  while (!fini() && IsWindow(fenetre)) {
    const BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (r == -1) return false;
    if (IsDialogMessageW(fenetre, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
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
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Win32Backend::terminate() { PostQuitMessage(0); }

}  // namespace tk
