#include "app/Princip.h"

#include <string_view>
#include <unordered_map>

#include "app/APropos.h"
#include "app/Config.h"
#include "app/Info.h"
#include "platform/Commande.h"
#include "platform/Encodage.h"
#include "Version.h"

static_assert(std::string_view(TFrmPrincip::kTitre) == "Vivelance " VIVLAN_VERSION,
              "a new version: decide whether the title that finds a running launcher changes too");

namespace {

constexpr int kResultatActivation = tk::mrYes;

tk::MenuItem& Entree(tk::PopupMenu& menu, const std::string& caption,
                     std::function<void()> handler = nullptr,
                     tk::Picture picture = tk::Picture::None) {
  auto item = std::make_unique<tk::MenuItem>(caption);
  item->picture = picture;
  if (handler) item->OnClick = [handler](tk::MenuItem&) { handler(); };
  return menu.add(std::move(item));
}

void Separateur(tk::PopupMenu& menu) {
  menu.add(std::make_unique<tk::MenuItem>()).separator = true;
}

}  // namespace

std::string TexteCombinaison(const Enreg& r) {
  // Built in place: one per menu entry, thousands at start-up.
  std::string texte;
  auto ajoute = [&texte](const char* touche) {
    if (!texte.empty()) texte += " + ";
    texte += touche;
  };
  if (r.Ctrl) ajoute("Ctrl");
  if (r.Alt) ajoute("Alt");
  if (r.Shift) ajoute("Shift");
  if (r.Win) ajoute("Win");
  texte += " + ";
  return texte.append(r.Touche, 0, plat::LongueurPremierCaractere(r.Touche));
}

TFrmPrincip::TFrmPrincip(tk::Application& application, plat::Plateforme& plateforme)
    : tk::Form(application, kClasse, kTitre, 203, 56),
      iPmGauche(application),
      iPmDroit(application),
      iTITray(application, plateforme),
      plateforme_(plateforme),
      inscriptions_(*this, plateforme, ListeRaccourcis),
      dossierLanceur_(plateforme.GetCurrentDirectoryW()),
      cheminIni_(plateforme.CheminAbsolu(kNomFichierIni)) {
  iMiActiveDesactive = &Entree(iPmDroit, "A&ctiver/Désactiver", [this] { iMiActiveDesactiveClick(); });
  Separateur(iPmDroit);
  iMiConfig = &Entree(iPmDroit, "&Configuration", [this] { iMiConfigClick(); },
                      tk::Picture::MenuConfig);
  Separateur(iPmDroit);
  iMiAPropos = &Entree(iPmDroit, "&A propos...", [this] { iMiAProposClick(); });
  iMiAide = &Entree(iPmDroit, "&Rubriques d'aide", [this] { iMiAideClick(); },
                    tk::Picture::MenuAide);
  Separateur(iPmDroit);
  iMiQuitter = &Entree(iPmDroit, "&Quitter", [this] { iMiQuitterClick(); });

  OnClose = [this] { FormClose(); };
  OnHelp = [this](unsigned command, int data, bool& callHelp) {
    return FormHelp(command, data, callHelp);
  };
  OnHotKey = [this](int id) { GestionHotKey(id); };

  // What the window's description sets on the tray icon, then its after-load step.
  iTITray.SetCycleInterval(0);
  iTITray.SetShowHint(false);
  iTITray.PopupMenuGauche = &iPmGauche;
  iTITray.PopupMenuDroit = &iPmDroit;
  iTITray.StartMinimized = true;
  iTITray.Loaded();

  FormCreate();
  handle();
}

TFrmPrincip::~TFrmPrincip() {
  // The menus die with the window; the icon must not keep pointing at them.
  iTITray.PopupMenuGauche = nullptr;
  iTITray.PopupMenuDroit = nullptr;
}

void TFrmPrincip::Relie(TFrmInfo& info, TFrmConfig& config, TFrmAPropos& aPropos) {
  frmInfo_ = &info;
  frmConfig_ = &config;
  frmAPropos_ = &aPropos;
}

void TFrmPrincip::FormCreate() {
  ListeRaccourcis = std::make_unique<ListeEnreg>();
  LectureIni();
  ConstructionMenus();
  // From the inactive state the window starts in, to the active one.
  iMiActiveDesactiveClick();
}

void TFrmPrincip::FormClose() {
  inscriptions_.Ferme();
  ListeRaccourcis.reset();
}

void TFrmPrincip::Recharge() {
  inscriptions_.Libere();
  // Closed during one of the messages: there is nothing left to take the file up.
  if (inscriptions_.EstFerme()) return;
  ListeRaccourcis->clear();
  LectureIni();
  ConstructionMenus();
  if (EtatActif) EnabledHotKeys();
}

void TFrmPrincip::LectureIni() {
  ::LectureIni(plateforme_.LitFichier(cheminIni_), *ListeRaccourcis);
}

void TFrmPrincip::EffacementsMenus() {
  while (iPmGauche.count() > 0) {
    tk::MenuItem& sousMenu = iPmGauche.item(0);
    while (sousMenu.count() > 0) sousMenu.remove(0);
    iPmGauche.remove(0);
  }
}

void TFrmPrincip::ConstructionMenus() {
  EffacementsMenus();
  if (!ListeRaccourcis || ListeRaccourcis->empty()) return;
  // One sub-menu per exact label, in order of first appearance, with no limit
  // on their number.
  std::unordered_map<std::string, tk::MenuItem*> sousMenus;
  const auto n = static_cast<std::uint16_t>(ListeRaccourcis->size());
  for (unsigned i = 0; i < n; ++i) {
    const Enreg& r = *(*ListeRaccourcis)[i];
    tk::MenuItem*& sousMenu = sousMenus[r.Menu];
    if (sousMenu == nullptr) sousMenu = &iPmGauche.add(std::make_unique<tk::MenuItem>(r.Menu));
    auto entree = std::make_unique<tk::MenuItem>(r.Item);
    entree->helpContext = static_cast<int>(i + 1);
    entree->tag = static_cast<int>(i);
    entree->hint = TexteCombinaison(r);
    entree->OnClick = [this](tk::MenuItem& sender) { GestionClickMenu(sender); };
    // Its target's icon: the record as it is now, since the list may be read again while the
    // icons of an open menu are still being fetched; looked for once, at the first opening.
    entree->icone = [this, exe = r.Executable, repertoire = r.Repertoire,
                     trouvee = std::make_shared<std::optional<tk::SourceIcone>>()] {
      if (!*trouvee) *trouvee = IconeDuRaccourci(plateforme_, dossierLanceur_, exe, repertoire);
      return **trouvee;
    };
    sousMenu->add(std::move(entree));
  }
}

void TFrmPrincip::EnabledHotKeys() { inscriptions_.Inscrit(); }

void TFrmPrincip::DisabledHotKeys() { inscriptions_.Desinscrit(); }

void TFrmPrincip::TraiteRaccourci(std::uint16_t index) {
  // An index that names no record of the current list starts nothing.
  if (!ListeRaccourcis || index >= ListeRaccourcis->size()) return;
  Lance(*(*ListeRaccourcis)[index]);
}

void TFrmPrincip::Lance(Enreg r) {
  Lancement(application(), plateforme_, dossierLanceur_, r.Executable, r.Parametres, r.Repertoire);
}

void TFrmPrincip::GestionHotKey(int id) {
  if (!ListeRaccourcis || ListeRaccourcis->empty()) {
    tk::MessageErreur(application(), "Erreur interne 1 !");
    return;
  }
  TraiteRaccourci(static_cast<std::uint16_t>(id & 0xFFFF));
}

void TFrmPrincip::GestionClickMenu(tk::MenuItem& sender) {
  TraiteRaccourci(static_cast<std::uint16_t>(sender.tag & 0xFFFF));
}

void TFrmPrincip::iMiActiveDesactiveClick() {
  // The new state holds before the pass, so that what runs during its messages (another
  // toggle, a save) acts on it; the pass stops if one of them takes over.
  EtatActif = !EtatActif;
  iTITray.SetIcon(application().backend().icon(EtatActif ? iImgActive : iImgDesactive));
  iTITray.PopupMenuGauche = EtatActif ? &iPmGauche : nullptr;
  if (EtatActif)
    EnabledHotKeys();
  else
    DisabledHotKeys();
}

bool TFrmPrincip::FormHelp(unsigned, int data, bool&) {
  if (data <= 0 || frmInfo_ == nullptr || frmInfo_->visible()) return false;
  const auto index = static_cast<std::uint16_t>(data - 1);
  if (!ListeRaccourcis || index >= ListeRaccourcis->size()) return false;
  // The dialog acts on what it shows, even if a save reorders the list while it is open.
  const Enreg r = *(*ListeRaccourcis)[index];
  frmInfo_->Affiche(r);
  if (frmInfo_->showModal() == kResultatActivation) Lance(r);
  return false;
}

void TFrmPrincip::iMiConfigClick() {
  if (frmConfig_ == nullptr || frmConfig_->Ouvert) return;
  frmConfig_->Init();
  frmConfig_->showModal();
}

void TFrmPrincip::iMiAProposClick() {
  if (frmAPropos_ == nullptr || frmAPropos_->Ouvert) return;
  frmAPropos_->Init();
  frmAPropos_->showModal();
}

void TFrmPrincip::iMiAideClick() {
  // The system's Notepad by its full path, on the read-me of the launcher's folder: a
  // Notepad.exe left in that folder, or in whatever is current, never stands in for it.
  const std::string notepad = plat::Joint(plateforme_.GetSystemDirectoryW(), "notepad.exe");
  const std::string lisezMoi = plat::Joint(dossierLanceur_, "LisezMoi.txt");
  if (plateforme_.CreateProcessW(notepad, '"' + notepad + "\" \"" + lisezMoi + '"',
                                 dossierLanceur_, plat::kSwShow) != 0)
    tk::MessageErreur(application(),
                      "Impossible de trouver le bloc-notes ou le fichier LisezMoi.txt !");
}

void TFrmPrincip::iMiQuitterClick() { close(); }
