#include "toolkit/memoire/BackendMemoire.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Encodage.h"
#include "platform/Nombres.h"

namespace tk {

Taille MesureProportionnelle(const Font& police, const std::string& texte) {
  // Characters, not bytes: the continuation bytes of UTF-8 do not count.
  const auto caracteres = std::count_if(texte.begin(), texte.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  });
  const int hauteur = std::abs(police.height);
  // Rounded up, as a text takes whole pixels.
  return {static_cast<int>((caracteres * hauteur * 4 + 8) / 9), (hauteur * 6 + 4) / 5};
}

std::optional<std::intptr_t> BackendMemoire::envoie(Handle window, unsigned message,
                                                    std::uintptr_t wParam, std::intptr_t lParam) {
  auto it = utilitaires_.find(window);
  if (it == utilitaires_.end()) return std::nullopt;
  return it->second(message, wParam, lParam);
}

bool BackendMemoire::envoie(Form& form, unsigned message, std::uintptr_t wParam, std::intptr_t) {
  if (message != plat::kWmHotKey || !form.OnHotKey) return false;
  form.application().dispatch([&] { form.OnHotKey(static_cast<int>(wParam)); });
  return true;
}

std::vector<Handle> BackendMemoire::fenetresUtilitaires() const {
  std::vector<Handle> handles;
  for (const auto& entry : utilitaires_) handles.push_back(entry.first);
  return handles;
}

std::vector<Timer*> BackendMemoire::timersEnMarche() const {
  std::vector<Timer*> running;
  for (Timer* t : timers_)
    if (t->running()) running.push_back(t);
  return running;
}

std::vector<std::string> BackendMemoire::textes() const {
  std::vector<std::string> result;
  for (const auto& m : messages) result.push_back(m.text);
  return result;
}

Handle BackendMemoire::realize(Form& form) {
  dispositions[&form] = Disposition(form, ppp, mesure);
  form.native = next_++;
  return form.native;
}

void BackendMemoire::destroy(Form& form) {
  dispositions.erase(&form);
  if (active == &form) active = nullptr;
  form.native = 0;
}

int BackendMemoire::showModal(Form& form) {
  modaux.push_back(form.text());
  Form* previous = active;
  active = &form;
  if (onShowModal) onShowModal(form);
  if (form.modalResult == mrNone) form.modalResult = mrCancel;
  active = previous;
  return form.modalResult;
}

void BackendMemoire::hide(Form& form) {
  if (active == &form) active = nullptr;
}

int BackendMemoire::messageBox(const MessageBoxSpec& spec) {
  messages.push_back(spec);
  if (onMessageBox) return onMessageBox(spec);
  for (const auto& b : spec.buttons)
    if (b.isDefault) return b.result;
  return mrCancel;
}

bool BackendMemoire::inputQuery(const std::string& caption, const std::string& prompt,
                                std::string& value, unsigned maxLength) {
  saisies.push_back({caption, prompt, value, maxLength});
  if (!onInputQuery) return false;
  std::string edited = value;
  if (!onInputQuery(edited)) return false;
  // The field holds no more than its limit, counted as the system counts it: in UTF-16 units.
  if (const std::u16string unites = plat::Utf16(edited); maxLength != 0 && unites.size() > maxLength)
    edited = plat::Utf8(std::u16string_view(unites).substr(0, maxLength));
  value = edited;
  return true;
}

bool BackendMemoire::openDialog(OpenDialog& dialog) {
  dialogues.push_back(dialog);
  return onOpenDialog ? onOpenDialog(dialog) : false;
}

MenuItem* BackendMemoire::popup(PopupMenu& menu, int x, int y) {
  return onPopup ? onPopup(menu, x, y) : nullptr;
}

bool BackendMemoire::timerChanged(Timer& timer) {
  auto it = std::find(timers_.begin(), timers_.end(), &timer);
  if (!timer.running()) {
    if (it != timers_.end()) timers_.erase(it);
    timer.native = 0;
    return true;
  }
  if (!timersDisponibles) return false;
  if (it == timers_.end()) timers_.push_back(&timer);
  timer.native = next_++;
  return true;
}

Handle BackendMemoire::icon(Picture picture) { return 1000 + static_cast<Handle>(picture); }

Handle BackendMemoire::createUtilityWindow(const std::string&, WindowProcedure procedure) {
  Handle h = next_++;
  utilitaires_[h] = std::move(procedure);
  return h;
}

void BackendMemoire::destroyUtilityWindow(Handle window) { utilitaires_.erase(window); }

void BackendMemoire::run() {
  termine = false;
  if (onRun) onRun();
}

}  // namespace tk
