#pragma once

#include "common/OdbiorTestowy.h"
#include "common/StanowiskoWiadomosci.h"
#include "gg/Katalog.h"
#include "gg/Odbior.h"
#include "gg/WysylanieWiadomosci.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// The real paplanki-serwer as a child process on loopback ports chosen by the system, with a
// data folder of its own (kept across restarts of the same object).
class TProcesSerwera {
public:
  // `program` stands in for the server program (a script that starts it, say).
  explicit TProcesSerwera(const QStringList &przelaczniki = {}, const QString &program = {});
  ~TProcesSerwera();

  // Starts the process (again on the same ports and data after a stop) and waits for its ports.
  [[nodiscard]] bool Uruchom();
  // SIGKILL, then waits for the process to go.
  void Zabij();
  // SIGTERM; true when it ended by itself with status 0.
  bool Zakoncz();

  quint16 PortGG() const { return m_portGG; }
  quint16 PortHttp() const { return m_portHttp; }
  QString Dane() const { return m_dane.path(); }
  QString PlikBazy() const;
  // Everything the server wrote to stderr so far.
  QByteArray Dziennik();
  QProcess &Proces() { return m_proces; }
  // Shortened connection limits for the next start, in seconds.
  void UstawLimity(int naLogowanie, int bezczynnosc);

  static QString Program();
  // The source tree (for its scripts).
  static QString KatalogZrodel();

private:
  QStringList m_przelaczniki;
  QString m_program;
  QTemporaryDir m_dane;
  QProcess m_proces;
  QByteArray m_dziennik;
  quint16 m_portGG = 0;
  quint16 m_portHttp = 0;
};

// A value the server's database holds (the first column of the first row), read through the
// sqlite3 shell-free C interface; empty when there is no row.
QByteArray ZapytajBaze(const QString &plik, const QString &sql);

// One packet the client received.
struct TOdebranyPakiet {
  qint32 typ;
  QByteArray cialo;
};

// A client as the main window wires one, without widgets: its own settings, tree, log, session
// and dispatcher, the alternative server switched on and pointed at the server process.
class TKlientSerwera {
public:
  TKlientSerwera(const TProcesSerwera &serwer, int numer, const QString &haslo);
  ~TKlientSerwera();

  // Starts the session (lookup, GG login) and waits for "Połączony z serwerem".
  [[nodiscard]] bool Zaloguj();
  // Another connection attempt (after a refusal, a disconnect or a server restart).
  void Polacz() { sesja->Polacz(); }
  // A contact in the tree (before login it goes out in the notify list).
  TWezel *DodajKontakt(int numer, const QString &opis, int sledzony = 1);
  // Puts the number on the blocked list of the data folder (sent in the next notify list).
  void Zablokuj(int numer);
  // Through the client's own send command; returns the message node.
  TWezel *Wyslij(int numer, const QString &tekst);
  // Pings and waits for the pong: everything the server sent before it has arrived.
  [[nodiscard]] bool Synchronizuj();
  QList<TOdebranyPakiet> Odebrane(qint32 typ) const;
  int Ile(qint32 typ) const { return int(Odebrane(typ).size()); }
  // Caption of the contact node, or a null string.
  QString TekstKontaktu(int numer) const;
  // Texts of the message lines below the contact (message nodes, bold).
  QStringList Wiadomosci(int numer) const;

  QTemporaryDir katalog;
  QSettings rejestr;
  std::unique_ptr<TUstawienia> ustawienia;
  TDrzewo drzewo;
  TDziennik dziennik;
  TOknoSesjiTestowe okno;
  TOknoTestowe oknoOdbioru;
  TKatalog katalogPubliczny;
  std::unique_ptr<TOdbior> odbior;
  std::unique_ptr<TSesjaGG> sesja;
  QList<TOdebranyPakiet> odebrane;
  bool piszeWiadomosc = false;
  std::unique_ptr<TWysylanieWiadomosci> wysylanie;
  // The criteria of the directory searches (the automatic next pages repeat them).
  TKryteriaSzukania kryteria;

private:
  QString m_doWyslania;
  int m_numer;
  QString m_haslo;
};
