#include "app/Config.h"

#include <algorithm>
#include <utility>

#include "app/Princip.h"
#include "platform/Encodage.h"

TFrmConfig::TFrmConfig(tk::Application& application, TFrmPrincip& principal)
    : tk::Form(application, "TFrmConfig", "Configuration", 622, 443),
      iODlgChoix(application),
      principal_(principal) {
  // Keyboard order inside the application group differs from the layout order.
  iEdExe.tabOrder = 0;
  iEdParam.tabOrder = 1;
  iEdChemin.tabOrder = 2;
  iBbtActivation.tabOrder = 3;
  iBbtParcourir.tabOrder = 4;

  iBbtOk.modalResult = tk::mrOk;
  iBbtOk.isDefault = true;
  iBbtAnnuler.modalResult = tk::mrCancel;
  iBbtAnnuler.isCancel = true;

  iODlgChoix.title = "Sélection d'une application";
  iODlgChoix.filter = "Tous les fichiers (*.*)|*.*";
  iODlgChoix.hideReadOnly = true;
  iODlgChoix.noChangeDir = true;

  iLixMenus.OnClick = [this] { iLixMenusClick(); };
  iLixMenus.OnDblClick = [this] { iLixMenusDblClick(); };
  iLixItems.OnClick = [this] { iLixItemsClick(); };
  iLixItems.OnDblClick = [this] { iLixItemsDblClick(); };
  iSbtMenuHaut.OnClick = [this] { iSbtMenuHautClick(); };
  iSbtMenuBas.OnClick = [this] { iSbtMenuBasClick(); };
  iSbtMenuPlus.OnClick = [this] { iSbtMenuPlusClick(); };
  iSbtMenuMoins.OnClick = [this] { iSbtMenuMoinsClick(); };
  iSbtItemHaut.OnClick = [this] { iSbtItemHautClick(); };
  iSbtItemBas.OnClick = [this] { iSbtItemBasClick(); };
  iSbtItemPlus.OnClick = [this] { iSbtItemPlusClick(); };
  iSbtItemMoins.OnClick = [this] { iSbtItemMoinsClick(); };
  iBbtOk.OnClick = [this] { iBbtOkClick(); };
  iBbtAnnuler.OnClick = [this] { iBbtAnnulerClick(); };
  iBbtActivation.OnClick = [this] { iBbtActivationClick(); };
  iBbtParcourir.OnClick = [this] { Button1Click(); };
  iEdTouche.OnChange = [this] { iEdToucheChange(); };
  OnClose = [this] { FormClose(); };
}

void TFrmConfig::FormClose() {
  ListeTravail.reset();
  ItemCourant = -1;
  // Closed by "OK", by "Annuler", after a failed save or by the system: the
  // editor can always be opened again.
  Ouvert = false;
}

void TFrmConfig::Init() {
  Ouvert = true;
  ListeTravail = std::make_unique<ListeEnreg>();
  if (principal_.ListeRaccourcis)
    for (const auto& r : *principal_.ListeRaccourcis)
      ListeTravail->push_back(std::make_unique<Enreg>(*r));
  iLixMenus.beginUpdate();
  iLixMenus.clear();
  iLixItems.clear();
  // One row per exact label, so that every record can be reached and is written
  // back exactly once.
  for (const auto& r : *ListeTravail) {
    const auto& rows = iLixMenus.rows();
    if (std::none_of(rows.begin(), rows.end(), [&](const auto& row) { return row.text == r->Menu; }))
      iLixMenus.add(r->Menu);
  }
  iLixMenus.setItemIndex(0);
  iLixMenus.endUpdate();
  if (!ListeTravail->empty()) RemplitItems(0);
}

void TFrmConfig::iLixMenusClick() { RemplitItems(0); }

void TFrmConfig::iLixItemsClick() { MontreItem(iLixItems.itemIndex()); }

void TFrmConfig::MontreItem(int ligne) {
  SauvegardeItem();
  iLixItems.setItemIndex(ligne);
  ItemCourant = iLixItems.itemIndex();
  MontreEnreg(*this, EnregMontre());
}

void TFrmConfig::RangeItem() {
  SauvegardeItem();
  ItemCourant = -1;
}

void TFrmConfig::RemplitItems(int ligne) {
  RangeItem();
  iLixItems.beginUpdate();
  iLixItems.clear();
  if (ListeTravail && iLixMenus.itemIndex() != -1) {
    const std::string& menu = iLixMenus.rowText(iLixMenus.itemIndex());
    for (const auto& r : *ListeTravail)
      if (r->Menu == menu) iLixItems.add(r->Item, *r);
  }
  iLixItems.endUpdate();
  MontreItem(ligne);
}

void TFrmConfig::SauvegardeItem() {
  if (Enreg* r = iLixItems.object(ItemCourant)) LitEnreg(*this, *r);
}

void TFrmConfig::PermutationItem(std::uint16_t a, std::uint16_t b) {
  const Enreg* ra = iLixItems.object(a);
  const Enreg* rb = iLixItems.object(b);
  auto position = [this](const Enreg* r) {
    return std::find_if(ListeTravail->begin(), ListeTravail->end(),
                        [r](const auto& p) { return p.get() == r; });
  };
  auto pa = position(ra), pb = position(rb);
  if (pa == ListeTravail->end() || pb == ListeTravail->end()) return;
  // The records stay where they are; their contents change places.
  std::swap(**pa, **pb);
}

void TFrmConfig::DeplaceMenu(int decalage) {
  const int ligne = iLixMenus.itemIndex();
  const int cible = ligne + decalage;
  if (ligne == -1 || cible < 0 || cible >= iLixMenus.count()) return;
  iLixMenus.move(ligne, cible);
  iLixMenus.setItemIndex(cible);
}

void TFrmConfig::iSbtMenuHautClick() { DeplaceMenu(-1); }

void TFrmConfig::iSbtMenuBasClick() { DeplaceMenu(+1); }

void TFrmConfig::DeplaceItem(int decalage) {
  const int ligne = iLixItems.itemIndex();
  const int cible = ligne + decalage;
  if (ligne == -1 || cible < 0 || cible >= iLixItems.count()) return;
  RangeItem();
  PermutationItem(static_cast<std::uint16_t>(ligne), static_cast<std::uint16_t>(cible));
  RemplitItems(cible);
}

void TFrmConfig::iSbtItemHautClick() { DeplaceItem(-1); }

void TFrmConfig::iSbtItemBasClick() { DeplaceItem(+1); }

void TFrmConfig::iSbtMenuPlusClick() {
  std::string libelle;
  if (!tk::BoiteSaisie(application(), "Ajout d'un menu", "Libellé du menu", libelle)) return;
  if (iLixMenus.indexOf(libelle) != -1) {
    tk::MessageErreur(application(), "Menu déjà utilisé !");
    return;
  }
  iLixMenus.add(libelle);
  iLixMenus.setItemIndex(iLixMenus.count() - 1);
  RemplitItems(0);
}

void TFrmConfig::iSbtMenuMoinsClick() {
  const int ligne = iLixMenus.itemIndex();
  if (ligne == -1) return;
  if (iLixItems.count() > 0) {
    tk::MessageErreur(application(), "Impossible d'effacer un menu qui contient des items !");
    return;
  }
  const std::string libelle = iLixMenus.rowText(ligne);
  if (tk::MessageConfirmation(application(), "Etes-vous sûr(e) de vouloir effacer le menu '" +
                                                 libelle + "' ?") == tk::mrNo)
    return;
  iLixMenus.remove(ligne);
  iLixMenus.setItemIndex(0);
  RemplitItems(0);
}

void TFrmConfig::iLixMenusDblClick() {
  const int ligne = iLixMenus.itemIndex();
  if (ligne == -1) return;
  const std::string ancien = iLixMenus.rowText(ligne);
  std::string nouveau = ancien;
  if (!tk::BoiteSaisie(application(), "Modification du libellé d'un menu", "Libellé du menu",
                       nouveau))
    return;
  // Kept as it is: another row may differ from it only in case, that is no reason to refuse.
  if (nouveau == ancien) return;
  // Two rows with one label would list the same records twice, or lose the
  // later one at the next opening: refused, as when adding a menu.
  const std::string cle = tk::MajusculesAZ(nouveau);
  for (int i = 0; i < iLixMenus.count(); ++i)
    if (i != ligne && tk::MajusculesAZ(iLixMenus.rowText(i)) == cle) {
      tk::MessageErreur(application(), "Menu déjà utilisé !");
      return;
    }
  iLixMenus.setRowText(ligne, nouveau);
  for (auto& r : *ListeTravail)
    if (r->Menu == ancien) r->Menu = nouveau;
}

void TFrmConfig::iSbtItemPlusClick() {
  std::string libelle;
  if (!tk::BoiteSaisie(application(), "Ajout d'un item", "Libellé de l'item", libelle)) return;
  if (iLixItems.indexOf(libelle) != -1) {
    tk::MessageErreur(application(), "Item déjà utilisé !");
    return;
  }
  const int menu = iLixMenus.itemIndex();
  if (menu == -1) return;
  // One more would be written, then never read back.
  if (ListeTravail->size() >= kMaxRaccourcis) {
    tk::MessageErreur(application(), "Impossible d'ajouter l'item " + libelle + " : " +
                                         std::to_string(kMaxRaccourcis) + " items au plus !");
    return;
  }
  auto r = std::make_unique<Enreg>();
  r->Menu = iLixMenus.rowText(menu);
  r->Item = libelle;
  Enreg& nouveau = *r;
  ListeTravail->push_back(std::move(r));
  iLixItems.add(libelle, nouveau);
  MontreItem(iLixItems.count() - 1);
}

void TFrmConfig::iSbtItemMoinsClick() {
  const int ligne = iLixItems.itemIndex();
  if (ligne == -1) return;
  const std::string libelle = iLixItems.rowText(ligne);
  if (tk::MessageConfirmation(application(), "Etes-vous sûr(e) de vouloir effacer l'item '" +
                                                 libelle + "' ?") == tk::mrNo)
    return;
  const Enreg* r = iLixItems.object(ligne);
  // Its fields go with it.
  ItemCourant = -1;
  ListeTravail->erase(std::remove_if(ListeTravail->begin(), ListeTravail->end(),
                                     [r](const auto& p) { return p.get() == r; }),
                      ListeTravail->end());
  iLixItems.remove(ligne);
  MontreItem(0);
}

void TFrmConfig::iLixItemsDblClick() {
  const int ligne = iLixItems.itemIndex();
  if (ligne == -1) return;
  std::string libelle = iLixItems.rowText(ligne);
  if (!tk::BoiteSaisie(application(), "Modification du libellé d'un item", "Libellé de l'item",
                       libelle))
    return;
  iLixItems.setRowText(ligne, libelle);
  if (Enreg* r = iLixItems.object(ligne)) r->Item = libelle;
}

void TFrmConfig::iBbtOkClick() {
  SauvegardeItem();
  std::vector<std::string> menus;
  for (const auto& row : iLixMenus.rows()) menus.push_back(row.text);
  for (const std::string& vide :
       EcritureIni(principal_.Plateforme(), principal_.CheminIni(), menus, *ListeTravail))
    tk::MessageErreur(application(),
                      "Le menu " + vide + " n'est pas pris en compte car il ne contient aucun item !");
  principal_.Recharge();
  Ouvert = false;
}

void TFrmConfig::iBbtAnnulerClick() { Ouvert = false; }

void TFrmConfig::iBbtActivationClick() {
  Lancement(application(), principal_.Plateforme(), principal_.DossierLanceur(), iEdExe.text(),
            iEdParam.text(), iEdChemin.text());
}

void TFrmConfig::Button1Click() {
  if (iEdExe.text().empty()) {
    // The launcher's folder, not the current directory, which a dialog open meanwhile moves.
    const std::string& dossier = principal_.DossierLanceur();
    iODlgChoix.initialDir = tk::MajusculesAZ(dossier.substr(0, 1)) + ":\\";
    iODlgChoix.fileName.clear();
  } else {
    iODlgChoix.initialDir.clear();
    iODlgChoix.fileName = iEdExe.text();
  }
  if (iODlgChoix.execute()) iEdExe.setText(iODlgChoix.fileName);
}

void TFrmConfig::iEdToucheChange() {
  if (iEdTouche.text().empty()) return;
  // A key is one character, whatever number of bytes it takes.
  const std::string& touche = iEdTouche.text();
  iEdTouche.setText(tk::MajusculesAZ(touche.substr(0, plat::LongueurPremierCaractere(touche))));
}
