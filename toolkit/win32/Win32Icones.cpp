// The icons the shell shows for the files, folders and addresses of menu entries, as the 32-bit
// pictures with transparency that menus draw.
#include "toolkit/win32/Win32Interne.h"

#include <shellapi.h>

#include "platform/win32/Horloge.h"
#include "platform/win32/PlateformeWin32.h"

namespace tk {

namespace {

constexpr UINT kPeriodeAuRepos = 10;  // ms between two idle slices, each as long

HICON IconeDuShell(const SourceIcone& source) {
  plat::RejointCom();
  const std::wstring chemin = plat::Large(source.chemin);
  SHFILEINFOW info{};
  const UINT drapeaux = SHGFI_ICON | SHGFI_SMALLICON;
  if (!source.parGenre && SHGetFileInfoW(chemin.c_str(), 0, &info, sizeof info, drapeaux) != 0 &&
      info.hIcon != nullptr)
    return info.hIcon;
  // By its kind alone, without touching it: gone since, or not to be waited on.
  if (SHGetFileInfoW(chemin.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                     drapeaux | SHGFI_USEFILEATTRIBUTES) != 0)
    return info.hIcon;
  return nullptr;
}

// The icon drawn into a 32-bit picture whose transparency the menu keeps.
HBITMAP ImageDIcone(HICON icone, int taille) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = taille;
  bi.bmiHeader.biHeight = -taille;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP image = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (image == nullptr) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ avant = SelectObject(dc, image);
  DrawIconEx(dc, 0, 0, icone, taille, taille, 0, nullptr, DI_NORMAL);
  auto* pixels = static_cast<DWORD*>(bits);
  const int n = taille * taille;
  bool alpha = false;
  for (int i = 0; i < n && !alpha; ++i) alpha = (pixels[i] >> 24) != 0;
  if (!alpha) {
    // An icon of the old kind has no transparency of its own: its mask says what is drawn.
    HBITMAP imageMasque = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (imageMasque != nullptr) {
      SelectObject(dc, imageMasque);
      DrawIconEx(dc, 0, 0, icone, taille, taille, 0, nullptr, DI_MASK);
      const auto* m = static_cast<const DWORD*>(bits);
      for (int i = 0; i < n; ++i)
        if ((m[i] & 0xFFFFFF) == 0) pixels[i] |= 0xFF000000;
      SelectObject(dc, image);
      DeleteObject(imageMasque);
    }
  }
  SelectObject(dc, avant);
  DeleteDC(dc);
  return image;
}

}  // namespace

void Win32Backend::Impl::ouvreMenu(HMENU menu) {
  if (this->menu == nullptr) return;
  const auto it = this->menu->aIcones.find(menu);
  if (it == this->menu->aIcones.end()) return;
  if (!icones) {
    icones = std::make_unique<IconesDeMenu>(
        [](const SourceIcone& source) -> Handle {
          HICON icone = IconeDuShell(source);
          if (icone == nullptr) return 0;
          HBITMAP image = ImageDIcone(icone, tailleIcone(false, pppSysteme()));
          DestroyIcon(icone);
          return reinterpret_cast<Handle>(image);
        },
        plat::Millisecondes, [](Handle image) { DeleteObject(reinterpret_cast<HBITMAP>(image)); });
  }
  std::vector<IconesDeMenu::Entree> entrees;
  for (const auto& [id, entree] : it->second)
    entrees.push_back({entree->icone, [menu, id = id](Handle image) {
                         MENUITEMINFOW mii{};
                         mii.cbSize = sizeof mii;
                         mii.fMask = MIIM_BITMAP;
                         mii.hbmpItem = reinterpret_cast<HBITMAP>(image);
                         SetMenuItemInfoW(menu, id, FALSE, &mii);
                       }});
  icones->Ouvre(std::move(entrees));
  if (icones->EnAttente()) SetTimer(proprietaireMenus, kTimerIcones, kPeriodeAuRepos, nullptr);
}

void Win32Backend::Impl::iconesAuRepos() {
  if (icones) icones->Avance(kPeriodeAuRepos);
  if (!icones || !icones->EnAttente()) KillTimer(proprietaireMenus, kTimerIcones);
}

bool Win32Backend::iconesEnAttente() const { return impl_->icones && impl_->icones->EnAttente(); }

void Win32Backend::Impl::fermeMenu() {
  if (icones) icones->Ferme();
}

}  // namespace tk
