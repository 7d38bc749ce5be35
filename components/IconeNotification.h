// The notification-area icon: keeps one icon in the shell's notification area,
// turns the shell's mouse notifications into events and popup menus, keeps the
// main window and the taskbar button hidden, and can cycle through images.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Plateforme.h"
#include "toolkit/Toolkit.h"

enum class TMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Bits 0 to 5: Shift, Alt, Ctrl, left, right and middle button.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1u << 0;
constexpr TShiftState ssAlt = 1u << 1;
constexpr TShiftState ssCtrl = 1u << 2;
constexpr TShiftState ssLeft = 1u << 3;
constexpr TShiftState ssRight = 1u << 4;
constexpr TShiftState ssMiddle = 1u << 5;

// Images to cycle through.
struct TImageList {
  std::vector<tk::Picture> images;
};

class TIconeNotification {
 public:
  using TNotifyEvent = std::function<void(TIconeNotification& sender)>;
  using TMouseEvent = std::function<void(TIconeNotification& sender, TMouseButton button,
                                         TShiftState shift, int x, int y)>;
  using TMouseMoveEvent =
      std::function<void(TIconeNotification& sender, TShiftState shift, int x, int y)>;
  using TCycleEvent = std::function<void(TIconeNotification& sender, int current)>;

  static constexpr unsigned WM_TRAYICON = 0x0800;
  // The class of the window that gets the shell's notifications: one of its own, to be found by.
  static constexpr char kClasse[] = "TIconeNotification";
  static constexpr unsigned kTipSize = 64;

  TIconeNotification(tk::Application& application, plat::Plateforme& plateforme);
  ~TIconeNotification();
  TIconeNotification(const TIconeNotification&) = delete;
  TIconeNotification& operator=(const TIconeNotification&) = delete;

  // Run once the owner has set the properties: adds the icon (or not) and
  // hides the main window and the taskbar button when StartMinimized.
  void Loaded();

  TImageList* IconList = nullptr;  // not owned
  bool CycleIcons() const { return cycleIcons_; }
  void SetCycleIcons(bool value);
  unsigned CycleInterval() const { return cycleInterval_; }
  void SetCycleInterval(unsigned value);
  bool Enabled = true;
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  // The icon handle shown; 0 for an empty icon.
  tk::Handle Icon() const { return icon_; }
  void SetIcon(tk::Handle icon);
  bool IconVisible() const { return iconVisible_; }
  void SetIconVisible(bool value);
  // Not owned: the owner of the menus clears these before they go.
  tk::PopupMenu* PopupMenuGauche = nullptr;
  tk::PopupMenu* PopupMenuDroit = nullptr;
  bool ShowOnLeftDblClick = false;
  bool StartMinimized = false;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TCycleEvent OnCycle;

  bool AddIcon();
  bool DeleteIcon();
  bool UpdateIcon();

  const plat::NotifyIconData& IconData() const { return iconData_; }
  int CycleIndex() const { return cycleIndex_; }
  bool MainFormShown() const { return mainFormShown_; }

  // The callback window's procedure.
  std::optional<std::intptr_t> HandleTrayMessage(unsigned message, std::uintptr_t wParam,
                                                 std::intptr_t lParam);

 protected:
  virtual void DoClick();
  virtual void DoDblClick();
  virtual void DoCycle();
  virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseMove(TShiftState shift, int x, int y);

 private:
  bool FillIconData();
  bool Notify(unsigned message);
  TShiftState CurrentShiftState();
  void ShowMenuAtCursor(TMouseButton button);
  void LeftDoubleClick();
  void RestoreMainForm();
  void CycleTick();

  tk::Application& application_;
  plat::Plateforme& plateforme_;
  bool iconVisible_ = true;
  std::string hint_;
  bool showHint_ = false;
  tk::Handle icon_ = 0;
  bool mainFormShown_ = false;
  tk::Timer cycleTimer_;
  bool cycleIcons_ = false;
  unsigned cycleInterval_ = 0;
  int cycleIndex_ = 0;
  plat::NotifyIconData iconData_;
  unsigned taskbarCreated_ = 0;
};
