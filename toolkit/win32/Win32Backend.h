// The toolkit's Windows backend: real windows, menus, dialogs and the nested
// modal loop. <windows.h> stays in the .cpp files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/Toolkit.h"

namespace tk {

class Win32Backend : public Backend {
 public:
  // `instance`: the module holding the pictures (the program's HINSTANCE).
  explicit Win32Backend(std::uintptr_t instance);
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  Handle realize(Form& form) override;
  void destroy(Form& form) override;
  void controlChanged(Control& control) override;
  void rowsChanged(ListBox& list, RowChange change) override;
  int showModal(Form& form) override;
  void hide(Form& form) override;
  void show(Form& form) override;

  int messageBox(const MessageBoxSpec& boite) override;
  bool inputQuery(const std::string& caption, const std::string& prompt, std::string& value,
                  unsigned maxLength) override;
  bool openDialog(OpenDialog& dialog) override;

  MenuItem* popup(PopupMenu& menu, int x, int y) override;
  bool timerChanged(Timer& timer) override;
  Handle icon(Picture picture) override;

  Handle createUtilityWindow(const std::string& className, WindowProcedure procedure) override;
  void destroyUtilityWindow(Handle window) override;
  Handle applicationHandle() override;
  Form* activeForm() override;

  void run() override;
  void terminate() override;

  // Whether icons of menu entries are still being fetched at idle moments.
  bool iconesEnAttente() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace tk
