#pragma once

#include "contacts/Wezel.h"

#include <QDateTime>
#include <QString>

#include <memory>

// The kind of a payload, so that hot loops (finding a contact among thousands of top-level
// nodes) need no dynamic_cast.
enum class TRodzajWezla : quint8 {
  Galaz,
  Atrybut,
  Konferencja,
  Uzytkownik,
  Wypowiedz,
  ZmianaStanu,
};

// Base of every node payload. `Wezel` is the node it belongs to, never owned, and empty once
// that node is deleted.
class TRodzajGalezi {
public:
  explicit TRodzajGalezi(TWezel *wezel);
  virtual ~TRodzajGalezi();
  TRodzajGalezi(const TRodzajGalezi &) = delete;
  TRodzajGalezi &operator=(const TRodzajGalezi &) = delete;

  TWezel *Wezel() const { return m_wezel.get(); }
  TRodzajWezla Rodzaj() const { return m_rodzaj; }

protected:
  TRodzajGalezi(TWezel *wezel, TRodzajWezla rodzaj);

private:
  TWskaznikWezla m_wezel;
  TRodzajWezla m_rodzaj;
};

// An attribute branch of the test view.
class TAtrybut : public TRodzajGalezi {
public:
  explicit TAtrybut(TWezel *wezel);
};

// A conference node ("konferencja").
class TKonferencja : public TRodzajGalezi {
public:
  explicit TKonferencja(TWezel *wezel);
};

// One contact. `Wezel` stays empty; the contact's node is WezelUzytkownika.
class TUzytkownik : public TRodzajGalezi {
public:
  // Sets the node's caption to Opis.
  TUzytkownik(TWezel *wezel, int Numer, const QString &Imie, const QString &Nazwisko,
              const QString &EMail, const QString &Telefon, const QString &Opis, int Sledzony);

  // Stores Opis and makes it the caption of the contact's node (dropping any decoration).
  void UstawOpis(const QString &opis);

  // The GG number; changed only through UstawNumer, which keeps the tree's lookup current.
  int Numer() const { return m_numer; }
  void UstawNumer(int numer);

  bool RozmowcaZnaZnacznik = false;
  bool ZnacznikWymieniony = false;
  // The reply anchor: the node of the last message sent to this contact. Empties itself when
  // that node is deleted.
  TWskaznikWezla OstatniaWypowiedz;
  int Sledzony;
  QString Imie;
  QString Nazwisko;
  QString EMail;
  QString Telefon;
  QString Opis;
  TWskaznikWezla WezelUzytkownika;

private:
  int m_numer;
};

// One status change of a contact.
class TZmianaStanu : public TRodzajGalezi {
public:
  // Sets the node's caption and images at once (Odswiez).
  TZmianaStanu(TWezel *wezel, const QDateTime &Czas, const QString &Opis, int Status);

  // Caption "(<date and time>)<status name>[<description>]" and the status's images.
  void Odswiez();

  int Status;
  QDateTime Czas;
  QString Opis;
};

// The protocol data of one message.
class TDaneDodatkowe {
public:
  TDaneDodatkowe(int StatusPotwierdzenia, int NumerNadawcy, int CzasNadania, int NumerSekwencyjny,
                 const QDateTime &CzasUtworzenia);

  int NumerNadawcy;
  int NumerSekwencyjny;
  int CzasNadania;
  int StatusPotwierdzenia;
  // Null for a received message (the classic zero date).
  QDateTime CzasUtworzenia;
};

// One message, sent or received; owns its TDaneDodatkowe. The line nodes of one received message
// share one TWypowiedz (held by std::shared_ptr in each node).
class TWypowiedz : public TRodzajGalezi {
public:
  TWypowiedz(TWezel *wezel, std::unique_ptr<TDaneDodatkowe> daneDodatkowe, const QString &tekst);

  TDaneDodatkowe &DaneDodatkowe() { return *m_daneDodatkowe; }
  const TDaneDodatkowe &DaneDodatkowe() const { return *m_daneDodatkowe; }
  const QString &Tekst() const { return m_tekst; }

  // Its row in the message archive; 0 until archived.
  qint64 IdArchiwum = 0;

private:
  std::unique_ptr<TDaneDodatkowe> m_daneDodatkowe;
  QString m_tekst;
};

// The caption and images a GG status gets on a status-change node (by its low byte).
struct TWygladStanu {
  QString nazwa;
  int obraz;
  int obrazWybrany;
};
TWygladStanu WygladStanu(int status);
