#include "toolkit/Toolkit.h"

#include <algorithm>

namespace tk {

// ---------------------------------------------------------------- controls

Control::Control(Control* parent, Kind kind, std::string name, Rect bounds, std::string caption)
    : parent_(parent), kind_(kind), name_(std::move(name)), bounds_(bounds), text_(std::move(caption)) {
  if (parent_ != nullptr) {
    tabOrder = static_cast<int>(parent_->children_.size());
    font = parent_->font;
    parent_->children_.push_back(this);
  }
}

Control::~Control() {
  if (parent_ != nullptr) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

Form& Control::form() {
  Control* c = this;
  while (c->parent_ != nullptr) c = c->parent_;
  return static_cast<Form&>(*c);
}

Application& Control::application() { return form().application(); }

void Control::changed() {
  Form& f = form();
  if (f.native != 0) f.application().backend().controlChanged(*this);
}

void Control::setText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  changed();
}

void Control::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  changed();
}

Edit::Edit(Control* parent, std::string name, Rect bounds)
    : Control(parent, Kind::Edit, std::move(name), bounds) {
  tabStop = true;
}

void Edit::setText(const std::string& text) {
  if (text == this->text()) return;
  Control::setText(text);
  if (OnChange) OnChange();
}

void CheckBox::setChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  changed();
}

Button::Button(Control* parent, Kind kind, std::string name, Rect bounds, std::string caption,
               Picture picture)
    : Control(parent, kind, std::move(name), bounds, std::move(caption)), picture(picture) {
  tabStop = kind == Kind::Button;
}

void Button::click() {
  application().dispatch([this] {
    if (OnClick) OnClick();
    // Only once the handler has gone through: a save that fails keeps the editor open with
    // everything the user typed.
    if (modalResult != mrNone) form().modalResult = modalResult;
  });
}

ListBox::ListBox(Control* parent, std::string name, Rect bounds)
    : Control(parent, Kind::ListBox, std::move(name), bounds) {
  tabStop = true;
}

void ListBox::setItemIndex(int index) {
  if (index < -1 || index >= count()) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  if (updating_ > 0)
    pending_ = true;
  else
    changed();
}

void ListBox::rowsChanged(RowChange change) {
  if (updating_ > 0) {
    pending_ = true;
    return;
  }
  Form& f = form();
  if (f.native != 0) f.application().backend().rowsChanged(*this, change);
}

void ListBox::beginUpdate() { ++updating_; }

void ListBox::endUpdate() {
  if (updating_ == 0 || --updating_ > 0 || !pending_) return;
  pending_ = false;
  rowsChanged({RowChange::All});
}

void ListBox::addRow(Row row) {
  rows_.push_back(std::move(row));
  rowsChanged({RowChange::Inserted, count() - 1});
}

void ListBox::clear() {
  if (rows_.empty() && itemIndex_ == -1) return;
  rows_.clear();
  itemIndex_ = -1;
  rowsChanged({RowChange::All});
}

void ListBox::remove(int index) {
  if (index < 0 || index >= count()) return;
  rows_.erase(rows_.begin() + index);
  if (itemIndex_ == index)
    itemIndex_ = -1;
  else if (itemIndex_ > index)
    --itemIndex_;
  rowsChanged({RowChange::Removed, index});
}

void ListBox::move(int from, int to) {
  if (from < 0 || from >= count() || to < 0 || to >= count() || from == to) return;
  const bool wasSelected = itemIndex_ == from;
  Row row = std::move(rows_[static_cast<std::size_t>(from)]);
  rows_.erase(rows_.begin() + from);
  rows_.insert(rows_.begin() + to, std::move(row));
  if (wasSelected) itemIndex_ = to;
  rowsChanged({RowChange::Removed, from});
  rowsChanged({RowChange::Inserted, to});
}

void ListBox::setRowText(int index, const std::string& text) {
  if (index < 0 || index >= count()) return;
  rows_[static_cast<std::size_t>(index)].text = text;
  rowsChanged({RowChange::Replaced, index});
}

int ListBox::indexOf(const std::string& text) const {
  const std::string wanted = MajusculesAZ(text);
  for (int i = 0; i < count(); ++i)
    if (MajusculesAZ(rows_[static_cast<std::size_t>(i)].text) == wanted) return i;
  return -1;
}

void ListBox::clickFromScreen(int index) {
  if (index < -1 || index >= count()) return;
  itemIndex_ = index;
  application().dispatch([this] {
    if (OnClick) OnClick();
  });
}

void ListBox::doubleClickFromScreen(int index) {
  if (index < 0 || index >= count()) return;
  if (index != itemIndex_) clickFromScreen(index);
  application().dispatch([this] {
    if (OnDblClick) OnDblClick();
  });
}

// ---------------------------------------------------------------- forms

Form::Form(Application& application, std::string className, std::string caption, int clientWidth,
           int clientHeight)
    : Control(nullptr, Kind::Form, className, Rect{0, 0, clientWidth, clientHeight},
              std::move(caption)),
      application_(application),
      className_(std::move(className)) {
  application_.registerForm(*this);
}

Form::~Form() {
  if (native != 0) application_.backend().destroy(*this);
  application_.unregisterForm(*this);
}

Handle Form::handle() {
  if (native == 0) application_.backend().realize(*this);
  return native;
}

int Form::showModal() {
  handle();
  modalResult = mrNone;
  visible_ = true;
  const int result = application_.backend().showModal(*this);
  if (OnClose) application_.dispatch(OnClose);
  application_.backend().hide(*this);
  visible_ = false;
  return result;
}

void Form::close() {
  if (application_.mainForm() == this && application_.closeMainFormLater()) return;
  if (OnClose) application_.dispatch(OnClose);
  if (application_.mainForm() == this) {
    application_.terminate();
    return;
  }
  if (visible_ && modalResult == mrNone) modalResult = mrCancel;
}

// ---------------------------------------------------------------- menus

int MenuItem::indexOf(const MenuItem& child) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == &child) return static_cast<int>(i);
  return -1;
}

MenuItem& MenuItem::add(std::unique_ptr<MenuItem> child) {
  child->parent_ = this;
  items_.push_back(std::move(child));
  return *items_.back();
}

void MenuItem::remove(int index) {
  if (index < 0 || index >= count()) return;
  items_.erase(items_.begin() + index);
}

void MenuItem::click() {
  if (enabled && OnClick) OnClick(*this);
}

void PopupMenu::popup(int x, int y) {
  MenuItem* chosen = application_.backend().popup(*this, x, y);
  if (chosen != nullptr) application_.dispatch([chosen] { chosen->click(); });
}

// ---------------------------------------------------------------- timers

Timer::Timer(Application& application) : application_(application) {}

Timer::~Timer() {
  if (native != 0) {
    enabled_ = false;
    application_.backend().timerChanged(*this);
  }
}

void Timer::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (!application_.backend().timerChanged(*this))
    throw EOutOfResources("Pas assez de timers disponibles");
}

void Timer::setInterval(unsigned interval) {
  if (interval == interval_) return;
  interval_ = interval;
  if (!application_.backend().timerChanged(*this))
    throw EOutOfResources("Pas assez de timers disponibles");
}

void Timer::tick() {
  if (!running()) return;
  application_.dispatch([this] {
    if (OnTimer) OnTimer();
  });
}

bool OpenDialog::execute() { return application_.backend().openDialog(*this); }

// ---------------------------------------------------------------- application

Application::Application(Backend& backend, const std::string& exePath)
    : backend_(backend), title_(TitreProgramme(exePath)) {}

void Application::dispatch(const std::function<void()>& handler) {
  {
    struct Profondeur {
      int& n;
      explicit Profondeur(int& compte) : n(compte) { ++n; }
      ~Profondeur() { --n; }
    } profondeur(depth_);
    try {
      handler();
    } catch (const plat::EInOutError& e) {
      showIoError(e.code);
    } catch (const std::exception& e) {
      reportFault(e.what());
    } catch (...) {
      reportFault("");
    }
  }
  if (depth_ == 0 && closePending_) {
    closePending_ = false;
    if (mainForm_ != nullptr) mainForm_->close();
  }
}

void Application::reportFault(const std::string& texte) {
  // A fault the program does not expect: say so and stop rather than run on half-done.
  MessageBoxSpec spec;
  spec.caption = title_;
  spec.text = AvecPoint(texte.empty() ? std::string("Erreur inattendue") : texte);
  spec.icon = MessageIcon::Error;
  spec.buttons.push_back({"OK", mrOk, true, true});
  backend_.messageBox(spec);
  exitCode_ = 1;
  if (mainForm_ != nullptr) closeMainFormLater();
}

bool Application::closeMainFormLater() {
  if (depth_ == 0) return false;
  closePending_ = true;
  backend_.terminate();
  return true;
}

void Application::showIoError(int code) {
  MessageBoxSpec spec;
  spec.caption = title_;
  spec.text = AvecPoint(TexteErreurES(code));
  spec.icon = MessageIcon::Error;
  spec.buttons.push_back({"OK", mrOk, true, true});
  backend_.messageBox(spec);
}

void Application::menuHelp(MenuItem* item) {
  Form* active = backend_.activeForm();
  if (active == nullptr) return;
  int context = 0;
  for (MenuItem* m = item; m != nullptr && context == 0; m = m->parent()) context = m->helpContext;
  // A form's own help context is 0 in this program.
  bool callHelp = true;
  if (active->OnHelp) dispatch([&] { active->OnHelp(0, context, callHelp); });
}

void Application::run() {
  if (showMainForm && mainForm_ != nullptr) backend_.show(*mainForm_);
  backend_.run();
}

void Application::terminate() { backend_.terminate(); }

void Application::registerForm(Form& form) {
  if (mainForm_ == nullptr) mainForm_ = &form;
  forms_.push_back(&form);
}

void Application::unregisterForm(Form& form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
  if (mainForm_ == &form) mainForm_ = nullptr;
}

// ---------------------------------------------------------------- texts

std::string TexteErreurES(int code) {
  switch (code) {
    case 2: return "Fichier introuvable";
    case 3: return "Nom de fichier incorrect";
    case 4: return "Trop de fichiers ouverts";
    case 5: return "Accès au fichier refusé";
    case 100: return "Lecture au-delà de la fin de fichier";
    case 101: return "Disque plein";
    case 106: return "Saisie numérique incorrecte";
    default: return "Erreur E/S " + std::to_string(code);
  }
}

std::string TitreProgramme(const std::string& exePath) {
  const std::size_t slash = exePath.find_last_of("\\/:");
  std::string name = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  for (std::size_t i = 1; i < name.size(); ++i)
    if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
  return name;
}

std::string AvecPoint(const std::string& texte) {
  if (texte.empty() || static_cast<unsigned char>(texte.back()) <= '.') return texte;
  return texte + ".";
}

std::string MajusculesAZ(std::string texte) {
  for (char& c : texte)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return texte;
}

void MessageErreur(Application& application, const std::string& texte) {
  MessageBoxSpec spec;
  spec.caption = "Erreur";
  spec.text = texte;
  spec.icon = MessageIcon::Error;
  spec.buttons.push_back({"OK", mrOk, true, true});
  application.backend().messageBox(spec);
}

int MessageConfirmation(Application& application, const std::string& texte) {
  MessageBoxSpec spec;
  spec.caption = "Confirmation";
  spec.text = texte;
  spec.icon = MessageIcon::Question;
  spec.buttons.push_back({"&Oui", mrYes, true, false});
  spec.buttons.push_back({"&Non", mrNo, false, true});
  return application.backend().messageBox(spec);
}

bool BoiteSaisie(Application& application, const std::string& titre, const std::string& invite,
                 std::string& valeur) {
  return application.backend().inputQuery(titre, invite, valeur, 255);
}

}  // namespace tk
