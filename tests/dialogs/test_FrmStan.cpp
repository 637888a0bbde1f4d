#include "common/Srodowisko.h"
#include "common/StanowiskoWiadomosci.h"
#include "dialogs/ui/FrmStan.h"
#include "gg/SesjaPakiety.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

namespace {

// What the user does in the open dialog; records the item preselected when it appeared.
struct TUzytkownikDialogu {
  int wybor = -1; // radio item clicked, -1 none
  bool przyjaciele = false;
  bool potwierdz = true;
  int wstepnie = -2;

  void Odpowiedz(TFrmStan &d)
  {
    OdpowiedzNaOknoModalne([this, &d](QWidget *okno) {
      if (okno != &d)
        return;
      wstepnie = d.ItemIndex();
      if (wybor >= 0)
        QTest::mouseClick(d.Pozycja(wybor), Qt::LeftButton);
      d.CBDlaPrzyjaciol->setChecked(przyjaciele);
      QTest::mouseClick(potwierdz ? d.BitBtn1 : d.BitBtn2, Qt::LeftButton);
    });
  }
};

} // namespace

class TestFrmStan : public QObject {
  Q_OBJECT
private slots:
  void wykonaj_data()
  {
    QTest::addColumn<int>("poprzedni"); // item selected by an earlier showing, -1 none
    QTest::addColumn<quint32>("biezacy");
    QTest::addColumn<int>("wybor");
    QTest::addColumn<bool>("przyjaciele");
    QTest::addColumn<bool>("potwierdz");
    QTest::addColumn<int>("wstepnie");
    QTest::addColumn<quint32>("wybrany");
    // A status with a description preselects the item it is a variant of.
    QTest::newRow("4 jako dostępny") << -1 << 4u << -1 << false << true << 1 << 2u;
    QTest::newRow("4, ostatni wybór nie wygrywa") << 2 << 4u << -1 << false << true << 1 << 2u;
    QTest::newRow("5 jako zajęty") << 0 << 5u << -1 << false << true << 2 << 3u;
    QTest::newRow("22 jako niewidoczny") << -1 << 22u << -1 << false << true << 3 << 20u;
    QTest::newRow("status spoza pozycji") << 2 << 99u << -1 << false << true << 2 << 3u;
    QTest::newRow("0x8014") << 0 << 0x8014u << -1 << false << true << 3 << 20u;
    QTest::newRow("wybór użytkownika") << -1 << 2u << 4 << false << true << 1 << 6u;
    QTest::newRow("tylko dla przyjaciół") << -1 << 3u << -1 << true << true << 2 << 0x8003u;
    QTest::newRow("anulowanie, 21 jako niedostępny")
        << -1 << 21u << 2 << false << false << 0 << 21u;
  }
  void wykonaj()
  {
    QFETCH(int, poprzedni);
    QFETCH(quint32, biezacy);
    QFETCH(int, wybor);
    QFETCH(bool, przyjaciele);
    QFETCH(bool, potwierdz);
    QFETCH(int, wstepnie);
    QFETCH(quint32, wybrany);
    TFrmStan d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Zmiana stanu"));
    QCOMPARE(d.ItemIndex(), -1);
    d.UstawItemIndex(poprzedni);
    TUzytkownikDialogu u{wybor, przyjaciele, potwierdz};
    u.Odpowiedz(d);
    QCOMPARE(d.Wykonaj(biezacy), potwierdz ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(u.wstepnie, wstepnie);
    QCOMPARE(d.WybranyStan, wybrany);
  }

  void zmianaStanuWlasnego_data()
  {
    QTest::addColumn<QString>("opis");
    QTest::addColumn<bool>("zCzasem");
    QTest::addColumn<quint32>("stan");
    QTest::addColumn<QDateTime>("powrot");
    const QDateTime czas(QDate(2031, 2, 3), QTime(14, 30));
    QTest::newRow("bez czasu, z opisem") << QStringLiteral("obiad") << false << 5u << QDateTime();
    QTest::newRow("z czasem") << QStringLiteral("obiad") << true << 5u << czas;
    QTest::newRow("sam czas") << QString() << true << 5u << czas;
    QTest::newRow("nic") << QString() << false << 3u << QDateTime();
  }
  void zmianaStanuWlasnego()
  {
    QFETCH(QString, opis);
    QFETCH(bool, zCzasem);
    QFETCH(quint32, stan);
    QFETCH(QDateTime, powrot);
    TStanowiskoGG s;
    TFrmStan d;
    OdpowiedzNaOknoModalne([&](QWidget *) {
      QTest::mouseClick(d.Pozycja(2), Qt::LeftButton); // "zajęty"
      d.InformacjaEd->setText(opis);
      // The pickers always show a time; only the box decides whether it is sent.
      d.DataDTP->setDate(QDate(2031, 2, 3));
      d.CzasDTP->setTime(QTime(14, 30));
      d.UwzglednijCzasPowrotuCB->setChecked(zCzasem);
      QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    });
    ZmienStanWlasny(d, *s.sesja);
    QCOMPARE(s.sesja->StanWlasny(), stan);
    QCOMPARE(s.sesja->OpisWlasny(), opis);
    QCOMPARE(s.sesja->CzasPowrotu(), powrot);

    // Cancelled, nothing changes.
    OdpowiedzNaOknoModalne([&](QWidget *) {
      QTest::mouseClick(d.Pozycja(0), Qt::LeftButton);
      d.InformacjaEd->setText(QStringLiteral("inny"));
      QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
    });
    ZmienStanWlasny(d, *s.sesja);
    QCOMPARE(s.sesja->StanWlasny(), stan);
    QCOMPARE(s.sesja->OpisWlasny(), opis);
  }

  void przyjacieleNaLaczu()
  {
    TStanowiskoGG s;
    QVERIFY(s.Zaloguj());
    TFrmStan d;
    OdpowiedzNaOknoModalne([&](QWidget *) {
      QTest::mouseClick(d.Pozycja(1), Qt::LeftButton);
      d.CBDlaPrzyjaciol->setChecked(true);
      d.InformacjaEd->setText(QStringLiteral("tylko wy"));
      QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    });
    ZmienStanWlasny(d, *s.sesja);
    // The description variant keeps the friends-only bit.
    QTRY_COMPARE(s.Stany(), QList<quint32>{0x8004});
    QCOMPARE(s.okno.panele[TOknoSesji::PanelStanu], QStringLiteral("Dostępny"));
  }
};

PAPLANKI_TEST_MAIN(TestFrmStan)
#include "test_FrmStan.moc"
