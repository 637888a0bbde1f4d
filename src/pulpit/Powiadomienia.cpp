#include "pulpit/Powiadomienia.h"

#include "pulpit/IkonaProgramu.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

TPowiadomienia::TPowiadomienia(const QDBusConnection &polaczenie, QObject *rodzic)
    : QObject(rodzic), m_polaczenie(polaczenie)
{
  if (!m_polaczenie.isConnected())
    return;
  const QString usluga = QLatin1String(Usluga);
  const QString sciezka = QLatin1String(Sciezka);
  const QString interfejs = QLatin1String(Interfejs);
  m_polaczenie.connect(usluga, sciezka, interfejs, QStringLiteral("ActionInvoked"), this,
                       SLOT(AkcjaWywolana(uint, QString)));
  m_polaczenie.connect(usluga, sciezka, interfejs, QStringLiteral("NotificationClosed"), this,
                       SLOT(Zamknieto(uint, uint)));
  auto *obserwator = new QDBusPendingCallWatcher(
      m_polaczenie.asyncCall(QDBusMessage::createMethodCall(usluga, sciezka, interfejs,
                                                            QStringLiteral("GetCapabilities"))),
      this);
  connect(obserwator, &QDBusPendingCallWatcher::finished, this, &TPowiadomienia::Mozliwosci);
}

void TPowiadomienia::Mozliwosci(QDBusPendingCallWatcher *obserwator)
{
  obserwator->deleteLater();
  const QDBusPendingReply<QStringList> odpowiedz = *obserwator;
  if (!odpowiedz.isError())
    m_znaczniki = odpowiedz.value().contains(QStringLiteral("body-markup"));
}

void TPowiadomienia::Pokaz(int klucz, const QString &tytul, const QString &tresc)
{
  if (!m_polaczenie.isConnected())
    return;
  TWpis &wpis = m_wpisy[klucz];
  ++wpis.liczba;
  wpis.tytul = wpis.liczba > 1 ? QStringLiteral("%1 (%2)").arg(tytul).arg(wpis.liczba) : tytul;
  wpis.tresc = tresc;
  if (wpis.czeka) {
    wpis.zalegly = true;
    wpis.doZamkniecia = false;
    return;
  }
  Wyslij(klucz, wpis);
}

void TPowiadomienia::Wyslij(int klucz, TWpis &wpis)
{
  if (!m_polaczenie.isConnected())
    return;
  QDBusMessage wywolanie =
      QDBusMessage::createMethodCall(QLatin1String(Usluga), QLatin1String(Sciezka),
                                     QLatin1String(Interfejs), QStringLiteral("Notify"));
  const QStringList akcje{QLatin1String(AkcjaDomyslna),  QStringLiteral("Pokaż"),
                          QLatin1String(AkcjaOdpowiedz), QStringLiteral("Odpowiedz"),
                          QLatin1String(AkcjaPokaz),     QStringLiteral("Pokaż")};
  QVariantMap wskazowki;
  wskazowki.insert(QStringLiteral("category"), QStringLiteral("im.received"));
  wskazowki.insert(QStringLiteral("desktop-entry"), NazwaPulpitowa());
  // The program plays its own new-message sound.
  wskazowki.insert(QStringLiteral("suppress-sound"), true);
  // A message is plain text, whatever it holds.
  const QString tresc = m_znaczniki ? wpis.tresc.toHtmlEscaped() : wpis.tresc;
  wywolanie << QStringLiteral("Paplanki (GG)") << wpis.id << NazwaPulpitowa() << wpis.tytul << tresc
            << akcje << wskazowki << qint32(-1);
  wpis.czeka = true;
  wpis.zalegly = false;
  ++m_wyslane;
  auto *obserwator = new QDBusPendingCallWatcher(m_polaczenie.asyncCall(wywolanie), this);
  connect(obserwator, &QDBusPendingCallWatcher::finished, this,
          [this, klucz](QDBusPendingCallWatcher *o) { Odpowiedziano(klucz, o); });
}

void TPowiadomienia::Odpowiedziano(int klucz, QDBusPendingCallWatcher *obserwator)
{
  obserwator->deleteLater();
  const auto it = m_wpisy.find(klucz);
  if (it == m_wpisy.end())
    return;
  TWpis &wpis = it->second;
  wpis.czeka = false;
  const QDBusPendingReply<uint> odpowiedz = *obserwator;
  if (odpowiedz.isError()) {
    // No service (or a broken one): forget the burst; the next message tries afresh.
    m_wpisy.erase(it);
    return;
  }
  wpis.id = odpowiedz.value();
  if (wpis.doZamkniecia) {
    Zamknij(wpis.id);
    m_wpisy.erase(it);
  } else if (wpis.zalegly) {
    Wyslij(klucz, wpis);
  }
}

void TPowiadomienia::ZamknijWszystkie()
{
  for (auto it = m_wpisy.begin(); it != m_wpisy.end();) {
    // A call still on its way has no number yet: it is closed when its answer brings one.
    if (it->second.czeka) {
      it->second.doZamkniecia = true;
      ++it;
      continue;
    }
    Zamknij(it->second.id);
    it = m_wpisy.erase(it);
  }
}

void TPowiadomienia::Zamknij(uint id)
{
  QDBusMessage wywolanie =
      QDBusMessage::createMethodCall(QLatin1String(Usluga), QLatin1String(Sciezka),
                                     QLatin1String(Interfejs), QStringLiteral("CloseNotification"));
  wywolanie << id;
  m_polaczenie.send(wywolanie);
}

std::optional<int> TPowiadomienia::KluczDla(uint id) const
{
  for (const auto &[klucz, wpis] : m_wpisy)
    if (wpis.id == id && id != 0)
      return klucz;
  return std::nullopt;
}

void TPowiadomienia::AkcjaWywolana(uint id, const QString &akcja)
{
  // Other programs' notifications share the signal.
  const std::optional<int> klucz = KluczDla(id);
  if (!klucz)
    return;
  if (akcja == QLatin1String(AkcjaOdpowiedz))
    emit Odpowiedz(*klucz);
  else if (akcja == QLatin1String(AkcjaPokaz) || akcja == QLatin1String(AkcjaDomyslna))
    emit PokazOkno(*klucz);
}

void TPowiadomienia::Zamknieto(uint id, uint)
{
  const std::optional<int> klucz = KluczDla(id);
  if (!klucz)
    return;
  const auto it = m_wpisy.find(*klucz);
  // A call already on its way keeps the entry: its answer brings the new number.
  if (it != m_wpisy.end() && !it->second.czeka)
    m_wpisy.erase(it);
}
