// Photos.exe DOSSIER: the pictures of the read-me. Starts the Vivlan.exe that lies in DOSSIER (a
// Linux path) there, opens each of its windows as a user would, saves a picture of each in
// DOSSIER and quits the launcher. tools/run runs it under Xvfb in Wine's virtual desktop, whose
// screen is the X display's.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pilote/Fenetres.h"
#include "pilote/Lanceur.h"
#include "pilote/Processus.h"

namespace {

using namespace pilote;

std::string gDossier;

// The screen's pixels in `r`.
std::vector<DWORD> Pixels(const RECT& r) {
  const int largeur = r.right - r.left, hauteur = r.bottom - r.top;
  BITMAPINFO description{};
  description.bmiHeader.biSize = sizeof description.bmiHeader;
  description.bmiHeader.biWidth = largeur;
  description.bmiHeader.biHeight = -hauteur;
  description.bmiHeader.biPlanes = 1;
  description.bmiHeader.biBitCount = 32;
  description.bmiHeader.biCompression = BI_RGB;
  HDC ecran = GetDC(nullptr);
  HDC copie = CreateCompatibleDC(ecran);
  void* bits = nullptr;
  HBITMAP image = CreateDIBSection(ecran, &description, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ avant = SelectObject(copie, image);
  BitBlt(copie, 0, 0, largeur, hauteur, ecran, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* debut = static_cast<const DWORD*>(bits);
  std::vector<DWORD> pixels(debut, debut + largeur * hauteur);
  SelectObject(copie, avant);
  DeleteObject(image);
  DeleteDC(copie);
  ReleaseDC(nullptr, ecran);
  return pixels;
}

// Drawn: `r` has kept the same pixels for a quarter of a second.
bool AttendsImmobile(const RECT& r) {
  constexpr ULONGLONG kRepos = 250;
  std::vector<DWORD> vus = Pixels(r);
  ULONGLONG depuis = GetTickCount64();
  return Attends([&] {
    std::vector<DWORD> maintenant = Pixels(r);
    if (maintenant == vus) return GetTickCount64() - depuis >= kRepos;
    vus = std::move(maintenant);
    depuis = GetTickCount64();
    return false;
  });
}

// `r` of the screen, once drawn, saved as `nom` in the folder.
void Photo(const std::string& nom, const RECT& r) {
  if (!AttendsImmobile(r)) Echec(nom + ": the screen never stood still");
  const std::string chemin = gDossier + "/" + nom;
  const std::string geometrie = std::to_string(r.right - r.left) + "x" +
                                std::to_string(r.bottom - r.top) + "+" + std::to_string(r.left) +
                                "+" + std::to_string(r.top);
  if (CommandeLinux("import -display $DISPLAY -window root -crop " + geometrie + " +repage '" +
                    chemin + "'") != 0)
    Echec("import could not save " + chemin);
  std::printf("Saved %s\n", chemin.c_str());
}

// The screen's bottom right-hand corner: the notification area, and the menus that open there.
RECT Coin(int largeur, int hauteur) {
  const int droite = GetSystemMetrics(SM_CXSCREEN), bas = GetSystemMetrics(SM_CYSCREEN);
  return {droite - largeur, bas - hauteur, droite, bas};
}

void OuvreMenu(Bouton bouton) {
  if (!OuvreMenuIcone(bouton)) Echec("no menu after a click on the tray icon");
}

// The window made after `modele`, once the keys `ouverture` have opened it: its picture, then
// `fermeture` closes it.
void PhotoFenetre(DWORD pid, const tk::Form& modele, const std::vector<WORD>& ouverture,
                  const std::string& nom, WORD fermeture) {
  Touches(ouverture);
  const HWND fenetre = AttendsFenetreDe(pid, modele);
  if (fenetre == nullptr || !AttendsVisible(fenetre)) Echec(modele.text() + " did not open");
  Photo(nom, RectFenetre(fenetre));
  Touche(fermeture);
  if (!AttendsVisible(fenetre, false)) Echec(modele.text() + " did not close");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: Photos.exe FOLDER\n");
    return 2;
  }
  SurEchec([](const std::string& message) {
    std::fprintf(stderr, "Photos: %s\n", message.c_str());
    std::exit(1);
  });
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  gDossier = argv[1];
  const std::string dossier = CheminWine(gDossier);
  Travail travail;
  Processus vivlan("\"" + dossier + "\\Vivlan.exe\"", dossier, travail.Handle());
  if (!AttendsDemarrage(vivlan) || !Attends(IconeAffichee)) Echec("Vivlan.exe did not start");
  const DWORD pid = vivlan.Pid();
  const Programme& modeles = Modeles();
  Photo("zone-notification.png", Coin(300, 60));

  // The shortcuts: the first sub-menu open, its first entry highlighted; F1 there shows what it
  // starts.
  OuvreMenu(Bouton::Gauche);
  Touches({VK_DOWN, VK_RIGHT});
  if (!Attends([] { return MenusOuverts().size() == 2; })) Echec("no sub-menu");
  Photo("menu-raccourcis.png", Coin(400, 170));
  PhotoFenetre(pid, modeles.info, {VK_F1}, "informations.png", VK_RETURN);

  OuvreMenu(Bouton::Droit);
  Photo("menu-commandes.png", Coin(400, 170));
  PhotoFenetre(pid, modeles.config, kChoixConfiguration, "configuration.png", VK_ESCAPE);

  OuvreMenu(Bouton::Droit);
  PhotoFenetre(pid, modeles.aPropos, {'A'}, "a-propos.png", VK_RETURN);

  OuvreMenu(Bouton::Droit);
  Touche('Q');
  if (!vivlan.AttendsFin()) Echec("Vivlan.exe did not end");
  std::printf("Vivlan.exe ended with code %lu\n", vivlan.CodeSortie());
  return 0;
}
