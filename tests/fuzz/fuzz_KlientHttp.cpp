// The HTTP client against a loopback server that replays the input as its reply, then closes
// the connection in an orderly way or resets it.

#include "common/ServerTestowy.h"
#include "fuzz/Fuzz.h"
#include "net/KlientHttp.h"

#include <QBuffer>

#include <mutex>

namespace {

std::mutex zamek;
QByteArray odpowiedz;
bool reset = false;

// Relocations may only stay on the loopback host: a Location naming another host would send the
// run out to the network. Such a header keeps its bytes but loses its name.
QByteArray TylkoLokalnePrzekierowania(QByteArray tekst)
{
  const QByteArray male = tekst.toLower();
  qsizetype i = 0;
  while ((i = male.indexOf("location:", i)) >= 0) {
    qsizetype w = i + 9;
    while (w < tekst.size() && (tekst[w] == ' ' || tekst[w] == '\t'))
      ++w;
    const bool lokalna = w < tekst.size() && tekst[w] == '/' &&
                         !(w + 1 < tekst.size() && (tekst[w + 1] == '/' || tekst[w + 1] == '\\'));
    if (!lokalna)
      tekst[i] = 'X';
    i += 9;
  }
  return tekst;
}

TSerwerTestowy &Serwer()
{
  static TSerwerTestowy serwer([](TPolaczenieTestowe &p) {
    p.CzytajDo("\r\n\r\n", 1000);
    QByteArray tresc;
    bool resetuj = false;
    {
      const std::lock_guard<std::mutex> blokada(zamek);
      tresc = odpowiedz;
      resetuj = reset;
    }
    p.Pisz(tresc);
    if (resetuj)
      p.Resetuj();
    else
      p.Zamknij();
  });
  return serwer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  TCzytnikWejscia wejscie(Wejscie(dane, rozmiar));
  const quint8 sposob = wejscie.Bajt();
  {
    const std::lock_guard<std::mutex> blokada(zamek);
    reset = (sposob & 1) != 0;
    odpowiedz = TylkoLokalnePrzekierowania(wejscie.Reszta());
  }
  TKlientHttp klient;
  klient.SetURL(QStringLiteral("http://127.0.0.1:%1/appsvc/regtoken.asp").arg(Serwer().Port()));
  klient.SetTimeout(3000);
  if (sposob & 2)
    klient.UstawNajdluzszaTresc(100);
  QBuffer tresc;
  tresc.open(QIODevice::WriteOnly);
  klient.SetReplyStream(&tresc);
  try {
    klient.Get();
  } catch (const EBladHttp &) {
  }
  FUZZ_WARUNEK(!klient.Zajety());
  FUZZ_WARUNEK(klient.OtrzymanyNaglowek().size() <= TKlientHttp::NajwiecejLiniiNaglowka);
  if (klient.NajdluzszaTresc() > 0)
    FUZZ_WARUNEK(tresc.size() <= klient.NajdluzszaTresc());
  return 0;
}
