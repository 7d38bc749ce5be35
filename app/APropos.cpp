#include "app/APropos.h"

TFrmAPropos::TFrmAPropos(tk::Application& application)
    : tk::Form(application, "TFrmAPropos", "A propos de Vivelance", 322, 183) {
  Label1.font.bold = true;
  Label1.font.height = -19;
  Label3.font.height = -13;
  iBbtOk.modalResult = tk::mrOk;
  iBbtOk.isDefault = true;
  iBbtOk.OnClick = [this] { iBbtOkClick(); };
  // However the box closes, it can be opened again.
  OnClose = [this] { Ouvert = false; };
}

void TFrmAPropos::Init() { Ouvert = true; }

void TFrmAPropos::iBbtOkClick() { Ouvert = false; }
