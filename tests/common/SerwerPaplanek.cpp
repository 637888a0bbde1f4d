#include "common/SerwerPaplanek.h"

#include "contacts/Galezie.h"
#include "gg/Pakiety.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

#include <sqlite3.h>

#include <csignal>

#ifndef PAPLANKI_SERWER_PLIK
#define PAPLANKI_SERWER_PLIK ""
#endif
#ifndef PAPLANKI_ZRODLA
#define PAPLANKI_ZRODLA "."
#endif

QString TProcesSerwera::Program()
{
  const QByteArray zSrodowiska = qgetenv("PAPLANKI_SERWER");
  return zSrodowiska.isEmpty() ? QStringLiteral(PAPLANKI_SERWER_PLIK)
                               : QString::fromLocal8Bit(zSrodowiska);
}

QString TProcesSerwera::KatalogZrodel()
{
  return QStringLiteral(PAPLANKI_ZRODLA);
}

TProcesSerwera::TProcesSerwera(const QStringList &przelaczniki, const QString &program)
    : m_przelaczniki(przelaczniki), m_program(program.isEmpty() ? Program() : program)
{
  QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
  srodowisko.insert(QStringLiteral("PAPLANKI_SERWER"), Program());
  m_proces.setProcessEnvironment(srodowisko);
  m_proces.setProcessChannelMode(QProcess::SeparateChannels);
}

TProcesSerwera::~TProcesSerwera()
{
  if (m_proces.state() != QProcess::NotRunning)
    Zabij();
}

bool TProcesSerwera::Uruchom()
{
  const QString porty = m_dane.filePath(QStringLiteral("porty"));
  QFile::remove(porty);
  QStringList argumenty{
      QStringLiteral("--dane"),     m_dane.filePath(QStringLiteral("baza")),
      QStringLiteral("--gg"),       QStringLiteral("127.0.0.1:%1").arg(m_portGG),
      QStringLiteral("--http"),     QStringLiteral("127.0.0.1:%1").arg(m_portHttp),
      QStringLiteral("--porty-do"), porty};
  argumenty += m_przelaczniki;
  m_proces.start(m_program, argumenty);
  if (!m_proces.waitForStarted(5000))
    return false;
  const bool gotowe = QTest::qWaitFor([&] { return QFile::exists(porty); }, 10000);
  if (!gotowe)
    return false;
  QFile plik(porty);
  if (!plik.open(QIODevice::ReadOnly))
    return false;
  for (const QByteArray &linia : plik.readAll().split('\n')) {
    const QList<QByteArray> pola = linia.split(' ');
    if (pola.size() != 2)
      continue;
    if (pola[0] == "gg")
      m_portGG = quint16(pola[1].toUInt());
    else if (pola[0] == "http")
      m_portHttp = quint16(pola[1].toUInt());
  }
  return m_portGG != 0 && m_portHttp != 0;
}

void TProcesSerwera::Zabij()
{
  if (m_proces.state() == QProcess::NotRunning)
    return;
  ::kill(pid_t(m_proces.processId()), SIGKILL);
  m_proces.waitForFinished(5000);
  m_dziennik += m_proces.readAllStandardError();
}

bool TProcesSerwera::Zakoncz()
{
  if (m_proces.state() == QProcess::NotRunning)
    return false;
  m_proces.terminate();
  const bool skonczyl = m_proces.waitForFinished(5000);
  m_dziennik += m_proces.readAllStandardError();
  return skonczyl && m_proces.exitStatus() == QProcess::NormalExit && m_proces.exitCode() == 0;
}

void TProcesSerwera::UstawLimity(int naLogowanie, int bezczynnosc)
{
  QProcessEnvironment srodowisko = m_proces.processEnvironment();
  srodowisko.insert(
      QStringLiteral("PAPLANKI_SERWER_LIMITY"),
      QStringLiteral("logowanie=%1,bezczynnosc=%2").arg(naLogowanie).arg(bezczynnosc));
  m_proces.setProcessEnvironment(srodowisko);
}

QString TProcesSerwera::PlikBazy() const
{
  return m_dane.filePath(QStringLiteral("baza/paplanki-serwer.db"));
}

QByteArray TProcesSerwera::Dziennik()
{
  m_dziennik += m_proces.readAllStandardError();
  return m_dziennik;
}

QByteArray ZapytajBaze(const QString &plik, const QString &sql)
{
  sqlite3 *baza = nullptr;
  QByteArray wynik;
  if (sqlite3_open_v2(plik.toLocal8Bit().constData(), &baza, SQLITE_OPEN_READONLY, nullptr) ==
      SQLITE_OK) {
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(baza, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
      wynik = QByteArray(static_cast<const char *>(sqlite3_column_blob(st, 0)),
                         sqlite3_column_bytes(st, 0));
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(baza);
  return wynik;
}

TKlientSerwera::TKlientSerwera(const TProcesSerwera &serwer, int numer, const QString &haslo)
    : rejestr(katalog.filePath(QStringLiteral("p.conf")), QSettings::IniFormat),
      dziennik(katalog.filePath(QStringLiteral("p.log")), [] { return false; }), m_numer(numer),
      m_haslo(haslo)
{
  rejestr.setValue(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
  ustawienia = std::make_unique<TUstawienia>(rejestr, katalog.path());
  odbior = std::make_unique<TOdbior>(drzewo, *ustawienia, oknoOdbioru,
                                     [](const QString &, const QString &) {});
  odbior->UstawKatalog(&katalogPubliczny);
  sesja =
      std::make_unique<TSesjaGG>(drzewo, *ustawienia, dziennik, okno, TSesjaGG::TBazaKontaktow());
  sesja->UstawPortHttp(QString::number(serwer.PortHttp()));
  sesja->UstawObslugePakietow([this](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
    odebrane.append({typ, cialo});
    odbior->Obsluz(typ, dlugosc, cialo);
  });
  QObject::connect(&katalogPubliczny, &TKatalog::Szukaj, [this] {
    TKryteriaSzukania k = kryteria;
    k.NastepnyStart = katalogPubliczny.NastepnyStart;
    sesja->WyslijPakiet(GGReqPubDir, ZapytanieSzukania(k, LosowaSekwencja()));
  });
  wysylanie = std::make_unique<TWysylanieWiadomosci>(
      *sesja, drzewo, *ustawienia, piszeWiadomosc,
      [this](const QString &, QString &odpowiedz) {
        odpowiedz = m_doWyslania;
        return true;
      },
      [](QString &, const QString &) { return false; },
      [] { return TWysylanieWiadomosci::TStanDialogu{}; });
}

TKlientSerwera::~TKlientSerwera()
{
  sesja.reset();
}

bool TKlientSerwera::Zaloguj()
{
  sesja->Start(m_numer, m_haslo);
  return QTest::qWaitFor(
      [&] {
        return sesja->Zalogowany() &&
               okno.panele[TOknoSesji::PanelPolaczenia] == QStringLiteral("Połączony z serwerem");
      },
      10000);
}

TWezel *TKlientSerwera::DodajKontakt(int numer, const QString &opis, int sledzony)
{
  return drzewo.DodajUzytkownika(numer, opis, QString(), QString(), QString(), opis, sledzony);
}

void TKlientSerwera::Zablokuj(int numer)
{
  QFile plik(katalog.filePath(QStringLiteral("ListaBlokowanych")));
  if (plik.open(QIODevice::Append))
    plik.write(QByteArray::number(numer) + "\r\n");
  plik.close();
  ustawienia->WczytajListy();
}

TWezel *TKlientSerwera::Wyslij(int numer, const QString &tekst)
{
  m_doWyslania = tekst;
  TWezel *kontakt = drzewo.ZnajdzUzytkownika(numer);
  return wysylanie->WyslijWiadomosc(kontakt ? TDrzewo::UzytkownikWezla(kontakt) : nullptr, numer,
                                    kontakt);
}

bool TKlientSerwera::Synchronizuj()
{
  const int przed = Ile(GGAnsPong);
  sesja->WyslijPakiet(GGReqPing, QByteArray());
  return QTest::qWaitFor([&] { return Ile(GGAnsPong) > przed; }, 10000);
}

QList<TOdebranyPakiet> TKlientSerwera::Odebrane(qint32 typ) const
{
  QList<TOdebranyPakiet> wynik;
  for (const auto &p : odebrane)
    if (p.typ == typ)
      wynik << p;
  return wynik;
}

QString TKlientSerwera::TekstKontaktu(int numer) const
{
  const TWezel *w = drzewo.ZnajdzUzytkownika(numer);
  return w ? w->Tekst() : QString();
}

QStringList TKlientSerwera::Wiadomosci(int numer) const
{
  QStringList wynik;
  const TWezel *w = drzewo.ZnajdzUzytkownika(numer);
  if (!w)
    return wynik;
  // Messages hang below the contact, or below the own message they answer.
  std::function<void(const TWezel *)> zbierz = [&](const TWezel *wezel) {
    for (int i = 0; i < wezel->LiczbaDzieci(); ++i) {
      const TWezel *d = wezel->Dziecko(i);
      if (dynamic_cast<const TWypowiedz *>(d->Dane()) &&
          drzewo.MaStanWezla(d, StanWezla::Pogrubiony))
        wynik << d->Tekst();
      zbierz(d);
    }
  };
  zbierz(w);
  return wynik;
}
