// What the backend makes once and keeps: fonts, pictures, window classes, the common controls.
#include "toolkit/win32/Win32Interne.h"

#include <algorithm>
#include <iterator>

#include "resources/resource.h"

namespace tk {

namespace {

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
  if (avecIcone) wc.hIcon = static_cast<HICON>(image(Picture::IconeActive));
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

HANDLE Win32Backend::Impl::image(Picture picture) {
  auto it = images.find(picture);
  if (it != images.end()) return it->second;
  const RessourceImage r = Ressource(picture);
  HANDLE h = nullptr;
  if (r.id != 0) {
    // Menu bitmaps: their light grey becomes the system's face colour.
    const UINT options = r.type == IMAGE_BITMAP ? LR_LOADMAP3DCOLORS : LR_DEFAULTCOLOR;
    h = LoadImageW(instance, MAKEINTRESOURCEW(r.id), r.type, r.taille, r.taille, options);
  }
  images[picture] = h;
  return h;
}

bool Win32Backend::Impl::estBitmap(Picture picture) {
  return Ressource(picture).type == IMAGE_BITMAP;
}

void Win32Backend::Impl::libereRessources() {
  for (auto& [cle, p] : polices) DeleteObject(p);
  for (auto& [picture, h] : images) {
    if (h == nullptr) continue;
    if (estBitmap(picture))
      DeleteObject(h);
    else
      DestroyIcon(static_cast<HICON>(h));
  }
}

Handle Win32Backend::icon(Picture picture) {
  if (Impl::estBitmap(picture)) return 0;
  return reinterpret_cast<Handle>(impl_->image(picture));
}

}  // namespace tk
