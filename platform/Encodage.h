// The program's text is UTF-8. These are its crossings to UTF-16 (the system's text and one
// form of the settings file) and to Windows-1252 (the settings file's other form).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plat {

// UTF-8 decoded as the system decodes it: a bad sequence becomes one U+FFFD for the bytes read
// up to the fault, and a sequence cut by the end swallows what is left. `fautes` tells whether
// any bad sequence was met; without one the text was strict UTF-8 (no overlong form, no
// surrogate, nothing above U+10FFFF).
std::u16string Utf16(std::string_view utf8, bool* fautes = nullptr);
// An unpaired surrogate becomes U+FFFD.
std::string Utf8(std::u16string_view utf16);
// The bytes of the UTF-16LE form, without a byte-order mark.
std::string OctetsUtf16LE(std::string_view utf8);

// Strict UTF-8 holding at least one character beyond ASCII: a file that can only be UTF-8.
bool EstUtf8MultiOctets(std::string_view octets);
// Bytes below 0x80 only: the same text in UTF-8 and Windows-1252.
bool EstAscii(std::string_view octets);

// Windows-1252 as the system reads it; the five bytes it leaves unused keep their own value,
// so that any file comes back byte for byte.
std::string Utf8DepuisCp1252(std::string_view octets);
// Nothing when a character has no Windows-1252 byte.
std::optional<std::string> Cp1252(std::string_view utf8);

// The bytes of the first character of a UTF-8 text (0 for an empty one), and that character.
std::size_t LongueurPremierCaractere(std::string_view utf8);
char32_t PremierCaractere(std::string_view utf8);

}  // namespace plat
