// Our reader of settings files: one pass over the bytes, then every answer from memory.
// The rules are those measured on GetPrivateProfileStringA under Wine 8 (see tests/diff).
#include "platform/Profil.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "platform/Encodage.h"

namespace plat {

namespace {

// A Windows-1252 file is read in its own bytes, every rule below being about ASCII; a Unicode
// file is decoded to UTF-16 first. `C` is the unit of the text read. What is asked comes as
// UTF-8 and goes into the file's units; what is read goes back to UTF-8.
template <class C>
using VueDe = std::basic_string_view<C>;
template <class C>
using ChaineDe = std::basic_string<C>;

// Nothing for a text that the file cannot hold: no name of the file is equal to it.
template <class C>
std::optional<ChaineDe<C>> Unites(std::string_view utf8);
template <>
std::optional<std::string> Unites<char>(std::string_view utf8) {
  return Cp1252(utf8);
}
template <>
std::optional<std::u16string> Unites<char16_t>(std::string_view utf8) {
  return Utf16(utf8);
}

std::string Texte(std::string_view s) { return Utf8DepuisCp1252(s); }
std::string Texte(std::u16string_view s) { return Utf8(s); }

// The same as a view: ASCII of a Windows-1252 file where it stands in the file, anything else
// converted into `tampon`.
std::string_view Texte(std::string_view s, std::string& tampon) {
  if (EstAscii(s)) return s;
  tampon = Utf8DepuisCp1252(s);
  return tampon;
}
std::string_view Texte(std::u16string_view s, std::string& tampon) {
  tampon = Utf8(s);
  return tampon;
}

// Names compare without case for the letters A to Z only: the system matches neither "é"
// with "É" nor "š" with "Š".
template <class C>
C Minuscule(C c) {
  return c >= 'A' && c <= 'Z' ? static_cast<C>(c + 0x20) : c;
}

// 0x09 to 0x0D, 0x1A and 0x20, one bit each.
template <class C>
bool EstBlanc(C c) {
  constexpr std::uint64_t kBlancs = 0x104003E00u;
  const auto u = static_cast<std::make_unsigned_t<C>>(c);
  return u <= 0x20 && ((kBlancs >> u) & 1) != 0;
}

template <class C>
VueDe<C> RogneDebut(VueDe<C> s) {
  std::size_t debut = 0;
  while (debut < s.size() && EstBlanc(s[debut])) ++debut;
  return s.substr(debut);
}

template <class C>
VueDe<C> RogneFin(VueDe<C> s) {
  std::size_t fin = s.size();
  while (fin > 0 && EstBlanc(s[fin - 1])) --fin;
  return s.substr(0, fin);
}

template <class C>
VueDe<C> Rogne(VueDe<C> s) {
  return RogneFin(RogneDebut(s));
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

// The same units, eight bytes at a time: how the file usually writes a name it is asked for,
// which spares most lines the comparison without case.
template <class C>
bool MemesUnites(VueDe<C> a, VueDe<C> b) {
  if (a.size() != b.size()) return false;
  const auto* x = reinterpret_cast<const unsigned char*>(a.data());
  const auto* y = reinterpret_cast<const unsigned char*>(b.data());
  const std::size_t n = a.size() * sizeof(C);
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t u, v;
    std::memcpy(&u, x + i, 8);
    std::memcpy(&v, y + i, 8);
    if (u != v) return false;
  }
  for (; i < n; ++i)
    if (x[i] != y[i]) return false;
  return true;
}

// A name asked for, as the system compares it: up to its zero byte, without the blanks at its
// ends; NomCherche folds it too. Nothing when the file cannot hold it.
template <class C>
std::optional<ChaineDe<C>> NomTel(std::string_view s) {
  auto unites = Unites<C>(s);
  if (unites) *unites = ChaineDe<C>(Rogne(JusquAuZero(VueDe<C>(*unites))));
  return unites;
}

template <class C>
ChaineDe<C> Replie(ChaineDe<C> nom) {
  for (C& c : nom) c = Minuscule(c);
  return nom;
}

template <class C>
std::optional<ChaineDe<C>> NomCherche(std::string_view s) {
  auto nom = NomTel<C>(s);
  if (nom) *nom = Replie(std::move(*nom));
  return nom;
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
  if (octets.substr(0, 3) == "\xEF\xBB\xBF") return Utf16(octets.substr(3));
  return DepuisUtf16(octets, octets[0] == '\xFE');
}

// What the system copies into a buffer of `taille` characters: one pair of matching quotes
// dropped, then cut to taille - 1 characters.
template <class C>
VueDe<C> Copiee(VueDe<C> v, std::size_t taille) {
  if (taille == 0) return {};
  const bool guillemets = v.size() > 1 && (v[0] == C('"') || v[0] == C('\'')) && v.back() == v[0];
  if (guillemets) v.remove_prefix(1);
  VueDe<C> r = v.substr(0, taille - 1);
  // Like the system, the closing quote is dropped only when the whole value fitted.
  if (guillemets && taille >= v.size() && !r.empty()) r.remove_suffix(1);
  return r;
}

template <class C>
std::string Copie(VueDe<C> v, std::size_t taille) {
  return Texte(Copiee(v, taille));
}

// The default loses its trailing spaces, and its quotes like a value; counted in characters,
// whatever the file's form.
std::string Defaut(std::string_view defaut, std::size_t taille) {
  const std::u16string unites = Utf16(defaut);
  std::u16string_view d = JusquAuZero(std::u16string_view(unites));
  while (d.size() > 1 && d.back() == u' ') d.remove_suffix(1);
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

// Where the line that starts at `i` ends (the first CR or LF, or the text's end), and whether a
// zero comes before that. A file is mostly long runs of text between line ends: eight bytes at a
// time, a word none of whose bytes is below 0x0E holds neither a line end nor a zero.
std::size_t FinDeLigne(std::string_view texte, std::size_t i, bool& zero) {
  static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "a word's first byte is its low end");
  constexpr std::uint64_t kUns = 0x0101010101010101u;
  const std::size_t n = texte.size();
  while (i + 8 <= n) {
    std::uint64_t mot;
    std::memcpy(&mot, texte.data() + i, 8);
    // The lowest flag is exact: the first byte below 0x0E (a borrow runs upwards only).
    const std::uint64_t sous = (mot - kUns * 0x0E) & ~mot & kUns * 0x80;
    if (sous == 0) {
      i += 8;
      continue;
    }
    i += static_cast<std::size_t>(__builtin_ctzll(sous)) / 8;
    const char c = texte[i];
    if (c == '\r' || c == '\n') return i;
    zero = zero || c == '\0';
    ++i;
  }
  for (; i < n; ++i) {
    const char c = texte[i];
    if (c == '\r' || c == '\n') return i;
    zero = zero || c == '\0';
  }
  return n;
}

std::size_t FinDeLigne(std::u16string_view texte, std::size_t i, bool& zero) {
  for (; i < texte.size(); ++i) {
    const char16_t c = texte[i];
    if (c == u'\r' || c == u'\n') return i;
    zero = zero || c == u'\0';
  }
  return texte.size();
}

// Hands each line that is not blank to `suite`, until it returns false; the other lines than
// headers only while `cles()` says that keys matter (in a section asked for), since splitting
// them is most of the work. Nothing is kept: the lines are views of the text.
template <class C, class Cles, class Suite>
void Parcours(VueDe<C> texte, Cles&& cles, Suite&& suite) {
  std::size_t debut = 0;
  while (debut < texte.size()) {
    bool zero = false;
    const std::size_t fin = FinDeLigne(texte, debut, zero);
    VueDe<C> ligne = RogneDebut(texte.substr(debut, fin - debut));
    debut = fin + 1;
    // The empty line between CR and LF is passed over here rather than looked for.
    if (debut < texte.size() && texte[fin] == C('\r') && texte[debut] == C('\n')) ++debut;
    if (ligne.empty()) continue;
    // The blanks at the end hold no "]".
    const std::size_t crochet = ligne[0] == C('[') ? ligne.rfind(C(']')) : VueDe<C>::npos;
    if (crochet == VueDe<C>::npos && !cles()) continue;
    ligne = RogneFin(ligne);
    // A zero is rare: only then are the names and the value looked at once more.
    auto coupe = [zero](VueDe<C> s) { return zero ? JusquAuZero(s) : s; };
    Ligne<C> l;
    if (crochet != VueDe<C>::npos) {
      l.entete = true;
      l.nom = coupe(Rogne(ligne.substr(1, crochet - 1)));
    } else if (const auto egal = std::find(ligne.begin(), ligne.end(), C('='));
               egal == ligne.end()) {
      l.nom = coupe(ligne);
    } else {
      // The line is trimmed already: the name's start and the value's end are.
      const auto i = static_cast<std::size_t>(egal - ligne.begin());
      l.nom = coupe(RogneFin(ligne.substr(0, i)));
      l.valeur = coupe(RogneDebut(ligne.substr(i + 1)));
    }
    if (!suite(l)) return;
  }
}

template <class C>
std::vector<std::string> Noms(VueDe<C> texte, std::size_t taille) {
  std::vector<std::string> noms;
  if (taille == 0) return noms;
  std::size_t place = taille - 1;
  Parcours(texte, [] { return false; }, [&](const Ligne<C>& l) {
    if (l.nom.empty()) return true;
    if (l.nom.size() + 1 >= place) {
      // The system ends the list with a cut name and leaves the buffer's last byte alone;
      // the walk stops at the buffer's end instead of reading past it.
      if (place > 1) noms.push_back(Texte(l.nom.substr(0, place - 1)));
      return false;
    }
    noms.push_back(Texte(l.nom));
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
  // A question whose section or key the file cannot hold keeps its default.
  constexpr std::size_t kAucune = static_cast<std::size_t>(-1);
  std::vector<std::size_t> sectionDe(questions.size(), kAucune);
  std::vector<ChaineDe<C>> cles(questions.size());
  std::size_t posees = 0;
  for (std::size_t i = 0; i < questions.size(); ++i) {
    std::optional<ChaineDe<C>> nom = NomCherche<C>(questions[i].section);
    std::optional<ChaineDe<C>> cle = NomCherche<C>(questions[i].cle);
    if (!nom || !cle) continue;
    cles[i] = std::move(*cle);
    Section* s = cherche(*nom);
    if (s == nullptr) {
      parEmpreinte.emplace(Empreinte(VueDe<C>(*nom)), sections.size());
      s = &sections.emplace_back(Section{std::move(*nom)});
    }
    ++s->ouvertes;
    ++posees;
    sectionDe[i] = static_cast<std::size_t>(s - sections.data());
  }
  std::size_t place = 0;
  for (Section& s : sections) {
    s.debut = place;
    place += s.ouvertes;
    s.ouvertes = 0;
  }
  std::vector<Attendue> attendues(posees);
  for (std::size_t i = 0; i < questions.size(); ++i) {
    if (sectionDe[i] == kAucune) continue;
    Section& s = sections[sectionDe[i]];
    attendues[s.debut + s.ouvertes++] = {std::move(cles[i]), i};
  }

  std::vector<std::optional<VueDe<C>>> trouvees(questions.size());
  std::size_t ouvertes = posees;
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
  auto utiles = [&] { return courante != nullptr && courante->ouvertes > 0; };
  if (ouvertes > 0)
    Parcours(texte, utiles, [&](const Ligne<C>& l) {
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

// The number a section's name writes in decimal without a leading zero, if it is one from 1 to
// `maximum`; 0 otherwise. Only such a name equals the text of a number.
template <class C>
std::size_t Numero(VueDe<C> nom, std::size_t maximum) {
  if (nom.empty() || nom[0] == C('0')) return 0;
  std::size_t n = 0;
  for (C c : nom) {
    if (c < C('0') || c > C('9')) return 0;
    const auto chiffre = static_cast<std::size_t>(c - C('0'));
    // Before it overflows: "18446744073709551617" is no "1".
    if (chiffre > maximum || n > (maximum - chiffre) / 10) return 0;
    n = n * 10 + chiffre;
  }
  return n;
}

// The launcher's question: every section is found by reading its name as a number, and every
// key is compared with the same few names, folded once. The names are counted on the way. A
// section is answered once its lines are over, and handed on at once when all those before it
// have been: in a file written in order nothing waits, and nothing but the current section is
// kept. Those met early wait, answered, for their turn.
template <class C>
void ReponsesNumerotees(VueDe<C> texte, const std::vector<Profil::Cle>& cles, std::size_t taille,
                        std::size_t maximum, const Profil::Reception& reception) {
  // The distinct names the file can hold, folded and as asked; a key asked twice takes the
  // answer of its first.
  constexpr std::size_t kAucun = static_cast<std::size_t>(-1);
  std::vector<ChaineDe<C>> noms, tels;
  std::vector<std::size_t> nomDe(cles.size(), kAucun);
  std::vector<std::string> defauts;
  for (std::size_t j = 0; j < cles.size(); ++j) {
    defauts.push_back(Defaut(cles[j].defaut, taille));
    if (std::optional<ChaineDe<C>> tel = NomTel<C>(cles[j].nom)) {
      ChaineDe<C> nom = Replie(*tel);
      nomDe[j] = static_cast<std::size_t>(std::find(noms.begin(), noms.end(), nom) - noms.begin());
      if (nomDe[j] != noms.size()) continue;
      noms.push_back(std::move(nom));
      tels.push_back(std::move(*tel));
    }
  }
  const std::size_t nn = noms.size();
  // What the current section's first line of each name says: nothing yet, a value, or a line
  // without "=" (which keeps the default and hides the later lines of that key).
  struct Trouvee {
    bool vue = false;
    std::optional<VueDe<C>> valeur;
  };
  std::vector<Trouvee> trouvees(nn);
  // The answers handed on: views of the file's text, of the defaults, or of what had to be
  // converted, into `converties`.
  std::vector<std::string_view> valeurs(cles.size());
  std::vector<std::string> converties(cles.size());
  std::size_t courante = 0, ouvertes = 0;
  // The lines of a section usually come in the order of the keys asked: the search starts
  // after the name found last.
  std::size_t suivant = 0;
  std::size_t nomsLus = 0, livrees = 0;
  // The sections answered before their turn: section k's answers start at attente[k] in
  // `enAttente`.
  std::vector<std::string> enAttente;
  std::unordered_map<std::size_t, std::size_t> attente;
  auto termine = [&] {
    if (courante == 0) return;
    for (std::size_t j = 0; j < cles.size(); ++j) {
      const Trouvee* t = nomDe[j] == kAucun ? nullptr : &trouvees[nomDe[j]];
      valeurs[j] = t && t->valeur ? Texte(Copiee(*t->valeur, taille), converties[j])
                                  : std::string_view(defauts[j]);
    }
    // Its number is at most the names counted so far, so never above the count at the end.
    if (courante == livrees + 1) {
      ++livrees;
      reception(valeurs);
      return;
    }
    attente.emplace(courante, enAttente.size());
    enAttente.insert(enAttente.end(), valeurs.begin(), valeurs.end());
  };
  Parcours(texte, [&] { return courante != 0 && ouvertes > 0; }, [&](const Ligne<C>& l) {
    if (l.entete) {
      termine();
      if (!l.nom.empty()) ++nomsLus;
      courante = Numero(l.nom, maximum);
      // Only the first section of a name is read.
      if (courante <= livrees || attente.count(courante) != 0) courante = 0;
      trouvees.assign(nn, Trouvee{});
      ouvertes = nn;
      suivant = 0;
    } else if (courante != 0 && ouvertes > 0) {
      for (std::size_t essai = 0, i = suivant; essai < nn; ++essai, i = i + 1 == nn ? 0 : i + 1) {
        if (!MemesUnites(l.nom, VueDe<C>(tels[i])) && !MemeNom(l.nom, noms[i])) continue;
        Trouvee& t = trouvees[i];
        if (!t.vue) {
          t = {true, l.valeur};
          --ouvertes;
        }
        suivant = i + 1 == nn ? 0 : i + 1;
        break;
      }
    }
    return true;
  });
  termine();
  for (std::size_t k = livrees + 1; k <= std::min(nomsLus, maximum); ++k) {
    const auto a = attente.find(k);
    for (std::size_t j = 0; j < cles.size(); ++j)
      valeurs[j] = a != attente.end() ? enAttente[a->second + j] : defauts[j];
    reception(valeurs);
  }
}

}  // namespace

Profil::Profil(const std::string& contenu) : octets_(contenu) { Lit(); }

Profil::Profil(std::string&& contenu) : propres_(std::move(contenu)), octets_(propres_) { Lit(); }

void Profil::Lit() {
  if (AMarque(octets_)) {
    forme_ = Forme::Marque;
    texte_ = Decode(octets_);
  } else if (EstUtf8MultiOctets(octets_)) {
    // As Notepad saves it: only UTF-8 can hold these bytes.
    forme_ = Forme::Utf8;
    texte_ = Utf16(octets_);
  }
}

std::vector<std::string> Profil::NomsDeSections(std::size_t taille) const {
  if (forme_ != Forme::Cp1252) return Noms(std::u16string_view(texte_), taille);
  return Noms(octets_, taille);
}

std::string Profil::Valeur(std::string_view section, std::string_view cle, std::string_view defaut,
                           std::size_t taille) const {
  return Valeurs({{section, cle, defaut, taille}}).front();
}

std::vector<std::string> Profil::Valeurs(const std::vector<Question>& questions) const {
  if (forme_ != Forme::Cp1252) return Reponses(std::u16string_view(texte_), questions);
  return Reponses(octets_, questions);
}

void Profil::ValeursNumerotees(const std::vector<Cle>& cles, std::size_t taille,
                               std::size_t maximum, const Reception& reception) const {
  if (forme_ != Forme::Cp1252)
    ReponsesNumerotees(std::u16string_view(texte_), cles, taille, maximum, reception);
  else
    ReponsesNumerotees(octets_, cles, taille, maximum, reception);
}

}  // namespace plat
