#include "app/Komunikaty.h"
#include "app/Lokalizacje.h"
#include "app/Polozenie.h"
#include "app/Sciezki.h"
#include "app/ui/FormaBezdokumentowaPozycjonowana.h"
#include "app/ui/PodgladPomocy.h"
#include "app/ui/StanAplikacji.h"
#include "common/OknaPowloki.h"
#include "common/Srodowisko.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <memory>

using TWartosci = QList<QPair<QString, QString>>;

namespace {

class TFormaZPanelami : public TFormaStandardowa {
public:
  TFormaZPanelami() : TFormaStandardowa({120, 80, 0}, nullptr) {}
};

class TOdbiorcaAdresow : public QObject {
  Q_OBJECT
public:
  QList<QUrl> Adresy;
  Q_INVOKABLE void Otworz(const QUrl &adres) { Adresy << adres; }
};

QString PlikUstawien()
{
  return SciezkaUstawien(QStringLiteral("Paplanki (GG)"));
}

void ZapiszUstawienia(const QList<QPair<QString, QString>> &wartosci)
{
  QSettings s(PlikUstawien(), QSettings::IniFormat);
  s.beginGroup(QStringLiteral("StareRozmiary"));
  for (const auto &[klucz, wartosc] : wartosci)
    s.setValue(klucz, wartosc);
}

QSize Ekran()
{
  return QGuiApplication::primaryScreen()->geometry().size();
}

} // namespace

class TestForma : public QObject {
  Q_OBJECT

private slots:
  void initTestCase()
  {
    // Nobody listens there: the update check of every window fails at once.
    qputenv("PAPLANKI_WITRYNA", "http://127.0.0.1:1/");
    qputenv("PAPLANKI_LICZNIK", "http://127.0.0.1:1/");
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
  }
  void init() { QFile::remove(PlikUstawien()); }

  void skladnikiMenu_data()
  {
    QTest::addColumn<QString>("nazwa");
    QTest::addColumn<QString>("tytul");
    QTest::addColumn<QString>("podpowiedz");
    QTest::addColumn<QKeySequence>("skrot");
    QTest::newRow("FileMenu") << "FileMenu"
                              << "&?"
                              << "Instalowanie nowego oprogramowania" << QKeySequence();
    QTest::newRow("FileExitItem") << "FileExitItem"
                                  << "&Zamknij"
                                  << "Zamknięcie" << QKeySequence(QStringLiteral("Alt+X"));
    QTest::newRow("Help1") << "Help1"
                           << "Pomo&c"
                           << "Informacje pomocnicze" << QKeySequence();
    QTest::newRow("Contents1") << "Contents1"
                               << "Tematy &Pomocy"
                               << "Pomoc główna" << QKeySequence(QStringLiteral("F1"));
    QTest::newRow("Temmenu1") << "Temmenu1"
                              << "Użycie Pomocy"
                              << "Informacje o użyciu pomocy" << QKeySequence();
    QTest::newRow("Telefon1") << "Telefon1"
                              << "&Telefon"
                              << "Wykręcenie numeru telefonu do autora" << QKeySequence();
    QTest::newRow("Poczta1") << "Poczta1"
                             << "Poczta"
                             << "Wysłanie poczty elektronicznej do autora" << QKeySequence();
    QTest::newRow("Hipertekst1") << "Hipertekst1"
                                 << "Hipertekst"
                                 << "Podgląd strony hipertekstowej autora" << QKeySequence();
    QTest::newRow("Uaktualnienie1") << "Uaktualnienie1"
                                    << "&Uaktualnienie"
                                    << "Uaktualnienie z internetu" << QKeySequence();
    QTest::newRow("AboutItem") << "AboutItem"
                               << "Windows - &informacje"
                               << "O programie Paplanki (GG)..."
                               << QKeySequence(QStringLiteral("Ctrl+Return"));
  }
  void skladnikiMenu()
  {
    QFETCH(QString, nazwa);
    QFETCH(QString, tytul);
    QFETCH(QString, podpowiedz);
    QFETCH(QKeySequence, skrot);
    TFormaBezdokumentowa forma;
    QAction *a = forma.findChild<QAction *>(nazwa);
    if (!a)
      if (auto menu = forma.findChild<QMenu *>(nazwa))
        a = menu->menuAction();
    QVERIFY(a);
    QCOMPARE(a->text(), tytul);
    QCOMPARE(a->statusTip(), podpowiedz);
    QCOMPARE(a->shortcut(), skrot);
  }

  void ukladMenuIPaska()
  {
    TFormaStandardowa forma;
    const auto nazwy = [](QWidget *w) {
      QStringList wynik;
      for (QAction *a : w->actions())
        wynik << (a->menu() ? a->menu()->objectName() : a->objectName());
      return wynik;
    };
    QCOMPARE(nazwy(forma.MainMenu),
             (QStringList{QStringLiteral("FileMenu"), QStringLiteral("Help1")}));
    QCOMPARE(nazwy(forma.FileMenu),
             (QStringList{QStringLiteral("N3"), QStringLiteral("FileExitItem")}));
    QCOMPARE(nazwy(forma.Help1),
             (QStringList{QStringLiteral("Contents1"), QStringLiteral("Temmenu1"),
                          QStringLiteral("N4"), QStringLiteral("Telefon1"),
                          QStringLiteral("Poczta1"), QStringLiteral("Hipertekst1"),
                          QStringLiteral("N6"), QStringLiteral("Uaktualnienie1"),
                          QStringLiteral("N5"), QStringLiteral("AboutItem")}));
    for (const char *s : {"N3", "N4", "N5", "N6"})
      QVERIFY(forma.findChild<QAction *>(QLatin1String(s))->isSeparator());

    QCOMPARE(forma.windowTitle(), QStringLiteral("Paplanki (GG)"));
    QCOMPARE(StanAplikacji().Tytul(), QStringLiteral("Paplanki (GG)"));
    QCOMPARE(forma.size(), QSize(544, 375));
    QCOMPARE(forma.MainToolbar->windowTitle(), QStringLiteral("Main"));
    QCOMPARE(forma.toolBarArea(forma.MainToolbar), Qt::TopToolBarArea);
    QCOMPARE(forma.ExitBtn->text(), QStringLiteral("Zamknij"));
    QCOMPARE(forma.ExitBtn->toolTip(), QStringLiteral("Zamknij"));
    QVERIFY(!forma.ExitBtn->icon().isNull());
    QVERIFY(forma.StatusBar1->TrybProsty());
    QCOMPARE(forma.StatusBar1->TekstProsty(), forma.PrawaAutorskie());
    QVERIFY(!forma.PrawaAutorskie().isEmpty());
    QVERIFY(forma.Uaktualnienie1->isEnabled());
    QCOMPARE(forma.WersjaProduktu(), (quint64(5) << 48) | 67);
    QVERIFY(!forma.BlokWersji().isEmpty());
  }

  void zamkniecie()
  {
    for (int sposob = 0; sposob < 2; ++sposob) {
      TFormaStandardowa forma;
      forma.show();
      QSignalSpy zamknieto(&forma, &TFormaStandardowa::Zamknieto);
      if (sposob == 0)
        forma.ExitBtn->click();
      else
        forma.FileExitItem->trigger();
      QVERIFY(!forma.isVisible());
      QCOMPARE(zamknieto.count(), 1);
    }
  }

  // The hint handler belongs to the frame created last; an empty hint shows the legal notice.
  void podpowiedzi()
  {
    TFormaStandardowa pierwsza;
    auto druga = std::make_unique<TFormaStandardowa>();
    QCOMPARE(StanAplikacji().WlascicielPodpowiedzi(), druga.get());

    pierwsza.Contents1->showStatusText(&pierwsza);
    QCOMPARE(druga->StatusBar1->TekstProsty(), QStringLiteral("Pomoc główna"));
    QCOMPARE(pierwsza.StatusBar1->TekstProsty(), pierwsza.PrawaAutorskie());

    QStatusTipEvent pusty{QString()};
    QCoreApplication::sendEvent(pierwsza.ExitBtn, &pusty);
    QCOMPARE(druga->StatusBar1->TekstProsty(), druga->PrawaAutorskie());

    druga.reset();
    QVERIFY(StanAplikacji().WlascicielPodpowiedzi() == nullptr);
    pierwsza.Telefon1->showStatusText(&pierwsza);
    QCOMPARE(StanAplikacji().Podpowiedz(), QStringLiteral("Wykręcenie numeru telefonu do autora"));
    QCOMPARE(pierwsza.StatusBar1->TekstProsty(), pierwsza.PrawaAutorskie());
  }

  void panele()
  {
    TFormaZPanelami forma;
    QVERIFY(!forma.StatusBar1->TrybProsty());
    QCOMPARE(forma.StatusBar1->LiczbaPaneli(), 3);
    forma.StatusBar1->UstawTekstPanelu(2, QStringLiteral("Połączono"));
    QCOMPARE(forma.StatusBar1->Panel(2)->text(), QStringLiteral("Połączono"));
    QCOMPARE(forma.StatusBar1->Panel(0)->width(), 120);
    QVERIFY(forma.StatusBar1->findChild<QLabel *>(QStringLiteral("TekstProsty"))->isHidden());
    QVERIFY(forma.StatusBar1->Panel(3) == nullptr);
  }

  void oProgramie()
  {
    TFormaStandardowa forma;
    auto odczyt = OdpowiedzNaKomunikat();
    forma.AboutItem->trigger();
    QVERIFY(odczyt->Pokazany);
    QCOMPARE(odczyt->Tytul, QStringLiteral("O programie Paplanki (GG)..."));
    QCOMPARE(odczyt->Tekst,
             QStringLiteral("Paplanki (GG) wersja 5.00.00.67\n") + forma.PrawaAutorskie());
  }

  void komunikatFormy()
  {
    TFormaStandardowa forma;
    auto odczyt = OdpowiedzNaKomunikat(QStringLiteral("&Nie"));
    QCOMPARE(forma.PokazKomunikat(QStringLiteral("Usunąć?"), QStringLiteral("Zapytanie"),
                                  Komunikat::PrzyciskiTakNie | Komunikat::IkonaPytania),
             Komunikat::WynikNie);
    QCOMPARE(odczyt->Tytul, QStringLiteral("Paplanki (GG) - Zapytanie"));
    QCOMPARE(odczyt->Tekst, QStringLiteral("Usunąć?"));
  }

  void pomoc_data()
  {
    QTest::addColumn<QString>("rozszerzenie");
    QTest::newRow("brak pliku") << QString();
    QTest::newRow("html") << QStringLiteral(".html");
    QTest::newRow("txt") << QStringLiteral(".txt");
    QTest::newRow("oba: html wygrywa") << QStringLiteral("oba");
  }
  void pomoc()
  {
    QFETCH(QString, rozszerzenie);
    const QString html = NazwaPlikuPomocy(SciezkaProgramu(), QStringLiteral(".html"));
    const QString txt = NazwaPlikuPomocy(SciezkaProgramu(), QStringLiteral(".txt"));
    QVERIFY(html.endsWith(QStringLiteral("app_test_FormaPLK.html")));
    const auto utworz = [](const QString &p) {
      QFile f(p);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("Pomoc programu\n");
    };
    if (rozszerzenie == QStringLiteral(".html") || rozszerzenie == QStringLiteral("oba"))
      utworz(html);
    if (rozszerzenie == QStringLiteral(".txt") || rozszerzenie == QStringLiteral("oba"))
      utworz(txt);
    const auto sprzatanie = qScopeGuard([&] {
      QFile::remove(html);
      QFile::remove(txt);
    });
    TOdbiorcaAdresow odbiorca;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &odbiorca, "Otworz");
    const auto bezObslugi =
        qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); });

    auto forma = std::make_unique<TFormaBezdokumentowa>();
    // The program file carries no extension, as a program here does: F1 stays.
    QCOMPARE(forma->Contents1->shortcut(), QKeySequence(Qt::Key_F1));
    if (rozszerzenie.isEmpty()) {
      QVERIFY(!forma->Contents1->isEnabled());
      QVERIFY(StanAplikacji().PlikPomocy().isEmpty());
      forma->Temmenu1->trigger();
      QVERIFY(odbiorca.Adresy.isEmpty());
      return;
    }
    QVERIFY(forma->Contents1->isEnabled());
    if (rozszerzenie == QStringLiteral(".txt")) {
      QCOMPARE(StanAplikacji().PlikPomocy(), txt);
      forma->Contents1->trigger();
      auto podglad = QApplication::topLevelWidgets();
      TPodgladPomocy *okno = nullptr;
      for (QWidget *w : podglad)
        if (auto p = qobject_cast<TPodgladPomocy *>(w); p && p->isVisible())
          okno = p;
      QVERIFY(okno);
      QCOMPARE(okno->Tekst(), QStringLiteral("Pomoc programu\n"));
      QPointer<TPodgladPomocy> straz(okno);
      forma->close();
      QTRY_VERIFY(straz.isNull());
      QVERIFY(odbiorca.Adresy.isEmpty());
      return;
    }
    QCOMPARE(StanAplikacji().PlikPomocy(), html);
    forma->Contents1->trigger();
    forma->Temmenu1->trigger();
    forma->close();
    QCOMPARE(odbiorca.Adresy, (QList<QUrl>{QUrl::fromLocalFile(html), QUrl::fromLocalFile(html)}));
  }

  void rejestry()
  {
    TFormaBezdokumentowa forma;
    QVERIFY(forma.RejestrOkna() && forma.RejestrUstawien());
    QVERIFY(forma.RejestrOkna() != forma.RejestrUstawien());
    QCOMPARE(forma.RejestrOkna()->fileName(), PlikUstawien());
    QCOMPARE(forma.RejestrUstawien()->fileName(), PlikUstawien());
    QCOMPARE(forma.RejestrOkna()->format(), QSettings::IniFormat);
  }

  void naEkranie_data()
  {
    QTest::addColumn<QRect>("okno");
    QTest::addColumn<QSize>("ekran");
    QTest::addColumn<QPoint>("polozenie");
    const QSize ekran(1024, 768);
    QTest::newRow("domyślne") << QRect(-1, -1, 522, 342) << ekran << QPoint(0, 0);
    QTest::newRow("w środku") << QRect(100, 200, 522, 342) << ekran << QPoint(100, 200);
    QTest::newRow("za prawą krawędzią") << QRect(5000, 10, 522, 342) << ekran << QPoint(502, 10);
    QTest::newRow("za dolną krawędzią") << QRect(0, 700, 522, 342) << ekran << QPoint(0, 426);
    QTest::newRow("dokładnie do krawędzi")
        << QRect(502, 426, 522, 342) << ekran << QPoint(502, 426);
    QTest::newRow("większe od ekranu") << QRect(300, 300, 2000, 1000) << ekran << QPoint(0, 0);
    QTest::newRow("ujemne") << QRect(-300, -5, 522, 342) << ekran << QPoint(0, 0);
  }
  void naEkranie()
  {
    QFETCH(QRect, okno);
    QFETCH(QSize, ekran);
    QFETCH(QPoint, polozenie);
    const QRect r = NaEkranie(okno, ekran);
    QCOMPARE(r.topLeft(), polozenie);
    QCOMPARE(r.size(), okno.size());
  }

  void odczytPolozenia_data()
  {
    QTest::addColumn<TWartosci>("zapisane");
    QTest::addColumn<QList<int>>("odczytane"); // height, width, left, top, state
    using L = TWartosci;
    QTest::newRow("pierwsze uruchomienie") << L{} << QList<int>{342, 522, -1, -1, 0};
    QTest::newRow("wszystko") << L{{QStringLiteral("Wysokość"), QStringLiteral("400")},
                                   {QStringLiteral("Szerokość"), QStringLiteral("600")},
                                   {QStringLiteral("OdLewej"), QStringLiteral("10")},
                                   {QStringLiteral("OdGóry"), QStringLiteral("20")},
                                   {QStringLiteral("StanOkna"), QStringLiteral("2")}}
                              << QList<int>{400, 600, 10, 20, 2};
    QTest::newRow("wysokość nie liczbą") << L{{QStringLiteral("Wysokość"), QStringLiteral("")},
                                              {QStringLiteral("Szerokość"), QStringLiteral("600")}}
                                         << QList<int>{342, 600, -1, -1, 0};
    QTest::newRow("śmieci") << L{{QStringLiteral("Wysokość"), QStringLiteral("40x")},
                                 {QStringLiteral("OdLewej"), QStringLiteral("1.5")},
                                 {QStringLiteral("StanOkna"), QStringLiteral("dwa")}}
                            << QList<int>{342, 522, -1, -1, 0};
  }
  void odczytPolozenia()
  {
    QFETCH(TWartosci, zapisane);
    QFETCH(QList<int>, odczytane);
    ZapiszUstawienia(zapisane);
    QSettings s(PlikUstawien(), QSettings::IniFormat);
    const TPolozenieOkna p = CzytajPolozenie(s);
    QCOMPARE((QList<int>{p.Wysokosc, p.Szerokosc, p.OdLewej, p.OdGory, p.StanOkna}), odczytane);
  }

  void pierwszeUruchomienie()
  {
    TFormaBezdokumentowaPozycjonowana forma;
    QCOMPARE(forma.pos(), QPoint(0, 0));
    QCOMPARE(forma.size(), QSize(522, 342));
    QCOMPARE(forma.windowState(), Qt::WindowNoState);
  }

  void lewaKrawedzPozaEkranem()
  {
    ZapiszUstawienia({{QStringLiteral("OdLewej"), QStringLiteral("5000")},
                      {QStringLiteral("OdGóry"), QStringLiteral("30")},
                      {QStringLiteral("Wysokość"), QStringLiteral("nie liczba")}});
    TFormaBezdokumentowaPozycjonowana forma;
    QCOMPARE(forma.pos(), QPoint(Ekran().width() - 522, 30));
    QCOMPARE(forma.size(), QSize(522, 342));
  }

  void zapisIOdtworzenie()
  {
    {
      TFormaBezdokumentowaPozycjonowana forma;
      forma.move(40, 60);
      forma.resize(500, 300);
      forma.show();
      QVERIFY(QTest::qWaitForWindowExposed(&forma));
      forma.close();
    }
    QSettings s(PlikUstawien(), QSettings::IniFormat);
    QCOMPARE(CzytajPolozenie(s), (TPolozenieOkna{300, 500, 40, 60, 0}));
    TFormaBezdokumentowaPozycjonowana znowu;
    QCOMPARE(znowu.pos(), QPoint(40, 60));
    QCOMPARE(znowu.size(), QSize(500, 300));
  }

  void zmaksymalizowaneZGranicamiNormalnymi()
  {
    {
      TFormaBezdokumentowaPozycjonowana forma;
      forma.move(40, 60);
      forma.resize(500, 300);
      forma.show();
      QVERIFY(QTest::qWaitForWindowExposed(&forma));
      forma.showMaximized();
      QTRY_VERIFY(forma.size() != QSize(500, 300));
      forma.close();
    }
    QSettings s(PlikUstawien(), QSettings::IniFormat);
    QCOMPARE(CzytajPolozenie(s), (TPolozenieOkna{300, 500, 40, 60, 2}));

    TFormaBezdokumentowaPozycjonowana znowu;
    QVERIFY(znowu.windowState().testFlag(Qt::WindowMaximized));
    znowu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&znowu));
    QVERIFY(znowu.isMaximized());
    znowu.showNormal();
    QTRY_COMPARE(znowu.size(), QSize(500, 300));
    QCOMPARE(znowu.pos(), QPoint(40, 60));
  }

  void zminimalizowane()
  {
    ZapiszUstawienia({{QStringLiteral("StanOkna"), QStringLiteral("1")}});
    TFormaBezdokumentowaPozycjonowana forma;
    QVERIFY(forma.windowState().testFlag(Qt::WindowMinimized));
  }
};

PAPLANKI_TEST_MAIN(TestForma)
#include "test_Forma.moc"
