#include "app/ui/Powloka.h"

#include "app/Autor.h"
#include "app/Teksty.h"
#include "app/Wersja.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <utility>
#include <vector>

namespace {

struct TPrzycisk {
  QMessageBox::StandardButton rodzaj;
  const char16_t *tekst;
  int wynik;
};

// Buttons in the order the Windows box shows them, with the Polish Windows captions.
std::vector<TPrzycisk> PrzyciskiStylu(int styl)
{
  using namespace Komunikat;
  const TPrzycisk ok{QMessageBox::Ok, u"OK", WynikOk};
  const TPrzycisk anuluj{QMessageBox::Cancel, u"Anuluj", WynikAnuluj};
  const TPrzycisk tak{QMessageBox::Yes, u"&Tak", WynikTak};
  const TPrzycisk nie{QMessageBox::No, u"&Nie", WynikNie};
  const TPrzycisk przerwij{QMessageBox::Abort, u"&Przerwij", WynikPrzerwij};
  const TPrzycisk ponow{QMessageBox::Retry, u"&Ponów próbę", WynikPonow};
  const TPrzycisk ignoruj{QMessageBox::Ignore, u"&Ignoruj", WynikIgnoruj};
  switch (styl & MaskaPrzyciskow) {
  case PrzyciskiOkAnuluj:
    return {ok, anuluj};
  case PrzyciskiPrzerwijPonowIgnoruj:
    return {przerwij, ponow, ignoruj};
  case PrzyciskiTakNieAnuluj:
    return {tak, nie, anuluj};
  case PrzyciskiTakNie:
    return {tak, nie};
  case PrzyciskiPonowAnuluj:
    return {ponow, anuluj};
  default:
    return {ok};
  }
}

QMessageBox::Icon IkonaStylu(int styl)
{
  switch (styl & Komunikat::MaskaIkony) {
  case Komunikat::IkonaBledu:
    return QMessageBox::Critical;
  case Komunikat::IkonaPytania:
    return QMessageBox::Question;
  case Komunikat::IkonaOstrzezenia:
    return QMessageBox::Warning;
  case Komunikat::IkonaInformacji:
    return QMessageBox::Information;
  default:
    return QMessageBox::NoIcon;
  }
}

void BladUruchamiania(QWidget *wlasciciel, const QString &nazwa, QStringView pierwszeZdanie)
{
  PokazKomunikatProgramu(wlasciciel, nazwa,
                         pierwszeZdanie.toString() + u' ' + TekstBrakProgramu.toString(),
                         Komunikat::PrzyciskOk, TekstBlad.toString());
}

} // namespace

int OknoKomunikatu(QWidget *wlasciciel, const QString &tekst, const QString &naglowek, int styl)
{
  QMessageBox okno(wlasciciel);
  okno.setWindowTitle(naglowek);
  okno.setTextFormat(Qt::PlainText);
  // Texts carry Windows line breaks ("\r" alone, or CR LF); a label breaks only at LF.
  QString wyswietlany = tekst;
  wyswietlany.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  okno.setText(wyswietlany);
  okno.setIcon(IkonaStylu(styl));

  const std::vector<TPrzycisk> przyciski = PrzyciskiStylu(styl);
  std::vector<std::pair<QAbstractButton *, int>> wyniki;
  for (const TPrzycisk &p : przyciski) {
    QPushButton *przycisk = okno.addButton(p.rodzaj);
    przycisk->setText(QString::fromUtf16(p.tekst));
    wyniki.emplace_back(przycisk, p.wynik);
  }
  const std::size_t domyslny = (styl & Komunikat::MaskaDomyslnego) >> 8;
  okno.setDefaultButton(
      static_cast<QPushButton *>(wyniki[domyslny < wyniki.size() ? domyslny : 0].first));
  okno.exec();

  for (const auto &[przycisk, wynik] : wyniki)
    if (okno.clickedButton() == przycisk)
      return wynik;
  // Closed without a button: the box's cancel (or only) button.
  return przyciski.size() == 1 ? przyciski.front().wynik : Komunikat::WynikAnuluj;
}

int PokazKomunikatProgramu(QWidget *wlasciciel, const QString &nazwa, const QString &tekst,
                           int styl, const QString &naglowek)
{
  return OknoKomunikatu(wlasciciel, tekst, nazwa + QStringLiteral(" - ") + naglowek, styl);
}

void PokazOProgramie(QWidget *wlasciciel, const QString &nazwa, const QString &prawaAutorskie,
                     quint64 wersja)
{
  // The shell's About box takes the part before "#" as its title.
  const QString tytul = Sformatuj(TekstOProgramie, nazwa) + u'#';
  QMessageBox okno(wlasciciel);
  okno.setWindowTitle(tytul.section(u'#', 0, 0));
  okno.setTextFormat(Qt::PlainText);
  okno.setText(LiniaWersji(nazwa, wersja) + u'\n' + prawaAutorskie);
  const QIcon ikona = QApplication::windowIcon();
  if (!ikona.isNull())
    okno.setIconPixmap(ikona.pixmap(48, 48));
  okno.addButton(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  okno.exec();
}

void WyslijPoczteDoAutora(QWidget *wlasciciel, const QString &nazwa)
{
  if (!QDesktopServices::openUrl(QUrl(AdresPocztyDoAutora(nazwa), QUrl::TolerantMode)))
    BladUruchamiania(wlasciciel, nazwa, TekstBladPoczty);
}

void OtworzAdres(QWidget *wlasciciel, const QString &nazwa, const QString &adres)
{
  if (!QDesktopServices::openUrl(QUrl(adres, QUrl::TolerantMode)))
    BladUruchamiania(wlasciciel, nazwa, TekstBladPrzegladarki);
}

void OtworzStroneAutora(QWidget *wlasciciel, const QString &nazwa)
{
  OtworzAdres(wlasciciel, nazwa, AdresWitryny());
}

int ZadzwonDoAutora([[maybe_unused]] const QString &strona, [[maybe_unused]] const QString &nazwa)
{
  return QDesktopServices::openUrl(QUrl(QStringLiteral("tel:") + QLatin1String(TelefonAutora))) ? 0
                                                                                                : 1;
}
