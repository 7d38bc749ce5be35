#include "platform/Encodage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace plat {

namespace {

// Windows-1252 bytes 0x80 to 0x9F.
constexpr char16_t kCp1252Haut[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kRemplacement = 0xFFFD;

// One character from octets[i], i moved past it; the system's rules for a bad sequence.
char32_t Decode(std::string_view octets, std::size_t& i, bool& faute) {
  static constexpr unsigned char kMasque[4] = {0x7F, 0x1F, 0x0F, 0x07};
  const std::size_t fin = octets.size();
  const unsigned char tete = static_cast<unsigned char>(octets[i++]);
  if (tete < 0x80) return tete;
  const unsigned suite = tete >= 0xC2 && tete < 0xE0 ? 1 : tete >= 0xE0 && tete < 0xF0 ? 2
                       : tete >= 0xF0 && tete < 0xF5 ? 3 : 0;
  std::uint32_t valeur = tete & kMasque[suite];
  if (suite > fin - i) {
    i = fin;
    faute = true;
    return kRemplacement;
  }
  bool bon = false;
  unsigned reste = suite;
  const std::size_t premier = i;
  while (reste > 0) {
    const unsigned b = static_cast<unsigned char>(octets[premier + suite - reste]) ^ 0x80u;
    if (b >= 0x40) break;
    valeur = (valeur << 6) | b;
    if (reste == 3) {
      ++i;
      if (valeur < 0x10) break;
    } else if (reste == 2) {
      if (valeur >= (0x110000 >> 6)) break;
      ++i;
      if (valeur < 0x20) break;
      if (valeur >= (0xD800 >> 6) && valeur <= (0xDFFF >> 6)) break;
    } else {
      ++i;
      bon = valeur >= 0x80;
    }
    --reste;
  }
  if (bon) return valeur;
  faute = true;
  return kRemplacement;
}

void Ajoute(std::u16string& r, char32_t c) {
  if (c > 0xFFFF) {
    c -= 0x10000;
    r.push_back(static_cast<char16_t>(0xD800 | (c >> 10)));
    r.push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
  } else {
    r.push_back(static_cast<char16_t>(c));
  }
}

void Ajoute(std::string& r, char32_t c) {
  if (c < 0x80) {
    r.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    r.push_back(static_cast<char>(0xC0 | (c >> 6)));
    r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    r.push_back(static_cast<char>(0xE0 | (c >> 12)));
    r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    r.push_back(static_cast<char>(0xF0 | (c >> 18)));
    r.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::u16string Utf16(std::string_view utf8, bool* fautes) {
  std::u16string r;
  r.reserve(utf8.size());
  bool faute = false;
  for (std::size_t i = 0; i < utf8.size();) Ajoute(r, Decode(utf8, i, faute));
  if (fautes) *fautes = faute;
  return r;
}

std::string Utf8(std::u16string_view utf16) {
  std::string r;
  r.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    else if (c >= 0xD800 && c <= 0xDFFF)
      c = kRemplacement;
    Ajoute(r, c);
  }
  return r;
}

std::string OctetsUtf16LE(std::string_view utf8) {
  const std::u16string unites = Utf16(utf8);
  std::string octets;
  octets.reserve(unites.size() * 2);
  for (char16_t u : unites) {
    octets.push_back(static_cast<char>(u & 0xFF));
    octets.push_back(static_cast<char>(u >> 8));
  }
  return octets;
}

bool EstUtf8MultiOctets(std::string_view octets) {
  bool faute = false, multi = false;
  for (std::size_t i = 0; i < octets.size() && !faute;) {
    // ASCII reads the same either way: passed over eight bytes at a time.
    if (i + 8 <= octets.size()) {
      std::uint64_t mot;
      std::memcpy(&mot, octets.data() + i, 8);
      if ((mot & 0x8080808080808080u) == 0) {
        i += 8;
        continue;
      }
    }
    const std::size_t debut = i;
    Decode(octets, i, faute);
    multi = multi || i - debut > 1;
  }
  return multi && !faute;
}

bool EstAscii(std::string_view octets) {
  // Most texts are: a loop without a branch, eight bytes at a time.
  std::uint64_t bits = 0;
  std::size_t i = 0;
  for (; i + 8 <= octets.size(); i += 8) {
    std::uint64_t mot;
    std::memcpy(&mot, octets.data() + i, 8);
    bits |= mot;
  }
  for (; i < octets.size(); ++i) bits |= static_cast<unsigned char>(octets[i]);
  return (bits & 0x8080808080808080u) == 0;
}

std::string Utf8DepuisCp1252(std::string_view octets) {
  // Most texts are ASCII, which stays as it is: copied in one piece.
  if (EstAscii(octets)) return std::string(octets);
  std::string r;
  r.reserve(octets.size() + octets.size() / 2);
  for (char o : octets) {
    const auto octet = static_cast<unsigned char>(o);
    Ajoute(r, octet >= 0x80 && octet < 0xA0 ? kCp1252Haut[octet - 0x80] : char32_t(octet));
  }
  return r;
}

std::optional<std::string> Cp1252(std::string_view utf8) {
  std::string r;
  r.reserve(utf8.size());
  bool faute = false;
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = Decode(utf8, i, faute);
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      r.push_back(static_cast<char>(c));
      continue;
    }
    const auto it = std::find(std::begin(kCp1252Haut), std::end(kCp1252Haut), c);
    if (it == std::end(kCp1252Haut)) return std::nullopt;
    r.push_back(static_cast<char>(0x80 + (it - std::begin(kCp1252Haut))));
  }
  if (faute) return std::nullopt;
  return r;
}

std::size_t LongueurPremierCaractere(std::string_view utf8) {
  if (utf8.empty()) return 0;
  std::size_t i = 0;
  bool faute = false;
  Decode(utf8, i, faute);
  return i;
}

char32_t PremierCaractere(std::string_view utf8) {
  if (utf8.empty()) return 0;
  std::size_t i = 0;
  bool faute = false;
  return Decode(utf8, i, faute);
}

}  // namespace plat
