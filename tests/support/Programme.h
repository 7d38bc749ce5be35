// The program's four windows, as it makes them, over whichever toolkit backend the application
// has and a platform with no shell: the Windows toolkit's tests show them, the e2e driver
// numbers the controls of the real ones after them.
#pragma once

#include "app/APropos.h"
#include "app/Config.h"
#include "app/Info.h"
#include "app/Princip.h"
#include "platform/portable/PlateformePortable.h"

struct Programme {
  explicit Programme(tk::Application& app)
      : principal(app, plateforme), info(app), config(app, principal), aPropos(app) {}
  plat::PlateformePortable plateforme;
  TFrmPrincip principal;
  TFrmInfo info;
  TFrmConfig config;
  TFrmAPropos aPropos;
};
