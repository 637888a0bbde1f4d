#include "gg/Odbior.h"

#include "contacts/Drzewo.h"
#include "gg/Dzwiek.h"
#include "gg/Katalog.h"
#include "gg/Pakiety.h"
#include "gg/StronyKodowe.h"

#include <utility>

const QString TOdbior::TekstPing =
    QStringLiteral("Serwer poprosił o potwierdzenie istnienia połączenia");
const QString TOdbior::TekstRozlaczony = QStringLiteral("Rozłączony przez serwer");
const QString TOdbior::TekstKontaktyZaladowane = QStringLiteral("Kontakty zostały załadowane");
const QString TOdbior::KategoriaBledne = QStringLiteral("Błędne paczki");
const QString TOdbior::KategoriaXml = QStringLiteral("Inne GGAnsXmlEvent typu innego niż 28");

namespace {

// "%x %d %s": type in hexadecimal, length in decimal, the escaped body.
QString OpisPakietu(qint32 typ, qint32 dlugosc, const QByteArray &cialo)
{
  return QStringLiteral("%1 %2 %3")
      .arg(QString::number(quint32(typ), 16).toUpper(), QString::number(dlugosc),
           TOdbior::OpisCiala(cialo));
}

// Holds a flag up for the length of a modal box, also when the box's loop is left by an
// exception from a nested handler.
class TFlagaNaCzas {
public:
  explicit TFlagaNaCzas(bool &flaga) : m_flaga(flaga) { m_flaga = true; }
  ~TFlagaNaCzas() { m_flaga = false; }
  TFlagaNaCzas(const TFlagaNaCzas &) = delete;
  TFlagaNaCzas &operator=(const TFlagaNaCzas &) = delete;

private:
  bool &m_flaga;
};

} // namespace

QString TOdbior::OpisCiala(const QByteArray &cialo)
{
  if (cialo.size() <= NajdluzszyOpisCiala)
    return EscapeControls(cialo);
  return EscapeControls(QByteArrayView(cialo).first(NajdluzszyOpisCiala)) + QStringLiteral("{...}");
}

TOdbior::TOdbior(TDrzewo &drzewo, const TUstawienia &ustawienia, TOknoSesji &okno, TLoguj loguj,
                 TBaza baza)
    : m_drzewo(drzewo), m_ustawienia(ustawienia), m_okno(okno), m_loguj(std::move(loguj)),
      m_baza(std::move(baza)), m_indeks(drzewo)
{
}

void TOdbior::Obsluz(qint32 typ, qint32 dlugosc, const QByteArray &cialo)
{
  switch (typ) {
  case GGAnsWelcome:
  case GGAnsLoginOk:
  case GGAnsLoginFailed:
    // The session's own.
    break;
  case GGAnsStatus:
  case GGAnsNotifyReply:
  case GGAnsStatus60:
    if (cialo.size() < (typ == GGAnsStatus ? 8 : typ == GGAnsNotifyReply ? 16 : 14))
      Bledny(typ, dlugosc, cialo);
    else
      Stan(typ, cialo);
    break;
  case GGAnsSendMsgAck:
    if (cialo.size() < 12)
      Bledny(typ, dlugosc, cialo);
    else
      Potwierdzenie(cialo);
    break;
  case GGAnsPong:
  case 0x0D:
    break;
  case GGAnsPing:
    m_okno.UstawPanel2(TekstPing);
    break;
  case GGAnsRecvMsg:
    if (cialo.size() < 16)
      Bledny(typ, dlugosc, cialo);
    else
      Wiadomosc(cialo);
    break;
  case GGAnsDisconnecting:
    m_okno.UstawPanel2(TekstRozlaczony);
    break;
  case GGAnsPubDirReply:
    if (cialo.size() < TKatalog::DlugoscNaglowkaOdpowiedzi)
      Bledny(typ, dlugosc, cialo);
    else if (m_katalog)
      m_katalog->ObsluzOdpowiedz(cialo);
    break;
  case GGAnsUserList:
    if (cialo.isEmpty())
      Bledny(typ, dlugosc, cialo);
    else
      ListaKontaktow(dlugosc, cialo);
    break;
  case GGAnsNotifyReply60:
    StanyWielu(cialo);
    break;
  case GGAnsXmlEvent:
    ZdarzenieXml(cialo);
    break;
  default:
    Nieznany(typ, dlugosc, cialo);
    break;
  }
}

void TOdbior::Bledny(qint32 typ, qint32 dlugosc, const QByteArray &cialo)
{
  if (m_loguj)
    m_loguj(KategoriaBledne, OpisPakietu(typ, dlugosc, cialo));
}

bool TOdbior::PokazRaport(const QString &tekst)
{
  if (m_raportOtwarty)
    return false;
  TFlagaNaCzas otwarty(m_raportOtwarty);
  m_okno.Display(tekst);
  return true;
}

void TOdbior::PokazInformacjeOLiscie()
{
  // A repeated last part while the box is still up loads the list again but shows no second box.
  if (m_informacjaOLiscieOtwarta)
    return;
  TFlagaNaCzas otwarta(m_informacjaOLiscieOtwarta);
  m_okno.PokazInformacje(TekstKontaktyZaladowane);
}

void TOdbior::ZdarzenieXml(const QByteArray &cialo)
{
  if (cialo.contains("<type>28</type>"))
    return;
  const QString opis = OpisCiala(cialo);
  PokazRaport(QStringLiteral("Informacja systemowa typu innego niż 28 \"") + opis + u'"');
  if (m_loguj)
    m_loguj(KategoriaXml, opis);
}

void TOdbior::Nieznany(qint32 typ, qint32 dlugosc, const QByteArray &cialo)
{
  const QString opis = OpisPakietu(typ, dlugosc, cialo);
  PokazRaport(opis);
  if (m_loguj)
    m_loguj(KategoriaBledne, opis);
}
