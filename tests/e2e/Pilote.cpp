#include "Pilote.h"

#include "app/Princip.h"
#include "platform/win32/Large.h"
#include "toolkit/Echelle.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace pilote {

namespace {

// What the driver's helpers report fails the running test.
const bool kEchecsDuTest = (SurEchec([](const std::string& message) { ADD_FAILURE() << message; }),
                            true);

}  // namespace

std::string CheminVivlan() { return CheminWine(VIVLAN_EXE); }
std::string CheminMarqueur() { return CheminWine(MARQUEUR_EXE); }
std::string CheminPaquet() { return CheminWine(VIVLAN_DEBALLE "/Vivelance"); }

std::string LigneMarqueur(const std::string& arguments) {
  return '"' + CheminMarqueur() + '"' + (arguments.empty() ? "" : " " + arguments);
}

std::vector<std::string> EtiquettesQuiDebordent(HWND dialogue) {
  std::vector<std::string> debordent;
  const std::vector<HWND> enfants = Enfants(dialogue);
  // A font handle of the other process means nothing here (and Wine answers WM_GETFONT from
  // another process with 0): the dialogs' own font, made alike at the dialog's scale.
  const UINT ppp = GetDpiForWindow(dialogue);
  const int hauteur = tk::HauteurPolice(tk::Font{}.height, ppp != 0 ? ppp : GetDpiForSystem());
  HFONT police = CreateFontW(hauteur, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
  HDC dc = GetDC(nullptr);
  HGDIOBJ avant = SelectObject(dc, police);
  for (HWND etiquette : enfants) {
    const std::wstring texte = plat::Large(Texte(etiquette));
    if (Classe(etiquette) != "Static" || texte.empty()) continue;
    SIZE taille{};
    GetTextExtentPoint32W(dc, texte.c_str(), static_cast<int>(texte.size()), &taille);
    const RECT e = RectFenetre(etiquette);
    const LONG fin = std::max(e.right, e.left + taille.cx);
    for (HWND voisin : enfants) {
      const RECT v = RectFenetre(voisin);
      // A group box holds its labels: only what lies beside them counts.
      const bool groupe = Classe(voisin) == "Button" &&
                          (GetWindowLongW(voisin, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
      if (voisin != etiquette && !groupe && v.top < e.bottom && e.top < v.bottom &&
          v.left >= e.left && v.left < fin)
        debordent.push_back(plat::Etroit(texte) + ": ends at " + std::to_string(fin - e.left) +
                            ", control at " + std::to_string(v.left - e.left));
    }
  }
  SelectObject(dc, avant);
  ReleaseDC(nullptr, dc);
  DeleteObject(police);
  return debordent;
}

// ---- Vivelance

Vivelance::Vivelance(const std::optional<std::string>& ini) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  dossier_ = NomUnique(plat::Etroit(temp) + "vivlan-e2e-");
  std::error_code erreur;
  std::filesystem::remove_all(Fs(dossier_), erreur);
  EXPECT_TRUE(CreeDossier(dossier_)) << dossier_ << ": " << GetLastError();
  if (ini) EcrisFichier("Vivlan.ini", *ini);
  Prepare();
}

Vivelance::Vivelance(const Installe& installe)
    : dossier_(installe.dossier), programme_(installe.dossier + "\\Vivlan.exe"),
      dossierAMoi_(false) {
  Prepare();
}

void Vivelance::Prepare() {
  SetEnvironmentVariableW(L"VIVLAN_MARQUEUR", plat::Large(Chemin("Marqueur.txt")).c_str());
  wchar_t winedebug[256] = L"";
  GetEnvironmentVariableW(L"WINEDEBUG", winedebug, 256);
  winedebug_ = plat::Etroit(winedebug);
  SetEnvironmentVariableW(L"WINEDEBUG", plat::Large(winedebug_ + ",err+seh").c_str());
}

Vivelance::~Vivelance() {
  travail_.Termine();
  processus_.clear();
  SetEnvironmentVariableW(L"VIVLAN_MARQUEUR", nullptr);
  SetEnvironmentVariableW(L"WINEDEBUG",
                          winedebug_.empty() ? nullptr : plat::Large(winedebug_).c_str());
  std::error_code erreur;
  if (dossierAMoi_) std::filesystem::remove_all(Fs(dossier_), erreur);
}

std::string Vivelance::Chemin(const std::string& nom) const { return dossier_ + "\\" + nom; }

void Vivelance::EcrisFichier(const std::string& nom, const std::string& octets) const {
  std::ofstream fichier(Fs(Chemin(nom)), std::ios::binary | std::ios::trunc);
  fichier << octets;
  EXPECT_TRUE(fichier.good()) << Chemin(nom);
}

std::optional<std::string> Vivelance::LisFichier(const std::string& nom) const {
  std::ifstream fichier(Fs(Chemin(nom)), std::ios::binary);
  if (!fichier) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(fichier), std::istreambuf_iterator<char>());
}

Processus& Vivelance::Lance() {
  processus_.emplace_back("\"" + programme_ + "\"", dossier_, travail_.Handle());
  return processus_.back();
}

bool Vivelance::Demarre() {
  if (processus_.empty() && Trouve(TFrmPrincip::kClasse, TFrmPrincip::kTitre)) {
    ADD_FAILURE() << "a Vivelance started elsewhere is running";
    return false;
  }
  Processus& instance = processus_.empty() ? Lance() : processus_.front();
  return AttendsDemarrage(instance);
}

bool Vivelance::Redemarre() {
  if (processus_.empty() || processus_.front().EnCours()) {
    ADD_FAILURE() << "no launcher under test has ended";
    return false;
  }
  // The new one goes first: it is the instance under test.
  processus_.pop_front();
  processus_.emplace_front("\"" + programme_ + "\"", dossier_, travail_.Handle());
  return Demarre();
}

HWND Vivelance::FenetrePrincipale() const {
  if (processus_.empty()) return nullptr;
  return FenetrePrincipaleDe(processus_.front().Pid());
}

HWND Vivelance::FenetreIcone() const {
  if (processus_.empty()) return nullptr;
  return FenetreIconeDe(processus_.front().Pid());
}

bool Vivelance::Commande(WORD toucheAcces) {
  return ChoisitDansLeMenu(Bouton::Droit, {toucheAcces});
}

bool Vivelance::Quitte() { return Commande('Q') && Instance().AttendsFin(); }

std::vector<std::string> Vivelance::LignesMarqueur() const {
  std::vector<std::string> lignes;
  std::optional<std::string> contenu = LisFichier("Marqueur.txt");
  if (!contenu) return lignes;
  std::istringstream flux(*contenu);
  std::string ligne;
  while (std::getline(flux, ligne)) {
    if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
    lignes.push_back(ligne);
  }
  return lignes;
}

// ---- The program's boxes and its editor

HWND AttendsBoite(DWORD pid, const std::string& titre) {
  HWND trouvee = nullptr;
  Attends([&] {
    for (HWND fenetre : FenetresDe(pid))
      if (Visible(fenetre) && Texte(fenetre) == titre) trouvee = fenetre;
    return trouvee != nullptr;
  });
  return trouvee;
}

HWND Invite(DWORD pid, const std::string& titre, const std::string& question) {
  HWND boite = AttendsBoite(pid, titre);
  if (boite == nullptr) {
    ADD_FAILURE() << "no prompt \"" << titre << "\"";
    return nullptr;
  }
  EXPECT_NE(Enfant(boite, "", question), nullptr) << TextesEnfants(boite);
  return boite;
}

void Saisis(DWORD pid, const std::string& titre, const std::string& question,
            const std::string& libelle) {
  HWND boite = Invite(pid, titre, question);
  ASSERT_NE(boite, nullptr);
  HWND champ = Enfant(boite, "Edit");
  ASSERT_NE(champ, nullptr) << TextesEnfants(boite);
  EXPECT_EQ(Texte(champ), "");
  EcrisTexte(champ, libelle);
  HWND ok = Enfant(boite, "Button", std::string("OK"));
  ASSERT_NE(ok, nullptr) << TextesEnfants(boite);
  Clique(ok);
  EXPECT_TRUE(AttendsDestruction(boite));
}

void FermeParOk(HWND boite) {
  HWND ok = Enfant(boite, "Button", std::string("OK"));
  ASSERT_NE(ok, nullptr) << TextesEnfants(boite);
  Clique(ok);
  EXPECT_TRUE(AttendsVisible(boite, false));
}

int Ppp() {
  const char* ppp = std::getenv("VIVLAN_PPP");
  return ppp != nullptr ? std::atoi(ppp) : tk::kPppConception;
}

std::string Editeur::Fiche() const {
  return Texte(Exe()) + " | " + Texte(Param()) + " | " + Texte(Chemin()) + " | " +
         (Coche(Bouton("Ctrl")) ? "Ctrl " : "") + (Coche(Bouton("Alt")) ? "Alt " : "") +
         (Coche(Bouton("Shift")) ? "Shift " : "") + (Coche(Bouton("Windows")) ? "Win " : "") +
         "| " + Texte(Touche());
}

Editeur OuvreEditeur(Vivelance& vivelance) {
  Editeur editeur;
  if (!ChoisitDansLeMenu(Bouton::Droit, kChoixConfiguration)) {
    ADD_FAILURE() << "the command menu did not open, or did not close on \"Configuration\"";
    return editeur;
  }
  editeur.fenetre = AttendsFenetreDe(vivelance.Instance().Pid(), Modeles().config);
  if (editeur.fenetre == nullptr || !AttendsVisible(editeur.fenetre)) {
    ADD_FAILURE() << "the editor did not open";
    editeur.fenetre = nullptr;
  }
  return editeur;
}

void CocheParClic(HWND caseACocher) {
  ASSERT_NE(caseACocher, nullptr);
  Clique(caseACocher);
  EXPECT_TRUE(Attends([&] { return Coche(caseACocher); })) << Texte(caseACocher);
}

void Combinaison(Vivelance& vivelance, char touche) {
  Synchronise(vivelance.FenetrePrincipale());
  FenetreTemoin clavier("TTemoinClavier", "Clavier");
  ShowWindow(clavier.Handle(), SW_SHOW);
  ASSERT_TRUE(AuPremierPlan(clavier.Handle()));
  Touche(static_cast<WORD>(touche), {VK_CONTROL, VK_MENU});
}

std::string AttendsBlocNotes(const std::string& attendu) {
  std::string lu = "(no Notepad)";
  Attends([&] {
    HWND blocNotes = Trouve("Notepad");
    HWND texte = blocNotes ? Enfant(blocNotes, "Edit") : nullptr;
    if (texte) lu = Texte(texte);
    return lu == attendu;
  });
  return lu;
}

}  // namespace pilote
