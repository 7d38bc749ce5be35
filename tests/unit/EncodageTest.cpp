#include "platform/Encodage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using plat::Cp1252DepuisUtf8;

TEST(Cp1252DepuisUtf8, UnFichierUtf8DevientWindows1252) {
  const std::pair<std::string, std::string> cas[] = {
      {u8"Exécutable = é", "Ex\xE9" "cutable = \xE9"},
      {u8"€ Œ œ Ÿ ‚ ™", "\x80 \x8C \x9C \x9F \x82 \x99"},
      {"\xC2\x81\xC2\xA0\xC3\xBF", "\x81\xA0\xFF"},  // the unused bytes come back as they were
      {u8"\u0100 中 😀 \uFFFD", "? ? ? ?"},
      {std::string("\0\xC3\xA9\0", 4), std::string("\0\xE9\0", 3)},
  };
  for (const auto& [utf8, cp1252] : cas) EXPECT_EQ(Cp1252DepuisUtf8(utf8), cp1252) << utf8;
}

TEST(Cp1252DepuisUtf8, CeQuiNEstPasDeLUtf8MultiOctetsResteAuLecteur) {
  for (const std::string octets : {
           "", "[1]\r\nMenu = a\r\n",                 // nothing to decode
           "Ex\xE9" "cutable = a",                    // Windows-1252
           "\xEF\xBB\xBF[1]\r\nMenu = \xC3\xA9",      // a byte-order mark: the reader's own
           "\xFF\xFE[",                              // UTF-16
           "\xC3\xA9\xC0\x80", "\xC3\xA9\xE0\x80\x80", "\xC3\xA9\xF0\x80\x80\x80",  // overlong
           "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",  // surrogate, beyond U+10FFFF
           "\xC3\xA9\xC3", "\xE2\x82", "\xC3\xA9\x80", "\xC3\x28",  // cut, stray, bad follower
       })
    EXPECT_EQ(Cp1252DepuisUtf8(octets), std::nullopt) << octets;
}
