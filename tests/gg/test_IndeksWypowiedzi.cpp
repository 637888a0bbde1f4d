#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "gg/IndeksWypowiedzi.h"

#include <QRandomGenerator>

namespace {

std::shared_ptr<TWypowiedz> Wypowiedz(int sekwencja)
{
  return std::make_shared<TWypowiedz>(
      nullptr, std::make_unique<TDaneDodatkowe>(-1, 1, 0, sekwencja, QDateTime()), QString());
}

// What a walk of the whole tree finds.
TWezel *PrzejdzCaleDrzewo(const TDrzewo &d, int sekwencja)
{
  for (TWezel *w = d.Pierwszy(); w; w = w->Nastepny())
    if (auto *wyp = w->DaneJako<TWypowiedz>())
      if (wyp->DaneDodatkowe().NumerSekwencyjny == sekwencja)
        return w;
  return nullptr;
}

} // namespace

class TestIndeksWypowiedzi : public QObject {
  Q_OBJECT
private slots:
  void jakPrzejscieDrzewa()
  {
    // Against the plain walk, under random additions, moves, deletions and payload changes.
    constexpr int Sekwencje = 6;
    TDrzewo d;
    // Messages already in the tree when the index is made are found too.
    TWezel *wczesniejszy = d.Dodaj(nullptr, QStringLiteral("przed"));
    wczesniejszy->UstawDane(Wypowiedz(3));
    TIndeksWypowiedzi indeks(d);
    QRandomGenerator los(11);
    for (int krok = 0; krok < 4000; ++krok) {
      QList<TWezel *> wszystkie;
      for (TWezel *w = d.Pierwszy(); w; w = w->Nastepny())
        wszystkie << w;
      auto dowolny = [&]() -> TWezel * {
        return wszystkie.isEmpty() ? nullptr : wszystkie[los.bounded(int(wszystkie.size()))];
      };
      TWezel *losowy = dowolny();
      switch (wszystkie.size() < 6 ? 0 : los.bounded(8)) {
      case 0:
      case 1: {
        TWezel *w =
            d.Wstaw(los.bounded(3) ? losowy : nullptr, los.bounded(4) - 1, QStringLiteral("w"));
        w->UstawDane(Wypowiedz(los.bounded(Sekwencje)));
        break;
      }
      case 2: {
        // The lines of one received message share their payload.
        auto wspolna = Wypowiedz(los.bounded(Sekwencje));
        for (int i = 0; i < 3; ++i)
          d.Dodaj(losowy, QStringLiteral("linia"))->UstawDane(wspolna);
        break;
      }
      case 3:
        d.Przenies(losowy, los.bounded(2) ? nullptr : dowolny(), los.bounded(5) - 1);
        break;
      case 4:
        if (los.bounded(2))
          d.Usun(losowy);
        else
          d.UsunZachowujacDzieci(losowy);
        break;
      case 5:
        // Payload swapped for another message, for something else, or dropped.
        switch (los.bounded(3)) {
        case 0:
          losowy->UstawDane(Wypowiedz(los.bounded(Sekwencje)));
          break;
        case 1:
          losowy->UstawDane(std::make_shared<TKonferencja>(losowy));
          break;
        default:
          losowy->UstawDane(nullptr);
          break;
        }
        break;
      case 6:
        d.Dodaj(losowy, QStringLiteral("bez danych"));
        break;
      case 7:
        if (los.bounded(40) == 0)
          los.bounded(2) ? d.Wyczysc() : d.UsunDzieci(nullptr);
        else
          d.UsunDzieci(losowy);
        break;
      }
      for (int sekwencja = 0; sekwencja < Sekwencje + 1; ++sekwencja)
        QCOMPARE(indeks.Znajdz(sekwencja), PrzejdzCaleDrzewo(d, sekwencja));
    }
  }

  void martweWpisySaSprzatane()
  {
    // A peer that sends every message with the same sequence number, its conversation deleted
    // again and again: the entries of deleted nodes do not pile up.
    TDrzewo d;
    TIndeksWypowiedzi indeks(d);
    TWezel *kontakt = d.Dodaj(nullptr);
    for (int runda = 0; runda < 20; ++runda) {
      for (int i = 0; i < 1000; ++i)
        d.Dodaj(kontakt)->UstawDane(Wypowiedz(0));
      d.UsunDzieci(kontakt);
    }
    TWezel *ostatnia = d.Dodaj(kontakt);
    ostatnia->UstawDane(Wypowiedz(0));
    QVERIFY2(indeks.Wpisy() < 5000, qPrintable(QString::number(indeks.Wpisy())));
    QCOMPARE(indeks.Znajdz(0), ostatnia);
    QCOMPARE(indeks.Wpisy(), size_t(1));
  }

  void drzewoNiszczonePierwsze()
  {
    auto d = std::make_unique<TDrzewo>();
    TIndeksWypowiedzi indeks(*d);
    d->Dodaj(nullptr)->UstawDane(Wypowiedz(1));
    QVERIFY(indeks.Znajdz(1));
    d.reset();
    QCOMPARE(indeks.Znajdz(1), nullptr);
  }
};

PAPLANKI_TEST_MAIN(TestIndeksWypowiedzi)
#include "test_IndeksWypowiedzi.moc"
