// Delivery reports of sent messages.

#include "contacts/Galezie.h"
#include "contacts/Stany.h"
#include "gg/Liczby.h"
#include "gg/Odbior.h"

namespace {

struct TSkutekPotwierdzenia {
  int obrazStanu;
  const char16_t *tekst; // panel 2 when no message has the sequence number
};

} // namespace

void TOdbior::Potwierdzenie(const QByteArray &cialo)
{
  const int status = LEToInt(cialo, 0);
  const int sekwencja = LEToInt(cialo, 8);

  TWezel *wezel = m_indeks.Znajdz(sekwencja);
  if (wezel)
    static_cast<TWypowiedz *>(wezel->Dane())->DaneDodatkowe().StatusPotwierdzenia = status;
  if (m_poPotwierdzeniu)
    m_poPotwierdzeniu(wezel, sekwencja, status);

  TSkutekPotwierdzenia skutek{};
  switch (status) {
  case 1:
    skutek = {ObrazStanu::Zablokowana, u"Wiadomość została przyblokowana przez serwer"};
    break;
  case 2:
    skutek = {ObrazStanu::Dostarczona, u"Wiadomość dostarczono"};
    break;
  case 3:
    skutek = {ObrazStanu::Zakolejkowana, u"Wiadomość zakolejkowano"};
    break;
  case 4:
    skutek = {ObrazStanu::BrakMiejsca, u"Brak miejsca dla wiadomości"};
    break;
  default:
    m_okno.UstawPanel2(QStringLiteral("Nieznany status wysyłania wiadomości: %1").arg(status));
    return;
  }
  if (wezel)
    wezel->UstawObrazStanu(skutek.obrazStanu);
  else
    m_okno.UstawPanel2(QString::fromUtf16(skutek.tekst));
}
