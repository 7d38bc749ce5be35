#include "platform/Encodage.h"

#include <algorithm>
#include <iterator>

namespace plat {

namespace {

char VersCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  const auto it = std::find(std::begin(kCp1252Haut), std::end(kCp1252Haut), c);
  return it != std::end(kCp1252Haut) ? static_cast<char>(0x80 + (it - std::begin(kCp1252Haut)))
                                     : '?';
}

// Walks the bytes as strict UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF),
// appending each character to `sortie` when there is one. False at the first fault.
bool Parcourt(std::string_view octets, bool& multiOctets, std::string* sortie) {
  multiOctets = false;
  std::size_t i = 0;
  while (i < octets.size()) {
    const unsigned char tete = static_cast<unsigned char>(octets[i]);
    unsigned suite = 0;
    char32_t valeur = tete;
    unsigned char min = 0x80, max = 0xBF;  // the second byte's range
    if (tete >= 0xC2 && tete <= 0xDF) {
      suite = 1;
      valeur = tete & 0x1F;
    } else if (tete >= 0xE0 && tete <= 0xEF) {
      suite = 2;
      valeur = tete & 0x0F;
      if (tete == 0xE0) min = 0xA0;
      if (tete == 0xED) max = 0x9F;
    } else if (tete >= 0xF0 && tete <= 0xF4) {
      suite = 3;
      valeur = tete & 0x07;
      if (tete == 0xF0) min = 0x90;
      if (tete == 0xF4) max = 0x8F;
    } else if (tete >= 0x80) {
      return false;
    }
    if (octets.size() - i - 1 < suite) return false;
    for (unsigned k = 1; k <= suite; ++k) {
      const unsigned char b = static_cast<unsigned char>(octets[i + k]);
      if (b < (k == 1 ? min : 0x80) || b > (k == 1 ? max : 0xBF)) return false;
      valeur = (valeur << 6) | (b & 0x3F);
    }
    multiOctets = multiOctets || suite > 0;
    if (sortie) sortie->push_back(VersCp1252(valeur));
    i += suite + 1;
  }
  return true;
}

}  // namespace

std::optional<std::string> Cp1252DepuisUtf8(std::string_view octets) {
  if (octets.substr(0, 3) == "\xEF\xBB\xBF") return std::nullopt;
  bool multiOctets = false;
  // Checked first, so that an ANSI file costs no copy.
  if (!Parcourt(octets, multiOctets, nullptr) || !multiOctets) return std::nullopt;
  std::string texte;
  texte.reserve(octets.size());
  Parcourt(octets, multiOctets, &texte);
  return texte;
}

char32_t PremierCaractere(std::string_view texte) {
  if (texte.empty()) return 0;
  const auto octet = static_cast<unsigned char>(texte[0]);
  return octet >= 0x80 && octet < 0xA0 ? kCp1252Haut[octet - 0x80] : char32_t(octet);
}

}  // namespace plat
