// The configuration editor: a private working copy of the shortcuts, edited
// menu by menu and item by item, written to the settings file by "OK".
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/Declars.h"
#include "toolkit/Toolkit.h"

class TFrmPrincip;

class TFrmConfig : public tk::Form {
 public:
  TFrmConfig(tk::Application& application, TFrmPrincip& principal);

  std::unique_ptr<ListeEnreg> ListeTravail;
  bool Ouvert = false;
  // The record whose values the fields show; none when no item is selected.
  const Enreg* EnregMontre() const { return iLixItems.object(ItemCourant); }

  void Init();
  void FormClose();

  void iLixMenusClick();
  void iLixItemsClick();
  // Positions in the item list, 16-bit numbers like every count of shortcuts.
  void PermutationItem(std::uint16_t a, std::uint16_t b);

  void iSbtMenuHautClick();
  void iSbtMenuBasClick();
  void iSbtMenuPlusClick();
  void iSbtMenuMoinsClick();
  void iLixMenusDblClick();
  void iSbtItemHautClick();
  void iSbtItemBasClick();
  void iSbtItemPlusClick();
  void iSbtItemMoinsClick();
  void iLixItemsDblClick();

  void iBbtOkClick();
  void iBbtAnnulerClick();
  void iBbtActivationClick();
  void Button1Click();
  void iEdToucheChange();

  tk::GroupBox GroupBox4{this, "GroupBox4", {6, 3, 300, 170}, " Menu "};
  tk::ListBox iLixMenus{&GroupBox4, "iLixMenus", {48, 16, 240, 123}};
  tk::Button iSbtMenuHaut{&GroupBox4, tk::Kind::SpeedButton, "iSbtMenuHaut", {12, 50, 23, 22}, "",
                          tk::Picture::FlecheHaut};
  tk::Button iSbtMenuBas{&GroupBox4, tk::Kind::SpeedButton, "iSbtMenuBas", {12, 83, 23, 22}, "",
                         tk::Picture::FlecheBas};
  tk::Button iSbtMenuPlus{&GroupBox4, tk::Kind::SpeedButton, "iSbtMenuPlus", {139, 143, 23, 22},
                          "", tk::Picture::Plus};
  tk::Button iSbtMenuMoins{&GroupBox4, tk::Kind::SpeedButton, "iSbtMenuMoins", {173, 143, 23, 22},
                           "", tk::Picture::Moins};

  tk::GroupBox GroupBox5{this, "GroupBox5", {316, 3, 300, 170}, " Sous-Menu "};
  tk::ListBoxDe<Enreg> iLixItems{&GroupBox5, "iLixItems", {48, 16, 240, 123}};
  tk::Button iSbtItemHaut{&GroupBox5, tk::Kind::SpeedButton, "iSbtItemHaut", {12, 50, 23, 22}, "",
                          tk::Picture::FlecheHaut};
  tk::Button iSbtItemBas{&GroupBox5, tk::Kind::SpeedButton, "iSbtItemBas", {12, 83, 23, 22}, "",
                         tk::Picture::FlecheBas};
  tk::Button iSbtItemPlus{&GroupBox5, tk::Kind::SpeedButton, "iSbtItemPlus", {139, 143, 21, 22},
                          "", tk::Picture::Plus};
  tk::Button iSbtItemMoins{&GroupBox5, tk::Kind::SpeedButton, "iSbtItemMoins", {171, 143, 23, 22},
                           "", tk::Picture::Moins};

  tk::GroupBox GroupBox1{this, "GroupBox1", {6, 184, 610, 220}, " Fiche "};
  tk::GroupBox GroupBox6{&GroupBox1, "GroupBox6", {6, 24, 440, 180},
                         " Caractéristiques de l'application "};
  tk::Label Label4{&GroupBox6, "Label4", {6, 32, 0, 0}, "Chemin et nom de l'exécutable:"};
  tk::Edit iEdExe{&GroupBox6, "iEdExe", {154, 30, 205, 21}};
  tk::Button iBbtParcourir{&GroupBox6, tk::Kind::Button, "iBbtParcourir", {359, 30, 75, 22},
                           "Parcourir...", tk::Picture::GlyphParcourir};
  tk::Label Label1{&GroupBox6, "Label1", {6, 70, 0, 0}, "Paramètres d'exécution:"};
  tk::Edit iEdParam{&GroupBox6, "iEdParam", {154, 67, 280, 21}};
  tk::Label Label5{&GroupBox6, "Label5", {6, 108, 0, 0}, "Répertoire de travail:"};
  tk::Edit iEdChemin{&GroupBox6, "iEdChemin", {154, 104, 280, 21}};
  tk::Button iBbtActivation{&GroupBox6, tk::Kind::Button, "iBbtActivation", {154, 143, 120, 26},
                            "Test d'exécution", tk::Picture::GlyphTest};
  tk::GroupBox GroupBox2{&GroupBox1, "GroupBox2", {455, 24, 150, 180}, " Activation "};
  tk::GroupBox GroupBox3{&GroupBox2, "GroupBox3", {15, 17, 120, 116}, " Touches spéciales "};
  tk::CheckBox iChxCtrl{&GroupBox3, "iChxCtrl", {20, 20, 50, 17}, "Ctrl"};
  tk::CheckBox iChxAlt{&GroupBox3, "iChxAlt", {20, 43, 50, 17}, "Alt"};
  tk::CheckBox iChxShift{&GroupBox3, "iChxShift", {20, 65, 50, 17}, "Shift"};
  tk::CheckBox iChxWin{&GroupBox3, "iChxWin", {20, 88, 69, 17}, "Windows"};
  tk::Label Label7{&GroupBox2, "Label7", {39, 149, 0, 0}, "Touche:"};
  tk::Edit iEdTouche{&GroupBox2, "iEdTouche", {90, 145, 20, 21}};

  tk::Button iBbtOk{this, tk::Kind::Button, "iBbtOk", {196, 412, 90, 26}, "OK",
                    tk::Picture::GlyphOk};
  tk::Button iBbtAnnuler{this, tk::Kind::Button, "iBbtAnnuler", {336, 412, 90, 26}, "Annuler",
                         tk::Picture::GlyphAnnuler};
  tk::OpenDialog iODlgChoix;

 private:
  // Stores the fields into the record shown, then shows the record of item row `ligne`,
  // selected (-1: none, the fields empty). The one way the item shown changes.
  void MontreItem(int ligne);
  // Stores the fields into the record shown, which is shown no more: records may then move,
  // and item rows change.
  void RangeItem();
  // Stores the fields into the record shown, then lists the items of the selected menu and
  // shows row `ligne` of them (none, when there is no such row).
  void RemplitItems(int ligne);
  void SauvegardeItem();

  void DeplaceItem(int decalage);
  void DeplaceMenu(int decalage);

  TFrmPrincip& principal_;
  // The item row whose record the fields show, -1 for none: a field is stored into that
  // record, and no other, before another is shown or the rows change.
  int ItemCourant = -1;
};
