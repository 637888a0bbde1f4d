#include "common/Srodowisko.h"
#include "dialogs/ui/KatalogFrm.h"
#include "gg/Liczby.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace {

QByteArray Para(const QByteArray &klucz, const QByteArray &wartosc)
{
  return klucz + '\0' + wartosc + '\0';
}

QByteArray Wyniki(const QByteArray &pary)
{
  return QByteArray(1, '\x05') + IntToLE(1) + pary;
}

QColor TloListy(const TKatalogFrm &f)
{
  return f.ListView1->palette().color(QPalette::Base);
}

} // namespace

class TestKatalogFrm : public QObject {
  Q_OBJECT
private slots:
  void wyglad()
  {
    TKatalog stanKatalogu;
    TKatalogFrm f(stanKatalogu);
    QCOMPARE(f.windowTitle(), QStringLiteral("Wyszukiwanie w katalogu publicznym"));
    const QAbstractItemModel *m = f.ListView1->model();
    QStringList naglowki;
    QList<int> szerokosci;
    for (int i = 0; i < m->columnCount(); ++i) {
      naglowki << m->headerData(i, Qt::Horizontal).toString();
      szerokosci << f.ListView1->columnWidth(i);
    }
    QCOMPARE(naglowki, (QStringList{QStringLiteral("Numer"), QStringLiteral("Imię"),
                                    QStringLiteral("Nazwisko"), QStringLiteral("Pseudonim"),
                                    QStringLiteral("Miejscowość"), QStringLiteral("Płeć"),
                                    QStringLiteral("Urodzony/a")}));
    QCOMPARE(szerokosci[2], 100);
    QCOMPARE(szerokosci[3], 70);
    QCOMPARE(szerokosci[4], 80);
    QCOMPARE(szerokosci[6], 70);
    QCOMPARE(f.ListView1->selectionBehavior(), QAbstractItemView::SelectRows);

    QStringList plec;
    for (QRadioButton *r : f.PlecRG->findChildren<QRadioButton *>())
      plec << r->text();
    QCOMPARE(f.PlecRG->title(), QStringLiteral("Płeć"));
    QCOMPARE(plec, (QStringList{QStringLiteral("Dowolna"), QStringLiteral("Kobieta"),
                                QStringLiteral("Mężczyzna")}));
    QCOMPARE(f.PlecIndeks(), 0);
    QCOMPARE(f.TylkoAktywniCB->text(), QStringLiteral("Tylko aktywni"));
    QVERIFY(!f.TylkoAktywniCB->isChecked());
    QCOMPARE(f.WyszukiwajBB->text(), QStringLiteral("&Wyszukaj"));
    QCOMPARE(f.ZamknijBB->text(), QStringLiteral("Zamknij"));
    QCOMPARE(f.BitBtn1->text(), QStringLiteral("&Dodaj do znajomych"));
    const QList<std::pair<QLabel *, QLineEdit *>> etykiety = {{f.NumerLb, f.NumerEd},
                                                              {f.ImieLb, f.ImieEd},
                                                              {f.NazwiskoLb, f.NazwiskoEd},
                                                              {f.PseudonimLb, f.PseudonimEd},
                                                              {f.MiejscowoscLb, f.MiejscowoscEd},
                                                              {f.UrodzonyaLb, f.UrodzonyaEd}};
    QStringList teksty;
    for (const auto &[etykieta, pole] : etykiety) {
      QCOMPARE(etykieta->buddy(), pole);
      teksty << etykieta->text();
    }
    QCOMPARE(teksty, (QStringList{QStringLiteral("Numer"), QStringLiteral("Imię"),
                                  QStringLiteral("Nazwisko"), QStringLiteral("Pseudonim"),
                                  QStringLiteral("Miejscowość"), QStringLiteral("Urodzony/a")}));
    QVERIFY(!f.Szukanie());
  }

  void wyszukaj_data()
  {
    QTest::addColumn<QString>("przycisk");
    QTest::newRow("Wyszukaj") << "WyszukiwajBB";
    QTest::newRow("Dodaj do znajomych") << "BitBtn1";
  }

  void wyszukaj()
  {
    QFETCH(QString, przycisk);
    TKatalog stanKatalogu;
    TKatalogFrm f(stanKatalogu);
    const QColor okno = TloListy(f);
    f.Katalog().ObsluzOdpowiedz(Wyniki(Para("FmNumber", "7") + Para("nextstart", "40")));
    QCOMPARE(f.Katalog().Wyniki().Liczba(), 1);
    QCOMPARE(f.NastepnyStart(), QStringLiteral("40"));

    QList<TKryteriaSzukania> wyslane;
    QObject *nadawca = nullptr;
    QObject::connect(&f, &TKatalogFrm::Szukaj, [&](QObject *Sender) {
      nadawca = Sender;
      wyslane << f.Kryteria();
    });
    f.ImieEd->setText(QStringLiteral("Ala"));
    f.MiejscowoscEd->setText(QStringLiteral(" Łódź"));
    f.NumerEd->setText(QStringLiteral("12"));
    f.PlecRG->findChildren<QRadioButton *>().at(1)->click();
    f.TylkoAktywniCB->setChecked(true);
    f.findChild<QPushButton *>(przycisk)->click();

    QCOMPARE(nadawca, &f);
    QCOMPARE(wyslane.size(), 1);
    const TKryteriaSzukania &k = wyslane[0];
    QVERIFY(k.NastepnyStart.isEmpty());
    QCOMPARE(k.Imie, QStringLiteral("Ala"));
    QCOMPARE(k.Miejscowosc, QStringLiteral(" Łódź"));
    QCOMPARE(k.Numer, QStringLiteral("12"));
    QCOMPARE(k.Plec, PlecSzukania::Kobieta);
    QVERIFY(k.TylkoAktywni);
    QCOMPARE(f.Katalog().Wyniki().Liczba(), 0);
    QVERIFY(f.Szukanie());
    QVERIFY(TloListy(f) != okno);
    QCOMPARE(TloListy(f), f.palette().color(QPalette::Mid));

    // A page with a next one: back to the window colour, and the next request asked at once
    // with the page number and the same criteria.
    f.Katalog().ObsluzOdpowiedz(Wyniki(Para("FmNumber", "8") + Para("nextstart", "20")));
    QCOMPARE(TloListy(f), okno);
    QVERIFY(!f.Szukanie());
    QCOMPARE(wyslane.size(), 2);
    QCOMPARE(wyslane[1].NastepnyStart, QStringLiteral("20"));
    QCOMPARE(wyslane[1].Imie, QStringLiteral("Ala"));
    QCOMPARE(f.ListView1->model()->index(0, 0).data().toString(), QStringLiteral("8"));
  }

  void zamknijZostawiaStan()
  {
    TKatalog stanKatalogu;
    TKatalogFrm f(stanKatalogu);
    f.Pokaz();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.NazwiskoEd->setText(QStringLiteral("Nowak"));
    f.Katalog().ObsluzOdpowiedz(Wyniki(Para("FmNumber", "9")));
    f.ZamknijBB->click();
    QVERIFY(!f.isVisible());
    f.Pokaz();
    QVERIFY(f.isVisible());
    QCOMPARE(f.NazwiskoEd->text(), QStringLiteral("Nowak"));
    QCOMPARE(f.Katalog().Wyniki().Liczba(), 1);
  }
};

PAPLANKI_TEST_MAIN(TestKatalogFrm)
#include "test_KatalogFrm.moc"
