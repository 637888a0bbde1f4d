#pragma once

#include <QString>

#include <functional>

// The event log: an INI-style text file beside the program file, one section per category, one
// line per event. Written only while the switch says so; the switch is asked at every call, so a
// hand edit of the settings takes effect at once.
// How an INI file ended when it was last appended to: its last section and its size then.
struct TKoniecIni {
  QString Sekcja;
  qint64 Rozmiar = -1;
};

class TDziennik {
public:
  using TCzyLogowac = std::function<bool()>;

  // `sciezkaPliku` is the log file itself (see SciezkaDziennika).
  TDziennik(QString sciezkaPliku, TCzyLogowac czyLogowac);

  // The log beside a program file: its whole path with ".log" appended.
  static QString SciezkaDziennika(const QString &sciezkaProgramu);

  // Counts the call, and while logging is on writes "<date and time> <count>=<tekst>" into
  // section `kategoria`. The line is appended, under a repeated "[kategoria]" header when the
  // file's last section is another one, so that a line costs the same however long the file
  // has grown. Write failures are not reported.
  void Loguj(const QString &kategoria, const QString &tekst);

  const QString &Sciezka() const { return m_sciezka; }
  // Calls of Loguj so far in this run, logged or not.
  qint64 Licznik() const { return m_licznik; }

private:
  QString m_sciezka;
  TCzyLogowac m_czyLogowac;
  qint64 m_licznik = 0;
  TKoniecIni m_koniec;
};

// Sets key=wartosc in section `sekcja` of the INI file at `sciezka` (UTF-8), creating the file
// (readable and writable by its owner only) or the section as needed. Section and key names are
// matched case-insensitively and kept exactly as written, Polish letters and spaces included.
// False when the file could not be written.
bool ZapiszWpisIni(const QString &sciezka, const QString &sekcja, const QString &klucz,
                   const QString &wartosc);

// Appends key=wartosc under section `sekcja` of the INI file at `sciezka` (UTF-8), creating the
// file (readable and writable by its owner only) when needed. The header "[sekcja]" is written
// only when the file does not end in that section already; INI readers merge repeated sections.
// `koniec` remembers the file's end between calls: while the size is unchanged the end is not
// read again, so a line costs the same however long the file is. False when nothing was written.
bool DopiszWpisIni(const QString &sciezka, const QString &sekcja, const QString &klucz,
                   const QString &wartosc, TKoniecIni &koniec);
