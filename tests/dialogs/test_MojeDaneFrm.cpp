// The account dialog on its own: layout, new or existing account, the token picture and the
// registration against a loopback registration service.

#include "common/OknaPowloki.h"
#include "common/RejestracjaTestowa.h"
#include "common/Srodowisko.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "gg/Liczby.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace {

QStringList TekstyRadia(const QGroupBox *grupa)
{
  QStringList teksty;
  for (const QRadioButton *r : grupa->findChildren<QRadioButton *>())
    teksty << r->text();
  return teksty;
}

// A directory reply of kind `rodzaj` with the given pairs.
QByteArray OdpowiedzKatalogu(char rodzaj, const QList<QByteArray> &pary)
{
  QByteArray cialo = QByteArray(1, rodzaj) + IntToLE(0x01020304);
  for (const QByteArray &para : pary)
    cialo += para + '\0';
  return cialo;
}

QColor Piksel(const QLabel *obrazek, int x, int y)
{
  return obrazek->pixmap().toImage().pixelColor(x, y);
}

} // namespace

class TestMojeDaneFrm : public QObject {
  Q_OBJECT

  std::unique_ptr<TUslugaRejestracji> m_usluga;
  std::unique_ptr<TMojeDaneFrm> m_f;
  QStringList m_dziennik;

  // The dialog pointed at the loopback service, shown, with "Nowy" selected and its token in.
  void NowyZTokenem()
  {
    m_f->NowyRB->setChecked(true);
    QCOMPARE(m_f->IdentyfikatorTokenu, QStringLiteral("tok1"));
  }

private slots:
  void init()
  {
    m_usluga = std::make_unique<TUslugaRejestracji>();
    m_f = std::make_unique<TMojeDaneFrm>();
    m_f->HostRejestracji = m_usluga->Host();
    m_f->PortRejestracji = m_usluga->Port();
    m_dziennik.clear();
    m_f->OnLoguj = [this](const QString &kategoria, const QString &tekst) {
      m_dziennik << kategoria + u'|' + tekst;
    };
    m_f->show();
  }
  void cleanup()
  {
    m_f.reset();
    m_usluga.reset();
  }

  void wyglad()
  {
    TMojeDaneFrm f;
    QCOMPARE(f.windowTitle(), QStringLiteral("Kim jestem"));
    QCOMPARE(f.HostRejestracji, QStringLiteral("register.gadu-gadu.pl"));
    QCOMPARE(f.PortRejestracji, QStringLiteral("80"));
    QCOMPARE(f.GroupBox1->title(), QStringLiteral("Prywatne"));
    QCOMPARE(f.GroupBox2->title(), QStringLiteral("Publiczne"));
    QCOMPARE(f.GroupBox3->title(), QStringLiteral("Publiczne lokalne"));
    QVERIFY(!f.GroupBox3->isEnabled());
    QVERIFY(f.GroupBox1->isEnabled() && f.GroupBox2->isEnabled());
    QCOMPARE(TekstyRadia(f.PlecRG),
             (QStringList{QStringLiteral("Nie podaję"), QStringLiteral("Mężczyzna"),
                          QStringLiteral("Kobieta")}));
    QCOMPARE(TekstyRadia(f.StatusRG),
             (QStringList{QStringLiteral("Nie podaję"), QStringLiteral("Kawaler/Panna"),
                          QStringLiteral("Zamężna/Żonaty")}));
    QCOMPARE(f.HasloEd->echoMode(), QLineEdit::Password);
    QCOMPARE(f.BitBtn1->text(), QStringLiteral("OK"));
    QCOMPARE(f.BitBtn2->text(), QStringLiteral("Anuluj"));
    QCOMPARE(f.UtworzBB->text(), QStringLiteral("Utwórz"));

    // Every edit is tied to its label, for the keyboard and for screen readers.
    const QList<std::pair<QString, QLineEdit *>> pary = {
        {QStringLiteral("Numer"), f.NumerEd},
        {QStringLiteral("Mail kontaktowy"), f.MailEd},
        {QStringLiteral("Hasło"), f.HasloEd},
        {QStringLiteral("Imię"), f.ImieEd},
        {QStringLiteral("Nazwisko"), f.NazwiskoEd},
        {QStringLiteral("Psuedonim"), f.PseudonimEd},
        {QStringLiteral("Urodzony/a roku"), f.UrodzonyaEd},
        {QStringLiteral("Miejscowość"), f.MiejscowoscEd},
        {QStringLiteral("Zainteresowania"), f.ZainteresowaniaEd},
        {QStringLiteral("Telefon"), f.TelefonEd},
        {QStringLiteral("Poczta"), f.PocztaEd},
        {QStringLiteral("Witryna"), f.WitrynaEd},
        {QStringLiteral("Krykatura"), f.KrykaturaEd}};
    for (const auto &[tekst, pole] : pary) {
      QLabel *etykieta = nullptr;
      for (QLabel *l : f.findChildren<QLabel *>())
        if (l->buddy() == pole)
          etykieta = l;
      QVERIFY2(etykieta, qPrintable(tekst));
      QCOMPARE(etykieta->text(), tekst);
    }
    QCOMPARE(f.Label9->text(), f.Label2->text());

    // Created with "Istniejący": the number shows, the registration controls do not.
    QVERIFY(f.IstniejacyRB->isChecked());
    for (QWidget *w : QWidgetList{f.NumerLbl, f.NumerEd})
      QVERIFY(!w->isHidden());
    for (QWidget *w : QWidgetList{f.MailLbl, f.MailEd, f.ObrazekImg, f.ObrazekEd, f.UtworzBB})
      QVERIFY(w->isHidden());
    QCOMPARE(f.ObrazekImg->size(), QSize(105, 33));
  }

  // The "Publiczne lokalne" group is disabled: a double click on its picture opens no file dialog.
  void obrazekWylaczonejGrupy()
  {
    m_f->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_f.get()));
    bool otwarte = false;
    OdpowiedzNaOknoModalne(
        [&otwarte](QWidget *okno) {
          otwarte = true;
          okno->close();
        },
        300);
    QTest::mouseDClick(m_f->Image1, Qt::LeftButton);
    QTest::qWait(400); // time for a dialog that must not come
    QVERIFY(!otwarte);
  }

  // "Nowy" fetches a token: an empty POST, then the picture with the token id, decoded from GIF.
  void token()
  {
    NowyZTokenem();
    const QList<QByteArray> z = m_usluga->Zapytania();
    QCOMPARE(z.size(), 2);
    QVERIFY(z[0].startsWith("POST /appsvc/regtoken.asp HTTP/1.0\r\n"));
    QVERIFY(z[0].contains("\r\nContent-Length: 0\r\n"));
    QVERIFY(z[0].contains("\r\nHost: 127.0.0.1\r\n"));
    QVERIFY(z[1].startsWith("GET /obrazek.gif?tokenid=tok1 HTTP/1.0\r\n"));

    QCOMPARE(m_f->ObrazekImg->size(), QSize(3, 2));
    QCOMPARE(Piksel(m_f->ObrazekImg, 0, 0), QColor(Qt::red));
    QCOMPARE(Piksel(m_f->ObrazekImg, 1, 1), QColor(Qt::blue));
    for (QWidget *w :
         QWidgetList{m_f->MailLbl, m_f->MailEd, m_f->ObrazekImg, m_f->ObrazekEd, m_f->UtworzBB})
      QVERIFY(w->isVisible());
    QVERIFY(!m_f->NumerEd->isVisible() && !m_f->NumerLbl->isVisible());

    // Every selection of "Nowy" brings a fresh token.
    m_usluga->UstawToken("4 4 1\r\ntok2\r\n" + m_usluga->AdresObrazka().toLatin1());
    m_f->IstniejacyRB->setChecked(true);
    QCOMPARE(m_usluga->Zapytania().size(), 2);
    m_f->NowyRB->setChecked(true);
    QCOMPARE(m_usluga->Zapytania().size(), 4);
    QCOMPARE(m_f->IdentyfikatorTokenu, QStringLiteral("tok2"));
  }

  // A token reply with a number that is not decimal ends the fetch with the error box; the
  // previous picture and token stay.
  void tokenNieliczbowy()
  {
    NowyZTokenem();
    m_f->IstniejacyRB->setChecked(true);
    m_usluga->UstawToken("4 4x 1\r\ntok2\r\n" + m_usluga->AdresObrazka().toLatin1());
    auto blad = OdpowiedzNaKomunikat();
    m_f->NowyRB->setChecked(true);
    QTRY_VERIFY(blad->Pokazany);
    QCOMPARE(blad->Tekst, QStringLiteral("„4x” nie jest liczbą"));
    QCOMPARE(blad->Ikona, QMessageBox::Critical);
    QCOMPARE(m_usluga->Zapytania("GET ").size(), 1);
    QCOMPARE(m_f->IdentyfikatorTokenu, QStringLiteral("tok1"));
    QCOMPARE(m_f->ObrazekImg->size(), QSize(3, 2));
    QCOMPARE(Piksel(m_f->ObrazekImg, 0, 0), QColor(Qt::red));
    QVERIFY(m_f->isVisible());
  }

  void rejestracja_data()
  {
    QTest::addColumn<QByteArray>("odpowiedz");
    QTest::addColumn<bool>("zarejestrowano");
    QTest::addColumn<QString>("tokenPotem");
    QTest::newRow("sukces") << QByteArray("reg_success:7654321") << true << "x7k";
    QTest::newRow("zły token") << QByteArray("bad_tokenval") << false << "x7k";
    QTest::newRow("inna odmowa") << QByteArray("nie teraz") << false << "nie teraz";
  }
  void rejestracja()
  {
    QFETCH(QByteArray, odpowiedz);
    QFETCH(bool, zarejestrowano);
    QFETCH(QString, tokenPotem);
    m_usluga->UstawOdpowiedzRejestracji(odpowiedz);
    m_f->NumerEd->setText(QStringLiteral("4321"));
    NowyZTokenem();
    m_f->HasloEd->setText(QStringLiteral("a&b c"));
    m_f->ObrazekEd->setText(QStringLiteral("x7k"));
    m_f->HasloEd->setFocus();
    QTest::mouseClick(m_f->UtworzBB, Qt::LeftButton);

    // The mail was left empty: no "email" pair; "&" and the space are encoded.
    const QList<QByteArray> posty = m_usluga->Zapytania("POST /appsvc/fmregister3.asp ");
    QCOMPARE(posty.size(), 1);
    QCOMPARE(TUslugaRejestracji::Tresc(posty[0]),
             QByteArray("pwd=a%26b+c&tokenid=tok1&tokenval=x7k&code=1654008341\r\n"));
    QVERIFY(posty[0].contains("\r\nContent-Type: application/x-www-form-urlencoded\r\n"));

    QCOMPARE(m_f->ObrazekEd->text(), tokenPotem);
    QCOMPARE(m_f->IstniejacyRB->isChecked(), zarejestrowano);
    if (zarejestrowano) {
      QCOMPARE(m_f->NumerEd->text(), QStringLiteral("7654321"));
      QVERIFY(m_f->NumerEd->isVisible());
      QVERIFY(!m_f->UtworzBB->isVisible());
      QCOMPARE(m_dziennik, QStringList{QStringLiteral("Hasła|7654321;a&b c")});
    } else {
      QCOMPARE(m_f->NumerEd->text(), QStringLiteral("4321"));
      QCOMPARE(m_f->focusWidget(), m_f->ObrazekEd);
      QVERIFY(m_dziennik.isEmpty());
    }
    // No new token without a new selection of "Nowy".
    QCOMPARE(m_usluga->Zapytania("POST /appsvc/regtoken.asp ").size(), 1);
  }

  // A failed request ends the handler with the error box in Polish and leaves the dialog as it
  // was; the event log keeps the number and the client's own text.
  void bladHttp_data()
  {
    QTest::addColumn<bool>("niedostepny");
    QTest::addColumn<QString>("komunikat");
    QTest::addColumn<QString>("wpis");
    QTest::newRow("status 500") << false << "Serwer odpowiedział błędem 500."
                                << "Błędy HTTP|500 Blad: ";
    QTest::newRow("nikt nie słucha") << true << "Nie można połączyć się z serwerem."
                                     << "Błędy HTTP|404 ";
  }
  void bladHttp()
  {
    QFETCH(bool, niedostepny);
    QFETCH(QString, komunikat);
    QFETCH(QString, wpis);
    NowyZTokenem();
    m_f->ObrazekEd->setText(QStringLiteral("x7k"));
    TPortBezSerwera zamkniety;
    if (niedostepny)
      m_f->PortRejestracji = zamkniety.PortTekst();
    else
      m_usluga->UstawStatus(500);
    auto blad = OdpowiedzNaKomunikat();
    QTest::mouseClick(m_f->UtworzBB, Qt::LeftButton);
    QTRY_VERIFY(blad->Pokazany);
    QCOMPARE(blad->Tekst, komunikat);
    QVERIFY(m_f->isVisible());
    QVERIFY(m_f->NowyRB->isChecked());
    QCOMPARE(m_f->ObrazekEd->text(), QStringLiteral("x7k"));
    QCOMPARE(m_dziennik.size(), 1);
    QVERIFY2(m_dziennik.first().startsWith(wpis), qPrintable(m_dziennik.first()));
    if (niedostepny)
      QVERIFY(m_dziennik.first().contains(QStringLiteral("Error #10061")));
  }

  // The dialog follows the directory's own-entry replies only while it lives: a reply that
  // comes after it is gone reaches the directory state alone.
  void katalogPrzezywaDialog_data()
  {
    QTest::addColumn<char>("rodzaj");
    QTest::addColumn<QByteArray>("plec");
    QTest::addColumn<bool>("wyjatek");
    QTest::newRow("odczyt") << RodzajKatalogu::Odczyt << QByteArray("2") << false;
    QTest::newRow("zapis") << RodzajKatalogu::Zapis << QByteArray("1") << false;
    QTest::newRow("płeć nie liczbą") << char(0x00) << QByteArray("k") << true;
  }
  void katalogPrzezywaDialog()
  {
    QFETCH(char, rodzaj);
    QFETCH(QByteArray, plec);
    QFETCH(bool, wyjatek);
    TKatalog katalog;
    auto dialog = std::make_unique<TMojeDaneFrm>();
    dialog->SledzKatalog(katalog);
    dialog->SledzKatalog(katalog); // a second call adds no second link
    int odebrane = 0;
    QObject::connect(&katalog, &TKatalog::DanePubliczneOdebrane, [&] { ++odebrane; });
    const auto obsluz = [&](const QByteArray &imie) {
      try {
        katalog.ObsluzOdpowiedz(
            OdpowiedzKatalogu(rodzaj, {"firstname", imie, "gender", plec, "city", "Gda\xF1sk"}));
      } catch (const std::exception &) {
        return true;
      }
      return false;
    };

    QCOMPARE(obsluz("Ala"), wyjatek);
    QCOMPARE(odebrane, 1);
    QCOMPARE(dialog->ImieEd->text(), QStringLiteral("Ala"));
    QCOMPARE(dialog->MiejscowoscEd->text(), wyjatek ? QString() : QStringLiteral("Gdańsk"));
    QCOMPARE(dialog->PlecIndeks(), wyjatek ? 0 : plec.toInt());

    // Typed into the dialog, then the dialog goes; the next reply must not reach it.
    dialog->ImieEd->setText(QStringLiteral("wpisane"));
    dialog.reset();
    QCOMPARE(obsluz("Ola"), wyjatek);
    QCOMPARE(odebrane, 2);
    QCOMPARE(katalog.DanePubliczne().Imie, QStringLiteral("Ola"));
  }

  // The account fields as the main window fills and reads them.
  void konto_data()
  {
    QTest::addColumn<int>("numer");
    QTest::addColumn<QString>("haslo");
    QTest::addColumn<int>("numerKonta");
    QTest::newRow("zwykłe") << 1234 << QStringLiteral("tajne") << 1234;
    QTest::newRow("bez konta") << -1 << QString() << 0;
    QTest::newRow("polskie litery") << 7 << QStringLiteral("żółw;ąę") << 7;
  }
  void konto()
  {
    QFETCH(int, numer);
    QFETCH(QString, haslo);
    QFETCH(int, numerKonta);
    m_f->UstawKonto(numer, haslo);
    QCOMPARE(m_f->NumerWpisany(), QString::number(numer));
    QCOMPARE(m_f->NumerEd->text(), QString::number(numer));
    QCOMPARE(m_f->Haslo(), haslo);
    QCOMPARE(m_f->HasloEd->text(), haslo);
    QCOMPARE(m_f->NumerKonta(), numerKonta);
  }
};

PAPLANKI_TEST_MAIN(TestMojeDaneFrm)
#include "test_MojeDaneFrm.moc"
