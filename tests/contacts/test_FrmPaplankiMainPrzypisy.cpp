// Per-contact notes: the file format, the notes command of the main window and its dialog.

#include "app/Lokalizacje.h"
#include "common/OknoGlowne.h"
#include "common/Srodowisko.h"
#include "contacts/Przypisy.h"
#include "contacts/ui/ProfileFrm.h"
#include "net/Blad.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <memory>

namespace {

QString KatalogPrzypisow()
{
  return KatalogDanych(QStringLiteral("Paplanki (GG)")) + QStringLiteral("/Przypisy");
}

QByteArray Zawartosc(const QString &plik)
{
  QFile f(plik);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<brak>");
}

void Zapisz(const QString &plik, const QByteArray &dane)
{
  QDir().mkpath(QFileInfo(plik).absolutePath());
  QFile f(plik);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(dane);
}

} // namespace

class TestFrmPaplankiMainPrzypisy : public QObject {
  Q_OBJECT

  std::unique_ptr<TOknoGlowneTestowe> m_okno;
  TWezel *m_kontakt = nullptr;

  // Runs the notes command; `wDialogu` acts on the open dialog and closes it. Returns whether
  // the dialog was shown, with the memo's text as it was shown.
  bool Edytuj(const std::function<void(TProfileFrm *)> &wDialogu, QString *pokazany = nullptr)
  {
    bool pokazano = false;
    OdpowiedzNaOknoModalne(
        [&](QWidget *okno) {
          pokazano = okno == ProfileFrm;
          if (pokazany)
            *pokazany = ProfileFrm->Memo1->toPlainText();
          wDialogu(ProfileFrm);
        },
        500);
    m_okno->EdytujPrzypisy();
    QTest::qWait(pokazano ? 0 : 600); // not shown: time for a dialog that must not come
    return pokazano;
  }

private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    ProfileFrm = new TProfileFrm;
  }
  void cleanupTestCase()
  {
    delete ProfileFrm;
    ProfileFrm = nullptr;
  }
  void init()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    QDir(KatalogPrzypisow()).removeRecursively();
    QFile::remove(KatalogPrzypisow());
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    // The label plays no part in the file's name.
    m_kontakt = m_okno->Drzewo.DodajUzytkownika(123, QString(), QString(), QString(), QString(),
                                                QStringLiteral("../../Ala"), 3);
    m_okno->WybranyWezel = m_kontakt;
    ProfileFrm->Memo1->setPlainText(QStringLiteral("stare"));
  }
  void cleanup() { m_okno.reset(); }

  void czytanie_data()
  {
    QTest::addColumn<QByteArray>("plik");
    QTest::addColumn<QStringList>("linie");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n")
                           << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("bez końca") << QByteArray("a\r\nb")
                               << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("LF") << QByteArray("a\nb\n")
                        << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("CR") << QByteArray("a\rb\r")
                        << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("pusty") << QByteArray() << QStringList();
    QTest::newRow("puste linie") << QByteArray("a\r\n\r\n\n")
                                 << QStringList{QStringLiteral("a"), QStringLiteral(""),
                                                QStringLiteral("")};
    QTest::newRow("LF CR to dwa końce")
        << QByteArray("a\n\rb")
        << QStringList{QStringLiteral("a"), QStringLiteral(""), QStringLiteral("b")};
    QTest::newRow("polskie litery")
        << QByteArray("zażółć\r\ngęślą")
        << QStringList{QStringLiteral("zażółć"), QStringLiteral("gęślą")};
  }
  void czytanie()
  {
    QFETCH(QByteArray, plik);
    QFETCH(QStringList, linie);
    const QString sciezka = KatalogTestowy() + QStringLiteral("/czytanie");
    Zapisz(sciezka, plik);
    QCOMPARE(CzytajPrzypisy(sciezka), linie);
  }

  void zapisKonczyKazdaLinieCrLf()
  {
    const QString plik = KatalogTestowy() + QStringLiteral("/a/b/c/456");
    ZapiszPrzypisy(plik, {QStringLiteral("jeden"), QString(), QStringLiteral("żółw")});
    QCOMPARE(Zawartosc(plik), QByteArray("jeden\r\n\r\nżółw\r\n"));
    ZapiszPrzypisy(plik, {});
    QCOMPARE(Zawartosc(plik), QByteArray());
    QCOMPARE(LinieTekstu(QString()), QStringList());
    QCOMPARE(LinieTekstu(QStringLiteral("a\n")),
             (QStringList{QStringLiteral("a"), QStringLiteral("")}));
    QCOMPARE(CzytajPrzypisy(plik), QStringList());
    QVERIFY_THROWS_EXCEPTION(EBlad, CzytajPrzypisy(plik + QStringLiteral("-brak")));
  }

  void dialog()
  {
    QCOMPARE(ProfileFrm->windowTitle(), QStringLiteral("Profil użytkownika"));
    QCOMPARE(ProfileFrm->Label1->text(), QStringLiteral("Opis użytkownika"));
    QCOMPARE(ProfileFrm->Label1->buddy(), ProfileFrm->Memo1);
    QCOMPARE(ProfileFrm->OkBtn->text(), QStringLiteral("OK"));
    QCOMPARE(ProfileFrm->AnulujBtn->text(), QStringLiteral("Anuluj"));
  }

  void zapisIOdczyt()
  {
    const QString plik = KatalogPrzypisow() + QStringLiteral("/123");
    QString pokazany;
    QVERIFY(Edytuj(
        [](TProfileFrm *d) {
          d->Memo1->setPlainText(QStringLiteral("pierwsza\ndruga"));
          d->OkBtn->click();
        },
        &pokazany));
    QCOMPARE(pokazany, QString()); // no file yet: the memo starts empty
    QCOMPARE(Zawartosc(plik), QByteArray("pierwsza\r\ndruga\r\n"));
    QCOMPARE(QDir(KatalogPrzypisow()).entryList(QDir::Files), QStringList{QStringLiteral("123")});

    ProfileFrm->Memo1->clear();
    QVERIFY(Edytuj(
        [](TProfileFrm *d) {
          d->Memo1->setPlainText(QStringLiteral("porzucone"));
          d->AnulujBtn->click();
        },
        &pokazany));
    QCOMPARE(pokazany, QStringLiteral("pierwsza\ndruga"));
    QCOMPARE(Zawartosc(plik), QByteArray("pierwsza\r\ndruga\r\n"));
  }

  void nieudanyOdczytCzysciNotatnik()
  {
    // A folder where the file should be cannot be read as one.
    QVERIFY(QDir().mkpath(KatalogPrzypisow() + QStringLiteral("/123")));
    QString pokazany = QStringLiteral("?");
    QVERIFY(Edytuj([](TProfileFrm *d) { d->AnulujBtn->click(); }, &pokazany));
    QCOMPARE(pokazany, QString());
  }

  void nieudanyZapisToBlad()
  {
    // "Przypisy" is a file: the folder cannot be made.
    Zapisz(KatalogPrzypisow(), "x");
    OdpowiedzNaOknoModalne([](QWidget *) { ProfileFrm->OkBtn->click(); }, 500);
    QVERIFY_THROWS_EXCEPTION(EBlad, m_okno->EdytujPrzypisy());
    QCOMPARE(Zawartosc(KatalogPrzypisow()), QByteArray("x"));
  }

  void tylkoDlaKontaktu_data()
  {
    QTest::addColumn<bool>("wiadomosc");
    QTest::newRow("bez celu") << false;
    QTest::newRow("wiadomość") << true;
  }
  void tylkoDlaKontaktu()
  {
    QFETCH(bool, wiadomosc);
    m_okno->WybranyWezel =
        wiadomosc ? DodajWypowiedz(m_okno->Drzewo, m_kontakt, QStringLiteral("x"), 123) : nullptr;
    QVERIFY(!Edytuj([](TProfileFrm *d) { d->OkBtn->click(); }));
    QVERIFY(!QDir(KatalogPrzypisow()).exists());
  }
};

PAPLANKI_TEST_MAIN(TestFrmPaplankiMainPrzypisy)
#include "test_FrmPaplankiMainPrzypisy.moc"
