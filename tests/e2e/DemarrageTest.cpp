// Start-up, single instance, about box and quitting, on the real program.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Pilote.h"
#include "app/Princip.h"
#include "support/FichierIni.h"
#include "support/Francais.h"

using namespace pilote;

namespace {

const std::string kIni = SectionIni(1, {"Outils", "Marqueur", "Marqueur.exe"});

// A right click on the icon, given as `clic`, opens this process's command menu; Escape
// closes it.
void VerifieMenuDesCommandes(DWORD pid, const std::function<void()>& clic) {
  clic();
  HWND menu = AttendsMenu();
  ASSERT_NE(menu, nullptr) << "no menu after a right click on the tray icon";
  EXPECT_EQ(PidDe(menu), pid);
  Touche(VK_ESCAPE);
  EXPECT_TRUE(AttendsMenuFerme());
}

// The "Erreur" box of a refused start: its message, then "OK" ends the process.
void VerifieRefus(Processus& refuse) {
  HWND boite = AttendsFenetreDe(refuse.Pid(), "", "Erreur");
  ASSERT_NE(boite, nullptr) << "no \"Erreur\" box";
  EXPECT_TRUE(AttendsVisible(boite));
  EXPECT_NE(TextesEnfants(boite).find(kDejaEnCours), std::string::npos) << TextesEnfants(boite);
  EXPECT_TRUE(refuse.EnCours()) << "the process must wait for the box to be closed";
  EXPECT_EQ(FenetreDe(refuse.Pid(), TFrmPrincip::kClasse), nullptr);

  FermeParOk(boite);
  EXPECT_TRUE(refuse.AttendsFin());
}

}  // namespace

TEST(Demarrage, FenetrePrincipaleCacheeEtIconeDansLaZoneDeNotification) {
  Vivelance vivelance(kIni);
  ASSERT_TRUE(vivelance.Demarre());
  const DWORD pid = vivelance.Instance().Pid();

  HWND principale = Trouve(TFrmPrincip::kClasse, TFrmPrincip::kTitre);
  ASSERT_NE(principale, nullptr);
  EXPECT_EQ(PidDe(principale), pid);
  EXPECT_FALSE(Visible(principale));
  for (HWND fenetre : FenetresDe(pid)) {
    EXPECT_FALSE(Visible(fenetre)) << "visible window of class " << Classe(fenetre);
  }
  EXPECT_TRUE(Attends(IconeAffichee));

  // A click through X, as a mouse would do it.
  VerifieMenuDesCommandes(pid, [] { CliqueEcranX11(PositionIcone(), Bouton::Droit); });
  EXPECT_TRUE(vivelance.Instance().EnCours());
}

TEST(Demarrage, SansFichierDeParametres) {
  Vivelance vivelance;
  ASSERT_TRUE(vivelance.Demarre());
  // The notification the shell posts for a right click, straight to the icon's window.
  VerifieMenuDesCommandes(vivelance.Instance().Pid(), [&] {
    EXPECT_TRUE(PosteNotification(vivelance.FenetreIcone(), WM_RBUTTONUP));
  });
  EXPECT_FALSE(vivelance.LisFichier("Vivlan.ini")) << "reading must not create the file";
}

TEST(Demarrage, UneSecondeInstanceSignaleEtSeTermine) {
  Vivelance vivelance(kIni);
  ASSERT_TRUE(vivelance.Demarre());
  HWND principale = vivelance.FenetrePrincipale();

  Processus& seconde = vivelance.Lance();
  VerifieRefus(seconde);

  EXPECT_TRUE(vivelance.Instance().EnCours());
  EXPECT_EQ(Trouve(TFrmPrincip::kClasse, TFrmPrincip::kTitre), principale);
  EXPECT_TRUE(Attends(IconeAffichee));
  VerifieMenuDesCommandes(vivelance.Instance().Pid(), [] { CliqueIcone(Bouton::Droit); });
}

TEST(Demarrage, UneFenetreCacheeDeMemesClasseEtTitreEmpecheLeDemarrage) {
  FenetreTemoin temoin(TFrmPrincip::kClasse, TFrmPrincip::kTitre);
  Vivelance vivelance(kIni);
  VerifieRefus(vivelance.Lance());
  EXPECT_EQ(Trouve(TFrmPrincip::kClasse, TFrmPrincip::kTitre), temoin.Handle());
}

TEST(Demarrage, LaClasseOuLeTitreSeulsNEmpechentPasLeDemarrage) {
  FenetreTemoin autreClasse("TAutreFenetre", TFrmPrincip::kTitre);
  FenetreTemoin autreTitre(TFrmPrincip::kClasse, "Vivelance 1.1");
  Vivelance vivelance(kIni);
  ASSERT_TRUE(vivelance.Demarre());
  EXPECT_EQ(FenetreDe(vivelance.Instance().Pid(), "", "Erreur"), nullptr);
  EXPECT_EQ(PidDe(Trouve(TFrmPrincip::kClasse, TFrmPrincip::kTitre)), vivelance.Instance().Pid());
}

TEST(APropos, SOuvreUneSeuleFoisEtSeFermeParOk) {
  Vivelance vivelance(kIni);
  ASSERT_TRUE(vivelance.Demarre());
  const DWORD pid = vivelance.Instance().Pid();

  ASSERT_TRUE(vivelance.Commande('A'));
  HWND boite = AttendsFenetreDe(pid, Modeles().aPropos);
  ASSERT_NE(boite, nullptr);
  ASSERT_TRUE(AttendsVisible(boite));

  // Asked again while it is open: the menu still works and nothing else opens.
  ASSERT_TRUE(vivelance.Commande('A'));
  Synchronise(vivelance.FenetrePrincipale());
  int visibles = 0;
  for (HWND fenetre : FenetresDe(pid)) visibles += Visible(fenetre);
  EXPECT_EQ(visibles, 1);
  EXPECT_TRUE(Visible(boite));

  HWND ok = Enfant(boite, "Button", "Ok");
  ASSERT_NE(ok, nullptr) << TextesEnfants(boite);
  Clique(ok);
  EXPECT_TRUE(AttendsVisible(boite, false));

  // Once closed it opens again, and Enter presses its default "Ok".
  ASSERT_TRUE(vivelance.Commande('A'));
  ASSERT_TRUE(AttendsVisible(boite));
  ASSERT_TRUE(AuPremierPlan(boite));
  Touche(VK_RETURN);
  EXPECT_TRUE(AttendsVisible(boite, false));
  EXPECT_TRUE(vivelance.Instance().EnCours());
}

TEST(Quitter, TermineLeProgrammeEtRetireSonIcone) {
  Vivelance vivelance(kIni);
  ASSERT_TRUE(vivelance.Demarre());
  HWND icone = vivelance.FenetreIcone();
  ASSERT_TRUE(Attends(IconeAffichee));

  ASSERT_TRUE(vivelance.Quitte());
  EXPECT_EQ(vivelance.Instance().CodeSortie(), 0u);
  EXPECT_FALSE(IsWindow(icone));
  EXPECT_TRUE(AttendsAbsence(TFrmPrincip::kClasse, TFrmPrincip::kTitre));
  EXPECT_TRUE(Attends([] { return !IconeAffichee(); }));
}

TEST(Demarrage, DeuxDemarragesEnMemeTempsNeFontQuUnLanceur) {
  Vivelance vivelance(kIni);
  Processus& a = vivelance.Lance();
  Processus& b = vivelance.Lance();
  // One runs, the other refuses, whichever came first.
  Processus* refuse = nullptr;
  ASSERT_TRUE(Attends([&] {
    for (Processus* p : {&a, &b})
      if (FenetreDe(p->Pid(), "", "Erreur")) refuse = p;
    return refuse != nullptr;
  }));
  Processus& lanceur = refuse == &a ? b : a;
  VerifieRefus(*refuse);
  EXPECT_TRUE(Attends([&] { return FenetreDe(lanceur.Pid(), TFrmPrincip::kClasse) != nullptr; }));
  EXPECT_TRUE(lanceur.EnCours());
  EXPECT_EQ(Trouve(TFrmPrincip::kClasse, TFrmPrincip::kTitre),
            FenetreDe(lanceur.Pid(), TFrmPrincip::kClasse));
}
