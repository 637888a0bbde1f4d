#include "app/Komunikaty.h"
#include "app/ui/Powloka.h"
#include "common/KontaktyTestowe.h"
#include "common/Srodowisko.h"
#include "contacts/BazaKontaktow.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/KsiazkaAdresowa.h"
#include "contacts/Rejestr.h"
#include "contacts/Ustawienia.h"
#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"
#include "gg/ListaKontaktow.h"
#include "gg/Pakiety.h"
#include "net/Blad.h"
#include "net/Gniazdo.h"
#include "program/KomendyKontaktow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

namespace {

const QString kProdukt = QStringLiteral("Paplanki (GG)");

QByteArray Powiadomienie(qint32 numer, qint32 typ)
{
  QByteArray b;
  for (const qint32 v : {numer, typ})
    for (int i = 0; i < 4; ++i)
      b += char((quint32(v) >> (8 * i)) & 0xFF);
  return b;
}

// Everything the main window hands to the contact commands, on files of its own.
struct TOkno {
  QTemporaryDir katalog;
  QString dane = katalog.filePath(QStringLiteral("dane"));
  QSettings rejestr;
  TUstawienia ustawienia;
  TDrzewo drzewo;
  TBazaKontaktow baza;
  TGniazdo ggSck;
  TNadawcaGniazda nadawca{ggSck};
  TBuforListy buforListy;
  TWskaznikWezla wybrany;
  QStringList komunikaty; // caption | text | style
  TKomendyKontaktow komendy;
  int bledyGniazda = 0;

  explicit TOkno(const QByteArray &konfiguracja = QByteArray(),
                 const QByteArray &vcf = QByteArray())
      : rejestr(Plik(katalog, konfiguracja), QSettings::IniFormat), ustawienia(rejestr, dane),
        baza(rejestr, dane),
        komendy(
            drzewo, ustawienia, baza, nadawca, buforListy, [this] { return wybrany.get(); },
            [this](const QString &tekst, const QString &naglowek, int styl) {
              komunikaty << naglowek + u'|' + tekst + u'|' + QString::number(styl);
              return PokazKomunikatProgramu(nullptr, kProdukt, tekst, styl, naglowek);
            })
  {
    QDir().mkpath(dane);
    if (!vcf.isNull()) {
      QFile plik(SciezkaKsiazkiAdresowej(dane));
      if (plik.open(QIODevice::WriteOnly))
        plik.write(vcf);
    }
    ggSck.OnError = [this](TGniazdo *) { ++bledyGniazda; };
  }

  static QString Plik(const QTemporaryDir &katalog, const QByteArray &tresc)
  {
    const QString sciezka = katalog.filePath(QStringLiteral("r.conf"));
    QFile plik(sciezka);
    if (plik.open(QIODevice::WriteOnly))
      plik.write(tresc);
    return sciezka;
  }

  QString Tekst(int numer, const char *nazwa)
  {
    return CzytajTekst(rejestr, QStringLiteral("Sledzeni/%1").arg(numer),
                       QString::fromLatin1(nazwa), QStringLiteral("<brak>"));
  }
  bool MaKlucz(int numer)
  {
    return IstniejeSekcja(rejestr, QStringLiteral("Sledzeni/%1").arg(numer));
  }
  QStringList Podpisy() const
  {
    QStringList p;
    for (int i = 0; i < drzewo.LiczbaGlownych(); ++i)
      p << drzewo.Glowny(i)->Tekst();
    return p;
  }
};

// Answers the contact dialog: records what it showed, then types and presses a button.
struct TOdpowiedzDialogu {
  QStringList pokazane; // Numer, Imie, Nazwisko, Telefon, Email, Opis
  bool pokazany = false;

  void Zaprogramuj(const QString &numer, bool ok, const QString &opis = QString())
  {
    OdpowiedzNaOknoModalne([this, numer, ok, opis](QWidget *w) {
      auto *d = qobject_cast<TFrmPaplankiDaneUzytkownika *>(w);
      if (!d) {
        w->close();
        return;
      }
      pokazany = true;
      pokazane = {d->NumerEd->text(),   d->ImieEd->text(),  d->NazwiskoEd->text(),
                  d->TelefonEd->text(), d->EmailEd->text(), d->OpisEd->text()};
      if (!numer.isNull())
        d->NumerEd->setText(numer);
      if (!opis.isNull())
        d->OpisEd->setText(opis);
      (ok ? d->OkBtn : d->AnulujBtn)->click();
    });
  }
};

void OdpowiedzNaPytanie(QMessageBox::StandardButton przycisk, QString *tytul = nullptr,
                        QString *tekst = nullptr, int *ikona = nullptr, int *przyciskow = nullptr)
{
  OdpowiedzNaOknoModalne([=](QWidget *w) {
    auto *m = qobject_cast<QMessageBox *>(w);
    if (!m) {
      w->close();
      return;
    }
    if (tytul)
      *tytul = m->windowTitle();
    if (tekst)
      *tekst = m->text();
    if (ikona)
      *ikona = m->icon();
    if (przyciskow)
      *przyciskow = int(m->buttons().size());
    m->button(przycisk)->click();
  });
}

} // namespace

class TestKomendyKontaktow : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { FrmPaplankiDaneUzytkownika = new TFrmPaplankiDaneUzytkownika; }
  void cleanupTestCase()
  {
    delete FrmPaplankiDaneUzytkownika;
    FrmPaplankiDaneUzytkownika = nullptr;
  }

  void dialog()
  {
    TFrmPaplankiDaneUzytkownika &d = *FrmPaplankiDaneUzytkownika;
    QCOMPARE(d.windowTitle(), QStringLiteral("Dane użytkownika"));
    QCOMPARE(d.size(), QSize(256, 300));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    const QList<std::pair<QLabel *, QLineEdit *>> pary = {
        {d.NumerLb, d.NumerEd},     {d.ImieLb, d.ImieEd},   {d.NazwiskoLb, d.NazwiskoEd},
        {d.TelefonLb, d.TelefonEd}, {d.EmailLb, d.EmailEd}, {d.OpisLb, d.OpisEd}};
    QStringList etykiety;
    for (const auto &[etykieta, pole] : pary) {
      etykiety << etykieta->text();
      QCOMPARE(etykieta->buddy(), pole);
    }
    QCOMPARE(etykiety, (QStringList{QStringLiteral("&Numer"), QStringLiteral("&Imię"),
                                    QStringLiteral("&Nazwisko"), QStringLiteral("&Telefon"),
                                    QStringLiteral("&Email"), QStringLiteral("&Opis")}));
    QCOMPARE(d.AnulujBtn->text(), QStringLiteral("Anuluj"));

    // Tab order: names, phone, e-mail, OK, Anuluj, then number and label.
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.focusWidget(), d.ImieEd);
    const QList<QWidget *> kolejnosc = {d.ImieEd,    d.NazwiskoEd, d.TelefonEd, d.EmailEd, d.OkBtn,
                                        d.AnulujBtn, d.NumerEd,    d.OpisEd,    d.ImieEd};
    QWidget *w = d.ImieEd;
    for (qsizetype i = 1; i < kolejnosc.size(); ++i) {
      do
        w = w->nextInFocusChain();
      while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible());
      QCOMPARE(w, kolejnosc[i]);
    }
    // An accelerator focuses its edit.
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QTest::keyClick(&d, Qt::Key_T, Qt::AltModifier);
    QCOMPARE(d.focusWidget(), d.TelefonEd);
    QTest::keyClick(&d, Qt::Key_O, Qt::AltModifier);
    QCOMPARE(d.focusWidget(), d.OpisEd);
    d.hide();
  }

  void dodanieZUstawieniamiWstepnymi_data()
  {
    QTest::addColumn<bool>("polaczony");
    QTest::addColumn<QString>("numer");
    QTest::addColumn<int>("wynik");
    QTest::newRow("12345 z połączeniem") << true << "12345" << 12345;
    QTest::newRow("12345 bez połączenia") << false << "12345" << 12345;
    QTest::newRow("zostawione 0") << true << QString() << 0;
    QTest::newRow("ujemny z odstępami") << true << " -7 " << -7;
  }
  void dodanieZUstawieniamiWstepnymi()
  {
    QFETCH(bool, polaczony);
    QFETCH(QString, numer);
    QFETCH(int, wynik);
    TOkno o;
    o.drzewo.DodajUzytkownika(1, {}, {}, {}, {}, QStringLiteral("pierwszy"), 3);
    TSluchajacySerwerGG serwer;
    if (polaczony)
      QVERIFY(serwer.Polacz(o.ggSck));
    TOdpowiedzDialogu dialog;
    dialog.Zaprogramuj(numer, true);
    o.komendy.DodajSledzonego1Click();

    QCOMPARE(dialog.pokazane, (QStringList{QStringLiteral("0"), QStringLiteral("imię"),
                                           QStringLiteral("nazwisko"), QStringLiteral("telefon"),
                                           QStringLiteral("email"), QStringLiteral("opis")}));
    QCOMPARE(o.Podpisy(), (QStringList{QStringLiteral("pierwszy"), QStringLiteral("opis")}));
    TWezel *w = o.drzewo.Glowny(1);
    const TUzytkownik *u = w->DaneJako<TUzytkownik>();
    QVERIFY(u);
    QCOMPARE(u->Numer(), wynik);
    QCOMPARE(u->Imie, QStringLiteral("imię"));
    QCOMPARE(u->Nazwisko, QStringLiteral("nazwisko"));
    QCOMPARE(u->EMail, QStringLiteral("email"));
    QCOMPARE(u->Telefon, QStringLiteral("telefon"));
    QCOMPARE(u->Sledzony, 1);
    QVERIFY(o.drzewo.MaStanWezla(w, StanWezla::Wyciety));
    // The registry store got all five texts.
    QCOMPARE(o.Tekst(wynik, "Imie"), QStringLiteral("imię"));
    QCOMPARE(o.Tekst(wynik, "Opis"), QStringLiteral("opis"));
    QCOMPARE(o.Tekst(wynik, "Telefon"), QStringLiteral("telefon"));

    const QList<TPakietGG> pakiety = serwer.Zakoncz(o.ggSck);
    if (polaczony)
      QCOMPARE(pakiety, (QList<TPakietGG>{{0x0D, Powiadomienie(wynik, 1)}}));
    else
      QVERIFY(pakiety.isEmpty());
    QCOMPARE(o.bledyGniazda, 0);
    if (wynik == 12345 && polaczony)
      QCOMPARE(pakiety[0].cialo.toHex(' '), QByteArray("39 30 00 00 01 00 00 00"));
  }

  void dodanieZNieliczba()
  {
    TOkno o;
    TSluchajacySerwerGG serwer;
    QVERIFY(serwer.Polacz(o.ggSck));
    TOdpowiedzDialogu dialog;
    dialog.Zaprogramuj(QStringLiteral("12a"), true);
    QVERIFY_THROWS_EXCEPTION(EConvertError, o.komendy.DodajSledzonego1Click());
    QCOMPARE(o.drzewo.LiczbaGlownych(), 0);
    QVERIFY(!IstniejeSekcja(o.rejestr, QStringLiteral("Sledzeni")));
    QVERIFY(serwer.Zakoncz(o.ggSck).isEmpty());
  }

  void anulowanieDialogu()
  {
    TOkno o("[Sledzeni/100]\nOpis=sto\n");
    o.komendy.WczytajBaze();
    o.wybrany = o.drzewo.Glowny(0);
    TSluchajacySerwerGG serwer;
    QVERIFY(serwer.Polacz(o.ggSck));
    const QByteArray przed = [&] {
      QFile f(o.rejestr.fileName());
      return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    TOdpowiedzDialogu dodanie;
    dodanie.Zaprogramuj(QStringLiteral("5"), false);
    o.komendy.DodajSledzonego1Click();
    QVERIFY(dodanie.pokazany);
    TOdpowiedzDialogu edycja;
    edycja.Zaprogramuj(QStringLiteral("200"), false, QStringLiteral("nowy"));
    o.komendy.EdytujSledzonego1Click();
    QVERIFY(edycja.pokazany);
    QCOMPARE(edycja.pokazane,
             (QStringList{QStringLiteral("100"), QStringLiteral("100"), QStringLiteral("100"),
                          QStringLiteral("100"), QStringLiteral("100"), QStringLiteral("sto")}));

    QCOMPARE(o.Podpisy(), QStringList{QStringLiteral("sto")});
    QCOMPARE(o.drzewo.Glowny(0)->DaneJako<TUzytkownik>()->Numer(), 100);
    QFile f(o.rejestr.fileName());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), przed);
    QVERIFY(serwer.Zakoncz(o.ggSck).isEmpty());
  }

  void edycja_data()
  {
    QTest::addColumn<QString>("numer");
    QTest::addColumn<QList<TPakietGG>>("pakiety");
    QTest::newRow("bez zmian: usunięcie, potem dodanie")
        << QStringLiteral("100")
        << QList<TPakietGG>{{0x0E, Powiadomienie(100, 1)}, {0x0D, Powiadomienie(100, 1)}};
    QTest::newRow("100 na 200") << QStringLiteral("200")
                                << QList<TPakietGG>{{0x0E, Powiadomienie(100, 1)},
                                                    {0x0D, Powiadomienie(200, 1)}};
  }
  void edycja()
  {
    QFETCH(QString, numer);
    QFETCH(QList<TPakietGG>, pakiety);
    TOkno o("[Sledzeni/100]\nImie=Jan\nNazwisko=K\nEMail=e\nTelefon=t\nOpis=Janek\n"
            "Sledzony=1\n");
    o.komendy.WczytajBaze();
    TWezel *w = o.drzewo.Glowny(0);
    TWezel *rozmowa = o.drzewo.Dodaj(w, QStringLiteral("wiadomość"));
    w->UstawTekst(QStringLiteral("Janek (zajęty)")); // a status decoration
    o.drzewo.UstawStanWezla(w, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    o.wybrany = w;
    TSluchajacySerwerGG serwer;
    QVERIFY(serwer.Polacz(o.ggSck));

    TOdpowiedzDialogu dialog;
    dialog.Zaprogramuj(numer, true);
    o.komendy.EdytujSledzonego1Click();
    QCOMPARE(dialog.pokazane,
             (QStringList{QStringLiteral("100"), QStringLiteral("Jan"), QStringLiteral("K"),
                          QStringLiteral("t"), QStringLiteral("e"), QStringLiteral("Janek")}));
    QCOMPARE(serwer.Zakoncz(o.ggSck), pakiety);

    const int nowy = numer.toInt();
    const TUzytkownik *u = w->DaneJako<TUzytkownik>();
    QCOMPARE(u->Numer(), nowy);
    QCOMPARE(o.drzewo.ZnajdzUzytkownika(nowy), w);
    QCOMPARE(w->Tekst(), QStringLiteral("Janek")); // decoration gone
    QCOMPARE(u->Sledzony, 1);
    QVERIFY(o.drzewo.MaStanWezla(w, StanWezla::Pogrubiony | StanWezla::Wyciety));
    QCOMPARE(w->PierwszeDziecko(), rozmowa);
    QCOMPARE(o.Tekst(nowy, "Imie"), QStringLiteral("Jan"));
    QCOMPARE(o.Tekst(nowy, "Sledzony"), QStringLiteral("1")); // moved with the key
    QCOMPARE(o.MaKlucz(100), nowy == 100);
  }

  void edycjaNaIstniejacyNumer()
  {
    TOkno o("[Sledzeni/100]\nOpis=sto\n[Sledzeni/200]\nOpis=dwieście\nImie=Ola\n");
    o.komendy.WczytajBaze();
    o.wybrany = o.drzewo.Glowny(0);
    TOdpowiedzDialogu dialog;
    dialog.Zaprogramuj(QStringLiteral("200"), true, QStringLiteral("nowe"));
    o.komendy.EdytujSledzonego1Click();
    QCOMPARE(o.Tekst(100, "Opis"), QStringLiteral("sto"));
    QCOMPARE(o.Tekst(200, "Opis"), QStringLiteral("nowe"));
    QCOMPARE(o.Tekst(200, "Imie"), QStringLiteral("100"));
    // Both nodes now carry 200; the first one is found.
    QCOMPARE(o.Podpisy(), (QStringList{QStringLiteral("nowe"), QStringLiteral("dwieście")}));
    QCOMPARE(o.drzewo.ZnajdzUzytkownika(200), o.drzewo.Glowny(0));
  }

  void edycjaZNieliczbaNicNieZmienia()
  {
    TOkno o("[Sledzeni/100]\nOpis=sto\n");
    o.komendy.WczytajBaze();
    o.wybrany = o.drzewo.Glowny(0);
    TSluchajacySerwerGG serwer;
    QVERIFY(serwer.Polacz(o.ggSck));
    TOdpowiedzDialogu dialog;
    dialog.Zaprogramuj(QStringLiteral("dwieście"), true, QStringLiteral("nowe"));
    QVERIFY_THROWS_EXCEPTION(EConvertError, o.komendy.EdytujSledzonego1Click());
    QCOMPARE(o.Podpisy(), QStringList{QStringLiteral("sto")});
    QCOMPARE(o.Tekst(100, "Opis"), QStringLiteral("sto"));
    QVERIFY(serwer.Zakoncz(o.ggSck).isEmpty());
  }

  void celInnyNizKontakt_data()
  {
    QTest::addColumn<int>("cel"); // 0 none, 1 message, 2 conference
    QTest::newRow("brak celu") << 0;
    QTest::newRow("wiadomość pod kontaktem") << 1;
    QTest::newRow("konferencja") << 2;
  }
  void celInnyNizKontakt()
  {
    QFETCH(int, cel);
    TOkno o("[Sledzeni/100]\nOpis=sto\n");
    o.komendy.WczytajBaze();
    TWezel *kontakt = o.drzewo.Glowny(0);
    TWezel *wiadomosc = o.drzewo.Dodaj(kontakt, QStringLiteral("tekst"));
    wiadomosc->UstawDane(std::make_shared<TWypowiedz>(
        nullptr, std::make_unique<TDaneDodatkowe>(2, 100, 0, 1, QDateTime()),
        QStringLiteral("tekst")));
    TWezel *konferencja = o.drzewo.Dodaj(nullptr, QStringLiteral("konferencja"));
    konferencja->UstawDane(std::make_shared<TKonferencja>(konferencja));
    o.wybrany = cel == 1 ? wiadomosc : cel == 2 ? konferencja : nullptr;

    bool okno = false;
    OdpowiedzNaOknoModalne(
        [&](QWidget *w) {
          okno = true;
          w->close();
        },
        300);
    o.komendy.EdytujSledzonego1Click();
    o.komendy.AnulujSledzonego1Click();
    QTest::qWait(400); // time for a dialog that must not come
    QVERIFY(!okno);
    QCOMPARE(o.drzewo.LiczbaWezlow(), 3);
    QVERIFY(o.MaKlucz(100));
  }

  void anulowanieSledzenia_data()
  {
    QTest::addColumn<int>("rodzaj");
    QTest::addColumn<bool>("polaczony");
    QTest::newRow("rejestr, bez połączenia") << 1 << false;
    QTest::newRow("rejestr, z połączeniem") << 1 << true;
    QTest::newRow("książka adresowa") << 0 << false;
    QTest::newRow("serwer, z połączeniem") << 2 << true;
  }
  void anulowanieSledzenia()
  {
    QFETCH(int, rodzaj);
    QFETCH(bool, polaczony);
    const QByteArray vcf = "BEGIN:VCARD\r\nX-GG-NUMERY:100;300;\r\nX-GG-OPIS:x\r\nEND:VCARD\r\n";
    TOkno o(QByteArrayLiteral("[Ustawienia]\nBazaKontaktow=") + QByteArray::number(rodzaj) +
                "\n[Sledzeni/100]\nOpis=sto\n[Sledzeni/200]\nOpis=dwieście\n",
            vcf);
    o.komendy.WczytajBaze();
    TWezel *w = rodzaj == 2
                    ? o.drzewo.DodajUzytkownika(100, {}, {}, {}, {}, QStringLiteral("sto"), 1)
                    : o.drzewo.ZnajdzUzytkownika(100);
    QVERIFY(w);
    o.drzewo.Dodaj(o.drzewo.Dodaj(w, QStringLiteral("rozmowa")), QStringLiteral("odpowiedź"));
    const int wezlowPrzed = o.drzewo.LiczbaWezlow();
    o.wybrany = w;
    TSluchajacySerwerGG serwer;
    if (polaczony)
      QVERIFY(serwer.Polacz(o.ggSck));

    o.komendy.AnulujSledzonego1Click();
    QVERIFY(o.wybrany.isNull());
    QCOMPARE(o.drzewo.LiczbaWezlow(), wezlowPrzed - 3);
    QVERIFY(!o.drzewo.ZnajdzUzytkownika(100));
    QVERIFY(!o.MaKlucz(100)); // whatever the store
    QVERIFY(o.MaKlucz(200));
    const QList<TPakietGG> pakiety = serwer.Zakoncz(o.ggSck);
    if (polaczony)
      QCOMPARE(pakiety, (QList<TPakietGG>{{0x0E, Powiadomienie(100, 0)}}));
    else
      QVERIFY(pakiety.isEmpty());
    QCOMPARE(o.bledyGniazda, 0);
    QFile ksiazka(SciezkaKsiazkiAdresowej(o.dane));
    QVERIFY(ksiazka.open(QIODevice::ReadOnly));
    QCOMPARE(ksiazka.readAll(), vcf);
  }

  void przelaczenieBazy_data()
  {
    QTest::addColumn<int>("cel");
    QTest::addColumn<int>("przycisk");
    QTest::addColumn<QString>("nazwa");
    QTest::addColumn<QStringList>("podpisy");
    QTest::addColumn<int>("rodzaj");
    const QStringList stare{QStringLiteral("sto"), QStringLiteral("rozmowa bez kontaktu")};
    QTest::newRow("TAK, serwer: puste drzewo")
        << 2 << int(QMessageBox::Yes) << "baza na serwerze" << QStringList() << 2;
    QTest::newRow("NIE, serwer: drzewo zostaje")
        << 2 << int(QMessageBox::No) << "baza na serwerze" << stare << 2;
    QTest::newRow("ANULUJ: nic się nie zmienia")
        << 2 << int(QMessageBox::Cancel) << "baza na serwerze" << stare << 1;
    QTest::newRow("TAK, książka adresowa")
        << 0 << int(QMessageBox::Yes) << QStringLiteral("baza w Outlooku/Exchange")
        << QStringList{QStringLiteral("z książki")} << 0;
    QTest::newRow("TAK, rejestr wczytany od nowa")
        << 1 << int(QMessageBox::Yes) << QStringLiteral("baza w rejestrze")
        << QStringList{QStringLiteral("sto")} << 1;
    QTest::newRow("NIE, nieznana: rejestr")
        << 5 << int(QMessageBox::No) << "<nieznana>" << stare << 5;
  }
  void przelaczenieBazy()
  {
    QFETCH(int, cel);
    QFETCH(int, przycisk);
    QFETCH(QString, nazwa);
    QFETCH(QStringList, podpisy);
    QFETCH(int, rodzaj);
    TOkno o("[Sledzeni/100]\nOpis=sto\n",
            "BEGIN:VCARD\r\nX-GG-NUMERY:7;\r\nX-GG-OPIS:z książki\r\nEND:VCARD\r\n");
    o.komendy.WczytajBaze();
    o.drzewo.Dodaj(nullptr, QStringLiteral("rozmowa bez kontaktu"));
    TSledzeni *przed = &o.baza.Baza();

    QString tytul, tekst;
    int ikona = -1, przyciskow = 0;
    OdpowiedzNaPytanie(QMessageBox::StandardButton(przycisk), &tytul, &tekst, &ikona, &przyciskow);
    o.komendy.PrzelaczBazaClick(cel);

    QCOMPARE(tytul, QStringLiteral("Paplanki (GG) - Zapytanie"));
    // The box shows the text's "\r" breaks as line feeds.
    QCOMPARE(tekst, QString(QStringLiteral("Czy pobrać śledzonych z \"") + nazwa +
                            QStringLiteral("\" ?\r\r"
                                           "TAK nastąpi pobranie i przełączenie na nową bazę\r"
                                           "NIE nastąpi przełączenie na nową bazę z nowymi "
                                           "śledzonymi\r"
                                           "ANULUJ wycofanie się z tej akcji"))
                        .replace(u'\r', u'\n'));
    QCOMPARE(ikona, int(QMessageBox::NoIcon));
    QCOMPARE(przyciskow, 3);
    QCOMPARE(o.Podpisy(), podpisy);
    QCOMPARE(o.ustawienia.RodzajBazy(), rodzaj);
    QCOMPARE(
        CzytajLiczbe(o.rejestr, QStringLiteral("Ustawienia"), QStringLiteral("BazaKontaktow"), -1),
        przycisk == QMessageBox::Cancel ? -1 : rodzaj);
    QCOMPARE(o.baza.Rodzaj(), rodzaj);
    QCOMPARE(&o.baza.Baza() == przed, przycisk == QMessageBox::Cancel);

    // The store in place is the target kind's: only the registry store writes.
    o.baza.Baza().Dodaj(9, {}, {}, {}, {}, QStringLiteral("dziewięć"));
    QCOMPARE(o.MaKlucz(9), rodzaj != 0 && rodzaj != 2);
  }

  void przelaczenieNaNiedostepnaKsiazke()
  {
    TOkno o("[Sledzeni/100]\nOpis=sto\n"); // no address book
    o.komendy.WczytajBaze();
    OdpowiedzNaPytanie(QMessageBox::Yes);
    QVERIFY_THROWS_EXCEPTION(EKsiazkaAdresowa, o.komendy.PrzelaczBazaClick(0));
    // The tree is emptied, the kind is the one asked for, and the store in place is usable.
    QCOMPARE(o.drzewo.LiczbaGlownych(), 0);
    QCOMPARE(o.ustawienia.RodzajBazy(), 0);
    QCOMPARE(
        CzytajLiczbe(o.rejestr, QStringLiteral("Ustawienia"), QStringLiteral("BazaKontaktow"), -1),
        0);
    TOdpowiedzDialogu dialog;
    dialog.Zaprogramuj(QStringLiteral("5"), true);
    o.komendy.DodajSledzonego1Click();
    QCOMPARE(o.Podpisy(), QStringList{QStringLiteral("opis")});
    QVERIFY(!o.MaKlucz(5)); // the address-book kind writes nothing

    // The same at start-up.
    TOkno start("[Ustawienia]\nBazaKontaktow=0\n[Sledzeni/100]\nOpis=sto\n");
    QVERIFY_THROWS_EXCEPTION(EKsiazkaAdresowa, start.komendy.WczytajBaze());
    QCOMPARE(start.baza.Rodzaj(), 0);
    QCOMPARE(start.drzewo.LiczbaGlownych(), 0);
  }

  void wymianaListyZSerwerem()
  {
    TOkno o("[Sledzeni/100]\nImie=Jan\nOpis=\"Ja;nek\"\n");
    o.komendy.WczytajBaze();
    TSluchajacySerwerGG serwer;
    QVERIFY(serwer.Polacz(o.ggSck));
    o.buforListy.Dopisz(QStringLiteral("coś"));
    o.komendy.ZapiszUzytkownikowClick();
    QVERIFY(o.buforListy.Tekst().isEmpty());
    o.buforListy.Dopisz(QStringLiteral("coś"));
    o.komendy.PobierzUzytkownikowClick();
    QVERIFY(o.buforListy.Tekst().isEmpty());
    QCOMPARE(serwer.Zakoncz(o.ggSck),
             (QList<TPakietGG>{{GGReqUserList, QByteArray(1, '\0') +
                                                   "Jan;100;Ja,nek;Ja,nek;100;;100;100;0;;0;\r\n"},
                               {GGReqUserList, QByteArray(1, '\x02')}}));
  }
};

PAPLANKI_TEST_MAIN(TestKomendyKontaktow)
#include "test_KomendyKontaktow.moc"
