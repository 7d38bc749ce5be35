#include "app/Inscriptions.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/Encodage.h"

namespace {

const char* const kSuiteSansCombinaison =
    " !\r\nCe raccourci n'est donc pas associé à une combinaison de touches. "
    "Il est simplement rajouté au menu...";

unsigned Masque(const Enreg& r) {
  return (r.Alt ? plat::kModAlt : 0) | (r.Ctrl ? plat::kModControl : 0) |
         (r.Shift ? plat::kModShift : 0) | (r.Win ? plat::kModWin : 0);
}

}  // namespace

std::optional<unsigned> CodeTouche(plat::Plateforme& plateforme, const std::string& touche) {
  if (touche.empty()) return std::nullopt;
  const char32_t c = plat::PremierCaractere(touche);
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  if (c > 0xFFFF) return std::nullopt;
  const short code = plateforme.VkKeyScanW(static_cast<char16_t>(c));
  if (code == -1) return std::nullopt;
  return static_cast<unsigned>(code & 0xFF);
}

Inscriptions::Inscriptions(tk::Form& fenetre, plat::Plateforme& plateforme,
                           const std::unique_ptr<ListeEnreg>& liste)
    : fenetre_(fenetre), plateforme_(plateforme), liste_(liste) {}

void Inscriptions::Inscrit() {
  const unsigned passe = ++passe_;
  if (!liste_ || liste_->empty()) return;
  tk::Application& application = fenetre_.application();
  const auto n = static_cast<std::uint16_t>(liste_->size());
  for (unsigned i = 0; i < n && passe == passe_; ++i) {
    Enreg& r = *(*liste_)[i];
    // Left registered by a pass that another one cut short: same record, same combination.
    if (r.Enregistre) continue;
    const unsigned masque = Masque(r);
    const bool touche = !r.Touche.empty();
    r.Enregistre = masque != 0 && touche;
    // Copied: a message box runs a nested loop, during which the list may be reloaded.
    const std::string item = r.Item;
    if (masque == 0 && touche)
      tk::MessageErreur(application,
                        "Aucune touche spéciale n'a été définie pour le raccourci clavier " + item +
                            kSuiteSansCombinaison);
    else if (masque != 0 && !touche)
      tk::MessageErreur(application, "Aucune touche n'a été définie pour le raccourci clavier " +
                                         item + kSuiteSansCombinaison);
    else if (r.Enregistre) {
      // A character no key types is refused like a combination the system refuses.
      const auto code = CodeTouche(plateforme_, r.Touche);
      if (!code || !plateforme_.RegisterHotKey(fenetre_.handle(), static_cast<int>(i), masque, *code))
        tk::MessageErreur(application,
                          "Impossible d'initialiser le raccourci clavier " + item + " !");
    }
  }
}

void Inscriptions::Desinscrit() {
  const unsigned passe = ++passe_;
  if (!liste_ || liste_->empty()) return;
  const auto n = static_cast<std::uint16_t>(liste_->size());
  for (unsigned i = 0; i < n && passe == passe_; ++i) {
    Enreg& r = *(*liste_)[i];
    if (!r.Enregistre) continue;
    // Done with, whatever the answer: no later pass tries it again.
    r.Enregistre = false;
    const std::string item = r.Item;
    if (!plateforme_.UnregisterHotKey(fenetre_.handle(), static_cast<int>(i)))
      tk::MessageErreur(fenetre_.application(),
                        "Impossible de désactiver le raccourci clavier " + item + " !");
  }
}

bool Inscriptions::Inscrits() const {
  return liste_ && std::any_of(liste_->begin(), liste_->end(),
                               [](const auto& r) { return r->Enregistre; });
}

void Inscriptions::Libere() {
  do Desinscrit();
  while (Inscrits());
}

void Inscriptions::Ferme() {
  ferme_ = true;
  Libere();
}
