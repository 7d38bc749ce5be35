// Our reader of settings files. It walks the file's bytes in place, answering many questions
// in one pass, and follows the rules of GetPrivateProfileStringA (which re-reads the file on
// every call).
#pragma once

#include <cstddef>
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

  // The names found by walking the buffer that
  // GetPrivateProfileStringA(NULL, NULL, "", buffer, taille, file) fills: each
  // name up to its zero byte, until an empty name (the list's final zero byte).
  std::vector<std::string> NomsDeSections(std::size_t taille) const;

  // What GetPrivateProfileStringA(section, cle, defaut, buffer, taille, file)
  // puts into the buffer, without the terminating zero byte.
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

 private:
  std::string propres_;      // the bytes of a temporary
  std::string_view octets_;  // the file
  bool unicode_;             // an encoding mark: the rules apply to the decoded text
  std::u16string texte_;
};

}  // namespace plat
