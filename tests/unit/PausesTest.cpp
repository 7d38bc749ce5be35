// Every pause the program can open (a message box, a prompt, a dialog runs a nested loop in
// which the tray icon and the hotkeys keep working), with each thing the user can do from
// there run inside it; then what must hold once everything has unwound.
#include <algorithm>

#include "support/Utilisateur.h"

using ::testing::ElementsAre;
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

class Pauses : public Utilisateur,
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
    backend.onShowModal = [this](tk::Form& f) {
      EnPause(f.text());
      if (&f == info.get()) {
        lancesAttendus_.push_back(Attendu(info->iEdExe.text(), info->iEdChemin.text()));
        info->iBbtActivation.click();
      } else if (&f == aPropos.get()) {
        aPropos->iBbtOk.click();
      } else {
        Session();
      }
    };
  }

  // The first pause that matches `signe` from now on runs `commande` inside it.
  void Arme(const char* signe, std::function<void()> commande) {
    signe_ = signe;
    commande_ = std::move(commande);
  }
  void EnPause(const std::string& quoi) {
    if (commande_ && quoi.rfind(signe_, 0) == 0) std::exchange(commande_, nullptr)();
  }
  bool Arme() const { return bool(commande_); }

  tk::MenuItem* PremiereEntree() {
    const auto entrees = EntreesGauches();
    return entrees.empty() ? nullptr : entrees.front();
  }
  void EntreeGauche(tk::MenuItem* entree) {
    if (P().iTITray.PopupMenuGauche == nullptr || !P().ListeRaccourcis) return;
    const Enreg& r = *(*P().ListeRaccourcis)[entree->tag];
    lancesAttendus_.push_back(Attendu(r.Executable, r.Repertoire));
    Menu(entree, false);
  }
  void CombinaisonDuPremier() {
    if (!P().ListeRaccourcis || P().ListeRaccourcis->empty()) return;
    // The system sends it only for a registered combination.
    const int id = Identifiant(CombinaisonDe(plateforme, *P().ListeRaccourcis->front()));
    if (id < 0) return;
    const Enreg& r = *(*P().ListeRaccourcis)[static_cast<std::size_t>(id)];
    lancesAttendus_.push_back(Attendu(r.Executable, r.Repertoire));
    RaccourciClavier(id);
  }
  void LanceCommande(int numero) {
    static const int kEntreesDeCommande[] = {0, 2, 4, 5, 7};
    switch (numero) {
      case 0: return CombinaisonDuPremier();
      case 1:
        if (tk::MenuItem* e = PremiereEntree()) EntreeGauche(e);
        return;
      case 2:
        if (tk::MenuItem* e = PremiereEntree()) F1(e);
        return;
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
      case 4: return F1(PremiereEntree());
      case 5: return Commande(4);
      case 8: return Commande(7);
      default: return Commande(2);
    }
  }

  // A program started in its own folder, or in the launcher's (".") when that one cannot be
  // entered: "e.exe in C:\Travail". Never in whatever the current directory was meanwhile.
  static std::string Attendu(const std::string& executable, const std::string& dossier) {
    return executable + " in " + (dossier.empty() || dossier == "C:\\Refuse" ? "." : dossier);
  }
  // What was started, Notepad aside.
  std::vector<std::string> Lances() {
    std::vector<std::string> lances;
    for (const Lance& l : lancements_.Nouveaux()) {
      const std::string programme = l.ligne.substr(1, l.ligne.find('"', 1) - 1);
      const std::string nom = programme.substr(programme.find_last_of('\\') + 1);
      if (nom != "notepad.exe")
        lances.push_back(Attendu(nom, l.repertoire == dossier.chemin ? "" : l.repertoire));
    }
    return lances;
  }

  std::vector<std::string> lancesAttendus_;

 private:
  std::string signe_;
  std::function<void()> commande_;
  Lancements lancements_{plateforme};
};

const Pause kPauses[] = {
    {"DemarrageSansModificateur", "Aucune touche spéciale", 0},
    {"DemarrageRefus", "Impossible d'initialiser", 0},
    {"Desactivation", "Impossible de désactiver", 1},
    {"Fermeture", "Impossible de désactiver", 8},
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
