// A small form toolkit: objects that hold their own state and raise events.
// A backend (toolkit/win32 on Windows, toolkit/memoire in the tests) mirrors
// the objects to the screen and turns what the user does into their events.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Plateforme.h"

namespace tk {

using Handle = plat::Handle;

enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;  // 0 with height 0: sized to the content (labels)
  int height = 0;
};

struct Font {
  std::string name = "MS Sans Serif";
  int height = -11;
  bool bold = false;
};

// Where an entry's picture comes from: the icon the shell shows for a file, a folder or an
// address.
struct SourceIcone {
  std::string chemin;
  // The icon of the kind of thing, told by its name alone: the path is not to be touched
  // (missing, or on a drive that may not answer at once).
  bool parGenre = false;
  bool operator<(const SourceIcone& autre) const {
    return parGenre != autre.parGenre ? parGenre < autre.parGenre : chemin < autre.chemin;
  }
};

// Pictures held in the program's resources; the backend knows how to draw them.
enum class Picture {
  None,
  IconeActive,    // 32 x 32 active-state icon
  IconeInactive,  // 32 x 32 inactive-state icon
  MenuConfig,     // 16 x 16 menu bitmaps
  MenuAide,
  GlyphOk,
  GlyphAnnuler,
  GlyphActivation,
  GlyphParcourir,
  GlyphTest,
  FlecheHaut,
  FlecheBas,
  Plus,
  Moins,
};

class Application;
class Backend;
class Form;

enum class Kind { Form, Label, Edit, CheckBox, GroupBox, Panel, Button, SpeedButton, ListBox, Image };

// A control of a form. Layout is fixed at construction; the properties that can
// change later go through setters so the backend can follow them.
class Control {
 public:
  Control(Control* parent, Kind kind, std::string name, Rect bounds, std::string caption = {});
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Kind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  // Neither is owned: controls are members of their form and register with their parent.
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }
  Form& form();
  Application& application();
  Rect bounds() const { return bounds_; }

  // Caption of a label, group box, button or form; contents of an edit field.
  const std::string& text() const { return text_; }
  virtual void setText(const std::string& text);

  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // Keyboard order among siblings: lower first. Defaults to creation order.
  int tabOrder = 0;
  bool tabStop = false;
  Font font;

  // Backend's own data for this control (a window handle on Win32).
  std::uintptr_t native = 0;

 protected:
  void changed();  // tells the backend that the mirrored state changed

 private:
  Control* parent_;
  Kind kind_;
  std::string name_;
  Rect bounds_;
  std::string text_;
  bool enabled_ = true;
  std::vector<Control*> children_;
};

class Label : public Control {
 public:
  Label(Control* parent, std::string name, Rect bounds, std::string caption)
      : Control(parent, Kind::Label, std::move(name), bounds, std::move(caption)) {}
};

class GroupBox : public Control {
 public:
  GroupBox(Control* parent, std::string name, Rect bounds, std::string caption)
      : Control(parent, Kind::GroupBox, std::move(name), bounds, std::move(caption)) {}
};

class Panel : public Control {
 public:
  Panel(Control* parent, std::string name, Rect bounds)
      : Control(parent, Kind::Panel, std::move(name), bounds) {}
  bool bevelInnerRaised = true;
  bool bevelOuterLowered = true;
};

class Image : public Control {
 public:
  Image(Control* parent, std::string name, Rect bounds, Picture picture)
      : Control(parent, Kind::Image, std::move(name), bounds), picture(picture) {}
  Picture picture;
};

class Edit : public Control {
 public:
  Edit(Control* parent, std::string name, Rect bounds);
  // Raises OnChange when the text differs from the current one.
  void setText(const std::string& text) override;
  // The backend reports what the user typed.
  void textFromScreen(const std::string& text) { setText(text); }
  bool readOnly = false;
  unsigned maxLength = 0;  // 0: no limit
  std::function<void()> OnChange;
};

class CheckBox : public Control {
 public:
  CheckBox(Control* parent, std::string name, Rect bounds, std::string caption)
      : Control(parent, Kind::CheckBox, std::move(name), bounds, std::move(caption)) {
    tabStop = true;
  }
  bool checked() const { return checked_; }
  void setChecked(bool checked);

 private:
  bool checked_ = false;
};

// A push button (Kind::Button) or a small picture button that takes no focus
// (Kind::SpeedButton). A non-zero modalResult closes its form when clicked.
class Button : public Control {
 public:
  Button(Control* parent, Kind kind, std::string name, Rect bounds, std::string caption,
         Picture picture);
  // What a click does: the handler, then the form's modal result unless the handler failed.
  void click();
  Picture picture;
  int modalResult = mrNone;
  bool isDefault = false;  // Enter
  bool isCancel = false;   // Escape
  std::function<void()> OnClick;
};

// What changed in a list box's rows, for its backend to follow row by row.
struct RowChange {
  enum What { Inserted, Removed, Replaced, All } what;
  int index = 0;  // the row inserted, removed or replaced
};

class ListBox : public Control {
 public:
  ListBox(Control* parent, std::string name, Rect bounds);

  struct Row {
    std::string text;
    std::any object;  // what ListBoxDe keeps for the row
  };
  const std::vector<Row>& rows() const { return rows_; }
  // The text of an existing row.
  const std::string& rowText(int index) const { return rows_.at(static_cast<std::size_t>(index)).text; }
  int count() const { return static_cast<int>(rows_.size()); }
  int itemIndex() const { return itemIndex_; }
  // Setting the selection from the program raises no event.
  void setItemIndex(int index);
  void add(const std::string& text) { addRow({text, {}}); }
  void clear();
  void remove(int index);
  void move(int from, int to);
  void setRowText(int index, const std::string& text);
  // Whole strings compared without regard to case (a to z only); -1 if none.
  int indexOf(const std::string& text) const;
  // The changes made in between reach the screen at the end, in one pass.
  void beginUpdate();
  void endUpdate();

  // The user selected a row (mouse or keyboard): selection, then OnClick.
  void clickFromScreen(int index);
  // The user double-clicked a row: it is selected first, as a click does.
  void doubleClickFromScreen(int index);

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;

 protected:
  void addRow(Row row);

 private:
  void rowsChanged(RowChange change);

  std::vector<Row> rows_;
  int itemIndex_ = -1;
  int updating_ = 0;
  bool pending_ = false;  // changed during an update
};

// A list box whose rows each refer to an object of type T, owned elsewhere.
template <typename T>
class ListBoxDe : public ListBox {
 public:
  using ListBox::ListBox;
  void add(const std::string& text, T& object) { addRow({text, &object}); }
  // The object of row `index`; nullptr when there is no such row or it carries none.
  T* object(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    T* const* objet = std::any_cast<T*>(&rows()[static_cast<std::size_t>(index)].object);
    return objet ? *objet : nullptr;
  }
};

// A top-level window, created hidden once and shown modally.
class Form : public Control {
 public:
  Form(Application& application, std::string className, std::string caption, int clientWidth,
       int clientHeight);
  ~Form() override;

  Application& application() { return application_; }
  const std::string& className() const { return className_; }
  int clientWidth() const { return bounds().width; }
  int clientHeight() const { return bounds().height; }

  // The platform window, created with all controls the first time it is asked for.
  Handle handle();
  bool visible() const { return visible_; }

  // Shows the form and runs a nested loop until modalResult becomes non-zero;
  // then OnClose runs and the form is hidden. Returns the result.
  int showModal();
  int modalResult = mrNone;
  // Closes the form: OnClose, then hidden; closing the main form ends the program
  // (inside a handler, once that handler has returned).
  void close();

  std::function<void()> OnClose;
  // Help request from a menu entry (help context in `data`); returns whether handled.
  std::function<bool(unsigned command, int data, bool& callHelp)> OnHelp;
  // A hotkey registered for the form's window was pressed; `id` is the one it was registered with.
  std::function<void(int id)> OnHotKey;

  // Backend side.
  void setVisibleFromBackend(bool visible) { visible_ = visible; }

 private:
  Application& application_;
  std::string className_;
  bool visible_ = false;
};

// Popup menus and their entries. A menu owns its entries.
class MenuItem {
 public:
  MenuItem() = default;
  explicit MenuItem(std::string caption) : caption(std::move(caption)) {}
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;
  virtual ~MenuItem() = default;

  std::string caption;  // shown as it is, "-" too; "&" marks the access key
  bool separator = false;  // a line between entries, where a menu's design asks for one
  int tag = 0;
  int helpContext = 0;
  std::string hint;
  Picture picture = Picture::None;
  // Or the icon the shell shows for a file, a folder or an address: asked for only when the
  // entry's menu opens.
  std::function<SourceIcone()> icone;
  bool isDefault = false;
  bool enabled = true;
  std::function<void(MenuItem& sender)> OnClick;

  MenuItem* parent() const { return parent_; }  // not owned: it owns this entry
  int count() const { return static_cast<int>(items_.size()); }
  MenuItem& item(int index) const { return *items_[static_cast<std::size_t>(index)]; }
  int indexOf(const MenuItem& child) const;
  MenuItem& add(std::unique_ptr<MenuItem> child);
  void remove(int index);  // releases the entry and its own entries

  // Runs OnClick, only while the entry is enabled.
  void click();

 private:
  MenuItem* parent_ = nullptr;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

class PopupMenu : public MenuItem {
 public:
  explicit PopupMenu(Application& application) : application_(application) {}
  bool autoPopup = true;
  const void* popupComponent = nullptr;  // who opened it last; not owned, only compared
  // Shows the menu with its top-left corner at a screen point and returns once
  // it has closed; a chosen entry's click has run by then.
  void popup(int x, int y);
  Application& application() { return application_; }

 private:
  Application& application_;
};

class Timer {
 public:
  explicit Timer(Application& application);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  bool enabled() const { return enabled_; }
  unsigned interval() const { return interval_; }
  void setEnabled(bool enabled);
  void setInterval(unsigned interval);
  // Ticks only while enabled with a non-zero interval.
  bool running() const { return enabled_ && interval_ != 0; }
  std::function<void()> OnTimer;
  void tick();  // called by the backend; dispatched like any event
  std::uintptr_t native = 0;

 private:
  Application& application_;
  bool enabled_ = false;
  unsigned interval_ = 0;
};

// The toolkit's out-of-resources error ("Pas assez de timers disponibles").
class EOutOfResources : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class OpenDialog {
 public:
  explicit OpenDialog(Application& application) : application_(application) {}
  std::string title;
  std::string filter;  // "Description|pattern|..."
  std::string initialDir;
  std::string fileName;
  bool hideReadOnly = false;
  bool noChangeDir = false;
  bool execute();

 private:
  Application& application_;
};

enum class MessageIcon { Error, Question };

struct MessageButton {
  std::string caption;
  int result = mrNone;
  bool isDefault = false;
  bool isCancel = false;
};

struct MessageBoxSpec {
  std::string caption;
  std::string text;  // CR LF starts a new line
  MessageIcon icon = MessageIcon::Error;
  std::vector<MessageButton> buttons;
};

// A utility window: hidden, never shown, messages go to `procedure`; when it
// returns nothing the system's default processing applies.
using WindowProcedure =
    std::function<std::optional<std::intptr_t>(unsigned message, std::uintptr_t wParam,
                                                std::intptr_t lParam)>;

class Backend {
 public:
  virtual ~Backend() = default;

  // Forms and controls.
  virtual Handle realize(Form& form) = 0;  // creates the window and its controls, hidden
  virtual void destroy(Form& form) = 0;
  virtual void controlChanged(Control& control) = 0;  // text, check, selection, enabled
  // The rows of a list box changed; its selection follows through controlChanged.
  virtual void rowsChanged(ListBox& list, RowChange change) = 0;
  virtual int showModal(Form& form) = 0;              // returns once form.modalResult != 0
  virtual void hide(Form& form) = 0;
  virtual void show(Form& form) = 0;  // shown without a modal loop

  // Dialogs.
  virtual int messageBox(const MessageBoxSpec& spec) = 0;
  virtual bool inputQuery(const std::string& caption, const std::string& prompt,
                          std::string& value, unsigned maxLength) = 0;
  virtual bool openDialog(OpenDialog& dialog) = 0;

  // Menus: shows the menu and returns the entry chosen, if any.
  virtual MenuItem* popup(PopupMenu& menu, int x, int y) = 0;

  // Timers: start, restart or stop following timer.running(); false when the
  // system has no timer left.
  virtual bool timerChanged(Timer& timer) = 0;

  // Icons held in the resources, as handles the shell accepts.
  virtual Handle icon(Picture picture) = 0;

  // Other programs can find the window by `className`.
  virtual Handle createUtilityWindow(const std::string& className, WindowProcedure procedure) = 0;
  virtual void destroyUtilityWindow(Handle window) = 0;

  // The top-level window that carries the program's taskbar button.
  virtual Handle applicationHandle() = 0;
  // The active form of this program, if any.
  virtual Form* activeForm() = 0;

  // Runs the message loop until terminate().
  virtual void run() = 0;
  virtual void terminate() = 0;
};

// The application object: the backend, the main form, the program's title and
// the dispatch of events with its report of input/output errors.
class Application {
 public:
  // `exePath`: the program file, whose name gives the title.
  Application(Backend& backend, const std::string& exePath);

  Backend& backend() { return backend_; }
  const std::string& title() const { return title_; }

  // Not owned, like forms(): forms register and unregister themselves.
  Form* mainForm() const { return mainForm_; }
  bool showMainForm = true;

  // Runs an event handler: an input/output error ends it and is reported with
  // the generic error box; the caller goes on. Any other exception is reported
  // in a box of its own and ends the program. Nothing escapes.
  void dispatch(const std::function<void()>& handler);
  void showIoError(int code);
  // Whether an event handler is running (the program is inside one, or in one of its pauses).
  bool busy() const { return depth_ > 0; }
  // Closing the main form while a handler runs: the nested loops are told to end now, and
  // the form closes once the outermost handler has returned. False when nothing runs.
  bool closeMainFormLater();
  // 0, or 1 once an unexpected exception has ended the program.
  int exitCode() const { return exitCode_; }

  // A context-help request from a highlighted menu entry (nullptr: none).
  void menuHelp(MenuItem* item);

  void run();
  void terminate();

  // Forms register themselves; the first one is the main form.
  void registerForm(Form& form);
  void unregisterForm(Form& form);
  const std::vector<Form*>& forms() const { return forms_; }

 private:
  Backend& backend_;
  std::string title_;
  void reportFault(const std::string& texte);

  Form* mainForm_ = nullptr;
  std::vector<Form*> forms_;
  int depth_ = 0;
  bool closePending_ = false;
  int exitCode_ = 0;
};

// The text for a platform error code, as the generic error box shows it.
std::string TexteErreurES(int code);
// The title from the program file: name without folder, cut at its first ".",
// first letter kept, the rest in lower case.
std::string TitreProgramme(const std::string& exePath);
// The error's text followed by "." unless it already ends with "." or a
// character whose code is below that of ".".
std::string AvecPoint(const std::string& texte);

// The program's message box: "Erreur", stop icon, one "OK" (default and cancel).
void MessageErreur(Application& application, const std::string& texte);
// "Confirmation", question icon, "&Oui" (default) and "&Non" (cancel); returns
// mrYes, mrNo, or mrCancel when closed from the title bar.
int MessageConfirmation(Application& application, const std::string& texte);
// One-line prompt limited to 255 characters, its text selected; true on "OK",
// and then `valeur` holds the field's text.
bool BoiteSaisie(Application& application, const std::string& titre, const std::string& invite,
                 std::string& valeur);

// Upper case of a to z only, as the key field and the title want it.
std::string MajusculesAZ(std::string texte);

}  // namespace tk
