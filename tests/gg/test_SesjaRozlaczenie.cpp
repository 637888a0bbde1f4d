// Why the session is offline: each way an attempt can end reaches the window as its cause, a
// login clears it, and "Połącz teraz" cuts the waiting short.

#include "common/SerweryGG.h"
#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Sledzeni.h"
#include "contacts/Ustawienia.h"
#include "gg/Dziennik.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace {

class TOknoPowodow : public TOknoSesji {
public:
  QList<TPowodRozlaczenia> powody;
  QStringList hosty;
  bool wcisniety = true;

  void UstawTekstPanelu(int, const QString &) override {}
  int PokazKomunikat(const QString &, const QString &, int) override { return 1; }
  bool PolaczWcisniety() const override { return wcisniety; }
  void ZmienionoPolaczenie(TPowodRozlaczenia powod, const QString &host) override
  {
    powody << powod;
    hosty << host;
  }
};

struct TStanowisko {
  QTemporaryDir katalog;
  QSettings rejestr{katalog.filePath(QStringLiteral("p.conf")), QSettings::IniFormat};
  std::unique_ptr<TUstawienia> ustawienia;
  TDrzewo drzewo;
  TDziennik dziennik{katalog.filePath(QStringLiteral("p.log")), [] { return false; }};
  TOknoPowodow okno;
  TSerwerGGTestowy gg{0x1234};
  TSerwerHttpGG http;
  std::unique_ptr<TSesjaGG> sesja;

  TStanowisko()
  {
    rejestr.setValue(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
    ustawienia = std::make_unique<TUstawienia>(rejestr, katalog.path());
    gg.UstawOdpowiedzNaLogowanie(GGAnsLoginOk);
    http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(gg.PortTekst())});
    sesja = std::make_unique<TSesjaGG>(drzewo, *ustawienia, dziennik, okno, [] { return nullptr; });
    sesja->UstawPortHttp(http.PortTekst());
  }
};

} // namespace

Q_DECLARE_METATYPE(TPowodRozlaczenia)

class TestSesjaRozlaczenie : public QObject {
  Q_OBJECT
private slots:
  // Each failing attempt reports one cause, the first seen, once the reconnect delay runs.
  void powodNieudanejProby_data()
  {
    QTest::addColumn<QString>("sposob");
    QTest::addColumn<TPowodRozlaczenia>("powod");
    QTest::addColumn<QString>("host");
    QTest::newRow("nieznana nazwa")
        << QStringLiteral("nazwa") << TPowodRozlaczenia::NieznanaNazwaHosta
        << QStringLiteral("nie-ma-takiego.invalid");
    QTest::newRow("wyszukiwanie odmowione")
        << QStringLiteral("http") << TPowodRozlaczenia::SerwerOdmowil
        << QStringLiteral("localhost");
    QTest::newRow("serwer GG odmowil")
        << QStringLiteral("gg") << TPowodRozlaczenia::SerwerOdmowil << QStringLiteral("127.0.0.1");
    QTest::newRow("logowanie odrzucone")
        << QStringLiteral("haslo") << TPowodRozlaczenia::OdmowaLogowania
        << QStringLiteral("127.0.0.1");
  }
  void powodNieudanejProby()
  {
    QFETCH(QString, sposob);
    QFETCH(TPowodRozlaczenia, powod);
    QFETCH(QString, host);
    TStanowisko s;
    TPortBezSerwera zamkniety;
    if (sposob == u"nazwa")
      s.sesja->UstawAdresInformacji(host);
    else if (sposob == u"http")
      s.sesja->UstawPortHttp(zamkniety.PortTekst());
    else if (sposob == u"gg")
      s.http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(zamkniety.PortTekst())});
    else
      s.gg.UstawOdpowiedzNaLogowanie(GGAnsLoginFailed);
    s.sesja->Start(1234, QStringLiteral("haslo"));
    if (sposob == u"haslo") {
      QTRY_COMPARE(s.gg.Polaczenia(), 1);
      // Told at once, while the server still holds the connection open.
      QTRY_COMPARE(s.okno.powody, QList<TPowodRozlaczenia>{TPowodRozlaczenia::OdmowaLogowania});
      QVERIFY(!s.sesja->CzekaNaLaczenie());
      QCOMPARE(s.sesja->StanGG(), gsConnected);
      s.gg.Rozlacz();
      QTRY_VERIFY(s.sesja->CzekaNaLaczenie());
    }
    QTRY_VERIFY_WITH_TIMEOUT(!s.okno.powody.isEmpty(), 10000);
    QCOMPARE(s.okno.powody.first(), powod);
    QCOMPARE(s.okno.hosty.first(), host);
    QCOMPARE(s.sesja->PowodRozlaczenia(), powod);
    QVERIFY(s.sesja->CzekaNaLaczenie());
    QVERIFY(!s.sesja->Zalogowany());
    // Later reports of the same attempt (the socket's closed event after its error) agree.
    QTest::qWait(50);
    for (TPowodRozlaczenia p : s.okno.powody)
      QCOMPARE(p, powod);
  }

  // A lost connection after a login is "dropped", and the next login clears it, reached at once
  // with "Połącz teraz" instead of after the minute's delay.
  void zerwaneIPolaczTeraz()
  {
    TStanowisko s;
    s.sesja->Start(1234, QStringLiteral("haslo"));
    QTRY_VERIFY_WITH_TIMEOUT(s.sesja->Zalogowany(), 10000);
    QCOMPARE(s.okno.powody, QList<TPowodRozlaczenia>{TPowodRozlaczenia::Zalogowano});

    // While connected there is nothing to cut short.
    QVERIFY(!s.sesja->PolaczTeraz());

    s.gg.Rozlacz();
    QTRY_COMPARE_WITH_TIMEOUT(s.okno.powody.size(), 2, 10000);
    QCOMPARE(s.okno.powody.last(), TPowodRozlaczenia::ZerwanePolaczenie);
    QVERIFY(s.sesja->CzekaNaLaczenie());

    // Released button: the delay is left alone.
    s.okno.wcisniety = false;
    QVERIFY(!s.sesja->PolaczTeraz());
    QVERIFY(s.sesja->CzekaNaLaczenie());
    s.okno.wcisniety = true;

    QVERIFY(s.sesja->PolaczTeraz());
    QVERIFY(!s.sesja->CzekaNaLaczenie());
    QTRY_VERIFY_WITH_TIMEOUT(s.sesja->Zalogowany(), 10000);
    QCOMPARE(s.okno.powody.last(), TPowodRozlaczenia::Zalogowano);
    QCOMPARE(s.sesja->PowodRozlaczenia(), TPowodRozlaczenia::Zalogowano);
    QCOMPARE(s.http.Zapytania().size(), 2);
    QCOMPARE(s.gg.Polaczenia(), 2);
  }
};

PAPLANKI_TEST_MAIN(TestSesjaRozlaczenie)
#include "test_SesjaRozlaczenie.moc"
