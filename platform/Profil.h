// Our reader of settings files. It walks the file's text in place, answering many questions
// in one pass, and follows the rules of the system's GetPrivateProfileString (which re-reads
// the file on every call). Its texts are UTF-8, whatever the file's form.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Profil {
 public:
  // `contenu` is the file's bytes as they are on disk (any encoding mark included). They are
  // read where they are and must outlive the reader; a temporary's are kept.
  explicit Profil(const std::string& contenu);
  explicit Profil(std::string&& contenu);
  Profil(const Profil&) = delete;
  Profil& operator=(const Profil&) = delete;

  // How the file is read: Windows-1252 bytes; Unicode marked by a byte-order mark (UTF-8,
  // UTF-16LE or BE); UTF-8 without a mark, when its bytes can be nothing else.
  enum class Forme { Cp1252, Marque, Utf8 };
  Forme forme() const { return forme_; }

  // The names found by walking the buffer that
  // GetPrivateProfileString(NULL, NULL, "", buffer, taille, file) fills: each
  // name up to its zero character, until an empty name (the list's final zero).
  std::vector<std::string> NomsDeSections(std::size_t taille) const;

  // What GetPrivateProfileString(section, cle, defaut, buffer, taille, file) puts into the
  // buffer, without the terminating zero; `taille` counts the file's units (bytes of a
  // Windows-1252 file, UTF-16 units of a Unicode one).
  std::string Valeur(std::string_view section, std::string_view cle, std::string_view defaut,
                     std::size_t taille) const;

  // The texts are read where they are: they must outlive the call to Valeurs.
  struct Question {
    std::string_view section;
    std::string_view cle;
    std::string_view defaut;
    std::size_t taille;
  };
  // The answers of Valeur to every question, in their order, from one walk over the file.
  std::vector<std::string> Valeurs(const std::vector<Question>& questions) const;

  struct Cle {
    std::string_view nom;
    std::string_view defaut;
  };
  // Takes the answers of one section's keys, in their order, which hold during the call only.
  using Reception = std::function<void(const std::vector<std::string_view>& valeurs)>;
  // The same keys of the sections named "1", "2", … "N", N being the number of names that
  // NomsDeSections finds with room for all of them, at most `maximum`: the answers of Valeur,
  // handed to `reception` one section after the other, from one walk that also counts the names.
  void ValeursNumerotees(const std::vector<Cle>& cles, std::size_t taille, std::size_t maximum,
                         const Reception& reception) const;

 private:
  void Lit();

  std::string propres_;      // the bytes of a temporary
  std::string_view octets_;  // the file
  Forme forme_ = Forme::Cp1252;
  std::u16string texte_;     // a Unicode file, decoded: the rules apply to it
};

}  // namespace plat
