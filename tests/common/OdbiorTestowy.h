#pragma once

#include "common/ServerTestowy.h"
#include "contacts/Drzewo.h"
#include "contacts/Ustawienia.h"
#include "gg/Odbior.h"
#include "gg/OdbiorPakietow.h"
#include "net/Gniazdo.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSettings>
#include <QStringList>

#include <functional>
#include <memory>

// The main window as the dispatcher sees it, recording every call.
class TOknoTestowe : public TOknoSesji {
public:
  void UstawTekstPanelu(int panel, const QString &tekst) override
  {
    if (panel == PanelPolaczenia)
      Panel2 << tekst;
  }
  int PokazKomunikat(const QString &, const QString &, int) override { return 1; }
  bool PolaczWcisniety() const override { return true; }
  void Display(const QString &tekst) override
  {
    Wyswietlone << tekst;
    if (PrzyDisplay)
      PrzyDisplay(tekst);
  }
  void PokazInformacje(const QString &tekst) override
  {
    Informacje << tekst;
    if (PrzyInformacji)
      PrzyInformacji(tekst);
  }
  void PrzywolajOkno() override { ++Przywolania; }
  void UczynWidocznym(TWezel *wezel) override { Widoczne << wezel; }
  bool IdleTmrDziala() const override { return IdleDziala; }
  void DzwiekNowejWiadomosci() override { ++Dzwieki; }

  QStringList Panel2;
  QStringList Wyswietlone;
  QStringList Informacje;
  QList<TWezel *> Widoczne;
  int Przywolania = 0;
  int Dzwieki = 0;
  bool IdleDziala = true;
  // Runs while the "box" is up: a test may spin an event loop here, as a modal box would.
  std::function<void(const QString &)> PrzyDisplay;
  std::function<void(const QString &)> PrzyInformacji;
};

// Event log lines (category, text).
class TDziennikTestowy {
public:
  TLoguj Funkcja()
  {
    return [this](const QString &k, const QString &t) { Wpisy << qMakePair(k, t); };
  }
  QStringList Teksty(const QString &kategoria) const;
  QList<QPair<QString, QString>> Wpisy;
};

// Settings, tree, window and log around one dispatcher, as the main window holds them.
class TStanowiskoOdbioru {
public:
  explicit TStanowiskoOdbioru(bool tylkoOdPrzyjaciol = true);

  QSettings Rejestr;
  TUstawienia Ustawienia;
  TDrzewo Drzewo;
  TOknoTestowe Okno;
  TDziennikTestowy Dziennik;
  TOdbior Odbior;

  // Feeds one packet straight in.
  void Obsluz(qint32 typ, const QByteArray &cialo)
  {
    Odbior.Obsluz(typ, qint32(cialo.size()), cialo);
  }
};

// A scripted GG server on loopback and the program's client side of it: the socket, the
// reassembly and a dispatcher. The script runs on the server's thread.
class TPolaczenieGG {
public:
  TPolaczenieGG(TSerwerTestowy::TScenariusz scenariusz, TOdbiorPakietow::TDyspozytor dyspozytor);
  ~TPolaczenieGG();

  TGniazdo &Gniazdo() { return *m_gniazdo; }
  bool Polaczone() const { return m_polaczone; }
  int Dostarczone() const { return m_dostarczone; }
  // Runs the event loop until `ile` packets have been dispatched in all (false on timeout).
  bool CzekajNaPakiety(int ile, int limitMs = 10000);

private:
  std::unique_ptr<TSerwerTestowy> m_serwer;
  std::unique_ptr<TGniazdo> m_gniazdo;
  TOdbiorPakietow m_odbior;
  TOdbiorPakietow::TDyspozytor m_dyspozytor;
  int m_dostarczone = 0;
  bool m_polaczone = false;
};

// Sends the frames from a server on loopback (in pieces of `kawalek` bytes when not 0) into
// the dispatcher and waits until all have been dispatched.
bool DostarczPrzezGniazdo(TOdbior &odbior, const QByteArray &strumien, int liczbaPakietow,
                          qsizetype kawalek = 0);

// Bodies of received packets.
QByteArray CialoWiadomosci(qint32 nadawca, qint32 sekwencja, quint32 czas, qint32 klasa,
                           const QByteArray &tekst, const QByteArray &poTekscie = QByteArray());
QByteArray CialoKonferencji(qint32 liczba, const QList<qint32> &numery);
QByteArray CialoStatus(qint32 numer, qint32 status, const QByteArray &opis = QByteArray(),
                       quint32 czas = 0);
QByteArray WpisStatus60(qint32 numer, quint8 status, quint8 flagi = 0);
QByteArray CialoPotwierdzenia(qint32 status, qint32 odbiorca, qint32 sekwencja);
