// The configuration editor on the real program: opened from the tray icon, edited through its
// prompts, fields and check boxes, then saved, cancelled, or saved over a file it cannot write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Pilote.h"
#include "platform/win32/Large.h"
#include "support/Disposition.h"
#include "support/FichierIni.h"
#include "toolkit/Echelle.h"

using namespace pilote;

namespace {

// Started by Ctrl+Alt+K.
Raccourci Ancien() {
  return Raccourci("Outils", "Ancien", CheminMarqueur(), "ancien").Ctrl().Alt().Touche("K");
}

std::string FicheDe(const Raccourci& r) {
  return r.exe + " | " + r.params + " | " + r.dir + " | " + (r.ctrl ? "Ctrl " : "") +
         (r.alt ? "Alt " : "") + (r.shift ? "Shift " : "") + (r.win ? "Win " : "") + "| " +
         r.touche;
}

// Every control where the layout puts it at the screen's scale; labels, which take the size of
// their text, must not run into what lies beside them.
void ControleLaDisposition(const Editeur& e) {
  TFrmConfig& modele = Modeles().config;
  const RECT client = RectClient(e.fenetre);
  EXPECT_EQ(client.right, tk::AEchelle(modele.clientWidth(), Ppp()));
  EXPECT_EQ(client.bottom, tk::AEchelle(modele.clientHeight(), Ppp()));
  const auto sansMesure = [](const tk::Font&, const std::string&) { return tk::Taille{}; };
  for (const tk::Place& p : tk::Disposition(modele, Ppp(), sansMesure)) {
    if (p.controle->kind() == tk::Kind::Label) continue;
    HWND controle = e.De(*p.controle);
    ASSERT_NE(controle, nullptr) << p.controle->name();
    RECT r = RectFenetre(controle);
    MapWindowPoints(nullptr, e.fenetre, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(Bords({r.left, r.top, r.right - r.left, r.bottom - r.top}), Bords(p.rect))
        << p.controle->name();
  }
  EXPECT_EQ(Classe(e.Menus()), "ListBox");
  EXPECT_EQ(Classe(e.Items()), "ListBox");
  EXPECT_EQ(Classe(e.Exe()), "Edit");
  EXPECT_EQ(Classe(e.Touche()), "Edit");
  EXPECT_EQ(EtiquettesQuiDebordent(e.fenetre), std::vector<std::string>{});
}

GUITHREADINFO FilDe(HWND fenetre) {
  GUITHREADINFO fil{};
  fil.cbSize = sizeof fil;
  GetGUIThreadInfo(GetWindowThreadProcessId(fenetre, nullptr), &fil);
  return fil;
}

// In front, and its own thread has taken the activation: keys then reach the window's focus,
// and are not overtaken by the window restoring it.
bool Active(HWND fenetre) {
  return AuPremierPlan(fenetre) && Attends([&] { return FilDe(fenetre).hwndActive == fenetre; });
}

// Read-only for the time of a test: the folder can be removed afterwards.
class LectureSeule {
 public:
  explicit LectureSeule(std::string chemin) : chemin_(std::move(chemin)) {
    EXPECT_TRUE(SetFileAttributesW(plat::Large(chemin_).c_str(), FILE_ATTRIBUTE_READONLY))
        << GetLastError();
  }
  ~LectureSeule() { Leve(); }
  void Leve() { SetFileAttributesW(plat::Large(chemin_).c_str(), FILE_ATTRIBUTE_NORMAL); }

 private:
  std::string chemin_;
};

// A small file system of its own mounted over a folder for the time of a test. Lazily
// unmounted: the launcher may still have its current directory there.
class PetitDisque {
 public:
  explicit PetitDisque(const std::string& dossier) : linux_(CheminLinux(dossier)) {
    monte_ = !linux_.empty() &&
             CommandeLinux("mount -t tmpfs -o size=64k vivlan-e2e '" + linux_ + "'") == 0;
  }
  ~PetitDisque() {
    if (monte_) CommandeLinux("umount -l '" + linux_ + "'");
  }
  bool Monte() const { return monte_; }
  // Fills the disk up with a file of that name; true once not a byte more fits.
  bool Remplit(const std::string& nom) const {
    return CommandeLinux("head -c 1048576 /dev/zero >'" + linux_ + "/" + nom + "'") != 0 &&
           CommandeLinux("echo x >>'" + linux_ + "/" + nom + "'") != 0;
  }

 private:
  std::string linux_;
  bool monte_ = false;
};

// The generic error box of a save that failed: its text, then closed with "OK"; the editor
// stays open with what was typed.
void ErreurDEnregistrement(Vivelance& vivelance, const Editeur& e, const std::string& texte) {
  HWND boite = AttendsBoite(vivelance.Instance().Pid(), "Vivlan");
  ASSERT_NE(boite, nullptr) << "no error box; the editor is "
                            << (Visible(e.fenetre) ? "shown" : "hidden") << ", the file holds:\n"
                            << vivelance.LisFichier("Vivlan.ini").value_or("(nothing)");
  EXPECT_NE(Enfant(boite, "", texte), nullptr) << TextesEnfants(boite);
  FermeParOk(boite);
  EXPECT_TRUE(AttendsDestruction(boite));
  EXPECT_TRUE(Visible(e.fenetre));
}

// Adds the menu "Vide" beside "Outils" through the prompt: a menu without items, which the
// save reports in a message box.
void AjouteMenuVide(const Editeur& e, DWORD pid) {
  Clique(e.MenuPlus());
  Saisis(pid, "Ajout d'un menu", "Libellé du menu", "Vide");
  EXPECT_TRUE(Devient([&] { return LignesListe(e.Menus()); }, Lignes{"Outils", "Vide"}));
}

}  // namespace

// As designed at 96 dpi; ctest runs it again in a prefix whose screen is at 150 %.
TEST(Editeur, LaDispositionSuitLEchelleDeLEcranSansEtiquetteQuiDeborde) {
  Vivelance vivelance(SectionIni(1, Ancien()));
  ASSERT_TRUE(vivelance.Demarre());
  Editeur e = OuvreEditeur(vivelance);
  ASSERT_NE(e.fenetre, nullptr);
  ControleLaDisposition(e);
}

TEST(Editeur, AjoutDUnMenuEtDUnItemPuisOkEcritLeFichierEtLeRaccourciMarcheAussitot) {
  const Raccourci ancien = Ancien();
  Vivelance vivelance(SectionIni(1, ancien));
  ASSERT_TRUE(vivelance.Demarre());
  const DWORD pid = vivelance.Instance().Pid();

  Editeur e = OuvreEditeur(vivelance);
  ASSERT_NE(e.fenetre, nullptr);
  EXPECT_EQ(LignesListe(e.Menus()), Lignes{"Outils"});
  EXPECT_EQ(SelectionListe(e.Menus()), 0);
  EXPECT_EQ(LignesListe(e.Items()), Lignes{"Ancien"});
  EXPECT_EQ(SelectionListe(e.Items()), 0);
  EXPECT_EQ(e.Fiche(), FicheDe(ancien));

  // An accented label goes through the prompt and the list whole.
  Clique(e.MenuPlus());
  Saisis(pid, "Ajout d'un menu", "Libellé du menu", "Jeux vidéo");
  // The handler goes on once the prompt is gone: wait for its result.
  EXPECT_TRUE(Devient([&] { return LignesListe(e.Menus()); }, Lignes{"Outils", "Jeux vidéo"}));
  EXPECT_TRUE(Devient([&] { return SelectionListe(e.Menus()); }, 1));
  EXPECT_TRUE(Devient([&] { return LignesListe(e.Items()); }, Lignes{}));
  EXPECT_TRUE(Devient([&] { return e.Fiche(); }, FicheDe(Raccourci{})));

  // This one typed, and confirmed with Enter.
  Clique(e.ItemPlus());
  HWND invite = Invite(pid, "Ajout d'un item", "Libellé de l'item");
  ASSERT_NE(invite, nullptr);
  ASSERT_TRUE(Active(invite));
  Touche('E', {VK_SHIFT});
  Touches({'S', 'S', 'A', 'I'});
  EXPECT_TRUE(Devient([&] { return Texte(Enfant(invite, "Edit")); }, std::string("Essai")));
  Touche(VK_RETURN);
  ASSERT_TRUE(AttendsDestruction(invite));
  EXPECT_TRUE(Devient([&] { return LignesListe(e.Items()); }, Lignes{"Essai"}));
  EXPECT_TRUE(Devient([&] { return SelectionListe(e.Items()); }, 0));

  const Raccourci essai =
      Raccourci("Jeux vidéo", "Essai", CheminMarqueur(), "nouveau é", vivelance.Dossier())
          .Ctrl().Alt().Touche("J");
  EcrisTexte(e.Exe(), essai.exe);
  EcrisTexte(e.Param(), essai.params);
  EcrisTexte(e.Chemin(), essai.dir);
  CocheParClic(e.Bouton("Ctrl"));
  CocheParClic(e.Bouton("Alt"));
  // A small letter typed in the key field becomes its key's capital. The character goes
  // straight to the field: a click to focus it first sometimes landed where the pointer had
  // been, on the tray icon, which opened the shortcut menu instead.
  EXPECT_TRUE(PostMessageW(e.Touche(), WM_CHAR, L'j', 1)) << GetLastError();
  EXPECT_TRUE(Devient([&] { return e.Fiche(); }, FicheDe(essai)));

  Clique(e.Bouton("OK"));
  ASSERT_TRUE(AttendsVisible(e.fenetre, false));
  EXPECT_EQ(vivelance.LisFichier("Vivlan.ini"), SectionIni(1, ancien) + SectionIni(2, essai));
  EXPECT_EQ(FichiersDe(vivelance.Dossier()), Lignes{"Vivlan.ini"});

  // Taken up at once: the new combination starts its program where the field says.
  Combinaison(vivelance, 'J');
  EXPECT_TRUE(Devient([&] { return vivelance.LignesMarqueur(); },
                      Lignes{LigneMarqueur("nouveau é"), essai.dir}));
  EXPECT_TRUE(vivelance.Instance().EnCours());
}

TEST(Editeur, UnMenuSansItemEstSignalePendantLEnregistrementPuisLaisseDeCote) {
  const Raccourci ancien = Ancien();
  Vivelance vivelance(SectionIni(1, ancien));
  ASSERT_TRUE(vivelance.Demarre());
  const DWORD pid = vivelance.Instance().Pid();

  Editeur e = OuvreEditeur(vivelance);
  ASSERT_NE(e.fenetre, nullptr);
  AjouteMenuVide(e, pid);
  Clique(e.Bouton("OK"));

  // The save waits on the message, the editor still open behind it.
  HWND boite = AttendsBoite(pid, "Erreur");
  ASSERT_NE(boite, nullptr) << "no message for the menu without items";
  EXPECT_NE(Enfant(boite, "", std::string("Le menu Vide n'est pas pris en compte car il ne "
                                          "contient aucun item !")),
            nullptr)
      << TextesEnfants(boite);
  EXPECT_TRUE(Visible(e.fenetre));
  FermeParOk(boite);
  EXPECT_TRUE(AttendsDestruction(boite));
  ASSERT_TRUE(AttendsVisible(e.fenetre, false));
  EXPECT_EQ(vivelance.LisFichier("Vivlan.ini"), SectionIni(1, ancien));

  Editeur encore = OuvreEditeur(vivelance);
  ASSERT_EQ(encore.fenetre, e.fenetre);
  EXPECT_EQ(LignesListe(e.Menus()), Lignes{"Outils"});
}

TEST(Editeur, AnnulerLaisseLeFichierEtLeLanceurCommeIlsEtaient) {
  const Raccourci ancien = Ancien();
  const std::string ini = SectionIni(1, ancien);
  Vivelance vivelance(ini);
  ASSERT_TRUE(vivelance.Demarre());
  const DWORD pid = vivelance.Instance().Pid();

  Editeur e = OuvreEditeur(vivelance);
  ASSERT_NE(e.fenetre, nullptr);
  EcrisTexte(e.Param(), "modifié");
  EcrisTexte(e.Touche(), "m");
  EXPECT_TRUE(Devient([&] { return Texte(e.Touche()); }, std::string("M")));
  Clique(e.MenuPlus());
  Saisis(pid, "Ajout d'un menu", "Libellé du menu", "Autre");
  Clique(e.ItemPlus());
  Saisis(pid, "Ajout d'un item", "Libellé de l'item", "Nouvel item");
  EXPECT_TRUE(Devient([&] { return LignesListe(e.Items()); }, Lignes{"Nouvel item"}));
  EcrisTexte(e.Exe(), CheminMarqueur());

  Clique(e.Bouton("Annuler"));
  ASSERT_TRUE(AttendsVisible(e.fenetre, false));
  EXPECT_EQ(vivelance.LisFichier("Vivlan.ini"), ini);

  // Everything typed is lost: the next opening shows the launcher's shortcuts again.
  Editeur encore = OuvreEditeur(vivelance);
  ASSERT_EQ(encore.fenetre, e.fenetre);
  EXPECT_EQ(LignesListe(e.Menus()), Lignes{"Outils"});
  EXPECT_EQ(LignesListe(e.Items()), Lignes{"Ancien"});
  EXPECT_EQ(e.Fiche(), FicheDe(ancien));
  // Escape is "Annuler" too.
  ASSERT_TRUE(Active(e.fenetre));
  Touche(VK_ESCAPE);
  ASSERT_TRUE(AttendsVisible(e.fenetre, false));
  EXPECT_EQ(vivelance.LisFichier("Vivlan.ini"), ini);

  Combinaison(vivelance, 'K');
  EXPECT_TRUE(Devient([&] { return vivelance.LignesMarqueur(); },
                      Lignes{LigneMarqueur("ancien"), vivelance.Dossier()}));
}

TEST(Editeur, UnFichierQuiNePeutEtreEcritGardeLAncienEtLEditeurOuvertJusquAuNouvelEssai) {
  const Raccourci ancien = Ancien();
  const std::string ini = SectionIni(1, ancien);
  Vivelance vivelance(ini);
  LectureSeule protege(vivelance.Chemin("Vivlan.ini"));
  ASSERT_TRUE(vivelance.Demarre());

  Raccourci nouveau = ancien;
  nouveau.params = "nouveau";
  nouveau.touche = "L";

  Editeur e = OuvreEditeur(vivelance);
  ASSERT_NE(e.fenetre, nullptr);
  EcrisTexte(e.Param(), nouveau.params);
  EcrisTexte(e.Touche(), "l");
  EXPECT_TRUE(Devient([&] { return Texte(e.Touche()); }, std::string("L")));
  Clique(e.Bouton("OK"));

  ErreurDEnregistrement(vivelance, e, "Accès au fichier refusé.");
  EXPECT_EQ(vivelance.LisFichier("Vivlan.ini"), ini);
  EXPECT_EQ(FichiersDe(vivelance.Dossier()), Lignes{"Vivlan.ini"});
  EXPECT_EQ(e.Fiche(), FicheDe(nouveau)) << "every edit is still there";

  // No reload: Ctrl+Alt+L was never registered, Ctrl+Alt+K still starts the old parameters.
  Combinaison(vivelance, 'L');
  Combinaison(vivelance, 'K');
  EXPECT_TRUE(Devient([&] { return vivelance.LignesMarqueur(); },
                      Lignes{LigneMarqueur("ancien"), vivelance.Dossier()}));

  // Once the file may be written, "OK" again saves the same edits.
  protege.Leve();
  Clique(e.Bouton("OK"));
  ASSERT_TRUE(AttendsVisible(e.fenetre, false));
  EXPECT_EQ(vivelance.LisFichier("Vivlan.ini"), SectionIni(1, nouveau));
  Combinaison(vivelance, 'L');
  EXPECT_TRUE(Devient([&] { return vivelance.LignesMarqueur(); },
                      Lignes{LigneMarqueur("ancien"), vivelance.Dossier(),
                             LigneMarqueur("nouveau"), vivelance.Dossier()}));
}

TEST(Editeur, QuitterPendantLeMessageDeLEnregistrementFermeSansFauteEtLaisseUnFichierEntier) {
  const Raccourci ancien = Ancien();
  Vivelance vivelance(SectionIni(1, ancien));
  ASSERT_TRUE(vivelance.Demarre());
  const DWORD pid = vivelance.Instance().Pid();

  Editeur e = OuvreEditeur(vivelance);
  ASSERT_NE(e.fenetre, nullptr);
  Raccourci nouveau = ancien;
  nouveau.params = "nouveau";
  EcrisTexte(e.Param(), nouveau.params);
  EXPECT_TRUE(Devient([&] { return e.Fiche(); }, FicheDe(nouveau)));
  AjouteMenuVide(e, pid);
  Clique(e.Bouton("OK"));
  ASSERT_NE(AttendsBoite(pid, "Erreur"), nullptr) << "no message for the menu without items";

  // From the tray while the save waits on its message.
  ASSERT_TRUE(vivelance.Quitte());
  EXPECT_EQ(vivelance.Instance().CodeSortie(), 0u);
  EXPECT_TRUE(Attends([] { return !IconeAffichee(); }));
  const auto fichier = vivelance.LisFichier("Vivlan.ini");
  EXPECT_TRUE(fichier == SectionIni(1, ancien) || fichier == SectionIni(1, nouveau))
      << fichier.value_or("(none)");
  EXPECT_EQ(FichiersDe(vivelance.Dossier()), Lignes{"Vivlan.ini"});
}

TEST(Editeur, ActivationLanceLeRaccourciQueMontreInformationsMemeSiUnEnregistrementLesAReordonnes) {
  const Raccourci a1("A", "a1", CheminMarqueur(), "a1");
  const Raccourci b1("B", "b1", CheminMarqueur(), "b1");
  Vivelance vivelance(SectionIni(1, a1) + SectionIni(2, b1));
  ASSERT_TRUE(vivelance.Demarre());
  const DWORD pid = vivelance.Instance().Pid();

  // F1 on entry a1: the record at index 0.
  ASSERT_TRUE(ChoisitDansLeMenu(Bouton::Gauche, {VK_DOWN, VK_RIGHT, VK_F1}));
  HWND info = AttendsFenetreDe(pid, Modeles().info);
  ASSERT_NE(info, nullptr);
  ASSERT_TRUE(AttendsVisible(info));

  // Menu B moved above A and saved while the dialog is open: index 0 is now b1.
  Editeur e = OuvreEditeur(vivelance);
  ASSERT_NE(e.fenetre, nullptr);
  SendMessageW(e.Menus(), LB_SETCURSEL, 1, 0);
  SendMessageW(e.fenetre, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(e.Menus()), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(e.Menus()));
  EXPECT_TRUE(Devient([&] { return LignesListe(e.Items()); }, Lignes{"b1"}));
  Clique(e.De(Modeles().config.iSbtMenuHaut));
  EXPECT_TRUE(Devient([&] { return LignesListe(e.Menus()); }, Lignes{"B", "A"}));
  Clique(e.Bouton("OK"));
  ASSERT_TRUE(AttendsVisible(e.fenetre, false));
  EXPECT_EQ(vivelance.LisFichier("Vivlan.ini"), SectionIni(1, b1) + SectionIni(2, a1));

  ASSERT_TRUE(Visible(info));
  Clique(Enfant(info, "Button", std::string("Activation")));
  EXPECT_TRUE(AttendsVisible(info, false));
  ASSERT_TRUE(Attends([&] { return !vivelance.LignesMarqueur().empty(); }));
  EXPECT_EQ(vivelance.LignesMarqueur()[0], LigneMarqueur("a1"));
}

TEST(Editeur, UnDisquePleinEstSignaleEtGardeLAncienFichier) {
  const std::string ini = SectionIni(1, Ancien());
  Vivelance vivelance;
  PetitDisque disque(vivelance.Dossier());
  if (!disque.Monte()) GTEST_SKIP() << "no tmpfs can be mounted here (mount needs root)";
  vivelance.EcrisFichier("Vivlan.ini", ini);
  ASSERT_TRUE(disque.Remplit("plein"));
  ASSERT_TRUE(vivelance.Demarre());

  Editeur e = OuvreEditeur(vivelance);
  ASSERT_NE(e.fenetre, nullptr);
  EcrisTexte(e.Param(), "nouveau");
  Clique(e.Bouton("OK"));
  ErreurDEnregistrement(vivelance, e, "Disque plein.");
  EXPECT_EQ(vivelance.LisFichier("Vivlan.ini"), ini);
  Lignes fichiers = FichiersDe(vivelance.Dossier());
  std::sort(fichiers.begin(), fichiers.end());
  EXPECT_EQ(fichiers, (Lignes{"Vivlan.ini", "plein"}));
}

TEST(Editeur, UnParametreEntreGuillemetsEtLaToucheEspaceSeRelisentCommeTapes) {
  Raccourci r = Ancien();
  Vivelance vivelance(SectionIni(1, r));
  ASSERT_TRUE(vivelance.Demarre());
  r.params = "\"" + vivelance.Dossier() + "\\a b.txt\"";
  r.touche = " ";

  // Saved twice: what the first save writes is what the editor shows and saves again.
  for (int fois = 1; fois <= 2; ++fois) {
    Editeur e = OuvreEditeur(vivelance);
    ASSERT_NE(e.fenetre, nullptr);
    if (fois == 1) {
      EcrisTexte(e.Param(), r.params);
      EcrisTexte(e.Touche(), r.touche);
    }
    EXPECT_TRUE(Devient([&] { return e.Fiche(); }, FicheDe(r))) << "opening " << fois;
    Clique(e.Bouton("OK"));
    ASSERT_TRUE(AttendsVisible(e.fenetre, false));
  }
  const std::string fichier = vivelance.LisFichier("Vivlan.ini").value_or("");
  EXPECT_NE(fichier.find(*plat::Cp1252("\r\nParamètre(s) = \"" + r.params + "\"\r\n")),
            std::string::npos)
      << fichier;
  EXPECT_NE(fichier.find("\r\nTouche = \" \"\r\n"), std::string::npos) << fichier;

  Combinaison(vivelance, ' ');
  EXPECT_TRUE(Devient([&] { return vivelance.LignesMarqueur(); },
                      Lignes{LigneMarqueur(r.params), vivelance.Dossier()}));
}

TEST(Editeur, TroisMilleSixCentsRaccourcisSontLusLancesEtEnregistresEntiers) {
  // Past the 3,498 sections a buffer of 16,384 bytes of names once held.
  std::vector<Raccourci> raccourcis;
  for (int i = 1; i <= 3600; ++i)
    raccourcis.push_back({"M", "i" + std::to_string(i), CheminMarqueur(), std::to_string(i)});
  raccourcis.back().Ctrl().Alt().Touche("K");
  const std::string ini = FichierIni(raccourcis);
  Vivelance vivelance(ini);
  ASSERT_TRUE(vivelance.Demarre());

  Combinaison(vivelance, 'K');
  EXPECT_TRUE(Devient([&] { return vivelance.LignesMarqueur(); },
                      Lignes{LigneMarqueur("3600"), vivelance.Dossier()}));

  Editeur e = OuvreEditeur(vivelance);
  ASSERT_NE(e.fenetre, nullptr);
  EXPECT_EQ(LignesListe(e.Items()).size(), 3600u);
  Clique(e.Bouton("OK"));
  ASSERT_TRUE(AttendsVisible(e.fenetre, false));
  EXPECT_EQ(vivelance.LisFichier("Vivlan.ini"), ini);
}
