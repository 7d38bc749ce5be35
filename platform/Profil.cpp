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
// ends, folded. Nothing when the file cannot hold it.
template <class C>
std::optional<ChaineDe<C>> NomCherche(std::string_view s) {
  const auto unites = Unites<C>(s);
  if (!unites) return std::nullopt;
  const VueDe<C> nom = Rogne(JusquAuZero(VueDe<C>(*unites)));
  ChaineDe<C> r;
  r.reserve(nom.size());
  for (C c : nom) r.push_back(Minuscule(c));
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
  if (octets.substr(0, 3) == "\xEF\xBB\xBF") return Utf16(octets.substr(3));
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
  return Texte(r);
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

}  // namespace plat
