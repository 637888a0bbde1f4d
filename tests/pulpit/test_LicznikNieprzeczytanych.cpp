// The unread count follows the tree: received messages with a bold line, each message once.

#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "pulpit/LicznikNieprzeczytanych.h"

#include <QSignalSpy>

namespace {

// A message as the dispatcher adds it: one payload shared by its bold lines.
QList<TWezel *> Odebrana(TDrzewo &drzewo, TWezel *rodzic, int nadawca, int linie)
{
  auto wypowiedz = std::make_shared<TWypowiedz>(
      nullptr, std::make_unique<TDaneDodatkowe>(2, nadawca, 0, 1, QDateTime()),
      QStringLiteral("tekst"));
  QList<TWezel *> wynik;
  for (int i = 0; i < linie; ++i) {
    TWezel *w = drzewo.Dodaj(rodzic, QStringLiteral("linia %1").arg(i));
    w->UstawDane(wypowiedz);
    drzewo.UstawStanWezla(w, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    wynik << w;
  }
  return wynik;
}

void Przeczytaj(TDrzewo &drzewo, TWezel *w)
{
  drzewo.UstawStanWezla(w, 0, StanWezla::Pogrubiony);
}

} // namespace

class TestLicznikNieprzeczytanych : public QObject {
  Q_OBJECT

private slots:
  void liczenie()
  {
    TDrzewo drzewo;
    TWezel *ala = drzewo.DodajUzytkownika(1001, {}, {}, {}, {}, QStringLiteral("Ala"), 1);
    TLicznikNieprzeczytanych licznik(drzewo);
    QSignalSpy nowe(&licznik, &TLicznikNieprzeczytanych::NowaWiadomosc);
    QSignalSpy zmiany(&licznik, &TLicznikNieprzeczytanych::ZmienionoLiczbe);

    // A status shown bold on the contact, and a bold status-change node: no messages.
    drzewo.ZastosujStan(ala, 2);
    QVERIFY(drzewo.MaStanWezla(ala, StanWezla::Pogrubiony));
    TWezel *zmiana = drzewo.Dodaj(ala, QStringLiteral("zmiana"));
    zmiana->UstawDane(std::make_shared<TZmianaStanu>(zmiana, QDateTime(), QString(), 2));
    drzewo.UstawStanWezla(zmiana, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    // A sent message (it carries the time it was written), even if bold.
    TWezel *wyslana = drzewo.Dodaj(ala, QStringLiteral("wysłana"));
    wyslana->UstawDane(std::make_shared<TWypowiedz>(
        wyslana, std::make_unique<TDaneDodatkowe>(10, 1001, 0, 5, QDateTime::currentDateTime()),
        QStringLiteral("wysłana")));
    drzewo.UstawStanWezla(wyslana, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    QCOMPARE(licznik.Liczba(), 0);
    QCOMPARE(nowe.size(), 0);

    // Three lines of one message count once, and announce once, with the first line.
    const QList<TWezel *> trzy = Odebrana(drzewo, ala, 1001, 3);
    QCOMPARE(licznik.Liczba(), 1);
    QCOMPARE(nowe.size(), 1);
    QCOMPARE(nowe.first().first().value<TWezel *>(), trzy.first());
    // Under the sent message, as an answer: a second one.
    const QList<TWezel *> odpowiedz = Odebrana(drzewo, wyslana, 1001, 1);
    QCOMPARE(licznik.Liczba(), 2);
    QCOMPARE(nowe.size(), 2);
    QCOMPARE(zmiany.last().first().toInt(), 2);

    // Reading some lines of a message leaves it unread; the last one read takes it off.
    Przeczytaj(drzewo, trzy[0]);
    Przeczytaj(drzewo, trzy[2]);
    QCOMPARE(licznik.Liczba(), 2);
    Przeczytaj(drzewo, trzy[1]);
    QCOMPARE(licznik.Liczba(), 1);
    QCOMPARE(zmiany.last().first().toInt(), 1);

    // Moving keeps the count; deleting an unread line (with its subtree) takes it off.
    QVERIFY(drzewo.Przenies(wyslana, nullptr));
    QCOMPARE(licznik.Liczba(), 1);
    drzewo.Usun(wyslana);
    QCOMPARE(licznik.Liczba(), 0);
    QCOMPARE(zmiany.last().first().toInt(), 0);

    // A payload given to a node that is bold already counts as well.
    TWezel *pozniej = drzewo.Dodaj(ala, QStringLiteral("później"));
    drzewo.UstawStanWezla(pozniej, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    QCOMPARE(licznik.Liczba(), 0);
    pozniej->UstawDane(std::make_shared<TWypowiedz>(
        pozniej, std::make_unique<TDaneDodatkowe>(2, 1001, 0, 7, QDateTime()),
        QStringLiteral("x")));
    QCOMPARE(licznik.Liczba(), 1);

    // Clearing the tree empties the count; what the tree held before a counter started counts.
    Odebrana(drzewo, nullptr, 7, 2);
    QCOMPARE(licznik.Liczba(), 2);
    TLicznikNieprzeczytanych drugi(drzewo);
    QCOMPARE(drugi.Liczba(), 2);
    drzewo.Wyczysc();
    QCOMPARE(licznik.Liczba(), 0);
    QCOMPARE(drugi.Liczba(), 0);
  }

  // The counter may outlive its tree.
  void drzewoZniszczone()
  {
    auto drzewo = std::make_unique<TDrzewo>();
    TLicznikNieprzeczytanych licznik(*drzewo);
    Odebrana(*drzewo, nullptr, 5, 1);
    QCOMPARE(licznik.Liczba(), 1);
    drzewo.reset();
    QCOMPARE(licznik.Liczba(), 0);
  }
};

PAPLANKI_TEST_MAIN(TestLicznikNieprzeczytanych)
#include "test_LicznikNieprzeczytanych.moc"
