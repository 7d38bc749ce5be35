// Windows-1252, the text of the program, and UTF-8, the text that other editors save.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plat {

// Windows-1252 bytes 0x80 to 0x9F as the system reads them; the five unused bytes keep their
// own value so that an ANSI file comes back byte for byte.
inline constexpr char16_t kCp1252Haut[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// A file saved as UTF-8 without a byte-order mark (Notepad's default), turned into the
// Windows-1252 text it stands for; a character outside Windows-1252 becomes "?". Nothing when
// the bytes are not all valid UTF-8 or hold no multi-byte sequence: an ANSI file with accents is
// never valid UTF-8, and a file with a byte-order mark is left to the reader, which decodes it.
std::optional<std::string> Cp1252DepuisUtf8(std::string_view octets);

// The first character of a program text (Windows-1252), 0 for an empty one.
char32_t PremierCaractere(std::string_view texte);

}  // namespace plat
