#include "archiwum/ModelRozmowy.h"

#include "app/DataCzas.h"
#include "archiwum/Archiwum.h"

#include <algorithm>

namespace {

// Deep threads would push the text out of sight.
constexpr int NajglebszeWciecie = 8;

QString Stan(int status)
{
  switch (status) {
  case 1:
    return QStringLiteral("zablokowana przez serwer");
  case 2:
    return QStringLiteral("dostarczona");
  case 3:
    return QStringLiteral("zakolejkowana");
  case 4:
    return QStringLiteral("brak miejsca");
  default:
    return QStringLiteral("niewysłana");
  }
}

} // namespace

TModelRozmowy::TModelRozmowy(TArchiwum &archiwum, QObject *rodzic)
    : QAbstractListModel(rodzic), m_archiwum(archiwum)
{
}

void TModelRozmowy::Ustaw(int numer, qint64 wokol)
{
  beginResetModel();
  m_numer = numer;
  m_wiadomosci = m_archiwum.Rozmowa(numer, wokol ? wokol + 1 : 0, Strona);
  m_saStarsze = m_wiadomosci.size() == Strona;
  m_saNowsze = wokol != 0;
  endResetModel();
}

int TModelRozmowy::Wiersz(qint64 id) const
{
  const auto it = std::lower_bound(m_wiadomosci.cbegin(), m_wiadomosci.cend(), id,
                                   [](const TWiadomoscArchiwum &w, qint64 i) { return w.id < i; });
  return it != m_wiadomosci.cend() && it->id == id ? int(it - m_wiadomosci.cbegin()) : -1;
}

int TModelRozmowy::DoczytajStarsze()
{
  if (!m_saStarsze || m_wiadomosci.isEmpty())
    return 0;
  const QList<TWiadomoscArchiwum> starsze =
      m_archiwum.Rozmowa(m_numer, m_wiadomosci.first().id, Strona);
  m_saStarsze = starsze.size() == Strona;
  if (starsze.isEmpty())
    return 0;
  beginInsertRows(QModelIndex(), 0, int(starsze.size()) - 1);
  m_wiadomosci = starsze + m_wiadomosci;
  endInsertRows();
  return int(starsze.size());
}

bool TModelRozmowy::canFetchMore(const QModelIndex &rodzic) const
{
  return !rodzic.isValid() && m_saNowsze;
}

void TModelRozmowy::fetchMore(const QModelIndex &rodzic)
{
  if (rodzic.isValid() || !m_saNowsze)
    return;
  const qint64 po = m_wiadomosci.isEmpty() ? 0 : m_wiadomosci.last().id;
  const QList<TWiadomoscArchiwum> nowsze = m_archiwum.RozmowaPo(m_numer, po, Strona);
  m_saNowsze = nowsze.size() == Strona;
  if (nowsze.isEmpty())
    return;
  beginInsertRows(QModelIndex(), int(m_wiadomosci.size()),
                  int(m_wiadomosci.size() + nowsze.size()) - 1);
  m_wiadomosci += nowsze;
  endInsertRows();
}

QString TModelRozmowy::Linia(const TWiadomoscArchiwum &w)
{
  const bool wyslana = w.kierunek == TWiadomoscArchiwum::Wyslana;
  const QDateTime czas =
      wyslana ? w.czasUtworzenia
              : (w.czasNadania ? QDateTime::fromSecsSinceEpoch(w.czasNadania) : w.czasZapisu);
  QString linia = QString(2 * std::min(w.glebokosc, NajglebszeWciecie), u' ');
  if (w.odpowiedzNa)
    linia += QStringLiteral("↳ ");
  linia += u'(' + DataCzasNaTekst(czas) + QStringLiteral(") ");
  if (wyslana)
    linia += QStringLiteral("Ja");
  else
    linia += QString::number(w.numer);
  if (w.uczestnicy.size() > 1) {
    QStringList inni;
    for (int n : w.uczestnicy.mid(1))
      inni << QString::number(n);
    linia += QStringLiteral(" [konferencja: ") + inni.join(QStringLiteral(", ")) + u']';
  }
  linia += QStringLiteral(": ");
  linia += QString(w.tekst).replace(QStringLiteral("\r\n"), QStringLiteral(" ⏎ "));
  if (wyslana)
    linia += QStringLiteral(" [") + Stan(w.status) + u']';
  return linia;
}

int TModelRozmowy::rowCount(const QModelIndex &rodzic) const
{
  return rodzic.isValid() ? 0 : int(m_wiadomosci.size());
}

QVariant TModelRozmowy::data(const QModelIndex &indeks, int rola) const
{
  if (!indeks.isValid() || indeks.row() >= m_wiadomosci.size())
    return {};
  const TWiadomoscArchiwum &w = m_wiadomosci[indeks.row()];
  switch (rola) {
  case Qt::DisplayRole:
  case Qt::AccessibleTextRole:
    return Linia(w);
  case RolaId:
    return w.id;
  case RolaGlebokosc:
    return w.glebokosc;
  case RolaKierunek:
    return w.kierunek;
  default:
    return {};
  }
}
