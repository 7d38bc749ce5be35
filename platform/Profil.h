// Our reader of settings files. It reads the file once and answers every
// section and key from memory, following the rules of GetPrivateProfileStringA
// (which re-reads the file on every call).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace plat {

class Profil {
 public:
  // `contenu` is the file's bytes as they are on disk (any encoding mark included).
  explicit Profil(const std::string& contenu);

  // The names found by walking the buffer that
  // GetPrivateProfileStringA(NULL, NULL, "", buffer, taille, file) fills: each
  // name up to its zero byte, until an empty name (the list's final zero byte).
  std::vector<std::string> NomsDeSections(std::size_t taille) const;

  // What GetPrivateProfileStringA(section, cle, defaut, buffer, taille, file)
  // puts into the buffer, without the terminating zero byte.
  std::string Valeur(const std::string& section, const std::string& cle, const std::string& defaut,
                     std::size_t taille) const;

 private:
  // Kept in UTF-16, as the system holds them, so that names compare the same way.
  struct Cle {
    std::u16string nom;  // folded to lower case once, for the look-ups
    std::optional<std::u16string> valeur;  // none: a line without "="
  };
  struct Section {
    std::u16string nom;
    std::vector<Cle> cles;
  };
  std::vector<Section> sections_;
  // Lower-case name -> the first section of that name, the only one the system reads.
  std::unordered_map<std::u16string, std::size_t> index_;
};

}  // namespace plat
