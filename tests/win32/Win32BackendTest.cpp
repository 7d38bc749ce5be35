// The Windows backend and platform in this very process, under Wine: real
// windows, driven by posted messages and by a thread timer that acts while a
// modal loop runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "pilote/Fenetres.h"
#include "platform/FichierEcriture.h"
#include "platform/win32/Large.h"
#include "platform/win32/PlateformeWin32.h"
#include "support/Disposition.h"
#include "support/FichierIni.h"
#include "support/Francais.h"
#include "support/PageDeCode.h"
#include "support/Programme.h"
#include "toolkit/Toolkit.h"
#include "toolkit/win32/Win32Backend.h"

#include <windows.h>

namespace {

using namespace tk;
using pilote::Fs;
using pilote::MenuOuvert;
using pilote::Texte;
using pilote::Visible;

// What the user does while a modal loop runs: `action` is polled every 30 ms
// until it returns true. After 10 s the loop is broken with WM_QUIT (a failure).
std::function<bool()> gAction;
UINT_PTR gTimer = 0;
int gTics = 0;
bool gEchec = false;

void CALLBACK Tic(HWND, UINT, UINT_PTR, DWORD) {
  if (!gAction) return;
  if (++gTics > 330) {
    gEchec = true;
  } else if (!gAction()) {
    return;
  }
  KillTimer(nullptr, gTimer);
  gAction = nullptr;
  if (gEchec) PostQuitMessage(1);
}

void Pendant(std::function<bool()> action) {
  gAction = std::move(action);
  gTics = 0;
  gEchec = false;
  gTimer = SetTimer(nullptr, 0, 30, Tic);
}

std::string LigneListe(HWND liste, int i) {
  wchar_t ligne[256] = {};
  SendMessageW(liste, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(ligne));
  return plat::Etroit(ligne);
}

void Ecrit(const std::string& chemin, const std::string& octets) {
  std::ofstream fichier(Fs(chemin), std::ios::binary);
  fichier << octets;
  EXPECT_TRUE(fichier.good()) << chemin;
}

// A fresh folder in the temporary directory, removed whole at the end: Wine reuses process ids
// from one run to the next.
class DossierTemporaire {
 public:
  explicit DossierTemporaire(const std::string& nom) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    chemin_ = plat::Etroit(temp) + nom + "-" + std::to_string(GetCurrentProcessId());
    std::error_code erreur;
    std::filesystem::remove_all(Fs(chemin_), erreur);
    EXPECT_TRUE(std::filesystem::create_directory(Fs(chemin_), erreur)) << chemin_;
  }
  ~DossierTemporaire() {
    std::error_code erreur;
    std::filesystem::remove_all(Fs(chemin_), erreur);
  }
  DossierTemporaire(const DossierTemporaire&) = delete;
  DossierTemporaire& operator=(const DossierTemporaire&) = delete;
  const std::string& chemin() const { return chemin_; }

 private:
  std::string chemin_;
};

HWND H(Handle h) { return reinterpret_cast<HWND>(h); }
HWND H(const Control& c) { return reinterpret_cast<HWND>(c.native); }

void Touche(HWND hwnd, WPARAM touche) { PostMessageA(hwnd, WM_KEYDOWN, touche, 1); }

class Win32BackendTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // A loop broken by the time limit leaves its WM_QUIT behind.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    EXPECT_FALSE(gEchec) << "the expected window did not come";
  }

  Win32Backend backend{reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr))};
  Application app{backend, "C:\\Programmes\\VIVLAN.EXE"};
  Form principale{app, "TFrmTestPrincipale", "Principale", 200, 50};
};

// A dialog laid out as the program's: controls inside nested containers.
struct Dialogue {
  explicit Dialogue(Application& app) : form(app, "TFrmTestDialogue", "Essai", 400, 300) {}
  Form form;
  GroupBox groupe{&form, "groupe", {10, 20, 300, 200}, " Groupe "};
  GroupBox interne{&groupe, "interne", {15, 17, 120, 100}, " Interne "};
  CheckBox coche{&interne, "coche", {20, 20, 50, 17}, "Ctrl"};
  Label etiquette{&groupe, "etiquette", {6, 150, 0, 0}, "Touche:"};
  Edit premier{&groupe, "premier", {150, 30, 100, 21}};
  Edit second{&groupe, "second", {150, 60, 100, 21}};
  ListBox liste{&form, "liste", {320, 20, 70, 100}};
  Button ok{&form, Kind::Button, "ok", {100, 260, 90, 26}, "OK", Picture::GlyphOk};
  Button annuler{&form,     Kind::Button,         "annuler", {200, 260, 90, 26},
                 "Annuler", Picture::GlyphAnnuler};
  Button petit{&form, Kind::SpeedButton, "petit", {320, 130, 23, 22}, "", Picture::Plus};
};

TEST_F(Win32BackendTest, FormHasTheClientSizeNoTitleButtonsAndAbsoluteChildPositions) {
  Dialogue d(app);
  HWND hwnd = H(d.form.handle());
  ASSERT_NE(hwnd, nullptr);
  char classe[64] = {};
  GetClassNameA(hwnd, classe, sizeof classe);
  EXPECT_STREQ(classe, "TFrmTestDialogue");
  EXPECT_EQ(Texte(hwnd), "Essai");
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU, 0);
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);

  // Containers are flattened: the check box sits at the sum of its parents' places.
  RECT r;
  GetWindowRect(H(d.coche), &r);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10 + 15 + 20);
  EXPECT_EQ(r.top, 20 + 17 + 20);
  EXPECT_EQ(r.right - r.left, 50);
  EXPECT_EQ(GetParent(H(d.coche)), hwnd);

  // A label without a size takes its text's.
  GetClientRect(H(d.etiquette), &r);
  EXPECT_GT(r.right, 20);
  EXPECT_GT(r.bottom, 8);
  EXPECT_EQ(Texte(H(d.etiquette)), "Touche:");
}

// What Tab visits in a form, from its first control until the walk comes round.
std::vector<HWND> OrdreClavier(Form& form) {
  HWND hwnd = H(form.handle());
  std::vector<HWND> ordre;
  HWND h = GetNextDlgTabItem(hwnd, nullptr, FALSE);
  for (int i = 0; h != nullptr && h != hwnd && i < 30; ++i) {
    if (!ordre.empty() && h == ordre.front()) break;
    ordre.push_back(h);
    h = GetNextDlgTabItem(hwnd, h, FALSE);
  }
  return ordre;
}

std::vector<HWND> Fenetres(std::initializer_list<const Control*> controles) {
  std::vector<HWND> h;
  for (const Control* c : controles) h.push_back(H(*c));
  return h;
}

TEST_F(Win32BackendTest, KeyboardOrderFollowsTabOrderDepthFirstAndSkipsSpeedButtons) {
  Dialogue d(app);
  // Reversed inside the group box: "second" comes before "premier".
  d.second.tabOrder = 0;
  d.premier.tabOrder = 10;
  d.form.handle();
  EXPECT_EQ(OrdreClavier(d.form),
            Fenetres({&d.coche, &d.second, &d.premier, &d.liste, &d.ok, &d.annuler}));
  EXPECT_EQ(GetWindowLongA(H(d.petit), GWL_STYLE) & WS_TABSTOP, 0);
}

TEST_F(Win32BackendTest, TheProgramsWindowsTakeTheKeyboardInTheirOrder) {
  Programme p(app);
  for (Form* f : std::initializer_list<Form*>{&p.principal, &p.info, &p.config, &p.aPropos})
    f->handle();
  const TFrmConfig& c = p.config;
  const std::pair<Form*, std::vector<HWND>> attendus[] = {
      {&p.principal, {}},
      {&p.info, Fenetres({&p.info.iBbtOK, &p.info.iBbtActivation})},
      {&p.config, Fenetres({&c.iLixMenus, &c.iLixItems, &c.iEdExe, &c.iEdParam, &c.iEdChemin,
                            &c.iBbtActivation, &c.iBbtParcourir, &c.iChxCtrl, &c.iChxAlt,
                            &c.iChxShift, &c.iChxWin, &c.iEdTouche, &c.iBbtOk, &c.iBbtAnnuler})},
      {&p.aPropos, Fenetres({&p.aPropos.iBbtOk})},
  };
  for (const auto& [form, ordre] : attendus) EXPECT_EQ(OrdreClavier(*form), ordre) << form->text();

  HWND focus = nullptr;
  Pendant([&] {
    focus = GetFocus();
    PostMessageA(H(p.info.iBbtOK), BM_CLICK, 0, 0);
    return true;
  });
  EXPECT_EQ(p.info.showModal(), mrOk);
  EXPECT_EQ(focus, H(p.info.iBbtOK)) << "the first focus";
}

TEST_F(Win32BackendTest, EditsMirrorTheProgramAndReportTheUser) {
  Dialogue d(app);
  d.premier.readOnly = true;
  d.second.maxLength = 5;
  int changements = 0;
  // Like the key field: whatever is typed is kept upper case.
  d.second.OnChange = [&] {
    ++changements;
    d.second.setText(MajusculesAZ(d.second.text()));
  };
  d.form.handle();
  EXPECT_NE(GetWindowLongA(H(d.premier), GWL_STYLE) & ES_READONLY, 0);
  EXPECT_EQ(SendMessageA(H(d.second), EM_GETLIMITTEXT, 0, 0), 5);

  d.premier.setText("programme");
  EXPECT_EQ(Texte(H(d.premier)), "programme");

  // The user types: the control learns it, its handler's change shows at once.
  SendMessageA(H(d.second), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ab"));
  EXPECT_EQ(d.second.text(), "AB");
  EXPECT_EQ(Texte(H(d.second)), "AB");
  EXPECT_EQ(changements, 2);
}

TEST_F(Win32BackendTest, LabelsAreDrawnWithMSSansSerifItself) {
  const std::wstring texte = L"Chemin et nom de l'exécutable:";
  Label etiquette(&principale, "etiquette", {6, 6, 0, 0}, plat::Etroit(texte));
  principale.handle();
  HDC dc = GetDC(H(etiquette));
  HGDIOBJ avant =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(H(etiquette), WM_GETFONT, 0, 0)));
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  SIZE taille{};
  GetTextExtentPoint32W(dc, texte.c_str(), static_cast<int>(texte.size()), &taille);
  std::vector<WORD> glyphes(texte.size());
  GetGlyphIndicesW(dc, texte.c_str(), static_cast<int>(texte.size()), glyphes.data(),
                   GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, avant);
  ReleaseDC(H(etiquette), dc);
  // Every letter drawn on any code page; in the designed face and widths on Windows-1252 (another
  // code page's form of that face has no "é": its TrueType twin stands in).
  for (std::size_t i = 0; i < texte.size(); ++i) EXPECT_NE(glyphes[i], 0xFFFF) << i;
  if (GetACP() != 1252) return;
  EXPECT_STREQ(face, "MS Sans Serif");
  EXPECT_EQ(taille.cx, 147);
}

// What the user types, in any script, has a glyph for each of its characters.
TEST_F(Win32BackendTest, FieldsDrawAnyScript) {
  const std::wstring texte = L"Łódź Программы";
  Edit champ(&principale, "champ", {6, 6, 200, 21});
  champ.setText(plat::Etroit(texte));
  principale.handle();
  HDC dc = GetDC(H(champ));
  HGDIOBJ avant =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(H(champ), WM_GETFONT, 0, 0)));
  std::vector<WORD> glyphes(texte.size());
  GetGlyphIndicesW(dc, texte.c_str(), static_cast<int>(texte.size()), glyphes.data(),
                   GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, avant);
  ReleaseDC(H(champ), dc);
  for (std::size_t i = 0; i < texte.size(); ++i)
    EXPECT_NE(glyphes[i], 0xFFFF) << "no glyph for character " << i;
}

// Every control of a form, at every depth.
std::vector<Control*> Controles(const Control& parent) {
  std::vector<Control*> tous;
  for (Control* c : parent.children()) {
    tous.push_back(c);
    for (Control* petit : Controles(*c)) tous.push_back(petit);
  }
  return tous;
}

// The size of an icon, which the system draws as it is.
int Largeur(HICON icone) {
  ICONINFO info{};
  if (icone == nullptr || !GetIconInfo(icone, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  return bitmap.bmWidth;
}

// What the system tells a window moved to a screen of another scale, with the place it proposes.
void Deplace(HWND fenetre, int ppp, int x, int y) {
  RECT proposee{x, y, x + 1, y + 1};
  SendMessageW(fenetre, WM_DPICHANGED, MAKEWPARAM(ppp, ppp), reinterpret_cast<LPARAM>(&proposee));
  RECT r;
  GetWindowRect(fenetre, &r);
  EXPECT_EQ(r.left, x);
  EXPECT_EQ(r.top, y);
}

// The face a control's text is drawn in.
std::string Face(HWND controle) {
  HDC dc = GetDC(controle);
  HGDIOBJ avant =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(controle, WM_GETFONT, 0, 0)));
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  SelectObject(dc, avant);
  ReleaseDC(controle, dc);
  return face;
}

// Wine's own "MS Sans Serif" at the sizes of these scales, measured by the backend.
TEST_F(Win32BackendTest, OnAScreenOfAnotherScaleEachFormIsLaidOutThereAndNoLabelRunsIntoItsField) {
  Programme p(app);
  for (Form* form : std::initializer_list<Form*>{&p.info, &p.config, &p.aPropos}) {
    HWND hwnd = H(form->handle());
    for (int ppp : {120, 144, 192}) {
      SCOPED_TRACE(form->text() + " at " + std::to_string(ppp) + " dpi");
      Deplace(hwnd, ppp, 10, 20);
      RECT client;
      GetClientRect(hwnd, &client);
      EXPECT_EQ(client.right, AEchelle(form->clientWidth(), ppp));
      EXPECT_EQ(client.bottom, AEchelle(form->clientHeight(), ppp));
      std::vector<Place> places;
      for (Control* c : Controles(*form)) {
        RECT r;
        GetWindowRect(H(*c), &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        places.push_back({c, {r.left, r.top, r.right - r.left, r.bottom - r.top}});
        // The identifier by which the e2e driver finds it.
        EXPECT_EQ(GetDlgItem(hwnd, Identifiant(*c)), H(*c)) << c->name();
        if (c->kind() == Kind::Image) continue;  // a picture, at its own size, below
        LOGFONTW police{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(H(*c), WM_GETFONT, 0, 0)), sizeof police,
                   &police);
        EXPECT_EQ(police.lfHeight, HauteurPolice(c->font.height, ppp)) << c->name();
        // Labels take their text's size.
        if (c->kind() != Kind::Label) {
          EXPECT_EQ(Bords(places.back().rect), Bords(AEchelle(DansLaForme(*c), ppp)))
              << c->name();
        }
      }
      // Wine has no "Microsoft Sans Serif": where the code page's "MS Sans Serif" lacks "é", a
      // wider face stands in, which Windows never draws. The design's widths hold in the others.
      const std::string face = Face(H(p.config.Label4));
      if (face == "MS Sans Serif" || face == "Microsoft Sans Serif") {
        EXPECT_EQ(EtiquettesQuiDebordent(places), std::vector<std::string>{});
      }
    }
  }
  // The pictures of the last scale: glyphs of the small icons' size, the image of the large.
  const auto icone = [](const Control& c, UINT message, WPARAM type) {
    return Largeur(reinterpret_cast<HICON>(SendMessageW(H(c), message, type, 0)));
  };
  EXPECT_EQ(icone(p.config.iBbtOk, BM_GETIMAGE, IMAGE_ICON),
            GetSystemMetricsForDpi(SM_CXSMICON, 192));
  EXPECT_EQ(icone(p.config.iSbtMenuPlus, BM_GETIMAGE, IMAGE_ICON),
            GetSystemMetricsForDpi(SM_CXSMICON, 192));
  EXPECT_EQ(icone(p.aPropos.iImgActive, STM_GETICON, 0), GetSystemMetricsForDpi(SM_CXICON, 192));
}

TEST_F(Win32BackendTest, CheckBoxesListsAndEnabledFollowBothWays) {
  Dialogue d(app);
  int clics = 0;
  int doubles = 0;
  d.liste.OnClick = [&] { ++clics; };
  d.liste.OnDblClick = [&] { ++doubles; };
  d.liste.add("un");
  d.liste.add("deux");
  d.liste.setItemIndex(1);
  d.form.handle();
  EXPECT_EQ(SendMessageA(H(d.liste), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(H(d.liste), LB_GETCURSEL, 0, 0), 1);

  d.liste.add("trois");
  d.liste.setItemIndex(2);
  d.liste.setRowText(0, "premier");
  EXPECT_EQ(LigneListe(H(d.liste), 0), "premier");
  EXPECT_EQ(SendMessageA(H(d.liste), LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(clics, 0) << "a selection by the program raises no event";

  // A click of the mouse on the first row.
  const LPARAM haut = MAKELPARAM(5, 3);
  SendMessageA(H(d.liste), WM_LBUTTONDOWN, MK_LBUTTON, haut);
  SendMessageA(H(d.liste), WM_LBUTTONUP, 0, haut);
  EXPECT_EQ(d.liste.itemIndex(), 0);
  EXPECT_EQ(clics, 1);
  SendMessageA(H(d.liste), WM_LBUTTONDBLCLK, MK_LBUTTON, haut);
  SendMessageA(H(d.liste), WM_LBUTTONUP, 0, haut);
  EXPECT_EQ(doubles, 1);

  SendMessageA(H(d.coche), BM_CLICK, 0, 0);
  EXPECT_TRUE(d.coche.checked());
  EXPECT_EQ(SendMessageA(H(d.coche), BM_GETCHECK, 0, 0), BST_CHECKED);
  d.coche.setChecked(false);
  EXPECT_EQ(SendMessageA(H(d.coche), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // A disabled container disables what it holds, and gives it back.
  d.groupe.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(H(d.coche)));
  EXPECT_FALSE(IsWindowEnabled(H(d.premier)));
  EXPECT_TRUE(IsWindowEnabled(H(d.liste)));
  d.groupe.setEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(H(d.coche)));
}

// Rows sent to the list box: a change costs its own rows, not the whole list again.
WNDPROC gProcedureListe = nullptr;
int gLignesEnvoyees = 0;

LRESULT CALLBACK CompteLignes(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == LB_ADDSTRING || message == LB_INSERTSTRING || message == LB_DELETESTRING)
    ++gLignesEnvoyees;
  return CallWindowProcA(gProcedureListe, hwnd, message, wParam, lParam);
}

TEST_F(Win32BackendTest, ListRowsFollowEveryChangeSendingOnlyTheRowsChanged) {
  Dialogue d(app);
  d.form.handle();
  HWND liste = H(d.liste);
  gProcedureListe = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(liste, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CompteLignes)));
  const auto remplit = [](ListBox& l, std::initializer_list<const char*> lignes) {
    l.beginUpdate();
    l.clear();
    for (const char* t : lignes) l.add(t);
    l.setItemIndex(1);
    l.endUpdate();
  };
  const struct {
    const char* quoi;
    std::function<void(ListBox&)> fait;
    int lignes;
  } pas[] = {
      {"fill", [&](ListBox& l) { remplit(l, {"a", "b", "c", "d"}); }, 4},
      {"add", [](ListBox& l) { l.add("e"); }, 1},
      {"move the selection down", [](ListBox& l) { l.move(1, 3); }, 2},
      {"move up", [](ListBox& l) { l.move(4, 0); }, 2},
      {"rename", [](ListBox& l) { l.setRowText(2, "x"); }, 2},
      {"remove before the selection", [](ListBox& l) { l.remove(0); }, 1},
      {"remove the selection", [](ListBox& l) { l.remove(l.itemIndex()); }, 1},
      {"select", [](ListBox& l) { l.setItemIndex(0); }, 0},
      {"clear", [](ListBox& l) { l.clear(); }, 0},
      {"fill again", [&](ListBox& l) { remplit(l, {"f", "g"}); }, 2},
  };
  for (const auto& p : pas) {
    gLignesEnvoyees = 0;
    p.fait(d.liste);
    std::vector<std::string> attendues, vues;
    for (const ListBox::Row& r : d.liste.rows()) attendues.push_back(r.text);
    const int n = static_cast<int>(SendMessageA(liste, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) vues.push_back(LigneListe(liste, i));
    EXPECT_EQ(vues, attendues) << p.quoi;
    EXPECT_EQ(SendMessageA(liste, LB_GETCURSEL, 0, 0), d.liste.itemIndex()) << p.quoi;
    EXPECT_EQ(gLignesEnvoyees, p.lignes) << p.quoi;
  }
  SetWindowLongPtrA(liste, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gProcedureListe));
}

TEST_F(Win32BackendTest, ModalFormEndsWithTheButtonsResultEnterEscapeOrTheSystemsClose) {
  Dialogue d(app);
  d.ok.modalResult = mrOk;
  d.ok.isDefault = true;
  d.annuler.modalResult = mrCancel;
  d.annuler.isCancel = true;
  int clicsOk = 0;
  d.ok.OnClick = [&] { ++clicsOk; };
  HWND hwnd = H(d.form.handle());

  PostMessageA(H(d.ok), BM_CLICK, 0, 0);
  EXPECT_EQ(d.form.showModal(), mrOk);
  EXPECT_EQ(clicsOk, 1);
  EXPECT_FALSE(IsWindowVisible(hwnd));

  Touche(H(d.second), VK_RETURN);
  EXPECT_EQ(d.form.showModal(), mrOk);
  EXPECT_EQ(clicsOk, 2);

  Touche(H(d.second), VK_ESCAPE);
  EXPECT_EQ(d.form.showModal(), mrCancel);

  PostMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(d.form.showModal(), mrCancel);
  EXPECT_EQ(clicsOk, 2);
}

TEST_F(Win32BackendTest, WithoutCancelButtonEscapeDoesNothing) {
  Dialogue d(app);
  d.ok.modalResult = mrOk;
  HWND hwnd = H(d.form.handle());
  Touche(H(d.second), VK_ESCAPE);
  int etape = 0;
  Pendant([&] {
    // Escape has been handled by now; the form must still be there.
    if (++etape < 5) return false;
    EXPECT_TRUE(IsWindowVisible(hwnd));
    PostMessageA(H(d.ok), BM_CLICK, 0, 0);
    return true;
  });
  EXPECT_EQ(d.form.showModal(), mrOk);
}

TEST_F(Win32BackendTest, NestedModalFormDisablesTheFirstUntilItCloses) {
  Dialogue premier(app);
  premier.ok.modalResult = mrOk;
  Form second(app, "TFrmTestSecond", "Second", 100, 60);
  Button fermer(&second, Kind::Button, "fermer", {5, 5, 80, 26}, "Fermer", Picture::None);
  fermer.modalResult = mrOk;
  HWND h1 = H(premier.form.handle());
  second.handle();
  bool desactive = false;
  fermer.OnClick = [&] { desactive = !IsWindowEnabled(h1); };
  premier.ok.OnClick = [&] {
    PostMessageA(H(fermer), BM_CLICK, 0, 0);
    second.showModal();
  };
  PostMessageA(H(premier.ok), BM_CLICK, 0, 0);
  EXPECT_EQ(premier.form.showModal(), mrOk);
  EXPECT_TRUE(desactive);
  EXPECT_TRUE(IsWindowEnabled(h1));
}

TEST_F(Win32BackendTest, AFormOpenedOverAMessageBoxDisablesItUntilItCloses) {
  MessageBoxSpec message;
  message.caption = "Erreur";
  message.text = "Dessous";
  message.buttons = {{"OK", mrOk, true, true}};
  Form dessus(app, "TFrmTestDessus", "Dessus", 100, 60);
  Button fermer(&dessus, Kind::Button, "fermer", {5, 5, 80, 26}, "Fermer", Picture::None);
  fermer.modalResult = mrOk;
  dessus.handle();
  auto boite = [] { return FindWindowA("VivMessage", "Erreur"); };
  bool desactivee = false;
  fermer.OnClick = [&] { desactivee = !IsWindowEnabled(boite()); };
  bool ouverte = false;
  Pendant([&] {
    HWND h = boite();
    if (h == nullptr || std::exchange(ouverte, true)) return false;
    // As a dialog opened from the tray while the message waits.
    PostMessageA(H(fermer), BM_CLICK, 0, 0);
    dessus.showModal();
    EXPECT_TRUE(IsWindowEnabled(h));
    Touche(h, VK_RETURN);
    return true;
  });
  EXPECT_EQ(backend.messageBox(message), mrOk);
  EXPECT_TRUE(desactivee) << "the box under the form took input";
}

TEST_F(Win32BackendTest, MessageBoxAnswersWithTheButtonPressed) {
  MessageBoxSpec message;
  message.caption = "Confirmation";
  message.text = "Etes-vous sûr(e) ?\r\nDeuxième ligne";
  message.icon = MessageIcon::Question;
  message.buttons = {{"&Oui", mrYes, true, false}, {"&Non", mrNo, false, true}};

  auto boite = [] { return FindWindowA("VivMessage", "Confirmation"); };
  Pendant([&] {
    HWND h = boite();
    if (h == nullptr) return false;
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_NE(GetWindowLongA(h, GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_NE(FindWindowExA(h, nullptr, "Button", "&Oui"), nullptr);
    EXPECT_NE(FindWindowExA(h, nullptr, "Button", "&Non"), nullptr);
    Touche(h, VK_RETURN);
    return true;
  });
  EXPECT_EQ(backend.messageBox(message), mrYes);
  EXPECT_EQ(boite(), nullptr);

  Pendant([&] {
    HWND h = boite();
    if (h != nullptr) Touche(h, VK_ESCAPE);
    return h != nullptr;
  });
  EXPECT_EQ(backend.messageBox(message), mrNo);

  Pendant([&] {
    HWND h = boite();
    if (h != nullptr) PostMessageA(h, WM_CLOSE, 0, 0);
    return h != nullptr;
  });
  EXPECT_EQ(backend.messageBox(message), mrCancel);
}

TEST_F(Win32BackendTest, MessageBoxWrapsLongTextAtHalfTheScreen) {
  MessageBoxSpec message;
  message.caption = "Erreur";
  for (int i = 0; i < 60; ++i) message.text += "mot" + std::to_string(i) + " ";
  message.buttons = {{"OK", mrOk, true, true}};
  Pendant([&] {
    HWND h = FindWindowA("VivMessage", "Erreur");
    if (h == nullptr) return false;
    RECT r;
    GetClientRect(h, &r);
    EXPECT_LE(r.right, GetSystemMetrics(SM_CXSCREEN) / 2 + 100);
    EXPECT_GT(r.bottom, 80) << "several lines";
    PostMessageA(FindWindowExA(h, nullptr, "Button", "OK"), BM_CLICK, 0, 0);
    return true;
  });
  EXPECT_EQ(backend.messageBox(message), mrOk);
}

TEST_F(Win32BackendTest, MessageBoxesAndThePromptFollowAMoveToAScreenOfAnotherScale) {
  // At 192 dpi: the design's buttons twice as large, the box's icon of the large size there.
  const auto auDouble = [](HWND boite) {
    Deplace(boite, 192, 30, 40);
    HWND ok = FindWindowExA(boite, nullptr, "Button", "OK");
    RECT r;
    GetClientRect(ok, &r);
    EXPECT_EQ(r.right, 150);
    EXPECT_EQ(r.bottom, 50);
    PostMessageA(ok, BM_CLICK, 0, 0);
  };
  MessageBoxSpec message;
  message.caption = "Erreur";
  message.text = "Impossible de lancer";
  message.buttons = {{"OK", mrOk, true, true}};
  Pendant([&] {
    HWND h = FindWindowA("VivMessage", "Erreur");
    if (h == nullptr) return false;
    auDouble(h);
    HWND image = FindWindowExA(h, nullptr, "Static", nullptr);
    EXPECT_EQ(Largeur(reinterpret_cast<HICON>(SendMessageW(image, STM_GETICON, 0, 0))),
              GetSystemMetricsForDpi(SM_CXICON, 192));
    return true;
  });
  EXPECT_EQ(backend.messageBox(message), mrOk);

  Pendant([&] {
    HWND h = FindWindowA("VivSaisie", "Ajout d'un menu");
    if (h != nullptr) auDouble(h);
    return h != nullptr;
  });
  std::string valeur = "Jeux";
  EXPECT_TRUE(backend.inputQuery("Ajout d'un menu", "Libellé du menu", valeur, 255));
}

TEST_F(Win32BackendTest, InputQueryGivesTheTextOnlyOnOk) {
  auto saisie = [] { return FindWindowA("VivSaisie", "Ajout d'un menu"); };
  std::string valeur = "ancien";
  Pendant([&] {
    HWND h = saisie();
    if (h == nullptr) return false;
    HWND champ = FindWindowExA(h, nullptr, "Edit", nullptr);
    EXPECT_EQ(Texte(champ), "ancien");
    DWORD debut = 1, fin = 0;
    SendMessageA(champ, EM_GETSEL, reinterpret_cast<WPARAM>(&debut),
                 reinterpret_cast<LPARAM>(&fin));
    EXPECT_EQ(debut, 0u);
    EXPECT_EQ(fin, 6u);
    EXPECT_EQ(SendMessageA(champ, EM_GETLIMITTEXT, 0, 0), 255);
    EXPECT_NE(FindWindowExW(h, nullptr, L"Static", L"Libellé du menu"), nullptr);
    SendMessageA(champ, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("nouveau"));
    Touche(champ, VK_RETURN);
    return true;
  });
  EXPECT_TRUE(backend.inputQuery("Ajout d'un menu", "Libellé du menu", valeur, 255));
  EXPECT_EQ(valeur, "nouveau");

  Pendant([&] {
    HWND h = saisie();
    if (h == nullptr) return false;
    HWND champ = FindWindowExA(h, nullptr, "Edit", nullptr);
    SendMessageA(champ, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("perdu"));
    Touche(champ, VK_ESCAPE);
    return true;
  });
  EXPECT_FALSE(backend.inputQuery("Ajout d'un menu", "Libellé du menu", valeur, 255));
  EXPECT_EQ(valeur, "nouveau");
}

// Steps taken one per tick, each until it returns true; the last one ends the wait.
void Etapes(std::vector<std::function<bool()>> etapes) {
  auto suite = std::make_shared<std::vector<std::function<bool()>>>(std::move(etapes));
  auto rang = std::make_shared<std::size_t>(0);
  Pendant([suite, rang] {
    if (!(*suite)[*rang]()) return false;
    return ++*rang == suite->size();
  });
}

// A step that presses one key in the open menu.
std::function<bool()> Presse(WORD touche) {
  return [touche] {
    Touche(MenuOuvert(), touche);
    return true;
  };
}

struct MenuEssai {
  explicit MenuEssai(Application& app) : menu(app) {
    auto sous = std::make_unique<MenuItem>("&Outils");
    auto x = std::make_unique<MenuItem>("&x");
    x->helpContext = 1;
    auto z = std::make_unique<MenuItem>("&z");
    z->helpContext = 3;
    z->OnClick = [this](MenuItem& e) { cliques.push_back(e.caption); };
    entreeZ = z.get();
    sous->add(std::move(x));
    sous->add(std::move(z));
    menu.add(std::move(sous));
    menu.add(std::make_unique<MenuItem>()).separator = true;
    auto quitter = std::make_unique<MenuItem>("&Quitter");
    quitter->OnClick = [this](MenuItem& e) { cliques.push_back(e.caption); };
    menu.add(std::move(quitter));
  }
  PopupMenu menu;
  MenuItem* entreeZ = nullptr;
  std::vector<std::string> cliques;
};

TEST_F(Win32BackendTest, MenuRunsTheChosenEntry) {
  MenuEssai m(app);
  SetForegroundWindow(H(principale.handle()));
  Etapes({
      [] { return Visible(MenuOuvert()); },
      Presse(VK_DOWN),
      Presse(VK_RIGHT),
      Presse(VK_DOWN),
      Presse(VK_RETURN),
  });
  m.menu.popup(100, 100);
  EXPECT_EQ(m.cliques, std::vector<std::string>{"&z"});
}

// An open menu as text: entries by caption, "|" for a separator, sub-menus in brackets.
std::string Decrit(HMENU menu) {
  std::string texte;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t libelle[64] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
    mii.dwTypeData = libelle;
    mii.cch = 64;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    if (i > 0) texte += " ";
    texte += (mii.fType & MFT_SEPARATOR) ? std::string("|") : plat::Etroit(libelle);
    if (mii.hSubMenu != nullptr) texte += "[" + Decrit(mii.hSubMenu) + "]";
  }
  return texte;
}

// `menu` opened in front of `devant`, as Decrit reads it; then `touches`, pressed in it.
std::string MenuVu(Form& devant, PopupMenu& menu, std::vector<WORD> touches = {VK_ESCAPE}) {
  std::string vu;
  std::vector<std::function<bool()>> etapes = {
      [] { return Visible(MenuOuvert()); },
      [&] {
        vu = Decrit(reinterpret_cast<HMENU>(SendMessageW(MenuOuvert(), MN_GETHMENU, 0, 0)));
        return true;
      },
  };
  for (WORD touche : touches) etapes.push_back(Presse(touche));
  SetForegroundWindow(H(devant.handle()));
  Etapes(std::move(etapes));
  menu.popup(100, 100);
  return vu;
}

// Whatever the code page of the run: the French of the program and the user's labels in any
// script reach the system whole.
TEST_F(Win32BackendTest, TheProgramsMenusAndDialogsHoldItsFrenchAndLabelsInAnyScript) {
  DossierTemporaire dossier("vivlan-menus");
  Ecrit(dossier.chemin() + "\\Vivlan.ini",
        FichierIni({{"Jeux vidéo", "Échecs"}, {"Программы", "日本 📁"}, {"Jeux vidéo", "Łódź"}}));
  // The main window reads the settings file of the directory current when it is made.
  wchar_t courant[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, courant);
  ASSERT_TRUE(SetCurrentDirectoryW(plat::Large(dossier.chemin()).c_str()));
  Programme p(app);
  SetCurrentDirectoryW(courant);

  EXPECT_EQ(MenuVu(principale, p.principal.iPmDroit),
            "A&ctiver/Désactiver | &Configuration | &A propos... &Rubriques d'aide | &Quitter");
  EXPECT_EQ(MenuVu(principale, p.principal.iPmGauche), "Jeux vidéo[Échecs Łódź] Программы[日本 📁]");
  const std::tuple<Form*, const char*, const char*> formes[] = {
      {&p.aPropos, kTitreAPropos, kTextesAPropos},
      {&p.config, kTitreEditeur, kTextesEditeur},
      {&p.info, kTitreInformations, kTextesInformations},
  };
  for (const auto& [form, titre, textes] : formes) {
    EXPECT_EQ(Texte(H(form->handle())), titre);
    EXPECT_EQ(LignesTriees(pilote::TextesEnfants(H(form->handle()))), LignesTriees(textes))
        << titre;
  }
}

TEST_F(Win32BackendTest, ADashIsAnEntryOrASubMenuAndOnlyASeparatorDrawsALine) {
  PopupMenu menu(app);
  menu.add(std::make_unique<MenuItem>("-")).add(std::make_unique<MenuItem>("-"));
  menu.add(std::make_unique<MenuItem>()).separator = true;
  MenuItem& tiret = menu.add(std::make_unique<MenuItem>("-"));
  int clics = 0;
  tiret.OnClick = [&](MenuItem&) { ++clics; };
  EXPECT_EQ(MenuVu(principale, menu, {VK_UP, VK_RETURN}), "-[-] | -");
  EXPECT_EQ(clics, 1) << "the last entry, \"-\", was chosen";
}

TEST_F(Win32BackendTest, F1OnAMenuEntryClosesTheMenuThenAsksTheActiveFormForItsHelp) {
  MenuEssai m(app);
  std::vector<int> contextes;
  bool menuFerme = false;
  principale.OnHelp = [&](unsigned, int data, bool&) {
    contextes.push_back(data);
    menuFerme = !Visible(MenuOuvert());
    return false;
  };
  SetForegroundWindow(H(principale.handle()));
  Etapes({
      [] { return Visible(MenuOuvert()); },
      Presse(VK_DOWN),
      Presse(VK_RIGHT),
      Presse(VK_DOWN),
      Presse(VK_F1),
  });
  m.menu.popup(100, 100);
  EXPECT_EQ(contextes, std::vector<int>{3});
  EXPECT_TRUE(menuFerme);
  EXPECT_TRUE(m.cliques.empty()) << "help is not a choice";
}

TEST_F(Win32BackendTest, F1OnAnEntryWithoutHelpLeavesTheMenuOpen) {
  MenuEssai m(app);
  std::vector<int> contextes;
  principale.OnHelp = [&](unsigned, int data, bool&) {
    contextes.push_back(data);
    return false;
  };
  SetForegroundWindow(H(principale.handle()));
  Etapes({
      [] { return Visible(MenuOuvert()); },
      Presse(VK_UP),
      Presse(VK_F1),
      [&] {
        EXPECT_TRUE(Visible(MenuOuvert()));
        Touche(MenuOuvert(), VK_ESCAPE);
        return true;
      },
  });
  m.menu.popup(100, 100);
  EXPECT_EQ(contextes, std::vector<int>{0});
  EXPECT_TRUE(m.cliques.empty());
}

// The sub-menu's entries show the icon the shell shows for their program, folder or kind; none
// is asked for before the sub-menu opens.
TEST_F(Win32BackendTest, EntriesShowTheShellsIconOnceTheirSubMenuOpens) {
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  const tk::SourceIcone sources[] = {
      {plat::Etroit(module), false}, {"C:\\windows", false}, {"C:\\absent\\x.exe", true}};
  PopupMenu menu(app);
  MenuItem& sous = menu.add(std::make_unique<MenuItem>("Outils"));
  int demandes = 0;
  for (const tk::SourceIcone& s : sources)
    sous.add(std::make_unique<MenuItem>(s.chemin)).icone = [&demandes, s] {
      ++demandes;
      return s;
    };
  int avant = -1;
  std::vector<bool> images;
  SetForegroundWindow(H(principale.handle()));
  Etapes({
      [] { return Visible(MenuOuvert()); },
      [&] {
        avant = demandes;
        return true;
      },
      Presse(VK_DOWN),
      Presse(VK_RIGHT),
      [&] {
        // The sub-menu's window, among the open menus'.
        HMENU h = nullptr;
        for (HWND f : pilote::MenusOuverts()) {
          auto* m = reinterpret_cast<HMENU>(SendMessageW(f, MN_GETHMENU, 0, 0));
          if (m != nullptr && GetMenuItemCount(m) == 3) {
            h = m;
            break;
          }
        }
        if (h == nullptr) return false;
        // What did not fit in the time before the menu showed comes at idle moments.
        images.clear();
        for (int i = 0; i < 3; ++i) {
          MENUITEMINFOW mii{};
          mii.cbSize = sizeof mii;
          mii.fMask = MIIM_BITMAP;
          GetMenuItemInfoW(h, static_cast<UINT>(i), TRUE, &mii);
          images.push_back(mii.hbmpItem != nullptr);
        }
        return images == std::vector<bool>{true, true, true};
      },
      Presse(VK_ESCAPE),
      Presse(VK_ESCAPE),
  });
  menu.popup(100, 100);
  EXPECT_EQ(avant, 0) << "nothing asked before the sub-menu opened";
  EXPECT_EQ(demandes, 3);
  EXPECT_EQ(images, (std::vector<bool>{true, true, true}));
}

TEST_F(Win32BackendTest, OpenDialogOpensOnAnyStartingNameAndGivesTheChosenFileInAnyScript) {
  DossierTemporaire dossier("vivlan-Łódź-日本");
  const std::string programme = dossier.chemin() + "\\Программа 📁.exe";
  Ecrit(programme, "");
  OpenDialog dialogue(app);
  dialogue.title = "Sélection d'une application";
  dialogue.filter = "Applications|*.exe|Tous les fichiers (*.*)|*.*|";
  dialogue.fileName = "<Aucun>";
  dialogue.hideReadOnly = true;
  dialogue.noChangeDir = true;
  Pendant([&] {
    HWND h = FindWindowW(L"#32770", L"Sélection d'une application");
    if (!Visible(h)) return false;
    SetDlgItemTextW(h, 0x47C, plat::Large(programme).c_str());
    PostMessageW(h, WM_COMMAND, IDOK, 0);
    return true;
  });
  ASSERT_TRUE(dialogue.execute());
  EXPECT_EQ(dialogue.fileName, programme);
}

TEST_F(Win32BackendTest, TimersTickThroughTheMessageLoopUntilStopped) {
  Timer timer(app);
  int tics = 0;
  timer.OnTimer = [&] {
    if (++tics == 3) {
      timer.setEnabled(false);
      app.terminate();
    }
  };
  timer.setInterval(10);
  timer.setEnabled(true);
  app.run();
  EXPECT_EQ(tics, 3);
}

TEST_F(Win32BackendTest, UtilityWindowsGetTheirMessagesAndTheDefaultOtherwise) {
  unsigned recu = 0;
  const Handle h = backend.createUtilityWindow(
      "VivEssai", [&](unsigned message, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
        if (message != WM_APP + 1) return std::nullopt;
        recu = message;
        return 42;
      });
  ASSERT_NE(h, 0u);
  EXPECT_EQ(SendMessageA(H(h), WM_APP + 1, 0, 0), 42);
  EXPECT_EQ(recu, static_cast<unsigned>(WM_APP + 1));
  EXPECT_FALSE(IsWindowVisible(H(h)));
  EXPECT_NE(GetWindowLongA(H(h), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  // Left to the system: WM_GETTEXTLENGTH of an untitled window.
  EXPECT_EQ(SendMessageA(H(h), WM_GETTEXTLENGTH, 0, 0), 0);
  backend.destroyUtilityWindow(h);
  EXPECT_FALSE(IsWindow(H(h)));
}

TEST_F(Win32BackendTest, ApplicationWindowIsHiddenAndTitled) {
  principale.handle();
  HWND h = H(backend.applicationHandle());
  ASSERT_NE(h, nullptr);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_EQ(Texte(h), "Vivlan");
  EXPECT_EQ(GetWindow(H(principale.native), GW_OWNER), h);
}

// ---------------------------------------------------------------- platform

class PlateformeWin32Test : public ::testing::Test {
 protected:
  bool SeulFichier() const { return pilote::FichiersDe(dossier).size() == 1; }

  plat::PlateformeWin32 p;
  DossierTemporaire temporaire{"vivlan-plateforme"};
  const std::string dossier = temporaire.chemin();
  const std::string cible = dossier + "\\Vivlan.ini";
};

TEST_F(PlateformeWin32Test, FileIsReplacedOnlyOnceClosed) {
  {
    plat::FichierEcriture f(p, cible);
    f.Ecrit("[1]\r\nMenu = A\r\n");
    f.Ferme();
  }
  EXPECT_EQ(p.LitFichier(cible), std::string("[1]\r\nMenu = A\r\n"));
  {
    plat::FichierEcriture f(p, cible);
    f.Ecrit("à moitié");
    EXPECT_EQ(p.LitFichier(cible), std::string("[1]\r\nMenu = A\r\n"));
  }
  EXPECT_EQ(p.LitFichier(cible), std::string("[1]\r\nMenu = A\r\n"));
  EXPECT_TRUE(SeulFichier()) << "the unfinished file is gone";
  {
    plat::FichierEcriture f(p, cible);
    f.Ecrit("nouveau");
    f.Ferme();
  }
  EXPECT_EQ(p.LitFichier(cible), std::string("nouveau"));
  EXPECT_TRUE(SeulFichier()) << "no backup left";
}

TEST_F(PlateformeWin32Test, AReadOnlyFileIsNeitherReplacedNorLeftWithACopy) {
  {
    plat::FichierEcriture f(p, cible);
    f.Ecrit("ancien");
    f.Ferme();
  }
  ASSERT_TRUE(SetFileAttributesW(plat::Large(cible).c_str(), FILE_ATTRIBUTE_READONLY));
  try {
    plat::FichierEcriture f(p, cible);
    ADD_FAILURE() << "no exception";
  } catch (const plat::EInOutError& e) {
    EXPECT_EQ(e.code, ERROR_ACCESS_DENIED);
  }
  SetFileAttributesW(plat::Large(cible).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(p.LitFichier(cible), std::string("ancien"));
  EXPECT_TRUE(SeulFichier());
}

TEST_F(PlateformeWin32Test, ANewFileNeverFollowsWhatExists) {
  Ecrit(cible, "ancien");
  plat::Handle h = 0;
  EXPECT_EQ(p.CreateFileW(cible, h), ERROR_FILE_EXISTS);
  EXPECT_EQ(p.MoveFileExW(dossier + "\\absent", cible), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(p.LitFichier(cible), std::string("ancien"));
}

TEST_F(PlateformeWin32Test, FailuresCarryTheSystemsCode) {
  EXPECT_EQ(p.LitFichier(dossier + "\\absent.ini"), std::nullopt);
  try {
    plat::FichierEcriture f(p, dossier + "\\absent\\Vivlan.ini");
    ADD_FAILURE() << "no exception";
  } catch (const plat::EInOutError& e) {
    EXPECT_EQ(e.code, ERROR_PATH_NOT_FOUND);
  }
  EXPECT_EQ(p.GetFileAttributesW(dossier + "\\absent"), std::nullopt);
  EXPECT_EQ(p.GetFileAttributesW(dossier), std::optional<unsigned>(FILE_ATTRIBUTE_DIRECTORY));
  wchar_t courant[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, courant);
  EXPECT_EQ(p.GetCurrentDirectoryW(), plat::Etroit(courant));
  EXPECT_EQ(p.CheminAbsolu("Vivlan.ini"), plat::Etroit(courant) + "\\Vivlan.ini");
}

TEST_F(PlateformeWin32Test, ProgramsStartInTheFolderTheyAreGiven) {
  // Well past the 254 characters some launchers stop at.
  const std::string cmd = p.GetSystemDirectoryW() + "\\cmd.exe";
  const std::string ligne = '"' + cmd + "\" /c cd > sortie.txt & rem " + std::string(400, 'x');
  ASSERT_EQ(p.CreateProcessW(cmd, ligne, dossier, SW_HIDE), 0);
  std::optional<std::string> sortie;
  pilote::Attends(
      [&] { return (sortie = p.LitFichier(dossier + "\\sortie.txt")) && !sortie->empty(); });
  EXPECT_TRUE(sortie && sortie->rfind(dossier, 0) == 0) << "cmd.exe ran in " << dossier;
  // A start that fails gives the system's code, which the launcher reports.
  Ecrit(dossier + "\\texte.exe", "pas un programme");
  EXPECT_EQ(p.CreateProcessW(dossier + "\\absent.exe", "absent", dossier, SW_HIDE), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(p.CreateProcessW(dossier + "\\texte.exe", "texte", dossier, SW_HIDE), ERROR_BAD_EXE_FORMAT);
}

TEST_F(PlateformeWin32Test, OneMutexPerNameAndKeysOfTheLayout) {
  const std::string nom = "Local\\Vivelance-test-" + std::to_string(GetCurrentProcessId());
  EXPECT_TRUE(p.CreateMutexW(nom));
  EXPECT_FALSE(p.CreateMutexW(nom)) << "held by the first";
  EXPECT_EQ(p.VkKeyScanW(u'a') & 0xFF, 'A');
  EXPECT_EQ(p.VkKeyScanW(u'1') & 0xFF, '1');
}

}  // namespace
