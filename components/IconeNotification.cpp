#include "components/IconeNotification.h"

#include <algorithm>
#include <iterator>

#include "platform/Encodage.h"

TIconeNotification::TIconeNotification(tk::Application& application, plat::Plateforme& plateforme)
    : application_(application), plateforme_(plateforme), cycleTimer_(application) {
  iconData_.cbSize = sizeof(plat::NotifyIconData);
  iconData_.hWnd = application_.backend().createUtilityWindow(
      kClasse, [this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        return HandleTrayMessage(message, wParam, lParam);
      });
  iconData_.uID = 1;
  iconData_.uFlags = plat::kNifMessage | plat::kNifIcon | plat::kNifTip;
  iconData_.uCallbackMessage = WM_TRAYICON;
  cycleTimer_.OnTimer = [this] { CycleTick(); };
  taskbarCreated_ = plateforme_.RegisterWindowMessageW("TaskbarCreated");
}

TIconeNotification::~TIconeNotification() {
  SetIconVisible(false);
  application_.backend().destroyUtilityWindow(iconData_.hWnd);
}

void TIconeNotification::Loaded() {
  SetIconVisible(iconVisible_);
  if (StartMinimized) {
    application_.showMainForm = false;
    plateforme_.ShowWindow(application_.backend().applicationHandle(), plat::kSwHide);
  }
  UpdateIcon();
}

void TIconeNotification::SetCycleIcons(bool value) {
  cycleIcons_ = value;
  if (value) cycleIndex_ = 0;
  cycleTimer_.setEnabled(value);
}

void TIconeNotification::SetCycleInterval(unsigned value) {
  cycleInterval_ = value;
  cycleTimer_.setInterval(value);
}

void TIconeNotification::SetHint(const std::string& value) {
  hint_ = value;
  UpdateIcon();
}

void TIconeNotification::SetShowHint(bool value) {
  showHint_ = value;
  UpdateIcon();
}

void TIconeNotification::SetIcon(tk::Handle icon) {
  icon_ = icon;
  UpdateIcon();
}

void TIconeNotification::SetIconVisible(bool value) {
  if (value)
    AddIcon();
  else
    DeleteIcon();
}

bool TIconeNotification::FillIconData() {
  iconData_.hIcon = icon_;
  std::fill(std::begin(iconData_.szTip), std::end(iconData_.szTip), u'\0');
  if (showHint_ && !hint_.empty()) {
    const std::u16string tip = plat::Utf16(hint_);
    std::size_t n = std::min<std::size_t>(tip.size(), kTipSize - 1);
    // Never half a character: a pair of surrogates stays whole or goes.
    if (n < tip.size() && n > 0 && tip[n - 1] >= 0xD800 && tip[n - 1] <= 0xDBFF) --n;
    std::copy(tip.begin(), tip.begin() + static_cast<std::ptrdiff_t>(n), iconData_.szTip);
  }
  return true;
}

bool TIconeNotification::Notify(unsigned message) {
  return FillIconData() && plateforme_.Shell_NotifyIconW(message, iconData_);
}

bool TIconeNotification::AddIcon() {
  iconVisible_ = true;
  return Notify(plat::kNimAdd);
}

bool TIconeNotification::DeleteIcon() {
  iconVisible_ = false;
  return Notify(plat::kNimDelete);
}

bool TIconeNotification::UpdateIcon() { return Notify(plat::kNimModify); }

TShiftState TIconeNotification::CurrentShiftState() {
  TShiftState state = 0;
  if (plateforme_.GetKeyState(plat::kVkShift) < 0) state |= ssShift;
  if (plateforme_.GetKeyState(plat::kVkControl) < 0) state |= ssCtrl;
  if (plateforme_.GetKeyState(plat::kVkMenu) < 0) state |= ssAlt;
  return state;
}

std::optional<std::intptr_t> TIconeNotification::HandleTrayMessage(unsigned message,
                                                                   std::uintptr_t,
                                                                   std::intptr_t lParam) {
  if (message == WM_TRAYICON) {
    if (!Enabled) return 0;
    const TShiftState shift = CurrentShiftState();
    plat::Point p;
    plateforme_.GetCursorPos(p);
    switch (static_cast<unsigned>(lParam)) {
      case plat::kWmMouseMove:
        DoMouseMove(shift, p.x, p.y);
        break;
      case plat::kWmLButtonDown:
        DoMouseDown(TMouseButton::mbLeft, shift | ssLeft, p.x, p.y);
        break;
      case plat::kWmLButtonUp:
        DoMouseUp(TMouseButton::mbLeft, shift | ssLeft, p.x, p.y);
        DoClick();
        ShowMenuAtCursor(TMouseButton::mbLeft);
        break;
      case plat::kWmLButtonDblClk:
        LeftDoubleClick();
        break;
      case plat::kWmRButtonDown:
        DoMouseDown(TMouseButton::mbRight, shift | ssRight, p.x, p.y);
        break;
      case plat::kWmRButtonUp:
        DoMouseUp(TMouseButton::mbRight, shift | ssRight, p.x, p.y);
        ShowMenuAtCursor(TMouseButton::mbRight);
        break;
      case plat::kWmMButtonDown:
        DoMouseDown(TMouseButton::mbMiddle, shift | ssMiddle, p.x, p.y);
        break;
      case plat::kWmMButtonUp:
        DoMouseUp(TMouseButton::mbMiddle, shift | ssMiddle, p.x, p.y);
        break;
      default:
        break;
    }
    return 0;
  }
  if (message == plat::kWmQueryEndSession) return 1;
  // The shell's notification area restarted: our icon went with it.
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    if (iconVisible_) AddIcon();
    return 0;
  }
  return std::nullopt;
}

void TIconeNotification::ShowMenuAtCursor(TMouseButton button) {
  tk::PopupMenu* menu = nullptr;
  if (button == TMouseButton::mbLeft) menu = PopupMenuGauche;
  if (button == TMouseButton::mbRight) menu = PopupMenuDroit;
  if (menu == nullptr || !menu->autoPopup) return;
  plat::Point p;
  if (!plateforme_.GetCursorPos(p)) return;
  tk::Form* main = application_.mainForm();
  const tk::Handle mainHandle = main != nullptr ? main->handle() : 0;
  plateforme_.SetForegroundWindow(mainHandle);
  menu->popupComponent = this;
  menu->popup(p.x, p.y);
  plateforme_.PostMessageW(mainHandle, plat::kWmNull, 0, 0);
}

void TIconeNotification::LeftDoubleClick() {
  DoDblClick();
  if (ShowOnLeftDblClick) RestoreMainForm();
  if (PopupMenuDroit == nullptr || !PopupMenuDroit->autoPopup) return;
  tk::MenuItem* found = nullptr;
  for (int i = PopupMenuDroit->count() - 1; i >= 0; --i)
    if (PopupMenuDroit->item(i).isDefault) found = &PopupMenuDroit->item(i);
  if (found != nullptr) application_.dispatch([found] { found->click(); });
}

void TIconeNotification::RestoreMainForm() {
  plateforme_.ShowWindow(application_.backend().applicationHandle(), plat::kSwRestore);
  tk::Form* main = application_.mainForm();
  if (main == nullptr) return;
  plateforme_.ShowWindow(main->handle(), plat::kSwRestore);
  if (mainFormShown_) return;
  // Windowed controls of the main form and their own, in creation order.
  for (tk::Control* c : main->children()) {
    if (c->native == 0) continue;
    plateforme_.ShowWindow(c->native, plat::kSwShowDefault);
    for (tk::Control* d : c->children())
      if (d->native != 0) plateforme_.ShowWindow(d->native, plat::kSwShowDefault);
  }
  mainFormShown_ = true;
}

void TIconeNotification::CycleTick() {
  if (IconList == nullptr) return;
  const int count = static_cast<int>(IconList->images.size());
  if (count == 0) return;
  icon_ = application_.backend().icon(IconList->images[static_cast<std::size_t>(cycleIndex_)]);
  DoCycle();
  UpdateIcon();
  if (cycleIndex_ < count - 1)
    ++cycleIndex_;
  else
    cycleIndex_ = 0;
}

void TIconeNotification::DoClick() {
  if (OnClick) OnClick(*this);
}

void TIconeNotification::DoDblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TIconeNotification::DoCycle() {
  if (OnCycle) OnCycle(*this, cycleIndex_);
}

void TIconeNotification::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TIconeNotification::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void TIconeNotification::DoMouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}
