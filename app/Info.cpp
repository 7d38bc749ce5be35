#include "app/Info.h"

TFrmInfo::TFrmInfo(tk::Application& application)
    : tk::Form(application, "TFrmInfo", "Informations", 492, 333) {
  for (tk::Edit* e : {&iEdMenu, &iEdItem, &iEdExe, &iEdParam, &iEdChemin, &iEdTouche}) {
    e->readOnly = true;
    e->tabStop = false;
  }
  // Shown greyed: the boxes say what the shortcut holds and cannot be changed here.
  GroupBox1.setEnabled(false);
  for (tk::CheckBox* c : {&iChxCtrl, &iChxAlt, &iChxShift, &iChxWin}) c->setEnabled(false);
  iBbtOK.modalResult = tk::mrOk;
  iBbtOK.isDefault = true;
  iBbtActivation.modalResult = tk::mrYes;
}

void TFrmInfo::Affiche(const Enreg& r) {
  iEdMenu.setText(r.Menu);
  iEdItem.setText(r.Item);
  MontreEnreg(*this, &r);
}
