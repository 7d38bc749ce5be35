// Every pause the program can open (a message box, a prompt, a dialog runs a nested loop in
// which the tray icon and the hotkeys keep working), with each thing the user can do from
// there run inside it; then what must hold once everything has unwound.
#include <algorithm>

#include "support/Banc.h"

using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;

namespace {

// 0 and 1 registered; 2 a key without modifier; 3 refused by the system; 4 cannot be started
// in its own folder; 5 has a folder that cannot be entered.
const std::vector<Raccourci> kRaccourcis = {
    Raccourci("A", "a1", "a1.exe").Ctrl().Touche("K"),
    Raccourci("B", "b1", "b1.exe").Ctrl().Touche("L"),
    Raccourci("A", "c", "c.exe").Touche("M"),
    Raccourci("A", "d", "d.exe").Ctrl().Touche("N"),
    {"B", "e", "e.exe", "", "C:\\Travail"},
    {"B", "f", "f.exe", "", "C:\\Refuse"}};
// What the editor's session saves: "c" removed, menu B moved above A, an empty menu left out.
const std::vector<Raccourci> kApresSession = {kRaccourcis[1], kRaccourcis[4], kRaccourcis[5],
                                              kRaccourcis[0], kRaccourcis[3]};

struct Pause {
  const char* nom;
  const char* signe;  // start of the message's text, or the caption of the dialog or prompt
  int ouverture;      // index in Pauses::ouvertures
};

struct Commande {
  const char* nom;
  int numero;
};

void PrintTo(const Pause& p, std::ostream* os) { *os << p.nom; }
void PrintTo(const Commande& c, std::ostream* os) { *os << c.nom; }

class Pauses : public Banc,
               public ::testing::WithParamInterface<std::tuple<Pause, Commande>> {
 protected:
  void SetUp() override {
    plateforme.raccourcisRefuses.insert({2, 'N'});
    plateforme.absents.insert("C:\\Refuse");
    plateforme.lancementsRefuses["e.exe"] = 2;
    backend.onMessageBox = [this](const tk::MessageBoxSpec& m) {
      EnPause(m.text);
      for (const auto& b : m.buttons)
        if (b.isDefault) return b.result;
      return int(tk::mrCancel);
    };
    backend.onInputQuery = [this](std::string& valeur) {
      EnPause(backend.saisies.back().caption);
      valeur = "Vide";
      return true;
    };
    // The file dialog moves the process's current directory while the user browses, as
    // Windows' does; cancelled.
    backend.onOpenDialog = [this](tk::OpenDialog& d) {
      const std::string avant = std::exchange(plateforme.repertoireCourant, "C:\\Parcouru");
      EnPause(d.title);
      plateforme.repertoireCourant = avant;
      return false;
    };
    backend.onPopup = [this](tk::PopupMenu&, int, int) { return std::exchange(choix_, nullptr); };
    backend.onShowModal = [this](tk::Form& f) {
      EnPause(f.text());
      if (&f == info.get()) {
        lancesAttendus_.push_back(Lance(info->iEdExe.text(), info->iEdChemin.text()));
        info->iBbtActivation.click();
      } else if (&f == aPropos.get()) {
        aPropos->iBbtOk.click();
      } else {
        Session();
      }
    };
  }

  // The main window, reachable while it is still being created.
  TFrmPrincip& P() { return static_cast<TFrmPrincip&>(*application.mainForm()); }

  // The first pause that matches `signe` from now on runs `commande` inside it.
  void Arme(const char* signe, std::function<void()> commande) {
    signe_ = signe;
    commande_ = std::move(commande);
  }
  void EnPause(const std::string& quoi) {
    if (commande_ && quoi.rfind(signe_, 0) == 0) std::exchange(commande_, nullptr)();
  }
  bool Arme() const { return bool(commande_); }

  // The user's ways in, as the system delivers them.
  void Menu(tk::MenuItem* entree, bool droit) {
    choix_ = entree;
    ClicIcone(backend, P().iTITray, droit);
    choix_ = nullptr;
  }
  void Commande(int entree) { Menu(&P().iPmDroit.item(entree), true); }
  tk::MenuItem* PremiereEntree() {
    if (P().iTITray.PopupMenuGauche == nullptr || P().iPmGauche.count() == 0) return nullptr;
    return &P().iPmGauche.item(0).item(0);
  }
  void EntreeGauche(tk::MenuItem* entree) {
    if (P().iTITray.PopupMenuGauche == nullptr || !P().ListeRaccourcis) return;
    const Enreg& r = *(*P().ListeRaccourcis)[entree->tag];
    lancesAttendus_.push_back(Lance(r.Executable, r.Repertoire));
    Menu(entree, false);
  }
  void RaccourciClavier() {
    // The system sends it only for a registered combination.
    if (!P().ListeRaccourcis || plateforme.raccourcis.count({P().handle(), 0}) == 0) return;
    const Enreg& r = *(*P().ListeRaccourcis)[0];
    lancesAttendus_.push_back(Lance(r.Executable, r.Repertoire));
    backend.envoie(P(), plat::kWmHotKey, 0, 0);
  }
  void F1() {
    tk::MenuItem* entree = PremiereEntree();
    if (entree == nullptr) return;
    tk::Form* avant = std::exchange(backend.active, &P());
    application.menuHelp(entree);
    backend.active = avant;
  }
  void LanceCommande(int numero) {
    static const int kEntreesDeCommande[] = {0, 2, 4, 5, 7};
    switch (numero) {
      case 0: return RaccourciClavier();
      case 1:
        if (tk::MenuItem* e = PremiereEntree()) EntreeGauche(e);
        return;
      case 2: return F1();
      default: return Commande(kEntreesDeCommande[numero - 3]);
    }
  }

  // The editor opened: a look in the file dialog, a menu added, an item removed, a menu
  // moved, OK.
  void Session() {
    config->iBbtParcourir.click();
    config->iSbtMenuPlusClick();
    config->iLixMenus.clickFromScreen(config->iLixMenus.indexOf("A"));
    config->iLixItems.clickFromScreen(1);
    config->iSbtItemMoinsClick();
    config->iLixMenus.clickFromScreen(config->iLixMenus.indexOf("B"));
    config->iSbtMenuHautClick();
    config->iBbtOk.click();
  }

  // Brings the launcher to the pause, `commande` armed for it.
  void Ouvre(const Pause& pause, std::function<void()> commande) {
    if (pause.ouverture == 0) {
      EcritTout(ini, FichierIni(kRaccourcis));
      Arme(pause.signe, std::move(commande));
      return Demarre();
    }
    Demarre(kRaccourcis);
    if (pause.ouverture == 2) Commande(0);  // inactive, to be activated
    Arme(pause.signe, std::move(commande));
    switch (pause.ouverture) {
      case 1:
      case 2: return Commande(0);
      case 3: return EntreeGauche(&P().iPmGauche.item(1).item(1));
      case 7: return EntreeGauche(&P().iPmGauche.item(1).item(2));
      case 4: return F1();
      case 5: return Commande(4);
      default: return Commande(2);
    }
  }

  // What the launcher holds registered, by identifier.
  std::map<int, std::pair<unsigned, unsigned>> Inscrits() {
    std::map<int, std::pair<unsigned, unsigned>> vus;
    for (const auto& [cle, combinaison] : plateforme.raccourcis) vus[cle.second] = combinaison;
    return vus;
  }
  std::map<int, std::pair<unsigned, unsigned>> Attendus() {
    std::map<int, std::pair<unsigned, unsigned>> attendus;
    if (!P().ListeRaccourcis || !P().EtatActif) return attendus;
    for (std::size_t i = 0; i < P().ListeRaccourcis->size(); ++i) {
      const Enreg& r = *(*P().ListeRaccourcis)[i];
      const unsigned masque = (r.Alt ? 1 : 0) | (r.Ctrl ? 2 : 0) | (r.Shift ? 4 : 0) | (r.Win ? 8 : 0);
      const std::pair<unsigned, unsigned> c{masque, r.Touche.empty() ? 0u : unsigned(r.Touche[0])};
      if (masque != 0 && c.second != 0 && !plateforme.raccourcisRefuses.count(c)) attendus[int(i)] = c;
    }
    return attendus;
  }
  // A program started in its own folder, or in the launcher's (".") when that one cannot be
  // entered: "e.exe in C:\Travail". Never in whatever the current directory was meanwhile.
  static std::string Lance(const std::string& executable, const std::string& dossier) {
    return executable + " in " + (dossier.empty() || dossier == "C:\\Refuse" ? "." : dossier);
  }
  // What was started, Notepad aside.
  std::vector<std::string> Lances() {
    std::vector<std::string> lances;
    for (const std::string& a : Banc::Lances()) {
      const std::string application = a.substr(15, a.find(',') - 15);
      const std::string nom = application.substr(application.find_last_of('\\') + 1);
      const std::size_t fin = a.rfind(',');
      if (nom != "notepad.exe") lances.push_back(Lance(nom, a.substr(a.rfind(',', fin - 1) + 1, fin - a.rfind(',', fin - 1) - 1)));
    }
    return lances;
  }

  std::vector<std::string> lancesAttendus_;

 private:
  std::string signe_;
  std::function<void()> commande_;
  tk::MenuItem* choix_ = nullptr;
};

const Pause kPauses[] = {
    {"DemarrageSansModificateur", "Aucune touche spéciale", 0},
    {"DemarrageRefus", "Impossible d'initialiser", 0},
    {"Desactivation", "Impossible de désactiver", 1},
    {"ActivationSansModificateur", "Aucune touche spéciale", 2},
    {"ActivationRefus", "Impossible d'initialiser", 2},
    {"LancementRepertoire", "Impossible de se placer", 7},
    {"LancementEchec", "Impossible de lancer", 3},
    {"Informations", "Informations", 4},
    {"APropos", "A propos de Vivelance", 5},
    {"Editeur", "Configuration", 6},
    {"Parcourir", "Sélection d'une application", 6},
    {"Invite", "Ajout d'un menu", 6},
    {"Confirmation", "Etes-vous sûr(e)", 6},
    {"MenuSansItem", "Le menu Vide", 6},
    {"RechargementRefus", "Impossible d'initialiser", 6},
};

const Commande kCommandes[] = {
    {"RaccourciClavier", 0}, {"EntreeDuMenuGauche", 1}, {"F1PuisActivation", 2},
    {"ActiverDesactiver", 3}, {"ConfigurationPuisOk", 4}, {"APropos", 5},
    {"Aide", 6},             {"Quitter", 7},
};

TEST_P(Pauses, LesInvariantsTiennentUneFoisToutDeroule) {
  const auto& [pause, commande] = GetParam();
  Ouvre(pause, [this, numero = commande.numero] { LanceCommande(numero); });
  ASSERT_FALSE(Arme()) << "the pause never opened";

  if (P().ListeRaccourcis == nullptr) {
    EXPECT_TRUE(backend.termine) << "closed, and the loop told to end";
  } else {
    for (int i = 0; i < P().iPmGauche.count(); ++i)
      for (int j = 0; j < P().iPmGauche.item(i).count(); ++j) {
        const tk::MenuItem& e = P().iPmGauche.item(i).item(j);
        ASSERT_LT(std::size_t(e.tag), P().ListeRaccourcis->size());
        EXPECT_EQ((*P().ListeRaccourcis)[std::size_t(e.tag)]->Item, e.caption);
      }
  }
  EXPECT_EQ(Inscrits(), Attendus()) << "actif: " << P().EtatActif;
  EXPECT_THAT(Lances(), UnorderedElementsAreArray(lancesAttendus_));
  const std::string fichier = LitTout(ini);
  EXPECT_TRUE(fichier == FichierIni(kRaccourcis) || fichier == FichierIni(kApresSession)) << fichier;
  for (const std::string& m : backend.textes()) {
    if (m.rfind("Impossible d'initialiser", 0) == 0 || m.rfind("Impossible de désactiver", 0) == 0) {
      EXPECT_EQ(m.substr(m.size() - 4), " d !") << "registered twice or unregistered unheld: " << m;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Pauses,
                         ::testing::Combine(::testing::ValuesIn(kPauses),
                                            ::testing::ValuesIn(kCommandes)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).nom) + "_" +
                                  std::get<1>(info.param).nom;
                         });

}  // namespace
