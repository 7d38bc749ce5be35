// The backend object: its hidden windows, the utility windows and the timers. Forms and
// controls are in Win32Controles, their messages in Win32Procedures, showing them in
// Win32Modal, what is kept in Win32Ressources.
#include "toolkit/win32/Win32Interne.h"

namespace tk {

namespace {

constexpr char kClasseApplication[] = "VivApplication";
constexpr char kClasseUtilitaire[] = "VivUtilitaire";

// The application that reports what a window procedure caught; one per process.
Application* gApplication = nullptr;

}  // namespace

void SignaleException(std::exception_ptr exception) {
  // Without an application there is nobody to tell: a plain crash rather than a silent one.
  if (gApplication == nullptr) std::terminate();
  gApplication->dispatch([&] { std::rethrow_exception(exception); });
}

void Win32Backend::Impl::connait(Application& app) {
  if (application == &app) return;
  application = &app;
  gApplication = &app;
  SetWindowTextW(fenetreApplication, plat::Large(app.title()).c_str());
}

void Win32Backend::Impl::dispatch(const std::function<void()>& handler) {
  if (application != nullptr)
    application->dispatch(handler);
  else
    handler();
}

HWND Win32Backend::Impl::creeUtilitaire(const std::string& classe, WindowProcedure procedure) {
  enregistreClasse(classe, kProcedureUtilitaire, false);
  auto u = std::make_unique<FenetreUtilitaire>();
  u->impl = this;
  u->procedure = std::move(procedure);
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, plat::Large(classe).c_str(), L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, u.get());
  if (hwnd != nullptr) utilitaires[hwnd] = std::move(u);
  return hwnd;
}

Win32Backend::Win32Backend(std::uintptr_t instance) : impl_(std::make_unique<Impl>()) {
  impl_->instance = reinterpret_cast<HINSTANCE>(instance);
  impl_->enregistreClasse(kClasseApplication, DefWindowProcW, true);
  // Owner of every form: hidden, it keeps them off the taskbar.
  impl_->fenetreApplication = CreateWindowExW(
      0, plat::Large(kClasseApplication).c_str(), L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
      nullptr, nullptr, impl_->instance, nullptr);
  impl_->proprietaireMenus = impl_->creeUtilitaire(
      kClasseUtilitaire, [impl = impl_.get()](unsigned message, std::uintptr_t wParam,
                                              std::intptr_t lParam) {
        return MessageMenus(*impl, message, wParam, lParam);
      });
}

Win32Backend::~Win32Backend() {
  if (gApplication == impl_->application) gApplication = nullptr;
  for (auto& [hwnd, f] : impl_->forms) Detruit(hwnd);
  for (auto& [hwnd, u] : impl_->utilitaires) Detruit(hwnd);
  DestroyWindow(impl_->fenetreApplication);
  impl_->libereRessources();
}

bool Win32Backend::timerChanged(Timer& timer) {
  Impl& impl = *impl_;
  if (!timer.running()) {
    if (timer.native != 0) {
      KillTimer(impl.proprietaireMenus, timer.native);
      impl.timers.erase(timer.native);
    }
    return true;
  }
  if (timer.native == 0) timer.native = impl.prochainTimer++;
  if (SetTimer(impl.proprietaireMenus, timer.native, timer.interval(), nullptr) == 0) {
    impl.timers.erase(timer.native);
    return false;
  }
  impl.timers[timer.native] = &timer;
  return true;
}

Handle Win32Backend::createUtilityWindow(const std::string& className,
                                         WindowProcedure procedure) {
  return reinterpret_cast<Handle>(impl_->creeUtilitaire(className, std::move(procedure)));
}

void Win32Backend::destroyUtilityWindow(Handle window) {
  HWND hwnd = Hwnd(window);
  auto it = impl_->utilitaires.find(hwnd);
  if (it == impl_->utilitaires.end()) return;
  Detruit(hwnd);
  impl_->utilitaires.erase(it);
}

Handle Win32Backend::applicationHandle() {
  return reinterpret_cast<Handle>(impl_->fenetreApplication);
}

}  // namespace tk
