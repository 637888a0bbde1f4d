#include "gg/Dzwiek.h"

#include <canberra.h>

namespace {

constexpr uint32_t IdDzwieku = 1;

// One context for the whole run, made on first use. It is never destroyed: tearing it down from
// a static destructor could wait on the sound server at exit.
ca_context *Kontekst()
{
  static ca_context *kontekst = [] {
    ca_context *k = nullptr;
    if (ca_context_create(&k) != CA_SUCCESS)
      return static_cast<ca_context *>(nullptr);
    ca_context_change_props(k, CA_PROP_APPLICATION_NAME, "Paplanki (GG)", nullptr);
    return k;
  }();
  return kontekst;
}

} // namespace

bool OdtworzDzwiekNowejWiadomosci()
{
  ca_context *k = Kontekst();
  if (!k)
    return false;
  int gra = 0;
  if (ca_context_playing(k, IdDzwieku, &gra) == CA_SUCCESS && gra)
    return false;
  return ca_context_play(k, IdDzwieku, CA_PROP_EVENT_ID, "message-new-instant",
                         CA_PROP_EVENT_DESCRIPTION, "Nowa wiadomość", nullptr) == CA_SUCCESS;
}
