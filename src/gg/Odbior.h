#pragma once

#include "gg/IndeksWypowiedzi.h"
#include "gg/ListaKontaktow.h"
#include "gg/OknoSesji.h"
#include "gg/OpisRozlaczenia.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

class TDrzewo;
class TKatalog;
class TSledzeni;
class TUstawienia;
class TWezel;

// The text of a received message as its nodes show it: "(<send time>)" and the text.
QString TekstWyswietlany(quint32 czasNadania, const QString &tekst);
// That text cut into the captions of its line nodes: at every CR LF, and after 199 characters.
QStringList LinieWiadomosci(const QString &wyswietlany);

// The event log line: (category, text).
using TLoguj = std::function<void(const QString &kategoria, const QString &tekst)>;

// The dispatcher of received GG packets: every whole packet from the reassembly goes to Obsluz,
// which turns it into changes of the conversation tree, status bar texts, sounds, boxes and log
// lines. The login packets (welcome, login accepted, login refused) belong to the session and
// are ignored here. Everything runs on the UI thread; a box opened from here lets further packets
// be dispatched before it returns.
class TOdbior {
public:
  // The active contact store, asked anew each time (the store can be switched).
  using TBaza = std::function<TSledzeni *()>;

  TOdbior(TDrzewo &drzewo, const TUstawienia &ustawienia, TOknoSesji &okno, TLoguj loguj,
          TBaza baza = {});
  TOdbior(const TOdbior &) = delete;
  TOdbior &operator=(const TOdbior &) = delete;

  // The directory's state (the main window's), which gets the body of every directory reply.
  void UstawKatalog(TKatalog *katalog) { m_katalog = katalog; }

  // One whole packet (type, body length, body). A failed conversion inside a handler (a userlist
  // number that is not a number, a non-numeric gender of the own directory entry) leaves as
  // EConvertError, which the socket's data handler discards.
  void Obsluz(qint32 typ, qint32 dlugosc, const QByteArray &cialo);

  // Applies one status notification to the tree: caption decoration, images, a status-change
  // node; an unknown number becomes a "lista kontaktów " contact when `utworz` is set.
  void ZmienStanKontaktu(int numer, int status, bool utworz, quint32 czasPowrotu,
                         const QString &opis);

  // The userlist text on its way from the server: appended to by the list parts, emptied by the
  // window's list commands before they send a request.
  TBuforListy &BuforListy() { return m_buforListy; }
  const TBuforListy &BuforListy() const { return m_buforListy; }

  TIndeksWypowiedzi &IndeksWypowiedzi() { return m_indeks; }

  // Told of every delivery report after it was applied: the message node it matched (null for
  // none), the sequence number and the status.
  using TPoPotwierdzeniu = std::function<void(TWezel *wezel, int sekwencja, int status)>;
  void UstawPoPotwierdzeniu(TPoPotwierdzeniu poPotwierdzeniu)
  {
    m_poPotwierdzeniu = std::move(poPotwierdzeniu);
  }

  // Texts of status bar panel 2 and of the boxes.
  static const QString TekstPing;
  static const QString TekstRozlaczony;
  static const QString TekstKontaktyZaladowane;
  static const QString KategoriaBledne;
  static const QString KategoriaXml;

  // A packet body as reports and log lines show it: escaped, and no more than its first
  // NajdluzszyOpisCiala bytes, "{...}" standing for the rest (the length is given beside it).
  // A box holding a megabyte of escaped text would hold the program for many seconds.
  static constexpr qsizetype NajdluzszyOpisCiala = 2048;
  static QString OpisCiala(const QByteArray &cialo);

  // Numbers listed under "uczestnicy" of one conference; the rest are counted in its caption.
  static constexpr qsizetype NajwiecejUczestnikow = 100;
  // Contacts made from status notifications about unknown numbers in the dispatcher's lifetime
  // (one program run); later strangers are only logged.
  static constexpr int NajwiecejNieznajomych = 1000;

private:
  void Wiadomosc(const QByteArray &cialo);
  void ZglosOdrzucona(int nadawca, quint32 czas, const QByteArray &cialo);
  void DodajLinie(TWezel *cel, const QString &tekst, const std::shared_ptr<TRodzajGalezi> &dane);
  TWezel *DodajKonferencje(int nadawca, QByteArrayView opcje, bool *obcieta);

  void Stan(qint32 typ, const QByteArray &cialo);
  void StanyWielu(const QByteArray &cialo);

  void Potwierdzenie(const QByteArray &cialo);

  void ListaKontaktow(qint32 dlugosc, const QByteArray &cialo);
  void ZaladujListe();
  void PokazInformacjeOLiscie();

  void ZdarzenieXml(const QByteArray &cialo);
  void Nieznany(qint32 typ, qint32 dlugosc, const QByteArray &cialo);

  // Logs a packet whose fields do not fit its body; such a packet changes nothing.
  void Bledny(qint32 typ, qint32 dlugosc, const QByteArray &cialo);
  // A report box about an unknown packet or a system event. While one is open, a further report
  // is only logged, so a flood of them cannot nest boxes without bound.
  bool PokazRaport(const QString &tekst);

  TDrzewo &m_drzewo;
  const TUstawienia &m_ustawienia;
  TOknoSesji &m_okno;
  TLoguj m_loguj;
  TBaza m_baza;
  TKatalog *m_katalog = nullptr;
  TIndeksWypowiedzi m_indeks;
  TPoPotwierdzeniu m_poPotwierdzeniu;
  TBuforListy m_buforListy;
  bool m_raportOtwarty = false;
  bool m_informacjaOLiscieOtwarta = false;
  int m_nieznajomi = 0;
};
