#include "platform/win32/Large.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace plat {

namespace {

// The program's texts are UTF-8, whatever the system's own code page.
constexpr UINT kPageTexte = CP_UTF8;

}  // namespace

std::wstring Large(const std::string& texte) {
  if (texte.empty()) return {};
  const int n = MultiByteToWideChar(kPageTexte, 0, texte.data(), static_cast<int>(texte.size()),
                                    nullptr, 0);
  std::wstring large(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(kPageTexte, 0, texte.data(), static_cast<int>(texte.size()), large.data(), n);
  return large;
}

std::string Etroit(const wchar_t* texte, std::size_t longueur) {
  if (longueur == 0) return {};
  const int n = WideCharToMultiByte(kPageTexte, 0, texte, static_cast<int>(longueur), nullptr, 0,
                                    nullptr, nullptr);
  std::string etroit(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kPageTexte, 0, texte, static_cast<int>(longueur), etroit.data(), n, nullptr,
                      nullptr);
  return etroit;
}

std::string Etroit(const std::wstring& texte) { return Etroit(texte.data(), texte.size()); }

}  // namespace plat
