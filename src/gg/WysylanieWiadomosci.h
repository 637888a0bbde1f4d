#pragma once

#include "contacts/Stany.h"

#include <QByteArray>
#include <QString>

#include <functional>

class TDrzewo;
class TSesjaGG;
class TUstawienia;
class TUzytkownik;
class TWezel;

// The text bytes of an outgoing message (without the terminating NUL), in the encoding what is
// known of the recipient calls for; sets the recipient's ZnacznikWymieniony when the marker is
// announced. `adresat` may be null (a number typed by hand). Text that code page 1250 cannot hold
// goes as UTF-8 after the marker instead of losing characters.
QByteArray TekstWiadomosci(const QString &tekst, TUzytkownik *adresat);

// GGReqSendMsg: recipient, sequence, class 8, the text bytes and a NUL.
QByteArray CialoWiadomosci(int adresat, quint32 sekwencja, const QByteArray &tekst);

// A sequence number for a new message: 0 <= n < 0x7FFFFFFF, from the system's generator.
quint32 LosujNumerSekwencyjny();

// The main window's send-message command, free of widgets: the dialogs reach it through the
// functions given to the constructor. One object may serve any number of messages.
class TWysylanieWiadomosci {
public:
  // Shows the compose dialog with the commented text; true (with the answer) when confirmed.
  using TPisanie = std::function<bool(const QString &komentowana, QString &odpowiedz)>;
  // The number box, with `numer` as its initial and resulting value; false when cancelled.
  // `blad` is empty at the first asking; asked again, it says why the last answer was refused.
  using TPytanieONumer = std::function<bool(QString &numer, const QString &blad)>;
  // What the status dialog holds now: its chosen status and description text. Status 0 (the
  // dialog never shown) restores the own status in effect before the typing notice instead.
  struct TStanDialogu {
    quint32 stan = 0;
    QString opis;
  };
  using TStanZDialogu = std::function<TStanDialogu()>;
  // Makes a newly recorded message node shown expanded.
  using TRozwin = std::function<void(TWezel *)>;

  static constexpr quint32 KlasaWiadomosci = 8;
  static constexpr int ObrazNapisanej = ObrazStanu::Niepotwierdzona;

  TWysylanieWiadomosci(TSesjaGG &sesja, TDrzewo &drzewo, TUstawienia &ustawienia,
                       bool &piszeWiadomosc, TPisanie pisanie, TPytanieONumer pytanieONumer,
                       TStanZDialogu stanDialogu, TRozwin rozwin = {});

  // uzytkownik and wezel may be null; numer 0 asks for the recipient. Returns the recorded
  // message node, or null when the dialog or the number box was cancelled. A typed recipient
  // that is not a number is asked for again, the written text kept, until a number or Cancel.
  TWezel *WyslijWiadomosc(TUzytkownik *uzytkownik, int numer, TWezel *wezel);

  static QString TekstDoNumeru();

private:
  TWezel *Zapisz(const QString &tekst, int adresat, quint32 sekwencja, TWezel *rodzic,
                 TUzytkownik *uzytkownik);

  TSesjaGG &m_sesja;
  TDrzewo &m_drzewo;
  TUstawienia &m_ustawienia;
  bool &m_piszeWiadomosc;
  TPisanie m_pisanie;
  TPytanieONumer m_pytanieONumer;
  TStanZDialogu m_stanDialogu;
  TRozwin m_rozwin;
};
