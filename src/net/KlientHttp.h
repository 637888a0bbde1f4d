#pragma once

#include "net/Blad.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QEventLoop;
class TGniazdo;
class TRozwiazywanieNazwy;

// A failed HTTP request: the message and a number (the status code, or the component's own
// refusals: 1 busy, 2 nothing to post, 3 cancelled).
class EBladHttp : public EBlad {
public:
  EBladHttp(const QString &komunikat, int numer);
  int Numer() const noexcept { return m_numer; }
  // Polish, for the error box; the number and the English message are for the event log.
  QString KomunikatUzytkownika() const override;

private:
  int m_numer;
};

// One HTTP/1.0 request at a time over an own TGniazdo. Get and Post return when the reply is
// complete; meanwhile they run a local event loop, so the UI keeps working.
class TKlientHttp : public QObject {
  Q_OBJECT
public:
  explicit TKlientHttp(QObject *parent = nullptr);
  ~TKlientHttp() override;

  QString URL() const { return m_url; }
  void SetURL(const QString &wartosc) { m_url = wartosc; }
  // Kept for the settings that name them; requests always go straight to the URL's host.
  QString Proxy() const { return m_proxy; }
  void SetProxy(const QString &wartosc) { m_proxy = wartosc; }
  QString ProxyPort() const { return m_proxyPort; }
  void SetProxyPort(const QString &wartosc) { m_proxyPort = wartosc; }
  QString ProxyUsername() const { return m_proxyUsername; }
  void SetProxyUsername(const QString &wartosc) { m_proxyUsername = wartosc; }
  QString ProxyPassword() const { return m_proxyPassword; }
  void SetProxyPassword(const QString &wartosc) { m_proxyPassword = wartosc; }
  QString Agent() const { return m_agent; }
  void SetAgent(const QString &wartosc) { m_agent = wartosc; }
  QString Accept() const { return m_accept; }
  void SetAccept(const QString &wartosc) { m_accept = wartosc; }
  QString ContentTypePost() const { return m_contentTypePost; }
  void SetContentTypePost(const QString &wartosc) { m_contentTypePost = wartosc; }
  QString Sender() const { return m_sender; }
  void SetSender(const QString &wartosc) { m_sender = wartosc; }
  QString Reference() const { return m_reference; }
  void SetReference(const QString &wartosc) { m_reference = wartosc; }
  // Used for Basic authorization when the URL carries no user of its own.
  QString Username() const { return m_username; }
  void SetUsername(const QString &wartosc) { m_username = wartosc; }
  QString Password() const { return m_password; }
  void SetPassword(const QString &wartosc) { m_password = wartosc; }
  QString Cookie() const { return m_cookie; }
  void SetCookie(const QString &wartosc) { m_cookie = wartosc; }
  bool NoCache() const { return m_noCache; }
  void SetNoCache(bool wartosc) { m_noCache = wartosc; }
  bool MultiThreaded() const { return m_multiThreaded; }
  void SetMultiThreaded(bool wartosc) { m_multiThreaded = wartosc; }
  // An invalid date (the default) sends no If-Modified-Since.
  QDateTime ModifiedSince() const { return m_modifiedSince; }
  void SetModifiedSince(const QDateTime &wartosc) { m_modifiedSince = wartosc; }
  // Empty bounds send no Range; either one set sends "bytes=begin-end".
  QString ContentRangeBegin() const { return m_rangeBegin; }
  void SetContentRangeBegin(const QString &wartosc) { m_rangeBegin = wartosc; }
  QString ContentRangeEnd() const { return m_rangeEnd; }
  void SetContentRangeEnd(const QString &wartosc) { m_rangeEnd = wartosc; }
  // Owned by the caller. Every body byte of the reply is appended to ReplyStream.
  QIODevice *ReplyStream() const { return m_replyStream; }
  void SetReplyStream(QIODevice *strumien) { m_replyStream = strumien; }
  // Body of a POST, from its current position to its end.
  QIODevice *BodyStream() const { return m_bodyStream; }
  void SetBodyStream(QIODevice *strumien) { m_bodyStream = strumien; }
  // Bound on the whole request in milliseconds, relocations included; 0 means none.
  int Timeout() const { return m_timeout; }
  void SetTimeout(int ms) { m_timeout = ms; }
  // Bound on the body of one reply in bytes; a longer one fails the request. 0 means none.
  qint64 NajdluzszaTresc() const { return m_najdluzszaTresc; }
  void UstawNajdluzszaTresc(qint64 bajty) { m_najdluzszaTresc = bajty; }

  int StatusCode() const { return m_statusCode; }
  QString ReasonPhrase() const { return m_reasonPhrase; }
  qint64 ContentLength() const { return m_contentLength; } // -1 when not declared
  QString ContentType() const { return m_contentType; }
  QString Location() const { return m_location; }
  QString ContentRange() const { return m_contentRange; }
  QString AcceptRanges() const { return m_acceptRanges; }
  QStringList ZadaniaUwierzytelnienia() const { return m_zadaniaUwierzytelnienia; }
  QStringList OtrzymaneCiasteczka() const { return m_ciasteczka; }
  QStringList OtrzymanyNaglowek() const { return m_naglowek; }
  bool Zajety() const { return m_zajety; }

  void Get();
  void Post();
  // A GET that returns at once instead of waiting: `gotowe` runs from the event loop when the
  // request has ended, with true for a reply below status 400 (the same outcome for which Get
  // does not throw). Destroying the component drops the request and its report.
  void GetWTle(std::function<void(bool udane)> gotowe);

  // Limits of the reply reader and of relocations.
  static constexpr int NajdluzszaLinia = 8192;
  static constexpr int NajwiecejPrzekierowan = 10;
  static constexpr int KawalekTresci = 8193;
  // The header block of one reply: lines and bytes (line ends included).
  static constexpr int NajwiecejLiniiNaglowka = 200;
  static constexpr qint64 NajdluzszyNaglowek = 64 * 1024;
  // What every kind of request of the program gets: the token picture, the service replies and
  // the version files are all far smaller.
  static constexpr qint64 DomyslnaNajdluzszaTresc = 1024 * 1024;

private:
  enum TFaza { fhBezczynny, fhRozwiazywanie, fhLaczenie, fhNaglowek, fhTresc, fhKoniec };

  void Wykonaj(bool post);
  void Rozpocznij();
  void Polacz(quint32 adresSieciowy);
  void GniazdoPolaczone(quint16 blad);
  void GniazdoDane();
  void GniazdoZamkniete(quint16 blad);
  void CzytajNaglowek();
  void LiniaNaglowka(const QByteArray &linia);
  void KoniecNaglowka();
  void Przekieruj();
  void DopiszTresc(const QByteArray &dane);
  QByteArray NaglowekZadania() const;
  void Niepowodzenie(int status, const QString &powod);
  void Zakoncz();
  void ZakonczWTle();

  QString m_url;
  QString m_proxy;
  QString m_proxyPort = QStringLiteral("80");
  QString m_proxyUsername;
  QString m_proxyPassword;
  QString m_agent = QStringLiteral("Mozilla/3.0 (compatible)");
  QString m_accept = QStringLiteral("image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
  QString m_contentTypePost = QStringLiteral("application/x-www-form-urlencoded");
  QString m_sender;
  QString m_reference;
  QString m_username;
  QString m_password;
  QString m_cookie;
  bool m_noCache = false;
  bool m_multiThreaded = false;
  QDateTime m_modifiedSince;
  QString m_rangeBegin;
  QString m_rangeEnd;
  QPointer<QIODevice> m_replyStream;
  QPointer<QIODevice> m_bodyStream;
  int m_timeout = 0;
  qint64 m_najdluzszaTresc = DomyslnaNajdluzszaTresc;

  int m_statusCode = 0;
  QString m_reasonPhrase;
  qint64 m_contentLength = -1;
  QString m_contentType;
  QString m_location;
  QString m_contentRange;
  QString m_acceptRanges;
  QStringList m_zadaniaUwierzytelnienia;
  QStringList m_ciasteczka;
  QStringList m_naglowek;

  // The request in progress.
  bool m_zajety = false;
  bool m_post = false;
  TFaza m_faza = fhBezczynny;
  quint64 m_proba = 0; // changes with every attempt; late reports of older ones are ignored
  int m_przekierowania = 0;
  QByteArray m_cialo;
  QString m_adresBiezacy;
  QString m_schemat, m_uzytkownik, m_haslo, m_host, m_port, m_sciezka;
  bool m_jestUzytkownik = false;
  QByteArray m_bufor;
  bool m_pierwszaLinia = true;
  bool m_przekierowanie = false;
  qint64 m_odebranaTresc = 0;
  qint64 m_dlugoscNaglowka = 0;
  TGniazdo *m_gniazdo = nullptr;
  TRozwiazywanieNazwy *m_rozwiazywanie = nullptr;
  QEventLoop *m_petla = nullptr;
  std::function<void(bool)> m_gotowe; // the report of a request started by GetWTle
  QTimer m_zegar;
};
