// Runs our settings reader and GetPrivateProfileStringA on the same awkward files and checks
// that the launcher would read the same shortcuts either way; and reads what the launcher writes
// both ways. Our reader's texts are UTF-8: they are compared in the form the system's ANSI
// function gives them for that file.

#include "app/Declars.h"
#include "platform/Encodage.h"
#include "platform/Profil.h"
#include "platform/portable/PlateformePortable.h"
#include "support/FichierIni.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Fichier {
  std::string nom;
  std::optional<std::string> octets;  // none: the file does not exist
};

template <std::size_t N>
std::string Octets(const char (&s)[N]) {
  return std::string(s, N - 1);
}

std::string Section(int n, const std::string& corps) {
  return "[" + std::to_string(n) + "]\r\n" + corps;
}

// A section as the launcher writes it.
std::string Ecrite(int n, const std::string& menu, const std::string& item) {
  const std::string exe = "C:\\x\\" + item + ".exe";
  return SectionIni(n, Raccourci(menu, item, exe, "-a \"b c\"", "C:\\x").Shift().Alt().Touche("K"));
}

std::string Numerotees(int nombre) {
  std::string s;
  for (int i = 1; i <= nombre; ++i) s += Section(i, "Menu = m" + std::to_string(i % 7) + "\r\n");
  return s;
}

std::string Utf16(const std::u16string& texte, bool grosBoutiste) {
  std::string s;
  for (char16_t c : u"\uFEFF" + texte) {
    const char haut = static_cast<char>(c >> 8), bas = static_cast<char>(c & 0xFF);
    s += grosBoutiste ? std::string{haut, bas} : std::string{bas, haut};
  }
  return s;
}

std::string Aleatoire(std::uint32_t graine, std::size_t taille, const std::string& alphabet) {
  std::mt19937 gen(graine);
  std::string s;
  for (std::size_t i = 0; i < taille; ++i) s += alphabet[gen() % alphabet.size()];
  return s;
}

void PrintTo(const Fichier& fichier, std::ostream* os) { *os << fichier.nom; }

// A text as GetPrivateProfileStringA takes it, or gives it back, for a file of that form: in
// the code page's bytes (1252 here), converted by the system for a Unicode file.
std::string CommeA(const std::string& utf8, plat::Profil::Forme forme) {
  if (forme == plat::Profil::Forme::Cp1252) return plat::Cp1252(utf8).value_or("<not 1252>");
  const std::u16string u = plat::Utf16(utf8);
  const auto* large = reinterpret_cast<const wchar_t*>(u.data());
  const int n = WideCharToMultiByte(CP_ACP, 0, large, static_cast<int>(u.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, large, static_cast<int>(u.size()), ansi.data(), n, nullptr,
                      nullptr);
  return ansi;
}
std::vector<std::string> CommeA(const std::vector<std::string>& utf8, plat::Profil::Forme forme) {
  std::vector<std::string> ansi;
  for (const std::string& t : utf8) ansi.push_back(CommeA(t, forme));
  return ansi;
}

std::vector<Fichier> Corpus() {
  const std::string deux = Ecrite(1, "Outils", "Bloc-notes") + Ecrite(2, "Jeux", "Démineur");
  std::string tousOctets;
  for (int b = 0x80; b <= 0xFF; ++b) tousOctets += static_cast<char>(b);
  std::string binaire;
  for (int b = 0; b < 256; ++b) binaire += static_cast<char>(b);

  std::vector<Fichier> c = {
      {"Vide", std::string()},
      {"Manquant", std::nullopt},
      {"CommeEcrit", deux},
      {"Commentaires", ";Menu = x\r\n; [2]\r\n[1]\r\n;Menu = a\r\nMenu = b\r\n ;Item = c\r\n"
                       "[2]\r\n;\r\nItem=;d\r\n"},
      {"Guillemets", Section(1, "Menu = \"a b\"\r\nItem = 'c'\r\nExécutable = \"x'\r\n"
                                "Paramètre(s) = \"\"\r\nRépertoire de travail = \"\r\n"
                                "Shift = \"Oui\"\r\nTouche = \"\"\"\r\n") +
                         Section(2, "Menu = ' a '\r\nItem = \"a\"b\"\r\nTouche='\r\n")},
      {"BlancsAutour", "  [ 1 ]  \r\n \tMenu\t=\t v w \x1A\r\n\x0BItem \x0C= \x1A x\r\n"
                       "Exécutable\t=\r\n   Shift   =   Oui   \r\n Touche =\t\tA\t\r\n"
                       "[\t2\x1A]\r\nMenu=  \r\n"},
      {"SectionsEnDouble", Section(1, "Menu = a\r\n") + Section(2, "Menu = b\r\n") +
                               Section(1, "Menu = c\r\nItem = d\r\n")},
      {"ClesEnDouble", Section(1, "Menu = a\r\nMENU = b\r\nmenu=c\r\nItem=\r\nItem=e\r\n")},
      {"LignesSansEgal", Section(1, "Menu\r\nMenu = a\r\nItem = b\r\nTouche\r\n") +
                             Section(2, "Exécutable\r\nItem\r\n= x\r\n")},
      {"FinsCR", "[1]\rMenu = a\rItem = b\r[2]\rMenu = c\rTouche = Z\r"},
      {"FinsLF", "[1]\nMenu = a\nItem = b\n[2]\nMenu = c\nTouche = Z\n"},
      {"FinsMelangees", "[1]\r\r\nMenu = a\n\rItem = b\n\n\r\r[2]\r\nMenu = c"},
      {"SansFinDeLigne", deux + "[3]\r\nMenu = fin"},
      {"SansFinApresEntete", deux + "[3]"},
      {"Casse", "[1]\r\nmENU = a\r\nEXÉCUTABLE = b\r\nrépertoire DE TRAVAIL = c\r\nsHIFT = oui\r\n"
                "CTRL = OUI\r\nPARAMÈTRE(S) = d\r\n"},
      {"ValeurLongue", Section(1, "Menu = " + std::string(3000, 'm') + "\r\nItem = " +
                                      std::string(2047, 'i') + "\r\nExécutable = " +
                                      std::string(2048, 'e') + "\r\nParamètre(s) = " +
                                      std::string(2049, 'p') + "\r\n")},
      {"GuillemetsLongs",
       Section(1, "Menu = \"" + std::string(2045, 'm') + "\"\r\nItem = \"" +
                      std::string(2046, 'i') + "\"\r\nExécutable = \"" + std::string(2047, 'e') +
                      "\"\r\nParamètre(s) = '" + std::string(2048, 'p') + "'\r\n")},
      {"Sections3497", Numerotees(3497)},
      {"Sections3498", Numerotees(3498)},
      {"Sections3499", Numerotees(3499)},
      {"Sections4000", Numerotees(4000)},
      {"OctetsHauts", "[1]\r\nMenu = " + tousOctets + "\r\nItem = \xA0x\xA0\r\nTouche = \x85\r\n"
                      "[\xE9t\xE9]\r\nMenu = \x81\x8D\x8F\x90\x9D\r\n"},
      {"OctetsNuls", Octets("[1]\r\nMenu = a\0b\r\nIt\0em = c\r\n\0Touche = d\r\n[2\0]\r\n"
                            "Menu = e\r\nItem = \0\r\n[\0]\r\n")},
      {"Utf16LE", Utf16(u"[1]\r\nMenu = \u00C9t\u00E9 \u0100\u0107\u0416\u4E2D \U0001F600\r\n"
                        u"Ex\u00E9cutable = C:\\\u20AC\u2122\r\nR\u00C9PERTOIRE de travail = x\r\n"
                        u"[2]\r\nItem = \u201Cq\u201D\u2026\r\n", false)},
      {"Utf16BE", Utf16(u"[1]\r\nMenu = \u0152uvre\r\nItem=b\r\n[2]\rTouche = \u00E9\r\n", true)},
      {"Utf16Impair", Utf16(u"[1]\r\nMenu = a\r\n", false) + "x"},
      {"Utf16BlancsUnicode", Utf16(u"[1]\r\nMenu = \u00A0a\u00A0\r\nItem =\u3000b\u3000\r\n"
                                   u"Touche = \u2000c\u2028\r\nAlt = \u0085Oui\u0085\r\n"
                                   u"Win =\uFEFFOui\r\n[\u00A02\u00A0]\r\nMenu = d\r\n", false)},
      {"Utf8AvecBom", "\xEF\xBB\xBF[1]\r\nMenu = \xC3\x89t\xC3\xA9 \xC4\x80 \xE2\x82\xAC \xF0\x9F\x98\x80\r\n"
                      "Ex\xC3\xA9" "cutable = ok\r\nR\xC3\xA9pertoire de travail = r\r\n"
                      "[2]\r\nMenu = \x80\xC0\x80|\xE9\x41|\xED\xA0\x80|\xF4\x90\x80\x80|\xE0\x80\x80\r\n"
                      "Item = \xEF\xBF\xBE|\xF8\x88\x80\r\nTouche = \xE2\x82"},
      {"Utf8SansBom", "[1]\r\nMenu = \xC3\xA9t\xC3\xA9\r\n"},
      {"BomSeule", "\xEF\xBB\xBF"},
      {"BomUtf16Seule", "\xFF\xFE"},
      {"NomsNonNumeriques", "[abc]\r\nMenu = a\r\n[Menu]\r\nMenu = b\r\n[1]\r\nMenu = c\r\n"},
      {"SectionsUnEtTrois", Section(1, "Menu = a\r\n") + Section(3, "Menu = c\r\n")},
      {"DeuxAvantUn", Section(2, "Menu = b\r\n") + Section(1, "Menu = a\r\n")},
      {"Desordre", Section(3, "Menu = c\r\n") + Section(1, "Menu = a\r\nmenu = x\r\n") +
                       Section(3, "Menu = z\r\n") + Section(9, "Menu = n\r\n") + "[x]\r\n" +
                       Section(2, "Item = b\r\nItem\r\n") + Section(1, "Item = y\r\n") +
                       Section(5, "Touche = e\r\n")},
      {"NombresTrompeurs", Octets("[01]\r\nMenu = a\r\n[+2]\r\nMenu = b\r\n[ 3 ]\r\nMenu = c\r\n"
                                  "[4294967297]\r\nMenu = d\r\n[18446744073709551618]\r\nMenu = e\r\n"
                                  "[65537]\r\nMenu = f\r\n[1\0x]\r\nItem = g\r\n[2 ]\r\n[0]\r\n"
                                  "[-1]\r\n[1e0]\r\n[0x3]\r\n[3.0]\r\n")},
      {"Utf16Chiffres", Utf16(u"[\uFF11]\r\nMenu = a\r\n[\u0662]\r\nMenu = b\r\n[\u00B3]\r\n"
                              u"Menu = c\r\n[1]\r\nItem = d\r\n[\u00A04]\r\n", false)},
      {"Touches", Section(1, "Touche = AB\r\n") + Section(2, "Touche = \r\n") +
                      Section(3, "Touche =  x \r\n") + Section(4, "Touche = é\r\n") +
                      Section(5, "Touche\r\n")},
      {"Drapeaux", Section(1, "Shift = Oui\r\nCtrl = oui\r\nAlt =  Oui \r\nWin = OUI\r\n") +
                       Section(2, "Shift = \"Oui\"\r\nCtrl = Oui Oui\r\nAlt=Oui\r\nWin=Non\r\n")},
      {"MenuVide", Section(1, "Menu = \r\nItem =\r\nExécutable = \r\n")},
      {"FinDeFichierDos", Section(1, "Menu = a\x1A\r\nItem = \x1A\r\n") + "\x1A"},
      {"EnteteNonFermee", "[1\r\nMenu = a\r\n[2]\r\nMenu = b\r\n"},
      {"EntetesBizarres", "[1] ; c\r\nMenu = a\r\n[[2]]\r\nMenu = b\r\n[3]x]\r\nMenu = c\r\n"
                          "[4]]\r\nMenu = d\r\n[1 2]\r\n[01]\r\n[+1]\r\n"},
      {"SectionsSansNom", "[]\r\nMenu = a\r\n[ ]\r\nMenu = b\r\n[1]\r\nMenu = c\r\n"},
      {"ClesAvantToute", "Menu = a\r\n= z\r\n[1]\r\nItem = b\r\n"},
      {"PlusieursEgal", Section(1, "Menu = a = b\r\nItem==c\r\n=Touche = d\r\n")},
      {"LigneTresLongue", Section(1, "Menu = " + std::string(100000, 'x') + "\r\n" +
                                     std::string(50000, ' ') + "Item = y\r\n")},
      {"BlancsSeuls", " \t\r\n\x0B\x0C\r\n\x1A\r\n" + deux + "  \r\n"},
  };
  // Windows-1252, as every file the launcher wrote until it met a character beyond it; the
  // texts above are written in UTF-8, but those meant to be Unicode.
  for (Fichier& f : c)
    if (f.octets && f.nom.rfind("Utf", 0) != 0)
      if (auto cp1252 = plat::Cp1252(*f.octets)) f.octets = *cp1252;
  for (std::uint32_t graine = 1; graine <= 6; ++graine) {
    const std::string alphabet = graine % 2 ? binaire : *plat::Cp1252("[]=\r\n \"';1234MenuItéÉ\x1A");
    std::string octets = Aleatoire(graine, 4000, alphabet);
    if (graine == 5) octets = "\xEF\xBB\xBF" + octets;
    if (graine == 6) octets = "\xFF\xFE" + octets;
    c.push_back({"Aleatoire" + std::to_string(graine), octets});
  }
  return c;
}

class Diff : public ::testing::TestWithParam<Fichier> {
 protected:
  void SetUp() override {
    dossier_ = fs::temp_directory_path() / ("vivdiff-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(dossier_);
    chemin_ = fs::absolute(dossier_ / (GetParam().nom + ".ini")).string();
    // A file that only UTF-8 can hold: we read it as the system reads that text as Unicode,
    // which it does given the mark.
    const plat::Profil::Forme forme = Lu().forme();
    forme_ = forme == plat::Profil::Forme::Utf8 ? plat::Profil::Forme::Marque : forme;
    if (GetParam().octets) {
      std::ofstream(chemin_, std::ios::binary)
          << (forme == plat::Profil::Forme::Utf8 ? "\xEF\xBB\xBF" : "") << *GetParam().octets;
    }
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dossier_, ec);
  }

  // The buffer walked as the launcher walks it: names until an empty one, never past its end.
  std::vector<std::string> NomsSysteme(std::size_t taille) const {
    std::vector<char> tampon(taille + 1, '\0');
    GetPrivateProfileStringA(nullptr, nullptr, "", tampon.data(), static_cast<DWORD>(taille),
                             chemin_.c_str());
    std::vector<std::string> noms;
    std::size_t i = 0;
    while (i < taille && tampon[i]) {
      std::size_t fin = i;
      while (fin < taille && tampon[fin]) ++fin;
      noms.emplace_back(tampon.data() + i, fin - i);
      i = fin + 1;
    }
    return noms;
  }

  // The question's texts are UTF-8, as the launcher asks them.
  std::string ValeurSysteme(const std::string& section, const std::string& cle,
                            const std::string& defaut, std::size_t taille) const {
    std::vector<char> tampon(taille + 1, '\0');
    GetPrivateProfileStringA(A(section).c_str(), A(cle).c_str(), A(defaut).c_str(),
                             tampon.data(), static_cast<DWORD>(taille), chemin_.c_str());
    return std::string(tampon.data());
  }
  std::string Valeur(const plat::Profil& profil, const std::string& section, const std::string& cle,
                     const std::string& defaut, std::size_t taille) const {
    return A(profil.Valeur(section, cle, defaut, taille));
  }
  std::string A(const std::string& utf8) const { return CommeA(utf8, forme_); }

  plat::Profil Lu() const { return plat::Profil(GetParam().octets.value_or("")); }

  fs::path dossier_;
  std::string chemin_;
  plat::Profil::Forme forme_;  // how the system reads the file written for it
};

// The values the launcher makes its records of, from its own walk over the file, and each
// question of theirs asked alone, against the system asked key by key.
TEST_P(Diff, LectureDuLanceur) {
  const plat::Profil profil = Lu();
  // Room for every name, as the launcher reads every section.
  constexpr std::size_t kTailleNoms = 1 << 20;
  const std::vector<std::string> noms = NomsSysteme(kTailleNoms);
  ASSERT_EQ(CommeA(profil.NomsDeSections(kTailleNoms), forme_), noms);
  std::vector<std::vector<std::string>> lues;
  ValeursIni(profil, [&lues](const std::vector<std::string_view>& valeurs) {
    lues.emplace_back(valeurs.begin(), valeurs.end());
  });
  ASSERT_EQ(lues.size(), std::min(noms.size(), kMaxRaccourcis));
  for (std::size_t k = 1; k <= lues.size(); ++k) {
    const std::string section = std::to_string(k);
    ASSERT_EQ(lues[k - 1].size(), kNombreClesIni);
    for (std::size_t c = 0; c < kNombreClesIni; ++c) {
      const CleIni& cle = kClesIni[c];
      const std::string systeme = ValeurSysteme(section, cle.nom, cle.defaut, kTailleValeurIni);
      ASSERT_EQ(A(lues[k - 1][c]), systeme) << "section " << section << ", key " << cle.nom;
      ASSERT_EQ(Valeur(profil, section, cle.nom, cle.defaut, kTailleValeurIni), systeme)
          << "asked alone: section " << section << ", key " << cle.nom;
    }
  }
}

TEST_P(Diff, PetitsTampons) {
  const plat::Profil profil = Lu();
  for (std::size_t taille = 0; taille <= 12; ++taille) {
    EXPECT_EQ(CommeA(profil.NomsDeSections(taille), forme_), NomsSysteme(taille))
        << "buffer " << taille;
    for (const char* section : {"1", "2"})
      for (const char* cle : {"Menu", "Item"})
        EXPECT_EQ(Valeur(profil, section, cle, "\"def\"", taille),
                  ValeurSysteme(section, cle, "\"def\"", taille))
            << "buffer " << taille << ", section " << section << ", key " << cle;
  }
}

TEST_P(Diff, AutresQuestions) {
  const plat::Profil profil = Lu();
  const std::vector<std::pair<std::string, std::string>> questions = {
      {" 1 ", " menu "}, {"1", "MENU"}, {"", "Menu"}, {"", ""}, {"1", ""}, {"", "="},
      {"abc", "menu"}, {"ABC", "MENU"}, {"Été", "menu"}, {"éTÉ", "MENU"}, {"[2]", "Menu"},
      {"2]", "Menu"}, {"1]x", "Menu"}, {"1", ";Menu"}, {"\t1\x1A", "Menu\x0B"}, {"2\u00A0", "Menu"},
  };
  for (const auto& [section, cle] : questions)
    for (const char* defaut : {"", "d", "  x  ", "\"q\"", "'", "\"\"", " ", "a'"})
      EXPECT_EQ(Valeur(profil, section, cle, defaut, kTailleValeurIni),
                ValeurSysteme(section, cle, defaut, kTailleValeurIni))
          << "[" << section << "] " << cle << " default <" << defaut << ">";
}

INSTANTIATE_TEST_SUITE_P(Corpus, Diff, ::testing::ValuesIn(Corpus()),
                         [](const ::testing::TestParamInfo<Fichier>& info) {
                           return info.param.nom;
                         });

// Accented and other case pairs of Windows-1252 in names.
TEST(DiffCasse, LettresAccentuees) {
  const fs::path chemin = fs::absolute(fs::temp_directory_path() /
                                       ("vivdiff-casse-" + std::to_string(GetCurrentProcessId()) + ".ini"));
  std::string octets;
  std::vector<std::string> noms;
  for (int b = 0x41; b <= 0xFF; ++b) {
    if (b == ']' || b == '=' || b == ';' || b == '[') continue;
    const std::string nom = "s" + std::string(1, static_cast<char>(b));
    noms.push_back(nom);
    octets += "[" + nom + "]\r\nk" + std::string(1, static_cast<char>(b)) + " = " + nom + "\r\n";
  }
  std::ofstream(chemin, std::ios::binary) << octets;
  const plat::Profil profil(octets);
  for (const std::string& section : noms)
    for (const std::string& autre : noms) {
      const std::string cle = "k" + autre.substr(1);
      char tampon[64] = {};
      GetPrivateProfileStringA(section.c_str(), cle.c_str(), "-", tampon, sizeof tampon,
                               chemin.string().c_str());
      // The launcher asks in UTF-8 and reads UTF-8.
      const std::string lu = profil.Valeur(plat::Utf8DepuisCp1252(section),
                                           plat::Utf8DepuisCp1252(cle), "-", sizeof tampon);
      ASSERT_EQ(plat::Cp1252(lu), tampon) << "[" << section << "] " << cle;
    }
  fs::remove(chemin);
}

// Values the reader would change if they were written as they are: blanks at an end, a pair
// of matching quotes around them. They read back as typed, by the system as by our reader.
TEST(DiffEcriture, CeQueLeLanceurEcritSeRelitCommeTape) {
  const std::vector<std::vector<std::string>> cas = {
      // Menu, Item, Executable, Parametres, Repertoire, Touche; every menu its own.
      {" Outils", "Bloc-notes ", "\"C:\\Program Files\\x.exe\"",
       "\"C:\\Mes documents\\a b.txt\"", "\tC:\\", " "},
      {"'Jeux'", "\"", "'", "\"in.txt\" \"out.txt\"", "\"\"", "\""},
      {"\"M\"", "''", "a\"", " ", "\x1A", "'"},
      {"M", "\" a \"", "x.exe", "-a \"b c\"", "C:\\x \x0B", "K"},
      {" ", "\"'", "'x'y'", "  \"q\"  ", "'C:\\'", ""},
      {"Été", "é", "C:\\x.exe", "\"a\" b", "", "é"},
  };
  plat::PlateformePortable plateforme;
  ListeEnreg travail;
  std::vector<std::string> menus;
  // The texts of a record, in the order of the launcher's keys.
  std::vector<std::string Enreg::*> textes;
  for (const CleIni& cle : kClesIni)
    if (cle.texte) textes.push_back(cle.texte);
  for (const auto& v : cas) {
    auto r = std::make_unique<Enreg>();
    for (std::size_t k = 0; k < textes.size(); ++k) (*r).*textes[k] = v[k];
    menus.push_back(v[0]);
    travail.push_back(std::move(r));
  }
  const std::string nom = "vivdiff-ecrit-" + std::to_string(GetCurrentProcessId()) + ".ini";
  const fs::path chemin = fs::absolute(fs::temp_directory_path() / nom);
  EcritureIni(plateforme, chemin.string(), menus, travail);
  std::string contenu;
  {
    std::ifstream lu(chemin, std::ios::binary);
    contenu.assign(std::istreambuf_iterator<char>(lu), std::istreambuf_iterator<char>());
  }
  ListeEnreg relue;
  LectureIni(contenu, relue);
  ASSERT_EQ(relue.size(), cas.size());
  for (std::size_t i = 0; i < cas.size(); ++i) {
    const std::string section = std::to_string(i + 1);
    std::size_t k = 0;
    for (const CleIni& cle : kClesIni) {
      if (!cle.texte) continue;
      char tampon[kTailleValeurIni] = {};
      GetPrivateProfileStringA(section.c_str(), plat::Cp1252(cle.nom)->c_str(), "-", tampon,
                               sizeof tampon, chemin.string().c_str());
      EXPECT_EQ(tampon, plat::Cp1252(cas[i][k])) << "system: [" << section << "] " << cle.nom;
      EXPECT_EQ((*relue[i]).*cle.texte, cas[i][k]) << "ours: [" << section << "] " << cle.nom;
      ++k;
    }
  }
  fs::remove(chemin);
}

}  // namespace
