#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QIcon>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTreeView>

namespace {

TWezel *DodajWypowiedz(TDrzewo &d, TWezel *rodzic, const QString &tekst)
{
  TWezel *w = d.Dodaj(rodzic, tekst);
  w->UstawDane(std::make_shared<TWypowiedz>(
      nullptr, std::make_unique<TDaneDodatkowe>(2, 1, 0, 0, QDateTime()), tekst));
  return w;
}

// All nodes with their persistent indexes, to see that every announcement moved them right.
struct TSledzoneIndeksy {
  QList<TWskaznikWezla> wezly;
  QList<QPersistentModelIndex> indeksy;

  void Zbierz(const TModelDrzewa &m)
  {
    wezly.clear();
    indeksy.clear();
    for (TWezel *w = m.Drzewo()->Pierwszy(); w; w = w->Nastepny()) {
      wezly << TWskaznikWezla(w);
      indeksy << QPersistentModelIndex(m.Indeks(w));
    }
  }

  // A living node's persistent index still points at it, at its true row and parent; a deleted
  // node's index became invalid.
  bool Zgodne(const TModelDrzewa &m, QString &blad) const
  {
    for (qsizetype i = 0; i < wezly.size(); ++i) {
      TWezel *w = wezly[i];
      const QModelIndex ind = indeksy[i];
      if (!w) {
        if (ind.isValid()) {
          blad = QStringLiteral("deleted node %1 still has an index").arg(i);
          return false;
        }
        continue;
      }
      if (!ind.isValid() || m.Wezel(ind) != w || ind.row() != w->Indeks() ||
          m.Wezel(ind.parent()) != w->Rodzic() || ind != m.Indeks(w)) {
        blad = QStringLiteral("node '%1' lost its index").arg(w->Tekst());
        return false;
      }
    }
    return true;
  }
};

QList<TWezel *> WszystkieWezly(const TDrzewo &d)
{
  QList<TWezel *> wynik;
  for (TWezel *w = d.Pierwszy(); w; w = w->Nastepny())
    wynik << w;
  return wynik;
}

} // namespace

class TestModelDrzewa : public QObject {
  Q_OBJECT
private slots:
  void zawartoscIRole()
  {
    TDrzewo d;
    TModelDrzewa m(d);
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    TWezel *k = d.DodajUzytkownika(10, {}, {}, {}, {}, QStringLiteral("Ala"), 3);
    TWezel *wiadomosc = DodajWypowiedz(d, k, QStringLiteral("cześć"));
    wiadomosc->UstawObrazStanu(10);
    TWezel *goly = d.Dodaj(k, QStringLiteral("uczestnicy"));

    const QModelIndex ik = m.index(0, 0);
    QCOMPARE(m.rowCount(), 1);
    QCOMPARE(m.columnCount(), 1);
    QCOMPARE(m.rowCount(ik), 2);
    QCOMPARE(m.Wezel(ik), k);
    QCOMPARE(m.Indeks(k), ik);
    QCOMPARE(ik.data().toString(), QStringLiteral("Ala"));
    QCOMPARE(ik.data(Qt::AccessibleTextRole).toString(), QStringLiteral("Ala"));
    QCOMPARE(ik.data(TModelDrzewa::RolaWyszarzony).toBool(), true);
    QCOMPARE(ik.data(TModelDrzewa::RolaPogrubiony).toBool(), false);
    QVERIFY(!ik.data(Qt::FontRole).isValid());
    QCOMPARE(ik.data(TModelDrzewa::RolaRodzaj).toInt(), int(TRodzajWezla::Uzytkownik));
    const QModelIndex iw = m.index(0, 0, ik);
    QCOMPARE(iw.parent(), ik);
    QCOMPARE(iw.data(TModelDrzewa::RolaObrazStanu).toInt(), 10);
    QCOMPARE(m.index(1, 0, ik).data(TModelDrzewa::RolaRodzaj).toInt(), -1);
    QCOMPARE(m.index(1, 0, ik).data(TModelDrzewa::RolaObrazStanu).toInt(), -1);
    QVERIFY(!m.index(2, 0, ik).isValid());
    QVERIFY(!m.index(0, 1, ik).isValid());

    // Only message captions are editable; the message text stays as sent.
    QVERIFY(m.flags(iw) & Qt::ItemIsEditable);
    QVERIFY(!(m.flags(ik) & Qt::ItemIsEditable));
    QVERIFY(!(m.flags(m.Indeks(goly)) & Qt::ItemIsEditable));
    QSignalSpy zmiany(&m, &QAbstractItemModel::dataChanged);
    QVERIFY(m.setData(iw, QStringLiteral("poprawione")));
    QCOMPARE(wiadomosc->Tekst(), QStringLiteral("poprawione"));
    QCOMPARE(wiadomosc->DaneJako<TWypowiedz>()->Tekst(), QStringLiteral("cześć"));
    QCOMPARE(zmiany.size(), 1);
    QCOMPARE(zmiany[0][0].value<QModelIndex>(), iw);
    QVERIFY(!m.setData(ik, QStringLiteral("nie")));
    QVERIFY(!m.setData(m.Indeks(goly), QStringLiteral("nie")));
    QCOMPARE(k->Tekst(), QStringLiteral("Ala"));

    // State bits reach the view as font and roles.
    zmiany.clear();
    d.ZastosujStan(k, 2);
    QCOMPARE(ik.data(Qt::FontRole).value<QFont>().bold(), true);
    QCOMPARE(ik.data(TModelDrzewa::RolaObraz).toInt(), 11);
    QCOMPARE(ik.data(TModelDrzewa::RolaObrazWybrany).toInt(), 10);
    QCOMPARE(ik.data(TModelDrzewa::RolaStan).toInt(), int(StanWezla::Pogrubiony));
    QVERIFY(!zmiany.isEmpty());
    for (const QList<QVariant> &z : zmiany)
      QCOMPARE(z[0].value<QModelIndex>(), ik);
    zmiany.clear();
    d.UstawStanWezla(k, 0, StanWezla::Pogrubiony);
    QCOMPARE(zmiany.size(), 1);
    QVERIFY(zmiany[0][2].value<QList<int>>().contains(Qt::FontRole));
    d.UstawStanWezla(k, 0, StanWezla::Pogrubiony); // no change, no signal
    QCOMPARE(zmiany.size(), 1);
  }

  void ikony()
  {
    TDrzewo d;
    TModelDrzewa m(d);
    QList<QPixmap> obrazy;
    for (int i = 0; i < 30; ++i) {
      QPixmap p(16, 16);
      p.fill(QColor::fromHsv(i * 12, 255, 255));
      obrazy << p;
    }
    m.UstawObrazy(obrazy);
    TWezel *k = d.DodajUzytkownika(10, {}, {}, {}, {}, QStringLiteral("Ala"), 3);
    d.ZastosujStan(k, 3);
    const QIcon ikona = m.Indeks(k).data(Qt::DecorationRole).value<QIcon>();
    QVERIFY(!ikona.isNull());
    QCOMPARE(ikona.pixmap(16, 16, QIcon::Normal).toImage().pixelColor(0, 0),
             obrazy[29].toImage().pixelColor(0, 0));
    QCOMPARE(ikona.pixmap(16, 16, QIcon::Selected).toImage().pixelColor(0, 0),
             obrazy[28].toImage().pixelColor(0, 0));
    k->UstawObrazy(45, 44);
    QVERIFY(!m.Indeks(k).data(Qt::DecorationRole).isValid());
  }

  void rozwijaniePustegoAtrybutu()
  {
    TDrzewo d;
    TModelDrzewa m(d);
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    TWezel *a = d.Dodaj(nullptr, QStringLiteral("Imiona"));
    a->UstawDane(std::make_shared<TAtrybut>(a));
    QVERIFY(!m.hasChildren(m.Indeks(a)));
    QSignalSpy uklad(&m, &QAbstractItemModel::layoutChanged);
    a->UstawPokazRozwijanie(true);
    QVERIFY(m.hasChildren(m.Indeks(a)));
    QCOMPARE(m.rowCount(m.Indeks(a)), 0);
    QCOMPARE(uklad.size(), 1);
    // The drill-down: replace the children.
    for (const char *nazwa : {"Nazwiska", "Miejscowości", "Telefony", "Emaile"}) {
      TWezel *w = d.Dodaj(a, QString::fromUtf8(nazwa));
      w->UstawDane(std::make_shared<TAtrybut>(w));
    }
    d.UsunDzieci(a);
    QCOMPARE(m.rowCount(m.Indeks(a)), 0);
  }

  void zapowiedziOperacji()
  {
    TDrzewo d;
    TModelDrzewa m(d);
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy wstawione(&m, &QAbstractItemModel::rowsInserted);
    QSignalSpy usuniete(&m, &QAbstractItemModel::rowsRemoved);
    QSignalSpy przeniesione(&m, &QAbstractItemModel::rowsMoved);
    QSignalSpy usuwaneWezly(&m, &TModelDrzewa::WezelUsuwany);

    TWezel *a = d.Dodaj(nullptr, QStringLiteral("a"));
    TWezel *b = d.Dodaj(nullptr, QStringLiteral("b"));
    TWezel *m1 = DodajWypowiedz(d, a, QStringLiteral("m1"));
    d.Dodaj(m1, QStringLiteral("o1"));
    d.Dodaj(m1, QStringLiteral("o2"));
    QCOMPARE(wstawione.size(), 5);
    QCOMPARE(wstawione[2][0].value<QModelIndex>(), m.Indeks(a));
    QCOMPARE(wstawione[2][1].toInt(), 0);

    // The message-removal rule: two moves, then one removal.
    d.UsunZachowujacDzieci(m1);
    QCOMPARE(przeniesione.size(), 2);
    QCOMPARE(usuniete.size(), 1);
    QCOMPARE(usuniete[0][0].value<QModelIndex>(), m.Indeks(a));
    QCOMPARE(usuniete[0][1].toInt(), 2);
    QCOMPARE(usuwaneWezly.size(), 1);
    QCOMPARE(m.rowCount(m.Indeks(a)), 2);
    QCOMPARE(m.index(0, 0, m.Indeks(a)).data().toString(), QStringLiteral("o1"));

    // A refused move says nothing.
    przeniesione.clear();
    QVERIFY(!d.Przenies(a, d.Glowny(0)->PierwszeDziecko()));
    QVERIFY(!d.Przenies(a, a));
    QVERIFY(d.Przenies(b, nullptr, 2)); // already last
    QCOMPARE(przeniesione.size(), 0);

    QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
    d.Wyczysc();
    QCOMPARE(reset.size(), 1);
    QCOMPARE(m.rowCount(), 0);
  }

  void losoweZmianyPodTesterem()
  {
    TDrzewo d;
    TModelDrzewa m(d);
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QTreeView widok; // a real view on top, as the main window will have
    widok.setModel(&m);
    widok.resize(300, 400);
    widok.show();
    QRandomGenerator los(20240305);
    TSledzoneIndeksy sledzone;
    int licznik = 0;
    for (int krok = 0; krok < 1500; ++krok) {
      if (krok % 50 == 0) {
        widok.expandAll();
        sledzone.Zbierz(m);
      }
      const QList<TWezel *> wszystkie = WszystkieWezly(d);
      auto losowy = [&]() -> TWezel * {
        return wszystkie.isEmpty() ? nullptr : wszystkie[los.bounded(int(wszystkie.size()))];
      };
      auto losowyLubKorzen = [&]() -> TWezel * { return los.bounded(4) == 0 ? nullptr : losowy(); };
      const int operacja = wszystkie.size() < 10 ? 0 : los.bounded(10);
      switch (operacja) {
      case 0:
      case 1:
      case 2: {
        TWezel *r = losowyLubKorzen();
        const int n = r ? r->LiczbaDzieci() : d.LiczbaGlownych();
        d.Wstaw(r, los.bounded(n + 2) - 1, QString::number(++licznik));
        break;
      }
      case 3:
        if (TWezel *w = losowy())
          d.UstawStanWezla(w, quint8(los.bounded(32)), StanWezla::Wyciety | StanWezla::Pogrubiony);
        break;
      case 4:
      case 5: {
        TWezel *w = losowy();
        TWezel *r = losowyLubKorzen();
        const int n = r ? r->LiczbaDzieci() : d.LiczbaGlownych();
        const bool mozna = !r || !r->LezyW(w);
        QCOMPARE(d.Przenies(w, r, los.bounded(n + 2) - 1), mozna);
        break;
      }
      case 6:
        if (los.bounded(3) == 0)
          d.Usun(losowy());
        break;
      case 7:
        d.UsunZachowujacDzieci(losowy());
        break;
      case 8:
        if (TWezel *w = losowy()) {
          w->UstawDane(std::make_shared<TWypowiedz>(
              nullptr, std::make_unique<TDaneDodatkowe>(2, 1, 0, 0, QDateTime()), w->Tekst()));
          QVERIFY(m.setData(m.Indeks(w), w->Tekst() + u'*'));
        }
        break;
      case 9:
        if (los.bounded(20) == 0)
          d.UsunDzieci(losowy());
        else if (TWezel *w = losowy())
          w->UstawObrazy(los.bounded(30), los.bounded(30));
        break;
      }
      QString blad;
      QVERIFY2(sledzone.Zgodne(m, blad), qPrintable(blad));
      if (QTest::currentTestFailed())
        return;
    }
    QVERIFY(d.LiczbaWezlow() > 20);
    d.Wyczysc();
    QString blad;
    QVERIFY2(sledzone.Zgodne(m, blad), qPrintable(blad));
  }

  void przeciaganie_data()
  {
    // Tree: a(a1), b, c; drag `co`, drop at (parent, row); "" = empty space / top level.
    QTest::addColumn<QString>("co");
    QTest::addColumn<QString>("rodzic");
    QTest::addColumn<int>("wiersz");
    QTest::addColumn<bool>("przyjete");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("na pustą przestrzeń") << "a"
                                         << "" << -1 << true << "b c a(a1)";
    QTest::newRow("na element") << "c"
                                << "b" << -1 << true << "a(a1) b(c)";
    QTest::newRow("między wiersze") << "c"
                                    << "" << 0 << true << "c a(a1) b";
    QTest::newRow("do własnego poddrzewa") << "a"
                                           << "a1" << -1 << false << "a(a1) b c";
    QTest::newRow("na siebie") << "b"
                               << "b" << -1 << false << "a(a1) b c";
  }
  void przeciaganie()
  {
    QFETCH(QString, co);
    QFETCH(QString, rodzic);
    QFETCH(int, wiersz);
    QFETCH(bool, przyjete);
    QFETCH(QString, wynik);
    TDrzewo d;
    TModelDrzewa m(d);
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QHash<QString, TWezel *> w;
    w[QStringLiteral("a")] = d.Dodaj(nullptr, QStringLiteral("a"));
    w[QStringLiteral("a1")] = d.Dodaj(w[QStringLiteral("a")], QStringLiteral("a1"));
    w[QStringLiteral("b")] = d.Dodaj(nullptr, QStringLiteral("b"));
    w[QStringLiteral("c")] = d.Dodaj(nullptr, QStringLiteral("c"));
    std::unique_ptr<QMimeData> dane(m.mimeData({m.Indeks(w[co])}));
    QVERIFY(dane);
    const QModelIndex cel = rodzic.isEmpty() ? QModelIndex() : m.Indeks(w[rodzic]);
    QCOMPARE(m.dropMimeData(dane.get(), Qt::MoveAction, wiersz, 0, cel), przyjete);
    QCOMPARE(Opis(d), wynik);
  }

  void przeciaganieUsunietegoWezla()
  {
    TDrzewo d;
    TModelDrzewa m(d);
    TWezel *a = d.Dodaj(nullptr, QStringLiteral("a"));
    TWezel *b = d.Dodaj(nullptr, QStringLiteral("b"));
    std::unique_ptr<QMimeData> dane(m.mimeData({m.Indeks(a)}));
    d.Usun(a); // the tree changed during the drag
    QVERIFY(!m.dropMimeData(dane.get(), Qt::MoveAction, -1, 0, m.Indeks(b)));
    // Foreign data is refused too.
    QMimeData obce;
    obce.setText(QStringLiteral("b"));
    QVERIFY(!m.dropMimeData(&obce, Qt::MoveAction, -1, 0, QModelIndex()));
    QCOMPARE(d.LiczbaWezlow(), 1);
  }

  void drzewoZniszczonePierwsze()
  {
    auto d = std::make_unique<TDrzewo>();
    TModelDrzewa m(*d);
    d->Dodaj(nullptr, QStringLiteral("a"));
    QCOMPARE(m.rowCount(), 1);
    d.reset();
    QCOMPARE(m.rowCount(), 0);
    QVERIFY(!m.index(0, 0).isValid());
  }

private:
  static QString Opis(const TDrzewo &d, const TWezel *rodzic = nullptr)
  {
    QStringList czesci;
    const int n = rodzic ? rodzic->LiczbaDzieci() : d.LiczbaGlownych();
    for (int i = 0; i < n; ++i) {
      const TWezel *w = rodzic ? rodzic->Dziecko(i) : d.Glowny(i);
      czesci << (w->LiczbaDzieci() ? w->Tekst() + u'(' + Opis(d, w) + u')' : w->Tekst());
    }
    return czesci.join(u' ');
  }
};

PAPLANKI_TEST_MAIN(TestModelDrzewa)
#include "test_ModelDrzewa.moc"
