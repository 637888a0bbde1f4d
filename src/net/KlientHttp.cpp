#include "net/KlientHttp.h"

#include "net/AdresySieciowe.h"
#include "net/Gniazdo.h"
#include "net/KodyBledow.h"
#include "net/RozwiazywanieNazwy.h"

#include <QEventLoop>
#include <QIODevice>
#include <QLocale>
#include <QStringEncoder>

#include <algorithm>
#include <utility>

namespace {

// Numbers of the failures this component adds to the server's status codes.
constexpr int kNiedostepny = 404;
constexpr int kZlaOdpowiedz = 502;
constexpr int kPrzekroczonyCzas = 408;

struct TCzesciUrl {
  QString Schemat = QStringLiteral("http");
  QString Uzytkownik;
  QString Haslo;
  bool JestUzytkownik = false;
  QString Host;
  QString Port = QStringLiteral("80");
  QString Sciezka = QStringLiteral("/");
};

qsizetype KoniecSchematu(const QString &url)
{
  const qsizetype i = url.indexOf(QLatin1String("://"));
  if (i <= 0)
    return -1;
  for (qsizetype j = 0; j < i; ++j) {
    const QChar z = url.at(j);
    if (!(z.isLetterOrNumber() || z == u'+' || z == u'-' || z == u'.'))
      return -1;
  }
  return i;
}

TCzesciUrl RozbierzUrl(const QString &adres)
{
  TCzesciUrl c;
  QString s = adres.trimmed();
  const qsizetype schemat = KoniecSchematu(s);
  if (schemat > 0) {
    c.Schemat = s.left(schemat).toLower();
    s = s.mid(schemat + 3);
  }
  qsizetype koniec = s.size();
  for (QChar z : {u'/', u'?', u'#'}) {
    const qsizetype i = s.indexOf(z);
    if (i >= 0)
      koniec = std::min(koniec, i);
  }
  QString wladza = s.left(koniec);
  QString reszta = s.mid(koniec);
  const qsizetype malpa = wladza.lastIndexOf(u'@');
  if (malpa >= 0) {
    const QString dane = wladza.left(malpa);
    wladza = wladza.mid(malpa + 1);
    const qsizetype dwukropek = dane.indexOf(u':');
    c.Uzytkownik = dwukropek >= 0 ? dane.left(dwukropek) : dane;
    c.Haslo = dwukropek >= 0 ? dane.mid(dwukropek + 1) : QString();
    c.JestUzytkownik = true;
  }
  const qsizetype dwukropek = wladza.lastIndexOf(u':');
  if (dwukropek >= 0) {
    c.Host = wladza.left(dwukropek);
    const QString port = wladza.mid(dwukropek + 1);
    if (!port.isEmpty())
      c.Port = port;
  } else {
    c.Host = wladza;
  }
  const qsizetype krzyzyk = reszta.indexOf(u'#'); // fragments never go on the wire
  if (krzyzyk >= 0)
    reszta.truncate(krzyzyk);
  if (reszta.isEmpty() || reszta.startsWith(u'?'))
    reszta.prepend(u'/');
  c.Sciezka = reszta;
  return c;
}

// The address a Location header points to, seen from the address that gave it.
QString AdresPrzekierowania(const QString &biezacy, const QString &lokalizacja)
{
  if (KoniecSchematu(lokalizacja) > 0)
    return lokalizacja;
  const TCzesciUrl c = RozbierzUrl(biezacy);
  if (lokalizacja.startsWith(QLatin1String("//")))
    return c.Schemat + QLatin1Char(':') + lokalizacja;
  QString poczatek = c.Schemat + QLatin1String("://");
  if (c.JestUzytkownik)
    poczatek += c.Uzytkownik + (c.Haslo.isEmpty() ? QString() : QLatin1Char(':') + c.Haslo) +
                QLatin1Char('@');
  poczatek += c.Host + QLatin1Char(':') + c.Port;
  if (lokalizacja.startsWith(u'/'))
    return poczatek + lokalizacja;
  QString katalog =
      c.Sciezka.left(c.Sciezka.indexOf(u'?') >= 0 ? c.Sciezka.indexOf(u'?') : c.Sciezka.size());
  katalog.truncate(katalog.lastIndexOf(u'/') + 1);
  return poczatek + katalog + lokalizacja;
}

// Request texts go out in the code page the network's services expect.
QByteArray NaBajty(const QString &tekst)
{
  QStringEncoder koder("windows-1250");
  if (!koder.isValid())
    return tekst.toLatin1();
  QByteArray wynik = koder.encode(tekst);
  return koder.hasError() ? tekst.toLatin1() : wynik;
}

bool TylkoCyfry(const QByteArray &tekst)
{
  return !tekst.isEmpty() &&
         std::all_of(tekst.begin(), tekst.end(), [](char z) { return z >= '0' && z <= '9'; });
}

} // namespace

EBladHttp::EBladHttp(const QString &komunikat, int numer) : EBlad(komunikat), m_numer(numer) {}

QString EBladHttp::KomunikatUzytkownika() const
{
  switch (m_numer) {
  case 1:
    return QStringLiteral("Poprzednie zapytanie do serwera jeszcze trwa.");
  case 2:
    return QStringLiteral("Nie ma czego wysłać do serwera.");
  case 3:
    return QStringLiteral("Zapytanie do serwera zostało przerwane.");
  case kPrzekroczonyCzas:
    return QStringLiteral("Serwer nie odpowiedział w wyznaczonym czasie.");
  case kZlaOdpowiedz:
    return QStringLiteral("Serwer przysłał nieprawidłową odpowiedź.");
  case kNiedostepny:
    // The client's own failures share the number with the server's "not found".
    if (Message().startsWith(u"can't resolve"))
      return QStringLiteral("Nie znaleziono serwera: jego nazwa nie istnieje albo nie działa "
                            "internet.");
    if (Message().contains(u"(Error #") || Message().startsWith(u"can't connect") ||
        Message().startsWith(u"Error ") || Message().startsWith(u"unsupported protocol"))
      return QStringLiteral("Nie można połączyć się z serwerem.");
    return QStringLiteral("Serwer nie ma takiej strony.");
  default:
    return QStringLiteral("Serwer odpowiedział błędem %1.").arg(m_numer);
  }
}

TKlientHttp::TKlientHttp(QObject *parent) : QObject(parent), m_gniazdo(new TGniazdo(this))
{
  m_gniazdo->OnSessionConnected = [this](TGniazdo *, quint16 blad) { GniazdoPolaczone(blad); };
  m_gniazdo->OnDataAvailable = [this](TGniazdo *, quint16) { GniazdoDane(); };
  m_gniazdo->OnSessionClosed = [this](TGniazdo *, quint16 blad) { GniazdoZamkniete(blad); };
  m_zegar.setSingleShot(true);
  connect(&m_zegar, &QTimer::timeout, this, [this] {
    if (m_faza != fhBezczynny && m_faza != fhKoniec)
      Niepowodzenie(kPrzekroczonyCzas, QStringLiteral("Request timed out"));
  });
}

TKlientHttp::~TKlientHttp()
{
  if (m_petla)
    m_petla->quit(); // the waiting Get/Post sees the component gone and reports it
  delete m_rozwiazywanie;
  delete m_gniazdo;
}

void TKlientHttp::Get()
{
  Wykonaj(false);
}

void TKlientHttp::Post()
{
  Wykonaj(true);
}

void TKlientHttp::Wykonaj(bool post)
{
  if (m_zajety)
    throw EBladHttp(QStringLiteral("HTTP component is busy"), 1);
  if (post && !m_bodyStream)
    throw EBladHttp(QStringLiteral("HTTP component has nothing to post"), 2);

  m_zajety = true;
  m_post = post;
  m_cialo = post ? m_bodyStream->readAll() : QByteArray();
  m_przekierowania = 0;
  m_adresBiezacy = m_url;
  QPointer<TKlientHttp> zyje(this);
  QEventLoop petla;
  m_petla = &petla;
  if (m_timeout > 0)
    m_zegar.start(m_timeout);
  Rozpocznij();
  if (m_faza != fhKoniec)
    petla.exec();
  if (!zyje)
    throw EBladHttp(QStringLiteral("Request cancelled"), 3);
  m_petla = nullptr;
  const bool przerwane = m_faza != fhKoniec; // the application is quitting: every loop ended
  if (przerwane)
    Zakoncz();
  m_faza = fhBezczynny;
  m_zajety = false;
  m_cialo.clear();
  if (przerwane)
    throw EBladHttp(QStringLiteral("Request cancelled"), 3);
  if (m_statusCode >= 400)
    throw EBladHttp(m_reasonPhrase, m_statusCode);
}

void TKlientHttp::GetWTle(std::function<void(bool)> gotowe)
{
  if (m_zajety)
    throw EBladHttp(QStringLiteral("HTTP component is busy"), 1);
  m_zajety = true;
  m_post = false;
  m_cialo.clear();
  m_przekierowania = 0;
  m_adresBiezacy = m_url;
  m_gotowe = std::move(gotowe);
  if (m_timeout > 0)
    m_zegar.start(m_timeout);
  Rozpocznij();
}

void TKlientHttp::ZakonczWTle()
{
  if (!m_gotowe || m_faza != fhKoniec)
    return;
  const auto gotowe = std::exchange(m_gotowe, nullptr);
  m_faza = fhBezczynny;
  m_zajety = false;
  gotowe(m_statusCode < 400);
}

void TKlientHttp::Rozpocznij()
{
  ++m_proba;
  m_statusCode = 0;
  m_reasonPhrase.clear();
  m_contentLength = -1;
  m_contentType.clear();
  m_location.clear();
  m_contentRange.clear();
  m_acceptRanges.clear();
  m_zadaniaUwierzytelnienia.clear();
  m_ciasteczka.clear();
  m_naglowek.clear();
  m_bufor.clear();
  m_pierwszaLinia = true;
  m_przekierowanie = false;
  m_odebranaTresc = 0;
  m_dlugoscNaglowka = 0;

  const TCzesciUrl c = RozbierzUrl(m_adresBiezacy);
  m_schemat = c.Schemat;
  m_uzytkownik = c.Uzytkownik;
  m_haslo = c.Haslo;
  m_jestUzytkownik = c.JestUzytkownik;
  m_host = c.Host;
  m_port = c.Port;
  m_sciezka = c.Sciezka;
  if (m_schemat != QLatin1String("http")) {
    Niepowodzenie(kNiedostepny, QStringLiteral("unsupported protocol: ") + m_schemat);
    return;
  }

  m_faza = fhRozwiazywanie;
  quint32 adres = 0;
  if (CzytajAdresIPv4(m_host, adres)) {
    Polacz(adres);
    return;
  }
  const quint64 proba = m_proba;
  m_rozwiazywanie = new TRozwiazywanieNazwy(
      m_host,
      [this, proba](bool ok, quint32 adres, int) {
        if (m_rozwiazywanie) {
          m_rozwiazywanie->deleteLater();
          m_rozwiazywanie = nullptr;
        }
        if (proba != m_proba || m_faza != fhRozwiazywanie)
          return;
        if (ok)
          Polacz(adres);
        else
          Niepowodzenie(kNiedostepny, QStringLiteral("can't resolve hostname to IP address"));
      },
      this);
}

void TKlientHttp::Polacz(quint32 adresSieciowy)
{
  m_faza = fhLaczenie;
  try {
    m_gniazdo->SetAddr(TekstAdresuIPv4(adresSieciowy));
    m_gniazdo->SetPort(m_port);
    m_gniazdo->Connect();
  } catch (const EBladGniazda &) {
    const int kod = m_gniazdo->LastError();
    Niepowodzenie(
        kNiedostepny,
        QStringLiteral("can't connect: %1 (Error #%2)").arg(OpisBledu(kod), QString::number(kod)));
  }
}

void TKlientHttp::GniazdoPolaczone(quint16 blad)
{
  if (m_faza != fhLaczenie)
    return;
  if (blad != 0) {
    Niepowodzenie(kNiedostepny,
                  QStringLiteral("%1 (Error #%2)").arg(OpisBledu(blad), QString::number(blad)));
    return;
  }
  m_faza = fhNaglowek;
  try {
    m_gniazdo->SendString(NaglowekZadania());
    for (qsizetype i = 0; i < m_cialo.size() && m_faza == fhNaglowek; i += KawalekTresci)
      m_gniazdo->Send(m_cialo.constData() + i,
                      int(std::min<qsizetype>(KawalekTresci, m_cialo.size() - i)));
  } catch (const EBladGniazda &e) {
    Niepowodzenie(kNiedostepny, e.Message());
  }
}

QByteArray TKlientHttp::NaglowekZadania() const
{
  QByteArray n;
  const auto linia = [&n](const QString &tekst) { n += NaBajty(tekst) + "\r\n"; };
  linia((m_post ? QStringLiteral("POST ") : QStringLiteral("GET ")) + m_sciezka +
        QStringLiteral(" HTTP/1.0"));
  if (!m_sender.isEmpty())
    linia(QStringLiteral("From: ") + m_sender);
  linia(QStringLiteral("Accept: ") + m_accept);
  if (!m_reference.isEmpty())
    linia(QStringLiteral("Referer: ") + m_reference);
  if (m_post)
    linia(QStringLiteral("Content-Type: ") + m_contentTypePost);
  linia(QStringLiteral("User-Agent: ") + m_agent);
  linia(QStringLiteral("Host: ") + m_host);
  if (m_noCache)
    linia(QStringLiteral("Pragma: no-cache"));
  if (m_post)
    linia(QStringLiteral("Content-Length: ") + QString::number(m_cialo.size()));
  if (m_modifiedSince.isValid())
    linia(QStringLiteral("If-Modified-Since: ") +
          QLocale::c().toString(m_modifiedSince.toUTC(),
                                QStringLiteral("ddd, dd MMM yyyy hh:mm:ss")) +
          QStringLiteral(" GMT"));
  const bool zUrl = m_jestUzytkownik;
  if (zUrl || !m_username.isEmpty()) {
    const QString para = zUrl ? m_uzytkownik + QLatin1Char(':') + m_haslo
                              : m_username + QLatin1Char(':') + m_password;
    linia(QStringLiteral("Authorization: Basic ") + QString::fromLatin1(NaBajty(para).toBase64()));
  }
  if (!m_cookie.isEmpty())
    linia(QStringLiteral("Cookie: ") + m_cookie);
  if (!m_rangeBegin.isEmpty() || !m_rangeEnd.isEmpty())
    linia(QStringLiteral("Range: bytes=") + m_rangeBegin + QLatin1Char('-') + m_rangeEnd);
  n += "\r\n";
  return n;
}

void TKlientHttp::GniazdoDane()
{
  char bufor[10000];
  const int ile = m_gniazdo->Receive(bufor, sizeof bufor);
  if (ile <= 0)
    return;
  if (m_faza == fhTresc) {
    DopiszTresc(QByteArray::fromRawData(bufor, ile));
  } else if (m_faza == fhNaglowek) {
    m_bufor.append(bufor, ile);
    CzytajNaglowek();
  }
}

void TKlientHttp::CzytajNaglowek()
{
  while (m_faza == fhNaglowek) {
    const qsizetype lf = m_bufor.indexOf('\n');
    const qsizetype dlugosc = lf >= 0
                                  ? (lf > 0 && m_bufor.at(lf - 1) == '\r' ? lf - 1 : lf)
                                  : (m_bufor.endsWith('\r') ? m_bufor.size() - 1 : m_bufor.size());
    if (dlugosc >= NajdluzszaLinia) {
      Niepowodzenie(kZlaOdpowiedz, QStringLiteral("HTTP line too long"));
      return;
    }
    if (m_pierwszaLinia && m_bufor.size() >= 6 && m_bufor.left(6).toUpper() == "<HTML>") {
      // A reply without header: all of it is body, its first line included.
      m_contentType = QStringLiteral("text/html");
      m_faza = fhTresc;
      const QByteArray wszystko = m_bufor;
      m_bufor.clear();
      DopiszTresc(wszystko);
      return;
    }
    if (lf < 0)
      return;
    m_dlugoscNaglowka += lf + 1;
    if (m_dlugoscNaglowka > NajdluzszyNaglowek ||
        (dlugosc > 0 && m_naglowek.size() >= NajwiecejLiniiNaglowka)) {
      Niepowodzenie(kZlaOdpowiedz, QStringLiteral("HTTP header too long"));
      return;
    }
    const QByteArray linia = m_bufor.left(dlugosc);
    m_bufor.remove(0, lf + 1);
    m_pierwszaLinia = false;
    if (linia.isEmpty())
      KoniecNaglowka();
    else
      LiniaNaglowka(linia);
  }
}

void TKlientHttp::LiniaNaglowka(const QByteArray &linia)
{
  m_naglowek << QString::fromLatin1(linia);
  if (linia.startsWith("HTTP/1.0") || linia.startsWith("HTTP/1.1")) {
    const QByteArray kod = linia.mid(9, 3);
    if (kod.size() != 3 || !TylkoCyfry(kod)) {
      Niepowodzenie(kZlaOdpowiedz, QStringLiteral("Bad HTTP status line"));
      return;
    }
    m_statusCode = kod.toInt();
    m_reasonPhrase = QString::fromLatin1(linia.mid(13));
    return;
  }
  const qsizetype dwukropek = linia.indexOf(':');
  if (dwukropek <= 0)
    return;
  const QByteArray nazwa = linia.left(dwukropek).toLower();
  qsizetype i = dwukropek + 1;
  while (i < linia.size() && (linia.at(i) == ' ' || linia.at(i) == '\t'))
    ++i;
  const QString wartosc = QString::fromLatin1(linia.mid(i));
  if (nazwa == "content-length") {
    const QByteArray liczba = linia.mid(i).trimmed();
    bool ok = TylkoCyfry(liczba);
    const qint64 n = ok ? liczba.toLongLong(&ok) : -1;
    m_contentLength = ok ? n : -1;
  } else if (nazwa == "content-type") {
    m_contentType = wartosc.toLower();
  } else if (nazwa == "location") {
    m_location = wartosc.trimmed();
    m_przekierowanie = true;
  } else if (nazwa == "content-range") {
    m_contentRange = wartosc;
  } else if (nazwa == "accept-ranges") {
    m_acceptRanges = wartosc;
  } else if (nazwa == "www-authenticate") {
    m_zadaniaUwierzytelnienia << wartosc;
  } else if (nazwa == "set-cookie") {
    m_ciasteczka << wartosc;
  }
}

void TKlientHttp::KoniecNaglowka()
{
  if (m_statusCode >= 400) {
    Zakoncz(); // the body of a failure is of no use: close at once
    return;
  }
  if (m_przekierowanie) {
    Przekieruj();
    return;
  }
  m_faza = fhTresc;
  if (!m_bufor.isEmpty()) {
    const QByteArray reszta = m_bufor;
    m_bufor.clear();
    DopiszTresc(reszta);
  }
}

void TKlientHttp::Przekieruj()
{
  if (++m_przekierowania > NajwiecejPrzekierowan) {
    Niepowodzenie(kZlaOdpowiedz, QStringLiteral("Too many relocations"));
    return;
  }
  m_adresBiezacy = AdresPrzekierowania(m_adresBiezacy, m_location);
  m_faza = fhRozwiazywanie;
  m_gniazdo->Abort();
  // The next attempt starts from the event loop, outside the handler of the old connection.
  const quint64 proba = ++m_proba;
  QTimer::singleShot(0, this, [this, proba] {
    if (proba == m_proba && m_faza == fhRozwiazywanie)
      Rozpocznij();
  });
}

void TKlientHttp::DopiszTresc(const QByteArray &dane)
{
  const qint64 wolne =
      m_najdluzszaTresc > 0 ? m_najdluzszaTresc - m_odebranaTresc : qint64(dane.size());
  m_odebranaTresc += dane.size();
  if (m_replyStream)
    m_replyStream->write(dane.constData(), std::min<qint64>(wolne, dane.size()));
  if (wolne < dane.size())
    Niepowodzenie(kZlaOdpowiedz, QStringLiteral("HTTP reply too long"));
}

void TKlientHttp::GniazdoZamkniete(quint16 blad)
{
  // A connection reset is no end of a reply: unless its length was declared and has come,
  // what came may be any part of it.
  const bool calaTresc = m_contentLength >= 0 && m_odebranaTresc >= m_contentLength;
  if (blad != 0 &&
      ((m_faza == fhTresc && !calaTresc) || (m_faza == fhNaglowek && m_statusCode < 400))) {
    Niepowodzenie(kZlaOdpowiedz,
                  QStringLiteral("HTTP reply truncated (Error #%1)").arg(QString::number(blad)));
    return;
  }
  switch (m_faza) {
  case fhLaczenie:
    Niepowodzenie(kNiedostepny, QStringLiteral("can't connect: connection closed"));
    break;
  case fhNaglowek:
    if (m_pierwszaLinia && m_bufor.left(6).toUpper() == "<HTML>") {
      m_contentType = QStringLiteral("text/html");
      DopiszTresc(m_bufor);
      m_bufor.clear();
      Zakoncz();
    } else if (m_statusCode >= 400) {
      Zakoncz();
    } else {
      // Without the end of the header there is no telling what the reply was.
      Niepowodzenie(kZlaOdpowiedz, QStringLiteral("HTTP reply truncated"));
    }
    break;
  case fhTresc:
    if (m_contentLength >= 0 && m_odebranaTresc < m_contentLength)
      Niepowodzenie(kZlaOdpowiedz, QStringLiteral("HTTP reply truncated"));
    else
      Zakoncz();
    break;
  default:
    break;
  }
}

void TKlientHttp::Niepowodzenie(int status, const QString &powod)
{
  m_statusCode = status;
  m_reasonPhrase = powod;
  Zakoncz();
}

void TKlientHttp::Zakoncz()
{
  m_faza = fhKoniec;
  ++m_proba;
  m_zegar.stop();
  if (m_rozwiazywanie) {
    m_rozwiazywanie->Anuluj();
    m_rozwiazywanie->deleteLater();
    m_rozwiazywanie = nullptr;
  }
  if (m_gniazdo->State() != gsClosed)
    m_gniazdo->Abort();
  if (m_petla)
    m_petla->quit();
  else if (m_gotowe)
    // Reported from the event loop even when the request failed at once, so that the caller
    // always hears of it after GetWTle has returned.
    QTimer::singleShot(0, this, &TKlientHttp::ZakonczWTle);
}
