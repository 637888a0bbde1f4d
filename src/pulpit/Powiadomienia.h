#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <optional>
#include <unordered_map>

class QDBusPendingCallWatcher;

// Desktop notifications through the freedesktop notification service on the session bus. Each
// key (a sender's number) has at most one notification on screen: a further message from the
// same sender replaces it instead of stacking another one. Nothing happens where no service
// runs. Calls are asynchronous; a burst that arrives while the service has not yet answered
// the first call is folded into one replacement once the answer comes.
class TPowiadomienia : public QObject {
  Q_OBJECT
public:
  static constexpr auto Usluga = "org.freedesktop.Notifications";
  static constexpr auto Sciezka = "/org/freedesktop/Notifications";
  static constexpr auto Interfejs = "org.freedesktop.Notifications";
  // Action keys; "default" is what a click on the notification's body sends.
  static constexpr auto AkcjaOdpowiedz = "odpowiedz";
  static constexpr auto AkcjaPokaz = "pokaz";
  static constexpr auto AkcjaDomyslna = "default";

  explicit TPowiadomienia(const QDBusConnection &polaczenie, QObject *rodzic = nullptr);

  // Shows, or updates in place, the notification of `klucz`. While it stays on screen the title
  // gets the number of messages it has shown: "Jan (3)".
  void Pokaz(int klucz, const QString &tytul, const QString &tresc);

  // Whether there is a session bus to send to at all.
  bool Dostepne() const { return m_polaczenie.isConnected(); }

  // Takes every notification of ours off the screen (the user is looking at the window now).
  void ZamknijWszystkie();

  // How many Notify calls went out (also those folded bursts end in).
  int LiczbaWyslanych() const { return m_wyslane; }

signals:
  void Odpowiedz(int klucz);
  void PokazOkno(int klucz);

private slots:
  void AkcjaWywolana(uint id, const QString &akcja);
  void Zamknieto(uint id, uint powod);
  void Mozliwosci(QDBusPendingCallWatcher *obserwator);

private:
  struct TWpis {
    uint id = 0;               // the service's number, 0 until it has answered
    bool czeka = false;        // a Notify call is on its way
    bool zalegly = false;      // content changed while waiting
    bool doZamkniecia = false; // closed while waiting: close once numbered
    int liczba = 0;
    QString tytul;
    QString tresc;
  };

  void Wyslij(int klucz, TWpis &wpis);
  void Zamknij(uint id);
  void Odpowiedziano(int klucz, QDBusPendingCallWatcher *obserwator);
  std::optional<int> KluczDla(uint id) const;

  QDBusConnection m_polaczenie;
  std::unordered_map<int, TWpis> m_wpisy;
  int m_wyslane = 0;
  // Whether the service reads the body as markup (then text must be escaped).
  bool m_znaczniki = true;
};
