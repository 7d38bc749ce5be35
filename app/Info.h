// The information dialog: one shortcut, read-only, and a button to start it.
#pragma once

#include "app/Declars.h"
#include "toolkit/Toolkit.h"

class TFrmInfo : public tk::Form {
 public:
  explicit TFrmInfo(tk::Application& application);

  // Fills the controls from a record.
  void Affiche(const Enreg& r);

  tk::Label Label1{this, "Label1", {18, 8, 0, 0}, "Menu:"};
  tk::Edit iEdMenu{this, "iEdMenu", {198, 4, 120, 21}};
  tk::Label Label5{this, "Label5", {18, 30, 0, 0}, "Item:"};
  tk::Edit iEdItem{this, "iEdItem", {198, 26, 120, 21}};
  tk::Label Label2{this, "Label2", {18, 64, 0, 0}, "Chemin et nom de l'exécutable:"};
  tk::Edit iEdExe{this, "iEdExe", {198, 60, 280, 21}};
  tk::Label Label4{this, "Label4", {18, 86, 0, 0}, "Paramètres d'exécution:"};
  tk::Edit iEdParam{this, "iEdParam", {198, 82, 280, 21}};
  tk::Label Label3{this, "Label3", {18, 108, 0, 0}, "Répertoire de travail:"};
  tk::Edit iEdChemin{this, "iEdChemin", {198, 104, 280, 21}};
  tk::GroupBox GroupBox2{this, "GroupBox2", {106, 140, 280, 150}, " Activation "};
  tk::GroupBox GroupBox1{&GroupBox2, "GroupBox1", {26, 17, 113, 120}, " Touches spéciales "};
  tk::CheckBox iChxCtrl{&GroupBox1, "iChxCtrl", {20, 20, 50, 17}, "Ctrl"};
  tk::CheckBox iChxAlt{&GroupBox1, "iChxAlt", {20, 45, 50, 17}, "Alt"};
  tk::CheckBox iChxShift{&GroupBox1, "iChxShift", {20, 71, 50, 17}, "Shift"};
  tk::CheckBox iChxWin{&GroupBox1, "iChxWin", {20, 96, 69, 17}, "Windows"};
  tk::Label Label6{&GroupBox2, "Label6", {170, 71, 0, 0}, "Touche:"};
  tk::Edit iEdTouche{&GroupBox2, "iEdTouche", {221, 67, 20, 21}};
  tk::Button iBbtOK{this, tk::Kind::Button, "iBbtOK", {121, 304, 90, 26}, "OK",
                    tk::Picture::GlyphOk};
  tk::Button iBbtActivation{this,          tk::Kind::Button,
                            "iBbtActivation", {280, 304, 90, 26},
                            "Activation",  tk::Picture::GlyphActivation};
};
