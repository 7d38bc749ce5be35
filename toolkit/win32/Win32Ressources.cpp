// What the backend makes once and keeps: fonts, pictures, window classes, the common controls.
#include "toolkit/win32/Win32Interne.h"

#include <algorithm>
#include <iterator>

#include "resources/resource.h"

namespace tk {

namespace {

// Every picture is an icon of several sizes; the menus' are drawn into bitmaps.
struct RessourceImage {
  int id;
  bool bitmap;
};

RessourceImage Ressource(Picture picture) {
  switch (picture) {
    case Picture::IconeActive:
      return {IDI_ICONE_ACTIVE, false};
    case Picture::IconeInactive:
      return {IDI_ICONE_INACTIVE, false};
    case Picture::MenuConfig:
      return {IDI_MENU_CONFIG, true};
    case Picture::MenuAide:
      return {IDI_MENU_AIDE, true};
    case Picture::GlyphOk:
      return {IDI_GLYPH_OK, false};
    case Picture::GlyphAnnuler:
      return {IDI_GLYPH_ANNULER, false};
    case Picture::GlyphActivation:
      return {IDI_GLYPH_ACTIVATION, false};
    case Picture::GlyphParcourir:
      return {IDI_GLYPH_PARCOURIR, false};
    case Picture::GlyphTest:
      return {IDI_GLYPH_TEST, false};
    case Picture::FlecheHaut:
      return {IDI_FLECHE_HAUT, false};
    case Picture::FlecheBas:
      return {IDI_FLECHE_BAS, false};
    case Picture::Plus:
      return {IDI_PLUS, false};
    case Picture::Moins:
      return {IDI_MOINS, false};
    case Picture::None:
      break;
  }
  return {0, false};
}

// A menu draws its pictures as they are, without their transparency (Wine copies them as a
// block): the icon is laid on the menu's own colour.
HBITMAP SurLaCouleurDesMenus(HICON icone, int taille) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = taille;
  info.bmiHeader.biHeight = -taille;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;  // no alpha, which a menu could take for transparency
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HDC ecran = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(ecran, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  HDC dc = CreateCompatibleDC(ecran);
  ReleaseDC(nullptr, ecran);
  if (bitmap != nullptr && dc != nullptr) {
    HGDIOBJ avant = SelectObject(dc, bitmap);
    const RECT r{0, 0, taille, taille};
    FillRect(dc, &r, GetSysColorBrush(COLOR_MENU));
    DrawIconEx(dc, 0, 0, icone, taille, taille, 0, nullptr, DI_NORMAL);
    SelectObject(dc, avant);
  }
  if (dc != nullptr) DeleteDC(dc);
  return bitmap;
}

}  // namespace

void Win32Backend::Impl::chargeControlesCommuns() {
  if (controlesCommuns) return;
  controlesCommuns = true;
  const HMODULE comctl32 = LoadLibraryW(L"comctl32.dll");
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto init = Fonction<Init>(comctl32, "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  if (init != nullptr) init(&icc);
  // By number: the versions before 6 export them by no other name.
  sousClassement.pose = Fonction<decltype(sousClassement.pose)>(comctl32, MAKEINTRESOURCEA(410));
  sousClassement.retire =
      Fonction<decltype(sousClassement.retire)>(comctl32, MAKEINTRESOURCEA(412));
  sousClassement.suite = Fonction<decltype(sousClassement.suite)>(comctl32, MAKEINTRESOURCEA(413));
  iconeReduite = Fonction<decltype(iconeReduite)>(comctl32, "LoadIconWithScaleDown");
}

void Win32Backend::Impl::enregistreClasse(const std::string& nom, WNDPROC procedure,
                                          bool avecIcone) {
  if (std::find(classes.begin(), classes.end(), nom) != classes.end()) return;
  const std::wstring classe = plat::Large(nom);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = classe.c_str();
  if (avecIcone) {
    wc.hIcon = static_cast<HICON>(image(Picture::IconeActive, tailleIcone(true, pppSysteme())));
    wc.hIconSm = static_cast<HICON>(image(Picture::IconeActive));
  }
  if (RegisterClassExW(&wc) != 0) classes.push_back(nom);
}

namespace {

HFONT Cree(const Font& font, const std::wstring& nom) {
  return CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, nom.c_str());
}

// Whether the font draws every letter of the program's French.
bool ALesLettres(HFONT police) {
  static const wchar_t kLettres[] = L"éèêàâçôûùîïëÉÈÊÀÇÔ";
  HDC dc = GetDC(nullptr);
  HGDIOBJ avant = SelectObject(dc, police);
  WORD glyphes[std::size(kLettres) - 1] = {};
  const DWORD n = GetGlyphIndicesW(dc, kLettres, static_cast<int>(std::size(glyphes)), glyphes,
                                   GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, avant);
  ReleaseDC(nullptr, dc);
  return n != GDI_ERROR &&
         std::find(std::begin(glyphes), std::end(glyphes), WORD{0xFFFF}) == std::end(glyphes);
}

}  // namespace

HFONT Win32Backend::Impl::police(const Font& font, bool saisie) {
  const auto cle = std::make_tuple(font.name, font.height, font.bold, saisie);
  auto it = polices.find(cle);
  if (it != polices.end()) return it->second;
  HFONT p = Cree(font, saisie ? L"MS Shell Dlg 2" : plat::Large(font.name));
  // The system's "MS Sans Serif" is a bitmap in its code page's own form: the Cyrillic or Greek
  // one has no "é". Its TrueType twin, with the same widths, has every letter.
  if (!saisie && !ALesLettres(p)) {
    DeleteObject(p);
    p = Cree(font, L"Microsoft Sans Serif");
  }
  polices[cle] = p;
  return p;
}

HANDLE Win32Backend::Impl::image(Picture picture, int taille) {
  const auto cle = std::make_pair(picture, taille);
  auto it = images.find(cle);
  if (it != images.end()) return it->second;
  const RessourceImage r = Ressource(picture);
  // The notification area's and the menus' sizes come before the common controls, at start-up.
  const HICON icone = r.id != 0 ? this->icone(instance, MAKEINTRESOURCEW(r.id), taille) : nullptr;
  HANDLE h = icone;
  if (icone != nullptr && r.bitmap) {
    h = SurLaCouleurDesMenus(icone, taille);
    DestroyIcon(icone);
  }
  images[cle] = h;
  return h;
}

HICON Win32Backend::Impl::icone(HINSTANCE module, LPCWSTR nom, int taille) const {
  HICON icone = nullptr;
  if (iconeReduite != nullptr && SUCCEEDED(iconeReduite(module, nom, taille, taille, &icone)))
    return icone;
  return static_cast<HICON>(LoadImageW(module, nom, IMAGE_ICON, taille, taille, LR_DEFAULTCOLOR));
}

HANDLE Win32Backend::Impl::image(Picture picture) {
  return image(picture, tailleIcone(false, pppSysteme()));
}

bool Win32Backend::Impl::estBitmap(Picture picture) { return Ressource(picture).bitmap; }

void Win32Backend::Impl::libereRessources() {
  for (auto& [cle, p] : polices) DeleteObject(p);
  for (auto& [cle, h] : images) {
    if (h == nullptr) continue;
    if (estBitmap(cle.first))
      DeleteObject(h);
    else
      DestroyIcon(static_cast<HICON>(h));
  }
}

Handle Win32Backend::icon(Picture picture) {
  if (Impl::estBitmap(picture)) return 0;
  // The notification area shows small icons, at the system's scale.
  return reinterpret_cast<Handle>(impl_->image(picture));
}

}  // namespace tk
