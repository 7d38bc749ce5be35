#include "toolkit/win32/Win32Interne.h"

#include <utility>

namespace tk {

namespace {

// Builds the menu afresh each time: entries may have changed since the last showing.
HMENU ConstruitMenu(Win32Backend::Impl& impl, Win32Backend::Impl::MenuOuvert& ouvert,
                    const MenuItem& parent, UINT& id) {
  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < parent.count(); ++i) {
    MenuItem& entree = parent.item(i);
    if (entree.separator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring texte = plat::Large(entree.caption);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    mii.fType = MFT_STRING;
    mii.fState = (entree.enabled ? MFS_ENABLED : MFS_GRAYED) | (entree.isDefault ? MFS_DEFAULT : 0);
    mii.dwTypeData = texte.data();
    mii.cch = static_cast<UINT>(texte.size());
    // Sub-menu titles get an id too, so that F1 on one can be told apart.
    mii.wID = id;
    ouvert.entrees[id++] = &entree;
    if (entree.count() > 0) {
      mii.fMask |= MIIM_SUBMENU;
      mii.hSubMenu = ConstruitMenu(impl, ouvert, entree, id);
    }
    if (entree.picture != Picture::None && Win32Backend::Impl::estBitmap(entree.picture)) {
      mii.fMask |= MIIM_BITMAP;
      mii.hbmpItem = static_cast<HBITMAP>(impl.image(entree.picture));
    }
    if (entree.icone) ouvert.aIcones[menu].push_back({mii.wID, &entree});
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mii);
  }
  return menu;
}

MenuItem* Entree(const Win32Backend::Impl::MenuOuvert& ouvert, UINT id) {
  auto it = ouvert.entrees.find(id);
  return it == ouvert.entrees.end() ? nullptr : it->second;
}

int ContexteAide(const MenuItem* entree) {
  int contexte = 0;
  for (const MenuItem* m = entree; m != nullptr && contexte == 0; m = m->parent())
    contexte = m->helpContext;
  return contexte;
}

}  // namespace

std::optional<std::intptr_t> MessageMenus(Win32Backend::Impl& impl, unsigned message,
                                          std::uintptr_t wParam, std::intptr_t lParam) {
  if (message == WM_TIMER) {
    if (wParam == kTimerIcones) {
      impl.iconesAuRepos();
    } else if (auto it = impl.timers.find(wParam); it != impl.timers.end()) {
      it->second->tick();
    }
    return 0;
  }
  if (impl.application == nullptr) return std::nullopt;
  switch (message) {
    case WM_HELP: {
      const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
      // Wine follows the entry's request with a second one for id -1: no entry, ignored.
      if (impl.menu == nullptr || info->iContextType != HELPINFO_MENUITEM) return TRUE;
      MenuItem* entree = Entree(*impl.menu, static_cast<UINT>(info->iCtrlId));
      if (entree == nullptr) return TRUE;
      if (ContexteAide(entree) == 0) {
        impl.application->menuHelp(entree);
      } else {
        // A help window opened inside the menu's own loop would fight it for the
        // mouse and keyboard: close the menu and answer once it is gone.
        impl.menu->aideEnAttente = entree;
        EndMenu();
      }
      return TRUE;
    }
    case WM_INITMENUPOPUP:
      impl.ouvreMenu(reinterpret_cast<HMENU>(wParam));
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

MenuItem* Win32Backend::popup(PopupMenu& menu, int x, int y) {
  Impl& impl = *impl_;
  impl.connait(menu.application());
  Impl::MenuOuvert ouvert;
  struct Empile {
    Impl& impl;
    Impl::MenuOuvert* precedent;
    ~Empile() { impl.menu = precedent; }
  } empile{impl, std::exchange(impl.menu, &ouvert)};
  UINT id = 1;
  HMENU hmenu = ConstruitMenu(impl, ouvert, menu, id);
  const BOOL choix = TrackPopupMenu(hmenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0,
                                    impl.proprietaireMenus, nullptr);
  impl.fermeMenu();
  DestroyMenu(hmenu);
  if (ouvert.aideEnAttente != nullptr) {
    impl.menu = empile.precedent;
    impl.application->menuHelp(ouvert.aideEnAttente);
    return nullptr;
  }
  return choix > 0 ? Entree(ouvert, static_cast<UINT>(choix)) : nullptr;
}

}  // namespace tk
