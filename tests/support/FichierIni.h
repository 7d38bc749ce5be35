// Settings files as the tests give them to the launcher and expect it to write them. The layout
// is written here again on purpose, apart from the program's: a change to that one fails a test.
// Header only: the e2e tests and the benchmark use it without linking the program (the
// platform layer gives the encodings).
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/Encodage.h"

// A shortcut of a test. Its flags and key are set by name:
// Raccourci("A", "x", "x.exe").Ctrl().Alt().Touche("K").
struct Raccourci {
  Raccourci() = default;
  Raccourci(std::string menu, std::string item, std::string exe = {}, std::string params = {},
            std::string dir = {})
      : menu(std::move(menu)), item(std::move(item)), exe(std::move(exe)),
        params(std::move(params)), dir(std::move(dir)) {}

  Raccourci& Shift(bool oui = true) { shift = oui; return *this; }
  Raccourci& Ctrl(bool oui = true) { ctrl = oui; return *this; }
  Raccourci& Alt(bool oui = true) { alt = oui; return *this; }
  Raccourci& Win(bool oui = true) { win = oui; return *this; }
  Raccourci& Touche(std::string t) { touche = std::move(t); return *this; }

  std::string menu;
  std::string item;
  std::string exe;
  std::string params;
  std::string dir;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool win = false;
  std::string touche;
};

// Section `n` as the launcher writes it, for values it writes as they are: its text.
inline std::string TexteSectionIni(int n, const Raccourci& r) {
  auto oui = [](bool b) { return b ? "Oui" : "Non"; };
  return "[" + std::to_string(n) + "]\r\nMenu = " + r.menu + "\r\nItem = " + r.item +
         "\r\nExécutable = " + r.exe + "\r\nParamètre(s) = " + r.params +
         "\r\nRépertoire de travail = " + r.dir + "\r\nShift = " + oui(r.shift) +
         "\r\nCtrl = " + oui(r.ctrl) + "\r\nAlt = " + oui(r.alt) + "\r\nWin = " + oui(r.win) +
         "\r\nTouche = " + r.touche + "\r\n\r\n";
}

// The same in Windows-1252 bytes, for a shortcut whose texts all fit.
inline std::string SectionIni(int n, const Raccourci& r) {
  return plat::Cp1252(TexteSectionIni(n, r)).value();
}

// The shortcuts as sections 1, 2, …: Windows-1252 when every text fits, UTF-16LE with a
// byte-order mark otherwise, as the launcher writes them.
inline std::string FichierIni(const std::vector<Raccourci>& raccourcis) {
  std::string f;
  for (std::size_t i = 0; i < raccourcis.size(); ++i)
    f += TexteSectionIni(static_cast<int>(i + 1), raccourcis[i]);
  if (auto cp1252 = plat::Cp1252(f)) return *cp1252;
  return "\xFF\xFE" + plat::OctetsUtf16LE(f);
}
