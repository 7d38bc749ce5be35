#include "platform/Encodage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

TEST(Encodage, Windows1252AllerEtRetour) {
  // Text, then its Windows-1252 bytes; the five bytes the code page leaves unused come back.
  const std::pair<std::string, std::string> cas[] = {
      {"Exécutable = é", "Ex\xE9" "cutable = \xE9"},
      {"€ Œ œ Ÿ ‚ ™", "\x80 \x8C \x9C \x9F \x82 \x99"},
      {"\xC2\x81\xC2\xA0\xC3\xBF", "\x81\xA0\xFF"},
      {std::string("\0é\0", 4), std::string("\0\xE9\0", 3)},
  };
  for (const auto& [texte, octets] : cas) {
    EXPECT_EQ(plat::Cp1252(texte), octets) << texte;
    EXPECT_EQ(plat::Utf8DepuisCp1252(octets), texte) << texte;
  }
  for (const char* hors : {"Ā", "Łódź", "中", "😀", "\uFFFD"})
    EXPECT_EQ(plat::Cp1252(hors), std::nullopt) << hors;
}

TEST(Encodage, Utf16CommeLeSysteme) {
  EXPECT_EQ(plat::Utf16("aé€😀"), u"aé€😀");
  EXPECT_EQ(plat::Utf8(u"aé€😀"), "aé€😀");
  EXPECT_EQ(plat::Utf8(std::u16string(u"a\xD800z")), "a\uFFFDz") << "an unpaired surrogate";
  EXPECT_EQ(plat::OctetsUtf16LE("é😀"), std::string("\xE9\0\x3D\xD8\x00\xDE", 6));
  // A bad sequence is one U+FFFD up to the fault; one cut by the end swallows the rest.
  bool fautes = false;
  EXPECT_EQ(plat::Utf16("a\xC3(b\xE2\x82", &fautes), u"a\uFFFD(b\uFFFD");
  EXPECT_TRUE(fautes);
  EXPECT_EQ(plat::Utf16("\uFFFD", &fautes), u"\uFFFD");
  EXPECT_FALSE(fautes) << "a U+FFFD of its own is no fault";
}

TEST(Encodage, SeulDeLUtf8StrictEtMultiOctetsEstDeLUtf8) {
  // Past runs of ASCII longer than a word too.
  for (const char* oui : {"Menu = é", "€", "a😀", "[1]\r\nMenu = Jeux vidéo\r\n"})
    EXPECT_TRUE(plat::EstUtf8MultiOctets(oui)) << oui;
  for (const std::string non : {
           "", "[1]\r\nMenu = a\r\n",                          // nothing beyond ASCII
           "Ex\xE9" "cutable = a",                             // Windows-1252
           "\xC3\xA9\xC0\x80", "\xC3\xA9\xE0\x80\x80", "\xC3\xA9\xF0\x80\x80\x80",  // overlong
           "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",  // surrogate, beyond U+10FFFF
           "\xC3\xA9\xC3", "\xE2\x82", "\xC3\xA9\x80", "\xC3\x28",  // cut, stray, bad follower
           "[1]\r\nMenu = é\r\nItem = Jeux vid\xE9o", "Menu = é\r\nTouche = \xC3",
       })
    EXPECT_FALSE(plat::EstUtf8MultiOctets(non)) << non;
}

TEST(Encodage, PremierCaractere) {
  const struct {
    const char* texte;
    std::size_t octets;
    char32_t caractere;
  } cas[] = {{"", 0, 0}, {"K", 1, 'K'}, {"éa", 2, U'é'}, {"€", 3, U'€'}, {"😀x", 4, U'😀'}};
  for (const auto& c : cas) {
    EXPECT_EQ(plat::LongueurPremierCaractere(c.texte), c.octets) << c.texte;
    EXPECT_EQ(plat::PremierCaractere(c.texte), c.caractere) << c.texte;
  }
}
