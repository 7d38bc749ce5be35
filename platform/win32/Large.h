// The one crossing between the program's text and the system's UTF-16 (Windows only).
#pragma once

#include <string>

namespace plat {

std::wstring Large(const std::string& texte);
std::string Etroit(const std::wstring& texte);
std::string Etroit(const wchar_t* texte, std::size_t longueur);

}  // namespace plat
