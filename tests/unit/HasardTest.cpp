// Long runs of random user actions, most of them taken while a box, a prompt, a dialog or the
// editor is open (the backend's responders act inside the nested loop before answering), with
// what must always hold checked after each one. A failure names its seed and lists the actions;
//   VIVLAN_HASARD_GRAINE=<seed> VIVLAN_HASARD_ACTIONS=<n> unit_tests --gtest_filter='*Hasard*'
// replays one seed alone, printing its actions as they are taken.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <tuple>

#include "app/Vivlan.h"
#include "platform/Commande.h"
#include "platform/Encodage.h"
#include "support/Utilisateur.h"

namespace {

// While the user browses in the open-file dialog, Windows moves the process's current directory,
// and puts it back when the dialog closes (the editor asks it to): imitated, since a launch made
// meanwhile from the tray must still start where its shortcut says.
constexpr char kParcouru[] = "C:\\Parcouru";

// What the system refuses: a directory, programs, a combination another program holds.
constexpr char kRefuse[] = "C:\\Refuse";
constexpr char kEchec[] = "echec.exe";
constexpr char kAucun[] = "<Aucun>";
const Combinaison kPriseAilleurs{plat::kModControl | plat::kModAlt, 'R'};

// Every way a shortcut can register or not, a key written by hand in small letters, two menus
// whose labels differ only in case.
const std::vector<Raccourci> kDepart = {
    Raccourci("Outils", "éditeur", "C:\\Outils\\edit.exe", "-n", "C:\\Travail").Ctrl().Touche("E"),
    Raccourci("Jeux", "échecs", kEchec).Alt().Win().Touche("5"),
    Raccourci("Outils", "calc", "calc.exe").Touche("C"),
    Raccourci("outils", "notes", "notes.exe", "", kRefuse).Ctrl().Alt().Touche("R"),
    Raccourci("Jeux", "dames", "dames.exe").Shift(),
    Raccourci("Outils", "double", "double.exe", "a,b").Ctrl().Touche("E"),
    Raccourci("Jeux", "minuscule", "min.exe").Alt().Touche("a"),
};

// What the user types: awkward labels, and values for the editor's fields.
const std::string kLibelles[] = {"", "-", "&", "Éléments à côté", " blancs ", "\"guillemets\"",
                                 std::string(300, 'x'), "Nouveau", "n", "Jeux"};
const char* const kExecutables[] = {"C:\\Outils\\outil.exe", "", kEchec, kAucun,
                                    "C:\\Program Files\\Été\\jeu.exe"};
const char* const kParametres[] = {"", "-x", "/a \"b c\"", "  "};
const char* const kRepertoires[] = {"", "C:\\Travail", kRefuse, "D:\\Été"};
const char* const kTouches[] = {"", "a", "K", "5", "é", "xy", "R", "E"};
const char* const kChoisis[] = {"C:\\Outils\\choisi.exe", "D:\\Été\\à côté.exe"};

struct Graine {
  unsigned graine;
  int actions;
  bool imprime;  // the actions as they are taken
};
void PrintTo(const Graine& g, std::ostream* os) { *os << g.graine; }

// One seed and its length from the environment, or the fixed set of about 10,000 actions.
std::vector<Graine> Graines() {
  if (const char* g = std::getenv("VIVLAN_HASARD_GRAINE")) {
    const char* n = std::getenv("VIVLAN_HASARD_ACTIONS");
    return {{static_cast<unsigned>(std::strtoul(g, nullptr, 10)), n ? std::atoi(n) : 20000, true}};
  }
  std::vector<Graine> graines;
  for (unsigned g = 1; g <= 10; ++g) graines.push_back({g, 1000, false});
  return graines;
}

std::string Texte(const Enreg& r) {
  return r.Menu + "/" + r.Item + " | " + r.Executable + " | " + r.Parametres + " | " +
         r.Repertoire + " | " + TexteCombinaison(r);
}
std::vector<std::string> Textes(const ListeEnreg& liste) {
  std::vector<std::string> textes;
  for (const auto& r : liste) textes.push_back(Texte(*r));
  return textes;
}
// The shortcuts a settings file holds, as the launcher reads them.
std::vector<std::string> Relu(const std::string& octets) {
  ListeEnreg liste;
  LectureIni(octets, liste);
  return Textes(liste);
}
std::string Court(const std::string& texte) {
  return texte.size() <= 40 ? texte : texte.substr(0, 37) + "...";
}

class Hasard : public Utilisateur, public ::testing::WithParamInterface<Graine> {
 protected:
  enum class Lieu { Partout, Boite, Invite, Dialogue, Editeur, Informations, APropos };
  struct Action {
    Lieu lieu;  // Partout: the tray and the keyboard, which work whatever is open
    int poids;
    std::function<void()> fait;  // notes what it does, then does it
  };

  void SetUp() override {
    plateforme.raccourcisRefuses.insert(kPriseAilleurs);
    plateforme.absents.insert(kRefuse);
    plateforme.lancementsRefuses[kEchec] = 2;
    backend.onMessageBox = [this](const tk::MessageBoxSpec& m) { return Boite(m); };
    backend.onInputQuery = [this](std::string& valeur) { return Invite(valeur); };
    backend.onOpenDialog = [this](tk::OpenDialog& d) { return Parcourir(d); };
    backend.onShowModal = [this](tk::Form& f) {
      if (&f == config.get()) return Editeur();
      if (&f == info.get()) return Informations();
      APropos();
    };
  }

  // ---------------------------------------------------------------- the run

  void Parcours(const Graine& g) {
    graine_ = g.graine;
    imprime_ = g.imprime;
    alea_.seed(g.graine);
    restantes_ = g.actions;
    EcritTout(ini, FichierIni(kDepart));
    fichier_ = LitTout(ini);
    const auto debut = std::chrono::steady_clock::now();
    while (restantes_ > 0 && !echec_) {
      if (!principal || !P().ListeRaccourcis)
        Fait(demarrage_);
      else
        Agit(Lieu::Partout);
    }
    const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
    std::cout << "seed " << graine_ << ": " << numero_ << " actions, "
              << ouvertes_ * 100 / std::max(numero_, 1) << " % with something open, " << demarrages_
              << " starts, " << sauvegardes_ << " saves, " << faits_.size() << " launches, "
              << duree.count() << " s" << std::endl;
  }

  int Choix(std::size_t n) { return static_cast<int>(alea_() % n); }
  template <typename T, std::size_t N>
  const T& Un(const T (&tableau)[N]) {
    return tableau[Choix(N)];
  }
  bool Fini() const { return restantes_ <= 0 || backend.termine || echec_; }

  // One action among those of `lieu` and, unless the nesting is deep enough, those of anywhere.
  void Agit(Lieu lieu) {
    const bool partout = pile_.size() <= kProfondeur;
    auto compte = [&](const Action& a) {
      return a.lieu == lieu || (partout && a.lieu == Lieu::Partout);
    };
    int total = 0;
    for (const Action& a : actions_)
      if (compte(a)) total += a.poids;
    int tirage = Choix(static_cast<std::size_t>(total));
    for (const Action& a : actions_) {
      if (!compte(a)) continue;
      if (tirage < a.poids) return Fait(a);
      tirage -= a.poids;
    }
  }
  void Fait(const Action& a) {
    // A launch whose failure is being reported is the enclosing action's.
    LitLances();
    const std::size_t faits = faits_.size(), attendus = attendus_.size();
    a.fait();
    Invariants(faits, attendus);
  }
  // Inside a pause: some actions, fewer the deeper it is, before the user answers.
  void Pendant(Lieu lieu) {
    while (!Fini() && pile_.size() <= kProfondeur && Choix(2) == 0) Agit(lieu);
  }

  // ---------------------------------------------------------------- what must hold

  void Invariants(std::size_t faitsAvant, std::size_t attendusAvant) {
    if (echec_) return;
    LitLances();
    std::vector<Lance> faits(faits_.begin() + faitsAvant, faits_.end());
    std::vector<Lance> attendus(attendus_.begin() + attendusAvant, attendus_.end());
    std::sort(faits.begin(), faits.end());
    std::sort(attendus.begin(), attendus.end());
    Verifie(faits == attendus, "started " + ::testing::PrintToString(faits) + " instead of " +
                                   ::testing::PrintToString(attendus));

    const std::string octets = LitTout(ini);
    if (octets != fichier_) {
      Verifie(sauvegarde_ && Relu(octets) == *sauvegarde_,
              "the settings file is neither the previous one nor the editor's lists:\n" + octets);
      fichier_ = octets;
    }
    Verifie(application.exitCode() == 0, "a fault ended the program");

    if (!P().ListeRaccourcis) {
      Verifie(backend.termine, "closed, and the loop not told to end");
      Verifie(plateforme.raccourcis.empty(), "hotkeys left registered after quitting");
      return;
    }
    // A box may stand in the middle of a pass over the list: the rest holds once none is open.
    if (std::find(pile_.begin(), pile_.end(), Lieu::Boite) != pile_.end()) return;
    TFrmPrincip& p = P();
    Verifie(Inscrits() == Attendus(), std::string("registered hotkeys differ from the list's, ") +
                                          (p.EtatActif ? "active" : "inactive"));
    Verifie(Textes(*p.ListeRaccourcis) == Relu(fichier_),
            "the launcher's shortcuts are not the file's");
    Verifie(MenuGauche() == MenuDeLaListe(), "the left menu is not the list: " + MenuGauche());
    Verifie(p.iTITray.PopupMenuGauche == (p.EtatActif ? &p.iPmGauche : nullptr) &&
                p.iTITray.Icon() == backend.icon(p.EtatActif ? p.iImgActive : p.iImgDesactive),
            "the tray icon does not show the state");
    if (!pile_.empty() || !config) return;
    Verifie(plateforme.repertoireCourant == dossier.chemin,
            "the current directory moved to " + plateforme.repertoireCourant);
    Verifie(!config->Ouvert && !aPropos->Ouvert && !config->visible() && !info->visible() &&
                !aPropos->visible() && !config->ListeTravail,
            "a window is left open");
  }

  void LitLances() {
    for (Lance& l : lancements_.Nouveaux()) faits_.push_back(std::move(l));
  }

  // The left menu as the list makes it: a sub-menu per label in order of first use.
  std::string MenuDeLaListe() {
    std::vector<std::pair<std::string, std::string>> sousMenus;
    for (const auto& r : *P().ListeRaccourcis) {
      auto it = std::find_if(sousMenus.begin(), sousMenus.end(),
                             [&](const auto& s) { return s.first == r->Menu; });
      if (it == sousMenus.end())
        it = sousMenus.insert(it, {r->Menu, ""});
      else
        it->second += ",";
      it->second += r->Item;
    }
    std::string menu;
    for (const auto& [libelle, items] : sousMenus)
      menu += (menu.empty() ? "" : " ") + libelle + "[" + items + "]";
    return menu;
  }

  void Verifie(bool vrai, const std::string& quoi) {
    if (vrai || echec_) return;
    echec_ = true;
    std::string liste;
    for (const std::string& l : journal_) liste += l + "\n";
    ADD_FAILURE() << "seed " << graine_ << ", after action " << numero_ << ": " << quoi
                  << "\nreplay: VIVLAN_HASARD_GRAINE=" << graine_
                  << " VIVLAN_HASARD_ACTIONS=" << GetParam().actions
                  << " unit_tests --gtest_filter='*Hasard*'\n"
                  << liste;
  }

  // ---------------------------------------------------------------- the journal

  // An action or an answer of the user, numbered.
  void Note(const std::string& texte) {
    --restantes_;
    if (!pile_.empty()) ++ouvertes_;
    Ligne(std::to_string(++numero_) + ". " + std::string(2 * pile_.size(), ' ') + texte);
  }
  void Ligne(const std::string& ligne) {
    journal_.push_back(ligne);
    if (imprime_) std::cout << ligne << std::endl;
  }
  // What is open while the responder acting in it runs.
  struct Ouvert {
    Ouvert(Hasard& h, Lieu lieu, const std::string& quoi) : h(h) {
      h.Ligne("    " + std::string(2 * h.pile_.size(), ' ') + "[" + Court(quoi) + "]");
      h.pile_.push_back(lieu);
    }
    ~Ouvert() { h.pile_.pop_back(); }
    Hasard& h;
  };

  // ---------------------------------------------------------------- the pauses

  int Boite(const tk::MessageBoxSpec& m) {
    if (m.caption == application.title()) {
      // The generic box: only for the input/output error this run provoked.
      Verifie(std::exchange(erreurAttendue_, std::nullopt) == m.text,
              "unexpected error box: " + m.text);
    }
    Ouvert ouvert(*this, Lieu::Boite, m.caption + ": " + m.text);
    Pendant(Lieu::Partout);
    // Once the program is told to end, every nested loop ends as if cancelled.
    if (backend.termine) return tk::mrCancel;
    const int n = static_cast<int>(m.buttons.size());
    const int choix = Choix(static_cast<std::size_t>(n > 1 ? n + 1 : n));
    if (choix == n) {
      Note("title bar");
      return tk::mrCancel;
    }
    Note(m.buttons[static_cast<std::size_t>(choix)].caption);
    return m.buttons[static_cast<std::size_t>(choix)].result;
  }

  bool Invite(std::string& valeur) {
    Ouvert ouvert(*this, Lieu::Invite, backend.saisies.back().caption);
    Pendant(Lieu::Partout);
    if (backend.termine || Choix(5) == 0) {
      if (!backend.termine) Note("Annuler");
      return false;
    }
    valeur = Libelle();
    Note("OK \"" + Court(valeur) + "\"");
    return true;
  }
  // An awkward label, or one of the editor's in another case.
  std::string Libelle() {
    std::vector<std::string> existants;
    for (const tk::ListBox* l : {&config->iLixMenus, static_cast<tk::ListBox*>(&config->iLixItems)})
      for (const auto& row : l->rows()) existants.push_back(row.text);
    if (existants.empty() || Choix(3) != 0) return Un(kLibelles);
    std::string l = existants[static_cast<std::size_t>(Choix(existants.size()))];
    for (char& c : l)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return Choix(2) ? l : tk::MajusculesAZ(l);
  }

  bool Parcourir(tk::OpenDialog& d) {
    Ouvert ouvert(*this, Lieu::Dialogue, d.title);
    const std::string avant = std::exchange(plateforme.repertoireCourant, kParcouru);
    Pendant(Lieu::Partout);
    const bool choisi = !backend.termine && Choix(3) != 0;
    if (choisi) {
      d.fileName = Un(kChoisis);
      Note("Ouvrir " + d.fileName);
    } else if (!backend.termine) {
      Note("Annuler");
    }
    plateforme.repertoireCourant = avant;
    return choisi;
  }

  void Editeur() {
    Ouvert ouvert(*this, Lieu::Editeur, config->text());
    while (config->modalResult == tk::mrNone && !backend.termine && !echec_) {
      if (restantes_ > 0) {
        Agit(Lieu::Editeur);
        continue;
      }
      Note("Annuler");
      config->iBbtAnnuler.click();
    }
  }

  void Informations() {
    Ouvert ouvert(*this, Lieu::Informations, info->text());
    // "Activation" must start the record of the entry F1 was pressed on.
    const std::optional<Enreg> montre = std::exchange(f1_, std::nullopt);
    Verifie(montre && info->iEdExe.text() == montre->Executable,
            "\"Informations\" shows another shortcut");
    Pendant(Lieu::Informations);
    if (backend.termine || !montre) return;
    if (Choix(2) == 0) {
      Note("OK");
      return info->iBbtOK.click();
    }
    Note("Activation");
    Attendu(*montre);
    info->iBbtActivation.click();
  }

  void APropos() {
    Ouvert ouvert(*this, Lieu::APropos, aPropos->text());
    Pendant(Lieu::Partout);
    if (backend.termine) return;
    Note("Ok");
    aPropos->iBbtOk.click();
  }

  // ---------------------------------------------------------------- helpers of the actions

  // A launch starts its program in its working directory, or in the launcher's folder when it
  // names none or one that is not there; a program named by a full path, or looked for in that
  // folder. Nothing starts for a name no file can have.
  void Attendu(const std::string& exe, const std::string& parametres,
               const std::string& repertoire) {
    if (exe.empty() || exe == kAucun) return;
    const bool ailleurs = !repertoire.empty() && plateforme.absents.count(repertoire) == 0;
    const std::string dossierLance = ailleurs ? repertoire : dossier.chemin;
    const std::string programme = '"' + plat::Joint(dossierLance, exe) + '"';
    attendus_.push_back({parametres.empty() ? programme : programme + " " + parametres, dossierLance});
  }
  void Attendu(const Enreg& r) { Attendu(r.Executable, r.Parametres, r.Repertoire); }
  // The record `r` as the editor's fields show it.
  Enreg Champs(Enreg r) {
    const TFrmConfig& c = *config;
    r.Executable = c.iEdExe.text();
    r.Parametres = c.iEdParam.text();
    r.Repertoire = c.iEdChemin.text();
    std::tie(r.Ctrl, r.Alt, r.Shift, r.Win) = std::make_tuple(
        c.iChxCtrl.checked(), c.iChxAlt.checked(), c.iChxShift.checked(), c.iChxWin.checked());
    r.Touche = c.iEdTouche.text().substr(0, plat::LongueurPremierCaractere(c.iEdTouche.text()));
    return r;
  }
  // What "OK" must write: menu row by menu row, the records of that label in the working
  // copy's order, the one shown as the fields show it.
  std::vector<std::string> ListesDeLEditeur() {
    const Enreg* montre = config->EnregMontre();
    std::vector<std::string> textes;
    for (const auto& row : config->iLixMenus.rows())
      for (const auto& r : *config->ListeTravail)
        if (r->Menu == row.text) textes.push_back(Texte(r.get() == montre ? Champs(*r) : *r));
    return textes;
  }

  // The next save fails at one of its steps, as the system would make it: its file cannot be
  // made, the disk is full, another program holds the settings file longer than a second.
  void FaitEchouerLaProchaineSauvegarde() {
    static const std::pair<const char*, int> kEchecs[] = {
        {"CreateFileW", 5}, {"WriteFile", 112}, {"ReplaceFileW", 32}};
    echecArme_ = Un(kEchecs);
  }
  // Whether the save about to write `sections` sections fails as armed, and with which code.
  std::optional<int> Echouera(std::size_t sections) const {
    if (!echecArme_ || (echecArme_->first == std::string("WriteFile") && sections == 0))
      return std::nullopt;
    return plat::CodeEcriture(echecArme_->second);
  }

  void Ok() {
    Note("OK");
    sauvegarde_ = ListesDeLEditeur();
    Verifie(sauvegarde_->size() == config->ListeTravail->size(),
            "a record of the working copy would not be written exactly once");
    const std::string avant = fichier_;
    const std::optional<int> echec = Echouera(sauvegarde_->size());
    const bool echoue = echec.has_value();
    if (echec) {
      erreurAttendue_ = tk::AvecPoint(tk::TexteErreurES(*echec));
      plateforme.erreurs[echecArme_->first] = std::deque<int>(10, echecArme_->second);
    }
    echecArme_.reset();
    ++sauvegardes_;
    config->iBbtOk.click();
    plateforme.erreurs.clear();
    Verifie(!erreurAttendue_, "the failed save was not reported");
    const std::string octets = LitTout(ini);
    Verifie(echoue ? octets == avant : Relu(octets) == *sauvegarde_,
            "after OK the file does not hold the editor's lists:\n" + octets);
    fichier_ = octets;
    sauvegarde_.reset();
  }

  void SecondDemarrage() {
    Note("second start");
    tk::BackendMemoire autre;
    const std::size_t appels = plateforme.appels.size();
    plateforme.mutexPris = true;
    const int code = Vivlan(autre, plateforme, kExe);
    plateforme.mutexPris = false;
    Verifie(code == 0 &&
                autre.textes() ==
                    std::vector<std::string>{"Vivelance est déjà en cours d'exécution !"} &&
                plateforme.appels.size() == appels + 1,
            "a second start did more than say so and end");
  }

  // ---------------------------------------------------------------- the actions

  const Action demarrage_{Lieu::Partout, 0, [this] {
                            Note("start");
                            // As the process ends: the windows go, the file stays as it was left.
                            Banc::TearDown();
                            backend.termine = false;
                            ++demarrages_;
                            Demarre();
                          }};

  // A click on an editor's button, by name.
  Action Clic(int poids, const char* nom, tk::Button TFrmConfig::*bouton) {
    return {Lieu::Editeur, poids, [this, nom, bouton] {
              Note(nom);
              ((*config).*bouton).click();
            }};
  }
  // A row of one of the editor's lists chosen, with a click or a double click.
  Action Rangee(int poids, const char* nom, bool menus, bool double_) {
    return {
        Lieu::Editeur, poids, [this, nom, menus, double_] {
          tk::ListBox& l = menus ? config->iLixMenus : config->iLixItems;
          if (l.count() == 0) return Note(std::string(nom) + " (empty)");
          const int i = Choix(static_cast<std::size_t>(l.count()));
          Note(std::string(nom) + " \"" + Court(l.rows()[static_cast<std::size_t>(i)].text) + "\"");
          double_ ? l.doubleClickFromScreen(i) : l.clickFromScreen(i);
        }};
  }
  // A value typed into one of the editor's fields.
  template <std::size_t N>
  Action Champ(const char* nom, tk::Edit TFrmConfig::*champ, const char* const (&valeurs)[N]) {
    return {Lieu::Editeur, 2, [this, nom, champ, &valeurs] {
              const std::string v = Un(valeurs);
              Note(std::string(nom) + " \"" + v + "\"");
              ((*config).*champ).textFromScreen(v);
            }};
  }
  // An entry of the command menu; the help command starts the system's Notepad on the
  // read-me of the launcher's folder, whatever is current.
  Action Droit(int poids, int entree) {
    return {Lieu::Partout, poids, [this, entree] {
              Note("right click, " + P().iPmDroit.item(entree).caption);
              if (&P().iPmDroit.item(entree) == P().iMiAide)
                attendus_.push_back({"\"" + plateforme.dossierSysteme + "\\notepad.exe\" \"" +
                                         dossier.chemin + "\\LisezMoi.txt\"",
                                     dossier.chemin});
              Commande(entree);
            }};
  }

  const std::vector<Action> actions_ = {
      {Lieu::Partout, 12,
       [this] {
         const auto entrees = EntreesGauches();
         if (entrees.empty()) {
           Note("left click");
           return Menu(nullptr, false);
         }
         tk::MenuItem* e = entrees[static_cast<std::size_t>(Choix(entrees.size()))];
         Note("left click, " + Court(e->parent()->caption) + " / " + Court(e->caption));
         const ListeEnreg& liste = *P().ListeRaccourcis;
         const auto t = static_cast<std::size_t>(e->tag);
         Verifie(t < liste.size() && liste[t]->Item == e->caption &&
                     liste[t]->Menu == e->parent()->caption,
                 "the entry names another shortcut");
         if (t < liste.size()) Attendu(*liste[t]);
         Menu(e, false);
       }},
      {Lieu::Partout, 5,
       [this] {
         std::vector<tk::MenuItem*> entrees = EntreesGauches();
         for (int i = 0; i < P().iPmGauche.count() && !entrees.empty(); ++i)
           entrees.push_back(&P().iPmGauche.item(i));
         if (entrees.empty()) return Note("left click, F1 (no menu)");
         tk::MenuItem* e = entrees[static_cast<std::size_t>(Choix(entrees.size()))];
         Note("left click, F1 on " + Court(e->caption));
         const auto t = static_cast<std::size_t>(e->tag);
         if (e->helpContext > 0 && info && !info->visible() && t < P().ListeRaccourcis->size())
           f1_ = *(*P().ListeRaccourcis)[t];
         F1(e);
         f1_.reset();
       }},
      {Lieu::Partout, 1,
       [this] {
         Note("left click, nothing chosen");
         Menu(nullptr, false);
       }},
      Droit(5, 0),
      Droit(6, 2),
      Droit(2, 4),
      Droit(1, 5),
      Droit(1, 7),
      {Lieu::Partout, 1,
       [this] {
         static const int kEntrees[] = {0, 2, 4, 5, 7};
         tk::MenuItem& e = P().iPmDroit.item(Un(kEntrees));
         Note("right click, F1 on " + e.caption);
         F1(&e);
       }},
      {Lieu::Partout, 1,
       [this] {
         Note("right click, nothing chosen");
         Menu(nullptr, true);
       }},
      {Lieu::Partout, 10,
       [this] {
         std::vector<Combinaison> combinaisons = {kPriseAilleurs, {plat::kModWin, 'Z'}};
         for (const auto& r : *P().ListeRaccourcis)
           if (CombinaisonDe(plateforme, *r).first != 0 && CombinaisonDe(plateforme, *r).second != 0)
             combinaisons.push_back(CombinaisonDe(plateforme, *r));
         const Combinaison c = combinaisons[static_cast<std::size_t>(Choix(combinaisons.size()))];
         static const char* const kModificateurs[] = {"Alt+", "Ctrl+", "Shift+", "Win+"};
         std::string touches = "keys ";
         for (unsigned b = 0; b < 4; ++b)
           if (c.first & (1u << b)) touches += kModificateurs[b];
         Note(touches + static_cast<char>(c.second));
         const int id = Identifiant(c);
         if (id < 0) return;
         const ListeEnreg& liste = *P().ListeRaccourcis;
         const auto i = static_cast<std::size_t>(id);
         Verifie(i < liste.size() && CombinaisonDe(plateforme, *liste[i]) == c,
                 "the hotkey names another shortcut");
         if (i < liste.size()) Attendu(*liste[i]);
         RaccourciClavier(id);
       }},
      {Lieu::Partout, 1, [this] { SecondDemarrage(); }},
      {Lieu::Partout, 1,
       [this] {
         // Between saves: one under way would fail or not depending on the step it is at.
         if (sauvegarde_) return Note("(a save is under way)");
         Note("(the next save will fail)");
         FaitEchouerLaProchaineSauvegarde();
       }},

      Rangee(4, "menu", true, false),
      Rangee(5, "item", false, false),
      Rangee(2, "rename menu", true, true),
      Rangee(2, "rename item", false, true),
      Clic(2, "menu up", &TFrmConfig::iSbtMenuHaut),
      Clic(2, "menu down", &TFrmConfig::iSbtMenuBas),
      Clic(3, "menu +", &TFrmConfig::iSbtMenuPlus),
      Clic(2, "menu -", &TFrmConfig::iSbtMenuMoins),
      Clic(2, "item up", &TFrmConfig::iSbtItemHaut),
      Clic(2, "item down", &TFrmConfig::iSbtItemBas),
      Clic(4, "item +", &TFrmConfig::iSbtItemPlus),
      Clic(2, "item -", &TFrmConfig::iSbtItemMoins),
      Clic(2, "Parcourir...", &TFrmConfig::iBbtParcourir),
      Clic(1, "Annuler", &TFrmConfig::iBbtAnnuler),
      Champ("executable", &TFrmConfig::iEdExe, kExecutables),
      Champ("parameters", &TFrmConfig::iEdParam, kParametres),
      Champ("directory", &TFrmConfig::iEdChemin, kRepertoires),
      Champ("key", &TFrmConfig::iEdTouche, kTouches),
      {Lieu::Editeur, 3,
       [this] {
         tk::CheckBox* cases[] = {&config->iChxCtrl, &config->iChxAlt, &config->iChxShift,
                                  &config->iChxWin};
         tk::CheckBox& c = *Un(cases);
         Note("check box " + c.text());
         c.setChecked(!c.checked());
       }},
      {Lieu::Editeur, 3,
       [this] {
         Note("Test d'exécution");
         Attendu(Champs({}));
         config->iBbtActivation.click();
       }},
      {Lieu::Editeur, 3, [this] { Ok(); }},
      {Lieu::Informations, 1,
       [this] {
         Note("F1 on a button");
         application.menuHelp(nullptr);
       }},
  };

  static constexpr std::size_t kProfondeur = 3;  // pauses open at most before the user only answers

  std::mt19937 alea_;
  unsigned graine_ = 0;
  bool imprime_ = false;
  int restantes_ = 0;
  bool echec_ = false;
  std::vector<std::string> journal_;
  int numero_ = 0;
  int ouvertes_ = 0;  // actions taken with something open
  int demarrages_ = 0;
  int sauvegardes_ = 0;
  std::vector<Lieu> pile_;  // what is open, innermost last

  Lancements lancements_{plateforme};
  std::vector<Lance> faits_;     // what was started, in order
  std::vector<Lance> attendus_;  // what the user's actions should have started
  std::optional<Enreg> f1_;      // the record of the entry F1 is pressed on
  std::string fichier_;          // the settings file as the last complete save left it
  std::optional<std::vector<std::string>> sauvegarde_;  // what the save under way must write
  std::optional<std::string> erreurAttendue_;           // the generic box of a provoked failure
  std::optional<std::pair<const char*, int>> echecArme_;  // the call the next save fails at
};

TEST_P(Hasard, LesInvariantsTiennentApresChaqueAction) { Parcours(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Graines, Hasard, ::testing::ValuesIn(Graines()), [](const auto& info) {
  return "graine_" + std::to_string(info.param.graine);
});

}  // namespace
