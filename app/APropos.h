// The about box.
#pragma once

#include "toolkit/Toolkit.h"

class TFrmAPropos : public tk::Form {
 public:
  explicit TFrmAPropos(tk::Application& application);

  bool Ouvert = false;
  void Init();
  void iBbtOkClick();

  tk::Panel Panel1{this, "Panel1", {16, 16, 290, 125}};
  tk::Image iImgActive{&Panel1, "iImgActive", {24, 24, 35, 35}, tk::Picture::IconeActive};
  tk::Label Label1{&Panel1, "Label1", {87, 15, 0, 0}, "Vivelance"};
  tk::Label Label3{&Panel1, "Label3", {39, 76, 0, 0}, "Copyright © 2026 L'équipe Vivelance"};
  tk::Label Label4{&Panel1, "Label4", {85, 96, 0, 0}, "contact@vivelance.fr"};
  tk::Button iBbtOk{this, tk::Kind::Button, "iBbtOk", {116, 150, 90, 26}, "Ok",
                    tk::Picture::GlyphOk};
};
