// The main window's tree commands: command target, Space, Delete, Insert, drag and drop, in-place
// editing and the unread check on closing.

#include "app/Komunikaty.h"
#include "common/OknaPowloki.h"
#include "common/OknoGlowne.h"
#include "common/Srodowisko.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/WidokDrzewa.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>

#include <memory>

using TTrafienie = TWidokDrzewa::TTrafienie;
Q_DECLARE_METATYPE(TTrafienie)

namespace {

// The tree as text: captions, children in parentheses.
QString Struktura(const TWezel *rodzic, const TDrzewo &d)
{
  QStringList czesci;
  const int liczba = rodzic ? rodzic->LiczbaDzieci() : d.LiczbaGlownych();
  for (int i = 0; i < liczba; ++i) {
    const TWezel *w = rodzic ? rodzic->Dziecko(i) : d.Glowny(i);
    czesci << (w->LiczbaDzieci() ? w->Tekst() + u'(' + Struktura(w, d) + u')' : w->Tekst());
  }
  return czesci.join(u',');
}

const QString Poczatkowa = QStringLiteral("K1(Z0,M1(A1(A1a),A2),Z3),K2(N2),P(P1)");

} // namespace

class TestFrmPaplankiMainDrzewo : public QObject {
  Q_OBJECT

  std::unique_ptr<TOknoGlowneTestowe> m_okno;

  TDrzewo &D() { return m_okno->Drzewo; }
  TWidokDrzewa *Widok() { return m_okno->TreeView1; }
  QString Struktura() { return ::Struktura(nullptr, D()); }

  TWezel *W(const QString &tekst)
  {
    for (TWezel *w = D().Pierwszy(); w; w = w->Nastepny())
      if (w->Tekst() == tekst)
        return w;
    return nullptr;
  }
  QModelIndex I(const QString &tekst) { return m_okno->Model->Indeks(W(tekst)); }

  void Zbuduj()
  {
    TDrzewo &d = D();
    TWezel *k1 = d.DodajUzytkownika(111, QString(), QString(), QString(), QString(),
                                    QStringLiteral("K1"), 3);
    TWezel *z0 = d.Dodaj(k1, QStringLiteral("Z0"));
    z0->UstawDane(std::make_shared<TZmianaStanu>(z0, QDateTime::currentDateTime(), QString(), 2));
    z0->UstawTekst(QStringLiteral("Z0"));
    TWezel *m1 = DodajWypowiedz(d, k1, QStringLiteral("M1"), 111);
    TWezel *a1 = DodajWypowiedz(d, m1, QStringLiteral("A1"), 111);
    d.Dodaj(a1, QStringLiteral("A1a"));
    DodajWypowiedz(d, m1, QStringLiteral("A2"), 111);
    TWezel *z3 = d.Dodaj(k1, QStringLiteral("Z3"));
    z3->UstawDane(std::make_shared<TZmianaStanu>(z3, QDateTime::currentDateTime(), QString(), 3));
    z3->UstawTekst(QStringLiteral("Z3"));
    k1->DaneJako<TUzytkownik>()->OstatniaWypowiedz = m1;
    TWezel *k2 = d.DodajUzytkownika(222, QString(), QString(), QString(), QString(),
                                    QStringLiteral("K2"), 3);
    DodajWypowiedz(d, k2, QStringLiteral("N2"), 222)->UstawObrazStanu(2);
    TWezel *p = d.Dodaj(nullptr, QStringLiteral("P"));
    d.Dodaj(p, QStringLiteral("P1"));
    QCOMPARE(Struktura(), Poczatkowa);
    Widok()->expandAll();
  }

  bool Klawisz(int klawisz)
  {
    QKeyEvent wcisniety(QEvent::KeyPress, klawisz, Qt::NoModifier);
    return QApplication::sendEvent(Widok(), &wcisniety);
  }

  // A point of the viewport where the hit test gives `gdzie` for the row of `tekst` (any row for
  // Nigdzie).
  QPoint Punkt(const QString &tekst, TTrafienie gdzie)
  {
    if (gdzie == TTrafienie::Nigdzie)
      return QPoint(30, Widok()->viewport()->height() - 3);
    const QRect wiersz = Widok()->visualRect(I(tekst));
    for (int x = 0; x < Widok()->viewport()->width(); ++x) {
      const QPoint p(x, wiersz.center().y());
      const auto t = Widok()->Traf(p);
      if (t.gdzie == gdzie && t.indeks == I(tekst))
        return p;
    }
    return QPoint(-1, -1);
  }

  void Upusc(const QPoint &punkt)
  {
    std::unique_ptr<QMimeData> dane(m_okno->Model->mimeData({I(QStringLiteral("P"))}));
    // A drop goes to the widget that accepted the drag's entry.
    QDragEnterEvent wejscie(punkt, Qt::MoveAction, dane.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Widok()->viewport(), &wejscie);
    QVERIFY(wejscie.isAccepted());
    QDragMoveEvent ruch(punkt, Qt::MoveAction, dane.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Widok()->viewport(), &ruch);
    QVERIFY(ruch.isAccepted()); // every point is accepted
    QDropEvent upuszczenie(QPointF(punkt), Qt::MoveAction, dane.get(), Qt::LeftButton,
                           Qt::NoModifier);
    QApplication::sendEvent(Widok()->viewport(), &upuszczenie);
    QVERIFY(upuszczenie.isAccepted());
  }

private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void init()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    m_okno->show();
    m_okno->resize(500, 560);
    QVERIFY(QTest::qWaitForWindowExposed(m_okno.get()));
    Zbuduj();
  }
  void cleanup() { m_okno.reset(); }

  void celMyszy_data()
  {
    QTest::addColumn<int>("przycisk");
    QTest::addColumn<QString>("wiersz");
    QTest::addColumn<TTrafienie>("gdzie");
    QTest::addColumn<QString>("cel");
    QTest::addColumn<QString>("zaznaczony");
    const int prawy = Qt::RightButton, lewy = Qt::LeftButton;
    QTest::newRow("prawy na etykiecie") << prawy << "K2" << TTrafienie::Etykieta << "K2"
                                        << "K1";
    QTest::newRow("prawy na ikonie") << prawy << "K2" << TTrafienie::Ikona << "K2"
                                     << "K1";
    QTest::newRow("prawy na stanie") << prawy << "N2" << TTrafienie::IkonaStanu << "N2"
                                     << "K1";
    QTest::newRow("prawy na wcięciu") << prawy << "A2" << TTrafienie::Wciecie << ""
                                      << "K1";
    QTest::newRow("prawy za etykietą") << prawy << "K2" << TTrafienie::ZaEtykieta << ""
                                       << "K1";
    QTest::newRow("prawy w pustym") << prawy << "" << TTrafienie::Nigdzie << ""
                                    << "K1";
    QTest::newRow("lewy na etykiecie") << lewy << "A2" << TTrafienie::Etykieta << "A2"
                                       << "A2";
    QTest::newRow("lewy na ikonie") << lewy << "K2" << TTrafienie::Ikona << "K2"
                                    << "K2";
    QTest::newRow("lewy na wcięciu") << lewy << "A2" << TTrafienie::Wciecie << ""
                                     << "K1";
    QTest::newRow("środkowy na etykiecie")
        << int(Qt::MiddleButton) << "K2" << TTrafienie::Etykieta << "K2"
        << "K1";
  }
  void celMyszy()
  {
    QFETCH(int, przycisk);
    QFETCH(QString, wiersz);
    QFETCH(TTrafienie, gdzie);
    QFETCH(QString, cel);
    QFETCH(QString, zaznaczony);
    m_okno->Zaznacz(W(QStringLiteral("K1")));
    D().UstawStanWezla(W(QStringLiteral("K2")), StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    const QPoint p = Punkt(wiersz, gdzie);
    QVERIFY(p.x() >= 0);
    QTest::mousePress(Widok()->viewport(), Qt::MouseButton(przycisk), {}, p);
    QTest::mouseRelease(Widok()->viewport(), Qt::MouseButton(przycisk), {}, p);
    QCOMPARE(m_okno->WybranyWezel.get(), W(cel));
    QCOMPARE(m_okno->ZaznaczonyWezel(), W(zaznaczony));
    // Only selecting clears the bold bit.
    QCOMPARE(D().MaStanWezla(W(QStringLiteral("K2")), StanWezla::Pogrubiony), zaznaczony != u"K2");
  }

  void spacja_data()
  {
    QTest::addColumn<QString>("zaznaczony");
    QTest::addColumn<QStringList>("pogrubione");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("nic zaznaczone")
        << QStringLiteral("") << QStringList{QStringLiteral("A2")} << QStringLiteral("");
    QTest::newRow("w głąb najpierw")
        << QStringLiteral("K1") << QStringList{QStringLiteral("N2"), QStringLiteral("A1a")}
        << QStringLiteral("A1a");
    QTest::newRow("wcześniejsze pominięte")
        << QStringLiteral("A2")
        << QStringList{QStringLiteral("M1"), QStringLiteral("K1"), QStringLiteral("P1")}
        << QStringLiteral("P1");
    QTest::newRow("dalej niż rodzeństwo")
        << QStringLiteral("A1a") << QStringList{QStringLiteral("Z3")} << QStringLiteral("Z3");
    QTest::newRow("ostatni nieprzeczytany")
        << QStringLiteral("N2") << QStringList{QStringLiteral("K1"), QStringLiteral("M1")}
        << QStringLiteral("N2");
  }
  void spacja()
  {
    QFETCH(QString, zaznaczony);
    QFETCH(QStringList, pogrubione);
    QFETCH(QString, wynik);
    if (!zaznaczony.isEmpty())
      m_okno->Zaznacz(W(zaznaczony));
    for (const QString &p : pogrubione)
      D().UstawStanWezla(W(p), StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    Widok()->collapseAll();
    QVERIFY(Klawisz(Qt::Key_Space));
    QCOMPARE(m_okno->ZaznaczonyWezel(), W(wynik));
    for (const QString &p : pogrubione)
      QCOMPARE(D().MaStanWezla(W(p), StanWezla::Pogrubiony), p != wynik);
    if (!wynik.isEmpty() && wynik != zaznaczony) {
      QCOMPARE(m_okno->WybranyWezel.get(), W(wynik));
      // Found below collapsed nodes, it is shown.
      for (QModelIndex r = I(wynik).parent(); r.isValid(); r = r.parent())
        QVERIFY(Widok()->isExpanded(r));
    }
  }

  void zamykanie_data()
  {
    QTest::addColumn<QStringList>("pogrubione");
    QTest::addColumn<QString>("odpowiedz");
    QTest::addColumn<QString>("wybrany");
    QTest::addColumn<bool>("zamkniete");
    QTest::newRow("bez nieprzeczytanych") << QStringList() << ""
                                          << "" << true;
    QTest::newRow("tylko pierwszy")
        << QStringList{QStringLiteral("K1")} << QStringLiteral("") << QStringLiteral("") << true;
    QTest::newRow("późniejszy, Nie")
        << QStringList{QStringLiteral("K1"), QStringLiteral("A1a"), QStringLiteral("N2")}
        << QStringLiteral("&Nie") << QStringLiteral("A1a") << false;
    QTest::newRow("późniejszy, Tak") << QStringList{QStringLiteral("P1")} << QStringLiteral("&Tak")
                                     << QStringLiteral("P1") << true;
  }
  void zamykanie()
  {
    QFETCH(QStringList, pogrubione);
    QFETCH(QString, odpowiedz);
    QFETCH(QString, wybrany);
    QFETCH(bool, zamkniete);
    for (const QString &p : pogrubione)
      D().UstawStanWezla(W(p), StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    Widok()->collapseAll();
    m_okno->Ustawienia().UstawOstatniAdresat(QStringLiteral("5551"));
    auto pytanie = OdpowiedzNaKomunikat(odpowiedz, odpowiedz.isEmpty() ? 300 : 5000);
    QCOMPARE(m_okno->close(), zamkniete);
    QTest::qWait(odpowiedz.isEmpty() ? 400 : 0); // unanswered: time for a box that must not come
    QCOMPARE(pytanie->Pokazany, !odpowiedz.isEmpty());
    if (pytanie->Pokazany) {
      QCOMPARE(pytanie->Tytul, QStringLiteral("Paplanki (GG) - Ostrzeżenie"));
      QCOMPARE(pytanie->Tekst,
               QStringLiteral(
                   "Są jeszcze nieprzeczytane wiadomości.\nMimo to zamknąć ?")); // the CR breaks
                                                                                 // the line
      QCOMPARE(pytanie->Ikona, QMessageBox::Question);
      QCOMPARE(pytanie->Przyciski, (QStringList{QStringLiteral("&Tak"), QStringLiteral("&Nie")}));
      QCOMPARE(m_okno->ZaznaczonyWezel(), W(wybrany));
      QVERIFY(!D().MaStanWezla(W(wybrany), StanWezla::Pogrubiony));
    }
    QCOMPARE(m_okno->isVisible(), !zamkniete);
    // The closing values are stored only when the window closes.
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatniAdresat")),
             zamkniete ? QStringLiteral("5551") : QString());
  }

  void usuwanie_data()
  {
    QTest::addColumn<QString>("cel");
    QTest::addColumn<QString>("odpowiedz");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("bez celu") << ""
                              << "" << Poczatkowa;
    QTest::newRow("wiadomość z odpowiedziami") << "M1"
                                               << "&Tak"
                                               << "K1(Z0,A1(A1a),A2,Z3),K2(N2),P(P1)";
    QTest::newRow("wiadomość, Nie") << "M1"
                                    << "&Nie" << Poczatkowa;
    QTest::newRow("odpowiedź z odpowiedzią") << "A1"
                                             << "&Tak"
                                             << "K1(Z0,M1(A1a,A2),Z3),K2(N2),P(P1)";
    QTest::newRow("zmiana stanu") << "Z0"
                                  << "&Tak"
                                  << "K1(M1(A1(A1a),A2),Z3),K2(N2),P(P1)";
    QTest::newRow("węzeł bez danych") << "P"
                                      << "&Tak"
                                      << "K1(Z0,M1(A1(A1a),A2),Z3),K2(N2)";
    // A contact stops being tracked: it goes with its conversation.
    QTest::newRow("kontakt") << "K2"
                             << "&Tak"
                             << "K1(Z0,M1(A1(A1a),A2),Z3),P(P1)";
    QTest::newRow("kontakt, Nie") << "K2"
                                  << "&Nie" << Poczatkowa;
  }
  void usuwanie()
  {
    QFETCH(QString, cel);
    QFETCH(QString, odpowiedz);
    QFETCH(QString, wynik);
    m_okno->Zaznacz(W(QStringLiteral("K1")));
    m_okno->WybranyWezel = W(cel);
    auto pytanie = OdpowiedzNaKomunikat(odpowiedz, odpowiedz.isEmpty() ? 300 : 5000);
    QVERIFY(Klawisz(Qt::Key_Delete));            // never reaches the tree
    QTest::qWait(odpowiedz.isEmpty() ? 400 : 0); // unanswered: time for a box that must not come
    QCOMPARE(pytanie->Pokazany, !odpowiedz.isEmpty());
    if (pytanie->Pokazany) {
      QCOMPARE(pytanie->Tytul, QStringLiteral("Paplanki (GG) - Zapytanie"));
      QCOMPARE(pytanie->Tekst, QStringLiteral("Na pewno usunąć ?"));
      QCOMPARE(pytanie->Ikona, QMessageBox::Question);
      QCOMPARE(pytanie->Domyslny, QStringLiteral("&Nie"));
    }
    QCOMPARE(Struktura(), wynik);
    const bool usuniety = !cel.isEmpty() && !W(cel);
    QCOMPARE(m_okno->WybranyWezel.isNull(), cel.isEmpty() || usuniety);
    // The reply anchor never points at a deleted node.
    const TUzytkownik *k1 = W(QStringLiteral("K1"))->DaneJako<TUzytkownik>();
    QCOMPARE(k1->OstatniaWypowiedz.get(), W(QStringLiteral("M1")));
  }

  void wstaw_data()
  {
    QTest::addColumn<QString>("cel");
    QTest::addColumn<int>("wywolania");
    QTest::addColumn<QString>("kontakt");
    QTest::addColumn<int>("numer");
    QTest::addColumn<bool>("zWezlem");
    QTest::newRow("bez celu") << "" << 0 << "" << 0 << false;
    QTest::newRow("kontakt") << "K2" << 1 << "K2" << 222 << true;
    QTest::newRow("wiadomość") << "M1" << 1 << "K1" << 111 << true;
    QTest::newRow("odpowiedź głęboko") << "A1" << 1 << "K1" << 111 << true;
    QTest::newRow("bez danych") << "P1" << 1 << "" << 0 << false;
    QTest::newRow("zmiana stanu") << "Z3" << 0 << "" << 0 << false;
  }
  void wstaw()
  {
    QFETCH(QString, cel);
    QFETCH(int, wywolania);
    QFETCH(QString, kontakt);
    QFETCH(int, numer);
    QFETCH(bool, zWezlem);
    m_okno->WybranyWezel = W(cel);
    QVERIFY(Klawisz(Qt::Key_Insert));
    QCOMPARE(m_okno->Wyslania.size(), wywolania);
    if (!wywolania)
      return;
    const auto w = m_okno->Wyslania.first();
    QCOMPARE(w.uzytkownik, kontakt.isEmpty() ? nullptr : W(kontakt)->DaneJako<TUzytkownik>());
    QCOMPARE(w.numer, numer);
    QCOMPARE(w.wezel, zWezlem ? W(cel) : nullptr);
  }

  void wiadomoscBezKontaktu()
  {
    TWezel *w = DodajWypowiedz(D(), nullptr, QStringLiteral("do 999"), 999);
    m_okno->WybranyWezel = w;
    m_okno->Wstaw1Click(m_okno.get());
    QCOMPARE(m_okno->Wyslania.size(), 1);
    QVERIFY(!m_okno->Wyslania.first().uzytkownik);
    QCOMPARE(m_okno->Wyslania.first().numer, 999);
    QCOMPARE(m_okno->Wyslania.first().wezel, w);
  }

  void przeciaganie_data()
  {
    QTest::addColumn<QString>("przenoszony");
    QTest::addColumn<QString>("wiersz");
    QTest::addColumn<TTrafienie>("gdzie");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("pusta przestrzeń")
        << "N2"
        << "" << TTrafienie::Nigdzie << "K1(Z0,M1(A1(A1a),A2),Z3),K2,P(P1),N2";
    QTest::newRow("na etykietę") << "P"
                                 << "K2" << TTrafienie::Etykieta
                                 << "K1(Z0,M1(A1(A1a),A2),Z3),K2(N2,P(P1))";
    QTest::newRow("na ikonę") << "Z3"
                              << "P" << TTrafienie::Ikona
                              << "K1(Z0,M1(A1(A1a),A2)),K2(N2),P(P1,Z3)";
    QTest::newRow("na obraz stanu")
        << "P"
        << "N2" << TTrafienie::IkonaStanu << "K1(Z0,M1(A1(A1a),A2),Z3),K2(N2(P(P1)))";
    QTest::newRow("na wcięcie") << "P"
                                << "A2" << TTrafienie::Wciecie
                                << "K1(Z0,M1(A1(A1a),P(P1),A2),Z3),K2(N2)";
    QTest::newRow("wcięcie najwyższego poziomu")
        << "P"
        << "K1" << TTrafienie::Wciecie << "P(P1),K1(Z0,M1(A1(A1a),A2),Z3),K2(N2)";
    QTest::newRow("za etykietą") << "P"
                                 << "K2" << TTrafienie::ZaEtykieta << Poczatkowa;
    QTest::newRow("na siebie") << "M1"
                               << "M1" << TTrafienie::Etykieta << Poczatkowa;
    QTest::newRow("do własnego poddrzewa") << "K1"
                                           << "A1a" << TTrafienie::Etykieta << Poczatkowa;
    QTest::newRow("przed własne dziecko") << "M1"
                                          << "A2" << TTrafienie::Wciecie << Poczatkowa;
    QTest::newRow("bez zaznaczenia") << ""
                                     << "K2" << TTrafienie::Etykieta << Poczatkowa;
  }
  void przeciaganie()
  {
    QFETCH(QString, przenoszony);
    QFETCH(QString, wiersz);
    QFETCH(TTrafienie, gdzie);
    QFETCH(QString, wynik);
    if (!przenoszony.isEmpty())
      m_okno->Zaznacz(W(przenoszony));
    const QPoint p = Punkt(wiersz, gdzie);
    QVERIFY2(p.x() >= 0, "no such point in the row");
    QCOMPARE(Widok()->Traf(p).gdzie, gdzie);
    Upusc(p);
    if (QTest::currentTestFailed())
      return;
    QCOMPARE(Struktura(), wynik);
    // Payloads travel with their nodes.
    QCOMPARE(W(QStringLiteral("K2"))->DaneJako<TUzytkownik>()->Numer(), 222);
    QCOMPARE(m_okno->ZaznaczonyWezel(), W(przenoszony));
  }

  void edycjaWMiejscu_data()
  {
    QTest::addColumn<QString>("wezel");
    QTest::addColumn<bool>("edytowalny");
    QTest::newRow("wiadomość") << "M1" << true;
    QTest::newRow("kontakt") << "K1" << false;
    QTest::newRow("zmiana stanu") << "Z0" << false;
    QTest::newRow("bez danych") << "P1" << false;
  }
  void edycjaWMiejscu()
  {
    QFETCH(QString, wezel);
    QFETCH(bool, edytowalny);
    TWezel *w = W(wezel);
    m_okno->Zaznacz(w);
    m_okno->WybranyWezel = w;
    if (!edytowalny)
      QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
    Widok()->edit(I(wezel));
    QCOMPARE(Widok()->Edytuje(), edytowalny);
    if (!edytowalny)
      return;
    // While a caption is edited, Delete belongs to the editor, not to the window.
    auto pytanie = OdpowiedzNaKomunikat(QString(), 300);
    QWidget *edytor = QApplication::focusWidget();
    QVERIFY(edytor && edytor != Widok());
    QTest::keyClick(edytor, Qt::Key_End);
    QTest::keyClick(edytor, Qt::Key_Delete);
    QTest::keyClicks(edytor, QStringLiteral(" zmienione"));
    QTest::keyClick(edytor, Qt::Key_Return);
    QTest::qWait(400); // time for a box that must not come
    QVERIFY(!pytanie->Pokazany);
    QCOMPARE(w->Tekst(), QStringLiteral("M1 zmienione"));
    QCOMPARE(w->DaneJako<TWypowiedz>()->Tekst(), QStringLiteral("M1"));
  }
};

PAPLANKI_TEST_MAIN(TestFrmPaplankiMainDrzewo)
#include "test_FrmPaplankiMainDrzewo.moc"
