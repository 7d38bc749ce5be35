// The in-memory backend of the toolkit, for the unit tests: nothing is drawn;
// modal forms, message boxes, prompts, file dialogs and menus call responders
// that the test sets, and everything shown is recorded.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Echelle.h"
#include "toolkit/Toolkit.h"

namespace tk {

// Each character four ninths of the font's height wide, about the dialogs' font's average, and
// as tall as the font with its leading: the same at every scale.
Taille MesureProportionnelle(const Font& police, const std::string& texte);

class BackendMemoire : public Backend {
 public:
  struct Saisie {
    std::string caption;
    std::string prompt;
    std::string value;
    unsigned maxLength = 0;
  };

  // What was shown, in order.
  std::vector<MessageBoxSpec> messages;
  std::vector<Saisie> saisies;
  std::vector<std::string> modaux;  // caption of each form shown modally
  std::vector<OpenDialog> dialogues;  // a copy of each file dialog as it was shown

  // Responders. A modal form stays open until its responder returns; if the
  // responder set no modal result, the form is closed from its title bar.
  std::function<void(Form&)> onShowModal;
  // Default: the default button's result.
  std::function<int(const MessageBoxSpec&)> onMessageBox;
  // Default: cancelled.
  std::function<bool(std::string& value)> onInputQuery;
  std::function<bool(OpenDialog&)> onOpenDialog;
  // Default: the menu is closed without a choice.
  std::function<MenuItem*(PopupMenu&, int x, int y)> onPopup;
  // The user's session inside the message loop.
  std::function<void()> onRun;

  // The scale of the screen the forms are realized on, and how their texts are measured.
  int ppp = kPppConception;
  MesureTexte mesure = MesureProportionnelle;
  // Where the controls of each realized form lie, at `ppp`.
  std::map<const Form*, std::vector<Place>> dispositions;

  Form* active = nullptr;  // not owned
  bool timersDisponibles = true;
  bool termine = false;

  // Sends a message to a utility window; nothing when it left it to the system.
  std::optional<std::intptr_t> envoie(Handle window, unsigned message, std::uintptr_t wParam = 0,
                                      std::intptr_t lParam = 0);
  // Delivers a message to a form's window, through the application's dispatch as the
  // system's message loop would (a hotkey becomes OnHotKey); whether the form handled it.
  bool envoie(Form& form, unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  std::vector<Handle> fenetresUtilitaires() const;
  std::vector<Timer*> timersEnMarche() const;
  // Texts of the message boxes shown so far.
  std::vector<std::string> textes() const;

  Handle realize(Form& form) override;
  void destroy(Form& form) override;
  void controlChanged(Control&) override {}
  void rowsChanged(ListBox&, RowChange) override {}
  int showModal(Form& form) override;
  void hide(Form& form) override;
  void show(Form& form) override { form.setVisibleFromBackend(true); }
  int messageBox(const MessageBoxSpec& spec) override;
  bool inputQuery(const std::string& caption, const std::string& prompt, std::string& value,
                  unsigned maxLength) override;
  bool openDialog(OpenDialog& dialog) override;
  MenuItem* popup(PopupMenu& menu, int x, int y) override;
  bool timerChanged(Timer& timer) override;
  Handle icon(Picture picture) override;
  Handle createUtilityWindow(const std::string& className, WindowProcedure procedure) override;
  void destroyUtilityWindow(Handle window) override;
  Handle applicationHandle() override { return 7; }
  Form* activeForm() override { return active; }
  void run() override;
  void terminate() override { termine = true; }

 private:
  Handle next_ = 100;
  std::map<Handle, WindowProcedure> utilitaires_;
  std::vector<Timer*> timers_;  // not owned: the running ones, each leaves as it stops
};

}  // namespace tk
