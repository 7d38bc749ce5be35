// Our settings reader on small files, one rule at a time; tests/diff checks the same rules
// against the system under Wine.
#include "platform/Profil.h"

#include "platform/Encodage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using plat::Profil;

namespace {

constexpr std::size_t kTaille = 2048;

std::string Lit(const std::string& fichier, const std::string& section, const std::string& cle,
                const std::string& defaut = "D", std::size_t taille = kTaille) {
  return Profil(fichier).Valeur(section, cle, defaut, taille);
}

std::vector<std::string> Noms(const std::string& fichier, std::size_t taille = 16384) {
  return Profil(fichier).NomsDeSections(taille);
}

std::string Numerotees(int nombre) {
  std::string s;
  for (int i = 1; i <= nombre; ++i) s += "[" + std::to_string(i) + "]\r\nMenu = m" + std::to_string(i) + "\r\n";
  return s;
}

template <std::size_t N>
std::string Octets(const char (&s)[N]) {
  return std::string(s, N - 1);
}

TEST(Profil, LitUneSectionCommeLeLanceurLEcrit) {
  const std::string f =
      "[1]\r\nMenu = Outils\r\nItem = Bloc-notes\r\nExécutable = notepad.exe\r\n"
      "Paramètre(s) = \r\nRépertoire de travail = C:\\x\r\nShift = Oui\r\nTouche = K\r\n\r\n";
  const Profil p(f);
  EXPECT_EQ(p.NomsDeSections(16384), std::vector<std::string>{"1"});
  EXPECT_EQ(p.Valeur("1", "Menu", "Vivlan", kTaille), "Outils");
  EXPECT_EQ(p.Valeur("1", "Exécutable", "<Aucun>", kTaille), "notepad.exe");
  EXPECT_EQ(p.Valeur("1", "Paramètre(s)", "x", kTaille), "") << "present but empty: not the default";
  EXPECT_EQ(p.Valeur("1", "Répertoire de travail", "", kTaille), "C:\\x");
  EXPECT_EQ(p.Valeur("1", "Ctrl", "Non", kTaille), "Non") << "missing key";
  EXPECT_EQ(p.Valeur("2", "Menu", "Vivlan", kTaille), "Vivlan") << "missing section";
}

TEST(Profil, BlancsRognesAuxBouts) {
  EXPECT_EQ(Lit("[1]\r\n\t\x0B Menu \x0C\x1A=\x1A\t v  w \x0B\r\n", "1", "Menu"), "v  w");
  EXPECT_EQ(Lit("[1]\r\nMenu = \xA0v\x85\r\n", "1", "Menu"), "\u00A0v…") << "not blanks";
  EXPECT_EQ(Lit("[1]\r\nMenu = v\r\n", " 1\t", "\x1A Menu "), "v") << "the question is trimmed too";
}

TEST(Profil, EnteteJusquAuDernierCrochetEtRogne) {
  const std::string f = "  [ 1 ] ; c\r\nMenu = a\r\n[[2]]\r\nMenu = b\r\n[3]x]\r\nMenu = c\r\n"
                        "[4\r\nMenu = d\r\n[ ]\r\nMenu = e\r\n";
  EXPECT_EQ(Noms(f), (std::vector<std::string>{"1", "[2]", "3]x"})) << "[4 and [ ] name no section";
  EXPECT_EQ(Lit(f, "1", "Menu"), "a");
  EXPECT_EQ(Lit(f, "[2]", "Menu"), "b");
  EXPECT_EQ(Lit(f, "3]x", "Menu"), "c");
  EXPECT_EQ(Lit(f, "3]x", "[4"), "D") << "a header without ] is a key line with no value";
}

TEST(Profil, CleJusquAuPremierEgal) {
  const std::string f = "[1]\r\nMenu = a = b\r\nItem==c\r\n= d\r\n";
  EXPECT_EQ(Lit(f, "1", "Menu"), "a = b");
  EXPECT_EQ(Lit(f, "1", "Item"), "=c");
  EXPECT_EQ(Lit(f, "1", ""), "d");
}

TEST(Profil, CommentairesEtLignesSansEgal) {
  const std::string f = "[1]\r\n;Menu = a\r\n; [2]\r\nItem\r\nItem = b\r\nTouche\r\n";
  EXPECT_EQ(Noms(f), std::vector<std::string>{"1"});
  EXPECT_EQ(Lit(f, "1", "Menu"), "D");
  EXPECT_EQ(Lit(f, "1", "Item"), "D") << "a key without = has no value and hides the later one";
  EXPECT_EQ(Lit(f, "1", "Touche", ""), "");
}

TEST(Profil, CasseIgnoreeDeAaZSeulement) {
  const std::string f = "[aB]\r\nmENU = a\r\n\xC9t\xE9 = b\r\n[\x8A]\r\nk = c\r\n";
  EXPECT_EQ(Lit(f, "Ab", "Menu"), "a");
  EXPECT_EQ(Lit(f, "AB", "Été"), "b");
  EXPECT_EQ(Lit(f, "ab", "été"), "D") << "é and É differ";
  EXPECT_EQ(Lit(f, "Š", "k"), "c");
  EXPECT_EQ(Lit(f, "š", "k"), "D") << "š and Š differ";
  EXPECT_EQ(Lit(f, "Ā", "k", "défaut"), "défaut") << "a name the file cannot hold";
}

TEST(Profil, LaPremiereSectionEtLaPremiereCleGagnent) {
  const std::string f = "[1]\r\nMenu = a\r\nmenu = b\r\n[2]\r\nMenu = x\r\n[1]\r\nMenu = c\r\nItem = d\r\n";
  EXPECT_EQ(Noms(f), (std::vector<std::string>{"1", "2", "1"}));
  EXPECT_EQ(Lit(f, "1", "Menu"), "a");
  EXPECT_EQ(Lit(f, "1", "Item"), "D") << "a second [1] is never read";
}

// Many questions in one walk: each answered as if it were asked alone.
TEST(Profil, PlusieursQuestionsEnUnPassage) {
  const std::string fichiers[] = {
      "a = 0\r\n[1]\r\nMenu = a\r\nmenu\r\nItem = b\r\n[ 2 ]\r\nmenu = c\r\n[1]\r\nItem = x\r\n[]\r\na = 1\r\n",
      "\xEF\xBB\xBF[1]\r\nMenu = \xC3\xA9\r\n[2]\r\nItem = 'q'\r\n[3]\r\n",
  };
  std::vector<Profil::Question> questions;
  for (const char* section : {"1", " 2", "", "3", "4", "1"})
    for (const char* cle : {"Menu", "ITEM", "a", "Menu"})
      for (std::size_t taille : {kTaille, std::size_t{2}}) questions.push_back({section, cle, "d", taille});
  for (const std::string& f : fichiers) {
    const Profil p(f);
    const std::vector<std::string> reponses = p.Valeurs(questions);
    ASSERT_EQ(reponses.size(), questions.size());
    for (std::size_t i = 0; i < questions.size(); ++i) {
      const Profil::Question& q = questions[i];
      EXPECT_EQ(reponses[i], p.Valeur(q.section, q.cle, q.defaut, q.taille))
          << "[" << q.section << "] " << q.cle << " " << q.taille;
    }
  }
}

// The launcher's question in one walk: each answer is Valeur's, section "1" to the number of
// names, whatever order, repeats or look-alike numbers the file has.
TEST(Profil, SectionsNumeroteesCommeValeur) {
  const std::string fichiers[] = {
      Numerotees(5),
      "a = 0\r\n[2]\r\nMenu = Jeux vid\xE9o\r\n[1]\r\nmenu\r\nMenu = x\r\nItem = 'i'\r\n[2]\r\nMenu = z\r\n"
      "[9]\r\nMenu = n\r\n[x]\r\n[4]\r\nTouche = \"\r\n[1]\r\nItem = y",
      Octets("[01]\r\nMenu = a\r\n[ 2 ]\r\nMenu = b\r\n[18446744073709551617]\r\nMenu = c\r\n"
             "[1\0x]\r\nMenu = d\r\n[+3]\r\n[4294967299]\r\n[3 ]\r\nItem = e\r\n[]\r\n"),
      "\xFF\xFE" + plat::OctetsUtf16LE("[2]\r\nMenu = \u0416\r\n[\uFF11]\r\nMenu = f\r\n[1]\r\nITEM=\u00E9\r\n"),
  };
  // A key asked twice, one the file cannot hold, and a default in quotes.
  const std::vector<Profil::Cle> cles = {
      {"Menu", "M"}, {" ITEM ", "I"}, {"menu", "m"}, {"Ā", "x"}, {"Touche", "\"t\""}};
  for (const std::string& f : fichiers) {
    const Profil p(f);
    const std::size_t noms = p.NomsDeSections(static_cast<std::size_t>(-1)).size();
    for (const std::size_t maximum : {std::size_t{2}, std::size_t{100}, static_cast<std::size_t>(-1)})
      for (const std::size_t taille : {kTaille, std::size_t{2}}) {
        std::vector<std::string> attendues, lues;
        for (std::size_t k = 1; k <= std::min(noms, maximum); ++k)
          for (const Profil::Cle& c : cles)
            attendues.push_back(p.Valeur(std::to_string(k), c.nom, c.defaut, taille));
        p.ValeursNumerotees(cles, taille, maximum,
                            [&](const std::vector<std::string_view>& valeurs) {
                              ASSERT_EQ(valeurs.size(), cles.size());
                              lues.insert(lues.end(), valeurs.begin(), valeurs.end());
                            });
        EXPECT_EQ(lues, attendues) << f.substr(0, 20) << ", at most " << maximum << ", buffer " << taille;
      }
  }
}

TEST(Profil, UnePaireDeGuillemetsRetiree) {
  const std::string f = "[1]\r\na = \"x y\"\r\nb = 'x'\r\nc = \"x'\r\nd = \"\r\ne = \"\"\r\n"
                        "f = \"\"\"\r\ng = \"a\"b\"\r\nh = ' x '\r\n";
  EXPECT_EQ(Lit(f, "1", "a"), "x y");
  EXPECT_EQ(Lit(f, "1", "b"), "x");
  EXPECT_EQ(Lit(f, "1", "c"), "\"x'");
  EXPECT_EQ(Lit(f, "1", "d"), "\"");
  EXPECT_EQ(Lit(f, "1", "e"), "");
  EXPECT_EQ(Lit(f, "1", "f"), "\"");
  EXPECT_EQ(Lit(f, "1", "g"), "a\"b");
  EXPECT_EQ(Lit(f, "1", "h"), " x ");
}

TEST(Profil, ValeurCoupeeAuTampon) {
  const std::string f = "[1]\r\na = abcdef\r\nq = \"abcd\"\r\n";
  EXPECT_EQ(Lit(f, "1", "a", "D", 4), "abc");
  EXPECT_EQ(Lit(f, "1", "a", "D", 1), "");
  EXPECT_EQ(Lit(f, "1", "a", "D", 0), "");
  EXPECT_EQ(Lit(std::string("[1]\r\na = ") + std::string(3000, 'x'), "1", "a").size(), 2047u);
  // The closing quote goes only when the value fitted whole, as the system does it.
  EXPECT_EQ(Lit(f, "1", "q", "D", 6), "abcd");
  EXPECT_EQ(Lit(f, "1", "q", "D", 5), "abc");
  EXPECT_EQ(Lit(f, "1", "q", "D", 4), "abc");
  EXPECT_EQ(Lit(f, "1", "q", "D", 2), "a");
}

TEST(Profil, DefautSansEspacesFinauxNiGuillemets) {
  EXPECT_EQ(Lit("", "1", "Menu", "  x  "), "  x");
  EXPECT_EQ(Lit("", "1", "Menu", "\"q\""), "q");
  EXPECT_EQ(Lit("", "1", "Menu", " "), " ");
  EXPECT_EQ(Lit("", "1", "Menu", "Vivlan", 4), "Viv");
}

TEST(Profil, FinsDeLigne) {
  for (const std::string fin : {"\r", "\n", "\r\n", "\n\r", "\r\r\n"}) {
    const std::string f = "[1]" + fin + "Menu = a" + fin + "[2]" + fin + "Menu = b";
    EXPECT_EQ(Noms(f), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Lit(f, "1", "Menu"), "a");
    EXPECT_EQ(Lit(f, "2", "Menu"), "b") << "no final line end";
  }
}

TEST(Profil, OctetNulFinitNomsEtValeurs) {
  const std::string f = Octets("[1\0x]\r\nMenu = a\0b\r\nIt\0em = c\r\n\0Touche = d\r\nAlt = \0\r\n");
  EXPECT_EQ(Noms(f), std::vector<std::string>{"1"});
  EXPECT_EQ(Lit(f, "1", "Menu"), "a");
  EXPECT_EQ(Lit(f, "1", "It"), "c");
  EXPECT_EQ(Lit(f, "1", "Touche"), "D");
  EXPECT_EQ(Lit(f, "1", "Alt"), "");
}

TEST(Profil, OctetsHautsLusEnWindows1252EtRendusTelsQuels) {
  std::string tous;
  for (int b = 0x80; b <= 0xFF; ++b) tous += static_cast<char>(b);
  const std::string lu = Lit("[1]\r\nMenu = " + tous + "\r\n", "1", "Menu");
  EXPECT_EQ(lu.substr(0, 5), "€\u0081") << "as the system reads them";
  EXPECT_EQ(plat::Cp1252(lu), tous) << "every byte comes back as it was";
}

TEST(Profil, Utf8AvecMarque) {
  const std::string f = "\xEF\xBB\xBF[1]\r\nEx\xE9" "cutable = x\r\n"
                        "Exécutable = Été Ā € 😀\r\n"
                        "Menu = \x80|\xC0\x80|\xED\xA0\x80|\xE2\x82";
  EXPECT_EQ(Lit(f, "1", "Exécutable"), "Été Ā € 😀") << "a byte of another code page is no é";
  EXPECT_EQ(Lit(f, "1", "Menu"), "\uFFFD|\uFFFD\uFFFD|\uFFFD\uFFFD|\uFFFD") << "as the system reads them";
  EXPECT_EQ(Lit("[1]\r\nMenu = \xC3\xA9\r\n", "1", "Menu"), "é") << "no mark, but only UTF-8";
}

TEST(Profil, Utf16AvecMarque) {
  const std::string le = Octets("\xFF\xFE[\0001\0]\0\n\0M\0=\0\xE9\0\x00\x01\xAC\x20\n\0");
  EXPECT_EQ(Lit(le, "1", "M"), "éĀ€");
  const std::string be = Octets("\xFE\xFF\0[\0001\0]\0\r\0M\0=\0\xE9\x01\x00\x20\xAC");
  EXPECT_EQ(Lit(be, "1", "M"), "éĀ€");
  EXPECT_EQ(Lit(le + "x", "1", "M"), "éĀ€") << "an odd last byte is dropped";
}

TEST(Profil, ListeDesSectionsCoupeeAuTampon) {
  EXPECT_EQ(Noms(Numerotees(3498)).size(), 3498u) << "16,384 bytes exactly";
  EXPECT_EQ(Noms(Numerotees(3499)).size(), 3498u);
  EXPECT_EQ(Noms(Numerotees(4000)).back(), "3498");
  const std::string f = "[ab]\r\n[cd]\r\n";
  EXPECT_EQ(Noms(f, 0), std::vector<std::string>{});
  EXPECT_EQ(Noms(f, 2), std::vector<std::string>{});
  EXPECT_EQ(Noms(f, 3), std::vector<std::string>{"a"}) << "the last name is cut";
  EXPECT_EQ(Noms(f, 5), std::vector<std::string>{"ab"});
  EXPECT_EQ(Noms(f, 6), (std::vector<std::string>{"ab", "c"}));
  EXPECT_EQ(Noms(f, 7), (std::vector<std::string>{"ab", "cd"}));
}

TEST(Profil, FichierVide) {
  for (const std::string f : {"", "\xEF\xBB\xBF", "\xFF\xFE", " \r\n\x1A"}) {
    EXPECT_TRUE(Noms(f).empty());
    EXPECT_EQ(Lit(f, "1", "Menu", "Vivlan"), "Vivlan");
  }
}

// Robustness: whatever the bytes, no crash and answers within the buffer's limits.
void VerifieSain(const std::string& octets) {
  const Profil p(octets);
  std::size_t total = 0;
  for (const std::string& nom : p.NomsDeSections(16384)) {
    EXPECT_FALSE(nom.empty());
    total += nom.size() + 1;
  }
  EXPECT_LE(total, 16383u);
  for (const char* section : {"1", "2", "", "[", "\x1A"})
    for (const char* cle : {"Menu", "Exécutable", "", "="})
      EXPECT_LE(p.Valeur(section, cle, "Vivlan", kTaille).size(), kTaille - 1);
  EXPECT_EQ(p.Valeur("section absente", "Menu", "Vivlan", kTaille), "Vivlan");
}

TEST(ProfilRobustesse, FichiersTronques) {
  const std::string complet = "\xEF\xBB\xBF[1]\r\nMenu = \"\xC3\xA9t\xC3\xA9\"\r\n[2]\r\nItem = \xF0\x9F\x98\x80\r\n";
  const std::vector<std::string> tous = Noms(complet);
  for (std::size_t n = 0; n <= complet.size(); ++n) {
    const std::string tronque = complet.substr(0, n);
    VerifieSain(tronque);
    const std::vector<std::string> noms = Noms(tronque);
    ASSERT_LE(noms.size(), tous.size());
    EXPECT_TRUE(std::equal(noms.begin(), noms.end(), tous.begin())) << n;
  }
}

TEST(ProfilRobustesse, OctetsAleatoires) {
  std::mt19937 gen(20261207);
  const std::string utiles = Octets("[]=;\"'\r\n \t\x1A\0\xEF\xBB\xBF\xFF\xFE\xC3\xA9" "1Menu");
  for (int i = 0; i < 3000; ++i) {
    std::string octets(gen() % 400, '\0');
    for (char& c : octets)
      c = gen() % 2 ? static_cast<char>(gen()) : utiles[gen() % utiles.size()];
    if (i % 3 == 1) octets = "\xFF\xFE" + octets;
    if (i % 3 == 2) octets = "\xEF\xBB\xBF" + octets;
    VerifieSain(octets);
  }
}

TEST(ProfilRobustesse, GrosFichier) {
  std::string f = "[1]\r\nMenu = " + std::string(5 << 20, 'x') + "\r\nItem = i\r\n";
  const Profil p(f);
  EXPECT_EQ(p.Valeur("1", "Menu", "", kTaille), std::string(2047, 'x'));
  EXPECT_EQ(p.Valeur("1", "Item", "", kTaille), "i");
}

TEST(ProfilRobustesse, DixMilleSections) {
  const Profil p(Numerotees(10000));
  const std::vector<std::string> noms = p.NomsDeSections(16384);
  ASSERT_EQ(noms.size(), 3498u);
  // One walk for all of them, as the launcher reads them.
  std::vector<Profil::Question> questions;
  for (const std::string& nom : noms) questions.push_back({nom, "Menu", "", kTaille});
  const std::vector<std::string> menus = p.Valeurs(questions);
  for (std::size_t k = 1; k <= noms.size(); ++k) ASSERT_EQ(menus[k - 1], "m" + std::to_string(k));
  EXPECT_EQ(p.Valeur("10000", "Menu", "", kTaille), "m10000");
}

}  // namespace
