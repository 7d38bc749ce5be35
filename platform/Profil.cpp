// Our reader of settings files: one pass over the bytes, then every answer from memory.
// The rules are those measured on GetPrivateProfileStringA under Wine 8 (see tests/diff).
#include "platform/Profil.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/Encodage.h"

namespace plat {

namespace {

struct Approche {
  char16_t unicode;
  unsigned char octet;
};

// The system's nearest Windows-1252 byte for characters outside the code page (read from
// WideCharToMultiByte under Wine); everything else becomes "?".
constexpr Approche kApproches[] = {
    {0x0100, 0x41}, {0x0101, 0x61}, {0x0102, 0x41}, {0x0103, 0x61}, {0x0104, 0x41}, {0x0105, 0x61},
    {0x0106, 0x43}, {0x0107, 0x63}, {0x0108, 0x43}, {0x0109, 0x63}, {0x010A, 0x43}, {0x010B, 0x63},
    {0x010C, 0x43}, {0x010D, 0x63}, {0x010E, 0x44}, {0x010F, 0x64}, {0x0110, 0xD0}, {0x0111, 0x64},
    {0x0112, 0x45}, {0x0113, 0x65}, {0x0114, 0x45}, {0x0115, 0x65}, {0x0116, 0x45}, {0x0117, 0x65},
    {0x0118, 0x45}, {0x0119, 0x65}, {0x011A, 0x45}, {0x011B, 0x65}, {0x011C, 0x47}, {0x011D, 0x67},
    {0x011E, 0x47}, {0x011F, 0x67}, {0x0120, 0x47}, {0x0121, 0x67}, {0x0122, 0x47}, {0x0123, 0x67},
    {0x0124, 0x48}, {0x0125, 0x68}, {0x0126, 0x48}, {0x0127, 0x68}, {0x0128, 0x49}, {0x0129, 0x69},
    {0x012A, 0x49}, {0x012B, 0x69}, {0x012C, 0x49}, {0x012D, 0x69}, {0x012E, 0x49}, {0x012F, 0x69},
    {0x0130, 0x49}, {0x0131, 0x69}, {0x0134, 0x4A}, {0x0135, 0x6A}, {0x0136, 0x4B}, {0x0137, 0x6B},
    {0x0139, 0x4C}, {0x013A, 0x6C}, {0x013B, 0x4C}, {0x013C, 0x6C}, {0x013D, 0x4C}, {0x013E, 0x6C},
    {0x0141, 0x4C}, {0x0142, 0x6C}, {0x0143, 0x4E}, {0x0144, 0x6E}, {0x0145, 0x4E}, {0x0146, 0x6E},
    {0x0147, 0x4E}, {0x0148, 0x6E}, {0x014C, 0x4F}, {0x014D, 0x6F}, {0x014E, 0x4F}, {0x014F, 0x6F},
    {0x0150, 0x4F}, {0x0151, 0x6F}, {0x0154, 0x52}, {0x0155, 0x72}, {0x0156, 0x52}, {0x0157, 0x72},
    {0x0158, 0x52}, {0x0159, 0x72}, {0x015A, 0x53}, {0x015B, 0x73}, {0x015C, 0x53}, {0x015D, 0x73},
    {0x015E, 0x53}, {0x015F, 0x73}, {0x0162, 0x54}, {0x0163, 0x74}, {0x0164, 0x54}, {0x0165, 0x74},
    {0x0166, 0x54}, {0x0167, 0x74}, {0x0168, 0x55}, {0x0169, 0x75}, {0x016A, 0x55}, {0x016B, 0x75},
    {0x016C, 0x55}, {0x016D, 0x75}, {0x016E, 0x55}, {0x016F, 0x75}, {0x0170, 0x55}, {0x0171, 0x75},
    {0x0172, 0x55}, {0x0173, 0x75}, {0x0174, 0x57}, {0x0175, 0x77}, {0x0176, 0x59}, {0x0177, 0x79},
    {0x0179, 0x5A}, {0x017A, 0x7A}, {0x017B, 0x5A}, {0x017C, 0x7A}, {0x0180, 0x62}, {0x0189, 0xD0},
    {0x0191, 0x83}, {0x0197, 0x49}, {0x019A, 0x6C}, {0x019F, 0x4F}, {0x01A0, 0x4F}, {0x01A1, 0x6F},
    {0x01AB, 0x74}, {0x01AE, 0x54}, {0x01AF, 0x55}, {0x01B0, 0x75}, {0x01B6, 0x7A}, {0x01C0, 0x7C},
    {0x01C3, 0x21}, {0x01CD, 0x41}, {0x01CE, 0x61}, {0x01CF, 0x49}, {0x01D0, 0x69}, {0x01D1, 0x4F},
    {0x01D2, 0x6F}, {0x01D3, 0x55}, {0x01D4, 0x75}, {0x01D5, 0x55}, {0x01D6, 0x75}, {0x01D7, 0x55},
    {0x01D8, 0x75}, {0x01D9, 0x55}, {0x01DA, 0x75}, {0x01DB, 0x55}, {0x01DC, 0x75}, {0x01DE, 0x41},
    {0x01DF, 0x61}, {0x01E4, 0x47}, {0x01E5, 0x67}, {0x01E6, 0x47}, {0x01E7, 0x67}, {0x01E8, 0x4B},
    {0x01E9, 0x6B}, {0x01EA, 0x4F}, {0x01EB, 0x6F}, {0x01EC, 0x4F}, {0x01ED, 0x6F}, {0x01F0, 0x6A},
    {0x0261, 0x67}, {0x02B9, 0x27}, {0x02BA, 0x22}, {0x02BC, 0x27}, {0x02C4, 0x5E}, {0x02C8, 0x27},
    {0x02C9, 0xAF}, {0x02CA, 0xB4}, {0x02CB, 0x60}, {0x02CD, 0x5F}, {0x02DA, 0xB0}, {0x0300, 0x60},
    {0x0301, 0xB4}, {0x0302, 0x5E}, {0x0303, 0x7E}, {0x0304, 0xAF}, {0x0305, 0xAF}, {0x0308, 0xA8},
    {0x030A, 0xB0}, {0x030E, 0x22}, {0x0327, 0xB8}, {0x0331, 0x5F}, {0x0332, 0x5F}, {0x037E, 0x3B},
    {0x0393, 0x47}, {0x0398, 0x54}, {0x03A3, 0x53}, {0x03A6, 0x46}, {0x03A9, 0x4F}, {0x03B1, 0x61},
    {0x03B2, 0xDF}, {0x03B4, 0x64}, {0x03B5, 0x65}, {0x03BC, 0xB5}, {0x03C0, 0x70}, {0x03C3, 0x73},
    {0x03C4, 0x74}, {0x03C6, 0x66}, {0x04BB, 0x68}, {0x0589, 0x3A}, {0x066A, 0x25}, {0x2000, 0x20},
    {0x2001, 0x20}, {0x2002, 0x20}, {0x2003, 0x20}, {0x2004, 0x20}, {0x2005, 0x20}, {0x2006, 0x20},
    {0x2010, 0x2D}, {0x2011, 0x2D}, {0x2017, 0x3D}, {0x2024, 0xB7}, {0x2032, 0x27}, {0x2035, 0x60},
    {0x2044, 0x2F}, {0x2070, 0xB0}, {0x2074, 0x34}, {0x2075, 0x35}, {0x2076, 0x36}, {0x2077, 0x37},
    {0x2078, 0x38}, {0x207F, 0x6E}, {0x2080, 0x30}, {0x2081, 0x31}, {0x2082, 0x32}, {0x2083, 0x33},
    {0x2084, 0x34}, {0x2085, 0x35}, {0x2086, 0x36}, {0x2087, 0x37}, {0x2088, 0x38}, {0x2089, 0x39},
    {0x20A1, 0xA2}, {0x20A4, 0xA3}, {0x20A7, 0x50}, {0x2102, 0x43}, {0x2107, 0x45}, {0x210A, 0x67},
    {0x210B, 0x48}, {0x210C, 0x48}, {0x210D, 0x48}, {0x210E, 0x68}, {0x2110, 0x49}, {0x2111, 0x49},
    {0x2112, 0x4C}, {0x2113, 0x6C}, {0x2115, 0x4E}, {0x2118, 0x50}, {0x2119, 0x50}, {0x211A, 0x51},
    {0x211B, 0x52}, {0x211C, 0x52}, {0x211D, 0x52}, {0x2124, 0x5A}, {0x2128, 0x5A}, {0x212A, 0x4B},
    {0x212B, 0xC5}, {0x212C, 0x42}, {0x212D, 0x43}, {0x212E, 0x65}, {0x212F, 0x65}, {0x2130, 0x45},
    {0x2131, 0x46}, {0x2133, 0x4D}, {0x2134, 0x6F}, {0x2205, 0xD8}, {0x2212, 0x2D}, {0x2213, 0xB1},
    {0x2215, 0x2F}, {0x2216, 0x5C}, {0x2217, 0x2A}, {0x2218, 0xB0}, {0x2219, 0xB7}, {0x221A, 0x76},
    {0x221E, 0x38}, {0x2223, 0x7C}, {0x2229, 0x6E}, {0x2236, 0x3A}, {0x223C, 0x7E}, {0x2248, 0x98},
    {0x2261, 0x3D}, {0x2264, 0x3D}, {0x2265, 0x3D}, {0x226A, 0xAB}, {0x226B, 0xBB}, {0x22C5, 0xB7},
    {0x2302, 0xA6}, {0x2303, 0x5E}, {0x2310, 0xAC}, {0x2320, 0x28}, {0x2321, 0x29}, {0x2329, 0x3C},
    {0x232A, 0x3E}, {0x2500, 0x2D}, {0x2502, 0xA6}, {0x250C, 0x2B}, {0x2510, 0x2B}, {0x2514, 0x2B},
    {0x2518, 0x2B}, {0x251C, 0x2B}, {0x2524, 0xA6}, {0x252C, 0x2D}, {0x2534, 0x2D}, {0x253C, 0x2B},
    {0x2550, 0x2D}, {0x2551, 0xA6}, {0x2552, 0x2B}, {0x2553, 0x2B}, {0x2554, 0x2B}, {0x2555, 0x2B},
    {0x2556, 0x2B}, {0x2557, 0x2B}, {0x2558, 0x2B}, {0x2559, 0x2B}, {0x255A, 0x2B}, {0x255B, 0x2B},
    {0x255C, 0x2B}, {0x255D, 0x2B}, {0x255E, 0xA6}, {0x255F, 0xA6}, {0x2560, 0xA6}, {0x2561, 0xA6},
    {0x2562, 0xA6}, {0x2563, 0xA6}, {0x2564, 0x2D}, {0x2565, 0x2D}, {0x2566, 0x2D}, {0x2567, 0x2D},
    {0x2568, 0x2D}, {0x2569, 0x2D}, {0x256A, 0x2B}, {0x256B, 0x2B}, {0x256C, 0x2B}, {0x2580, 0xAF},
    {0x2584, 0x5F}, {0x2588, 0xA6}, {0x258C, 0xA6}, {0x2590, 0xA6}, {0x2591, 0xA6}, {0x2592, 0xA6},
    {0x2593, 0xA6}, {0x25A0, 0xA6}, {0x263C, 0xA4}, {0x2758, 0x7C}, {0x3000, 0x20}, {0x3008, 0x3C},
    {0x3009, 0x3E}, {0x300A, 0xAB}, {0x300B, 0xBB}, {0x301A, 0x5B}, {0x301B, 0x5D}, {0x30FB, 0xB7},
    {0xFF01, 0x21}, {0xFF02, 0x22}, {0xFF03, 0x23}, {0xFF04, 0x24}, {0xFF05, 0x25}, {0xFF06, 0x26},
    {0xFF07, 0x27}, {0xFF08, 0x28}, {0xFF09, 0x29}, {0xFF0A, 0x2A}, {0xFF0B, 0x2B}, {0xFF0C, 0x2C},
    {0xFF0D, 0x2D}, {0xFF0E, 0x2E}, {0xFF0F, 0x2F}, {0xFF10, 0x30}, {0xFF11, 0x31}, {0xFF12, 0x32},
    {0xFF13, 0x33}, {0xFF14, 0x34}, {0xFF15, 0x35}, {0xFF16, 0x36}, {0xFF17, 0x37}, {0xFF18, 0x38},
    {0xFF19, 0x39}, {0xFF1A, 0x3A}, {0xFF1B, 0x3B}, {0xFF1C, 0x3C}, {0xFF1D, 0x3D}, {0xFF1E, 0x3E},
    {0xFF20, 0x40}, {0xFF21, 0x41}, {0xFF22, 0x42}, {0xFF23, 0x43}, {0xFF24, 0x44}, {0xFF25, 0x45},
    {0xFF26, 0x46}, {0xFF27, 0x47}, {0xFF28, 0x48}, {0xFF29, 0x49}, {0xFF2A, 0x4A}, {0xFF2B, 0x4B},
    {0xFF2C, 0x4C}, {0xFF2D, 0x4D}, {0xFF2E, 0x4E}, {0xFF2F, 0x4F}, {0xFF30, 0x50}, {0xFF31, 0x51},
    {0xFF32, 0x52}, {0xFF33, 0x53}, {0xFF34, 0x54}, {0xFF35, 0x55}, {0xFF36, 0x56}, {0xFF37, 0x57},
    {0xFF38, 0x58}, {0xFF39, 0x59}, {0xFF3A, 0x5A}, {0xFF3B, 0x5B}, {0xFF3C, 0x5C}, {0xFF3D, 0x5D},
    {0xFF3E, 0x5E}, {0xFF3F, 0x5F}, {0xFF40, 0x60}, {0xFF41, 0x61}, {0xFF42, 0x62}, {0xFF43, 0x63},
    {0xFF44, 0x64}, {0xFF45, 0x65}, {0xFF46, 0x66}, {0xFF47, 0x67}, {0xFF48, 0x68}, {0xFF49, 0x69},
    {0xFF4A, 0x6A}, {0xFF4B, 0x6B}, {0xFF4C, 0x6C}, {0xFF4D, 0x6D}, {0xFF4E, 0x6E}, {0xFF4F, 0x6F},
    {0xFF50, 0x70}, {0xFF51, 0x71}, {0xFF52, 0x72}, {0xFF53, 0x73}, {0xFF54, 0x74}, {0xFF55, 0x75},
    {0xFF56, 0x76}, {0xFF57, 0x77}, {0xFF58, 0x78}, {0xFF59, 0x79}, {0xFF5A, 0x7A}, {0xFF5B, 0x7B},
    {0xFF5C, 0x7C}, {0xFF5D, 0x7D}, {0xFF5E, 0x7E},
};

char16_t VersUnicode(unsigned char octet) {
  return octet >= 0x80 && octet < 0xA0 ? kCp1252Haut[octet - 0x80] : char16_t(octet);
}

unsigned char VersCp1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (int i = 0; i < 32; ++i)
    if (kCp1252Haut[i] == c) return static_cast<unsigned char>(0x80 + i);
  auto it = std::lower_bound(std::begin(kApproches), std::end(kApproches), c,
                             [](const Approche& a, char16_t u) { return a.unicode < u; });
  if (it != std::end(kApproches) && it->unicode == c) return it->octet;
  return '?';
}

std::string VersTexte(std::u16string_view s) {
  std::string r;
  r.reserve(s.size());
  for (char16_t c : s) r.push_back(static_cast<char>(VersCp1252(c)));
  return r;
}

// An ANSI file is read in its own bytes, every rule below being about ASCII; a file with an
// encoding mark is decoded to UTF-16 first. `C` is the unit of the text read.
template <class C>
using VueDe = std::basic_string_view<C>;
template <class C>
using ChaineDe = std::basic_string<C>;

template <class C>
C Unite(unsigned char octet);
template <>
char Unite<char>(unsigned char octet) {
  return static_cast<char>(octet);
}
template <>
char16_t Unite<char16_t>(unsigned char octet) {
  return VersUnicode(octet);
}

std::string Octets(std::string_view s) { return std::string(s); }
std::string Octets(std::u16string_view s) { return VersTexte(s); }

// Names compare without case for the letters A to Z only: the system matches neither "é"
// with "É" nor "š" with "Š".
template <class C>
C Minuscule(C c) {
  return c >= 'A' && c <= 'Z' ? static_cast<C>(c + 0x20) : c;
}

template <class C>
bool EstBlanc(C c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A;
}

template <class C>
VueDe<C> Rogne(VueDe<C> s) {
  std::size_t debut = 0, fin = s.size();
  while (debut < fin && EstBlanc(s[debut])) ++debut;
  while (fin > debut && EstBlanc(s[fin - 1])) --fin;
  return s.substr(debut, fin - debut);
}

// The system keeps names and values as zero-terminated strings: a zero byte ends them.
template <class C>
VueDe<C> JusquAuZero(VueDe<C> s) {
  return s.substr(0, s.find(C(0)));
}

template <class C>
bool MemeNom(VueDe<C> lu, const ChaineDe<C>& replie) {
  if (lu.size() != replie.size()) return false;
  for (std::size_t i = 0; i < lu.size(); ++i)
    if (Minuscule(lu[i]) != replie[i]) return false;
  return true;
}

// A name asked for, as the system compares it: up to its zero byte, without the blanks at its
// ends, folded.
template <class C>
ChaineDe<C> NomCherche(std::string_view s) {
  std::size_t fin = std::min(s.size(), s.find('\0'));
  std::size_t debut = 0;
  auto unite = [&](std::size_t i) { return Unite<C>(static_cast<unsigned char>(s[i])); };
  while (debut < fin && EstBlanc(unite(debut))) ++debut;
  while (fin > debut && EstBlanc(unite(fin - 1))) --fin;
  ChaineDe<C> r;
  r.reserve(fin - debut);
  for (std::size_t i = debut; i < fin; ++i) r.push_back(Minuscule(unite(i)));
  return r;
}

// UTF-8 as the system decodes it: a bad sequence becomes one U+FFFD for the bytes read up to
// the fault, and a sequence cut by the end of the file swallows what is left.
std::u16string DepuisUtf8(std::string_view octets, std::size_t debut) {
  static constexpr unsigned char kMasque[4] = {0x7F, 0x1F, 0x0F, 0x07};
  std::u16string r;
  r.reserve(octets.size() - debut);
  const std::size_t fin = octets.size();
  std::size_t i = debut;
  while (i < fin) {
    const unsigned char tete = static_cast<unsigned char>(octets[i++]);
    if (tete < 0x80) {
      r.push_back(tete);
      continue;
    }
    const unsigned suite = tete >= 0xC2 && tete < 0xE0 ? 1 : tete >= 0xE0 && tete < 0xF0 ? 2
                         : tete >= 0xF0 && tete < 0xF5 ? 3 : 0;
    std::uint32_t valeur = tete & kMasque[suite];
    if (suite > fin - i) {
      i = fin;
      r.push_back(0xFFFD);
      continue;
    }
    auto octetSuite = [&](std::size_t k) { return static_cast<unsigned char>(octets[k]) ^ 0x80u; };
    bool bon = false;
    unsigned reste = suite;
    const std::size_t premier = i;
    while (reste > 0) {
      const unsigned b = octetSuite(premier + suite - reste);
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
    if (!bon) {
      r.push_back(0xFFFD);
    } else if (valeur > 0xFFFF) {
      valeur -= 0x10000;
      r.push_back(static_cast<char16_t>(0xD800 | (valeur >> 10)));
      r.push_back(static_cast<char16_t>(0xDC00 | (valeur & 0x3FF)));
    } else {
      r.push_back(static_cast<char16_t>(valeur));
    }
  }
  return r;
}

std::u16string DepuisUtf16(std::string_view octets, bool grosBoutiste) {
  std::u16string r;
  r.reserve(octets.size() / 2);
  for (std::size_t i = 2; i + 1 < octets.size(); i += 2) {
    const auto a = static_cast<unsigned char>(octets[i]);
    const auto b = static_cast<unsigned char>(octets[i + 1]);
    r.push_back(static_cast<char16_t>(grosBoutiste ? (a << 8) | b : (b << 8) | a));
  }
  return r;
}

bool AMarque(std::string_view octets) {
  return octets.substr(0, 3) == "\xEF\xBB\xBF" || octets.substr(0, 2) == "\xFF\xFE" ||
         octets.substr(0, 2) == "\xFE\xFF";
}

std::u16string Decode(std::string_view octets) {
  if (octets.substr(0, 3) == "\xEF\xBB\xBF") return DepuisUtf8(octets, 3);
  return DepuisUtf16(octets, octets[0] == '\xFE');
}

// What the system copies into a buffer of `taille` characters: one pair of matching quotes
// dropped, then cut to taille - 1 characters.
template <class C>
std::string Copie(VueDe<C> v, std::size_t taille) {
  if (taille == 0) return {};
  const bool guillemets = v.size() > 1 && (v[0] == C('"') || v[0] == C('\'')) && v.back() == v[0];
  if (guillemets) v.remove_prefix(1);
  VueDe<C> r = v.substr(0, taille - 1);
  // Like the system, the closing quote is dropped only when the whole value fitted.
  if (guillemets && taille >= v.size() && !r.empty()) r.remove_suffix(1);
  return Octets(r);
}

// The default loses its trailing spaces, and its quotes like a value.
std::string Defaut(std::string_view defaut, std::size_t taille) {
  std::string_view d = JusquAuZero(defaut);
  while (d.size() > 1 && d.back() == ' ') d.remove_suffix(1);
  return Copie(d, taille);
}

// One line as the system reads it: a header's name, or a key and its value (none for a line
// without "=").
template <class C>
struct Ligne {
  bool entete = false;
  VueDe<C> nom;
  std::optional<VueDe<C>> valeur;
};

// Hands each line that is not blank to `suite`, until it returns false. Nothing is kept: the
// lines are views of the text.
template <class C, class Suite>
void Parcours(VueDe<C> texte, Suite&& suite) {
  std::size_t debut = 0;
  while (debut < texte.size()) {
    std::size_t fin = debut;
    while (fin < texte.size() && texte[fin] != C('\r') && texte[fin] != C('\n')) ++fin;
    const VueDe<C> ligne = Rogne(texte.substr(debut, fin - debut));
    debut = fin + 1;
    if (ligne.empty()) continue;
    Ligne<C> l;
    const std::size_t crochet = ligne[0] == C('[') ? ligne.rfind(C(']')) : VueDe<C>::npos;
    if (crochet != VueDe<C>::npos) {
      l.entete = true;
      l.nom = JusquAuZero(Rogne(ligne.substr(1, crochet - 1)));
    } else if (const std::size_t egal = ligne.find(C('=')); egal == VueDe<C>::npos) {
      l.nom = JusquAuZero(ligne);
    } else {
      l.nom = JusquAuZero(Rogne(ligne.substr(0, egal)));
      l.valeur = JusquAuZero(Rogne(ligne.substr(egal + 1)));
    }
    if (!suite(l)) return;
  }
}

template <class C>
std::vector<std::string> Noms(VueDe<C> texte, std::size_t taille) {
  std::vector<std::string> noms;
  if (taille == 0) return noms;
  std::size_t place = taille - 1;
  Parcours(texte, [&](const Ligne<C>& l) {
    if (!l.entete || l.nom.empty()) return true;
    if (l.nom.size() + 1 >= place) {
      // The system ends the list with a cut name and leaves the buffer's last byte alone;
      // the walk stops at the buffer's end instead of reading past it.
      if (place > 1) noms.push_back(Octets(l.nom.substr(0, place - 1)));
      return false;
    }
    noms.push_back(Octets(l.nom));
    place -= l.nom.size() + 1;
    return true;
  });
  return noms;
}

// A folded name's hash, taken on the text read without copying it.
template <class C>
std::uint64_t Empreinte(VueDe<C> nom) {
  std::uint64_t h = 14695981039346656037u;
  for (C c : nom) h = (h ^ static_cast<std::uint64_t>(Minuscule(c))) * 1099511628211u;
  return h;
}

// Only the first section of a name is read, and in it only the first line of a key. The walk
// ends once no answer can change any more.
template <class C>
std::vector<std::string> Reponses(VueDe<C> texte, const std::vector<Profil::Question>& questions) {
  // The keys asked for, grouped by section in one array: [debut, debut + ouvertes) are those
  // still without an answer.
  struct Attendue {
    ChaineDe<C> cle;
    std::size_t question;
  };
  struct Section {
    ChaineDe<C> nom;
    std::size_t debut = 0;
    std::size_t ouvertes = 0;
    bool vue = false;
  };
  std::vector<Section> sections;
  std::unordered_multimap<std::uint64_t, std::size_t> parEmpreinte;
  auto cherche = [&](VueDe<C> nom) -> Section* {
    const auto [debut, fin] = parEmpreinte.equal_range(Empreinte(nom));
    for (auto it = debut; it != fin; ++it)
      if (MemeNom(nom, sections[it->second].nom)) return &sections[it->second];
    return nullptr;
  };
  std::vector<std::size_t> sectionDe(questions.size());
  for (std::size_t i = 0; i < questions.size(); ++i) {
    ChaineDe<C> nom = NomCherche<C>(questions[i].section);
    Section* s = cherche(nom);
    if (s == nullptr) {
      parEmpreinte.emplace(Empreinte(VueDe<C>(nom)), sections.size());
      s = &sections.emplace_back(Section{std::move(nom)});
    }
    ++s->ouvertes;
    sectionDe[i] = static_cast<std::size_t>(s - sections.data());
  }
  std::size_t place = 0;
  for (Section& s : sections) {
    s.debut = place;
    place += s.ouvertes;
    s.ouvertes = 0;
  }
  std::vector<Attendue> attendues(questions.size());
  for (std::size_t i = 0; i < questions.size(); ++i) {
    Section& s = sections[sectionDe[i]];
    attendues[s.debut + s.ouvertes++] = {NomCherche<C>(questions[i].cle), i};
  }

  std::vector<std::optional<VueDe<C>>> trouvees(questions.size());
  std::size_t ouvertes = questions.size();
  Section* courante = nullptr;
  auto entre = [&](VueDe<C> nom) {
    if (courante != nullptr) {
      ouvertes -= courante->ouvertes;
      courante->ouvertes = 0;
    }
    courante = cherche(nom);
    if (courante != nullptr && courante->vue) courante = nullptr;
    if (courante != nullptr) courante->vue = true;
  };
  entre({});  // the lines before the first header belong to a section with no name
  if (ouvertes > 0)
    Parcours(texte, [&](const Ligne<C>& l) {
      if (l.entete) {
        entre(l.nom);
      } else if (courante != nullptr) {
        Attendue* cles = &attendues[courante->debut];
        for (std::size_t k = 0; k < courante->ouvertes;) {
          if (!MemeNom(l.nom, cles[k].cle)) {
            ++k;
            continue;
          }
          trouvees[cles[k].question] = l.valeur;
          std::swap(cles[k], cles[--courante->ouvertes]);
          --ouvertes;
        }
      }
      return ouvertes > 0;
    });
  std::vector<std::string> reponses;
  reponses.reserve(questions.size());
  for (std::size_t i = 0; i < questions.size(); ++i)
    reponses.push_back(trouvees[i] ? Copie(*trouvees[i], questions[i].taille)
                                   : Defaut(questions[i].defaut, questions[i].taille));
  return reponses;
}

}  // namespace

Profil::Profil(const std::string& contenu) : octets_(contenu), unicode_(AMarque(octets_)) {
  if (unicode_) texte_ = Decode(octets_);
}

Profil::Profil(std::string&& contenu)
    : propres_(std::move(contenu)), octets_(propres_), unicode_(AMarque(octets_)) {
  if (unicode_) texte_ = Decode(octets_);
}

std::vector<std::string> Profil::NomsDeSections(std::size_t taille) const {
  if (unicode_) return Noms(std::u16string_view(texte_), taille);
  return Noms(octets_, taille);
}

std::string Profil::Valeur(std::string_view section, std::string_view cle, std::string_view defaut,
                           std::size_t taille) const {
  return Valeurs({{section, cle, defaut, taille}}).front();
}

std::vector<std::string> Profil::Valeurs(const std::vector<Question>& questions) const {
  if (unicode_) return Reponses(std::u16string_view(texte_), questions);
  return Reponses(octets_, questions);
}

}  // namespace plat
