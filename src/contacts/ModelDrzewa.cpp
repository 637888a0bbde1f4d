#include "contacts/ModelDrzewa.h"

#include "contacts/Galezie.h"
#include "contacts/Stany.h"

#include <QFont>
#include <QGuiApplication>
#include <QMimeData>
#include <QPalette>

namespace {

const QString &TypPrzeciagania()
{
  static const QString typ = QStringLiteral("application/x-paplanki-wezel");
  return typ;
}

} // namespace

TModelDrzewa::TModelDrzewa(TDrzewo &drzewo, QObject *rodzic)
    : QAbstractItemModel(rodzic), m_drzewo(&drzewo)
{
  m_drzewo->DodajObserwatora(this);
}

TModelDrzewa::~TModelDrzewa()
{
  if (m_drzewo)
    m_drzewo->UsunObserwatora(this);
}

TWezel *TModelDrzewa::Wezel(const QModelIndex &indeks) const
{
  if (!m_drzewo || !indeks.isValid() || indeks.model() != this)
    return nullptr;
  return static_cast<TWezel *>(indeks.internalPointer());
}

QModelIndex TModelDrzewa::Indeks(const TWezel *wezel) const
{
  if (!m_drzewo || !wezel || wezel->Drzewo() != m_drzewo)
    return QModelIndex();
  return createIndex(wezel->Indeks(), 0, const_cast<TWezel *>(wezel));
}

void TModelDrzewa::UstawObrazy(const QList<QPixmap> &obrazy)
{
  m_obrazy = obrazy;
  m_ikony.clear();
  if (m_drzewo && m_drzewo->LiczbaGlownych() > 0)
    emit dataChanged(index(0, 0), index(m_drzewo->LiczbaGlownych() - 1, 0), {Qt::DecorationRole});
  // Deeper rows pick the new pictures up when they are next drawn.
}

QModelIndex TModelDrzewa::index(int row, int column, const QModelIndex &parent) const
{
  if (!m_drzewo || column != 0 || row < 0)
    return QModelIndex();
  TWezel *dziecko = nullptr;
  if (parent.isValid()) {
    const TWezel *r = Wezel(parent);
    dziecko = r && parent.column() == 0 ? r->Dziecko(row) : nullptr;
  } else {
    dziecko = m_drzewo->Glowny(row);
  }
  return dziecko ? createIndex(row, 0, dziecko) : QModelIndex();
}

QModelIndex TModelDrzewa::parent(const QModelIndex &child) const
{
  const TWezel *w = Wezel(child);
  return w ? Indeks(w->Rodzic()) : QModelIndex();
}

int TModelDrzewa::rowCount(const QModelIndex &parent) const
{
  if (!m_drzewo)
    return 0;
  if (!parent.isValid())
    return m_drzewo->LiczbaGlownych();
  const TWezel *w = Wezel(parent);
  return w && parent.column() == 0 ? w->LiczbaDzieci() : 0;
}

int TModelDrzewa::columnCount(const QModelIndex &parent) const
{
  return parent.isValid() && parent.column() != 0 ? 0 : 1;
}

bool TModelDrzewa::hasChildren(const QModelIndex &parent) const
{
  if (!m_drzewo)
    return false;
  if (!parent.isValid())
    return m_drzewo->LiczbaGlownych() > 0;
  const TWezel *w = Wezel(parent);
  return w && parent.column() == 0 && w->MaDzieci();
}

QVariant TModelDrzewa::Ikona(const TWezel *wezel) const
{
  const int obraz = wezel->Obraz();
  const int wybrany = wezel->ObrazWybrany();
  if (obraz < 0 || obraz >= m_obrazy.size())
    return QVariant();
  const quint64 klucz = (quint64(quint32(obraz)) << 32) | quint32(wybrany);
  auto it = m_ikony.constFind(klucz);
  if (it == m_ikony.constEnd()) {
    QIcon ikona;
    ikona.addPixmap(m_obrazy[obraz], QIcon::Normal);
    if (wybrany >= 0 && wybrany < m_obrazy.size())
      ikona.addPixmap(m_obrazy[wybrany], QIcon::Selected);
    it = m_ikony.insert(klucz, ikona);
  }
  return *it;
}

QString OpisDostepnosci(const TWezel &wezel)
{
  // What the bold text and the state picture show, for those who do not see them.
  if (!wezel.Dane() || wezel.Dane()->Rodzaj() != TRodzajWezla::Wypowiedz)
    return QString();
  QStringList stan;
  if (wezel.Stan() & StanWezla::Pogrubiony)
    stan << QStringLiteral("nieprzeczytana");
  switch (wezel.ObrazStanu()) {
  case ObrazStanu::Niepotwierdzona:
    stan << QStringLiteral("niepotwierdzona");
    break;
  case ObrazStanu::Dostarczona:
    stan << QStringLiteral("dostarczona");
    break;
  case ObrazStanu::Zakolejkowana:
    stan << QStringLiteral("zakolejkowana");
    break;
  case ObrazStanu::Zablokowana:
    stan << QStringLiteral("zablokowana przez serwer");
    break;
  case ObrazStanu::BrakMiejsca:
    stan << QStringLiteral("brak miejsca u odbiorcy");
    break;
  default:
    break;
  }
  stan.prepend(QStringLiteral("Wiadomość"));
  return stan.join(QStringLiteral(", "));
}

QVariant TModelDrzewa::data(const QModelIndex &index, int role) const
{
  const TWezel *w = Wezel(index);
  if (!w)
    return QVariant();
  switch (role) {
  case Qt::DisplayRole:
  case Qt::EditRole:
  case Qt::AccessibleTextRole:
    return w->Tekst();
  case Qt::AccessibleDescriptionRole:
    return OpisDostepnosci(*w);
  case Qt::DecorationRole:
    return Ikona(w);
  case Qt::FontRole:
    if (w->Stan() & StanWezla::Pogrubiony) {
      QFont czcionka;
      czcionka.setBold(true);
      return czcionka;
    }
    return QVariant();
  case Qt::ForegroundRole:
    // Ghosted text, for a view that draws with the default delegate.
    if ((w->Stan() & StanWezla::Wyciety) &&
        qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
      return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    return QVariant();
  case RolaObraz:
    return w->Obraz();
  case RolaObrazWybrany:
    return w->ObrazWybrany();
  case RolaObrazStanu:
    return w->ObrazStanu();
  case RolaStan:
    return int(w->Stan());
  case RolaWyszarzony:
    return bool(w->Stan() & StanWezla::Wyciety);
  case RolaPogrubiony:
    return bool(w->Stan() & StanWezla::Pogrubiony);
  case RolaRodzaj:
    return w->Dane() ? int(w->Dane()->Rodzaj()) : -1;
  default:
    return QVariant();
  }
}

bool TModelDrzewa::setData(const QModelIndex &index, const QVariant &value, int role)
{
  TWezel *w = Wezel(index);
  if (!w || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
    return false;
  w->UstawTekst(value.toString());
  return true;
}

Qt::ItemFlags TModelDrzewa::flags(const QModelIndex &index) const
{
  const TWezel *w = Wezel(index);
  if (!w)
    return Qt::ItemIsDropEnabled;
  Qt::ItemFlags f =
      Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
  if (w->Dane() && w->Dane()->Rodzaj() == TRodzajWezla::Wypowiedz)
    f |= Qt::ItemIsEditable;
  return f;
}

Qt::DropActions TModelDrzewa::supportedDropActions() const
{
  return Qt::MoveAction;
}

QStringList TModelDrzewa::mimeTypes() const
{
  return {TypPrzeciagania()};
}

QMimeData *TModelDrzewa::mimeData(const QModelIndexList &indexes) const
{
  TWezel *w = nullptr;
  for (const QModelIndex &i : indexes)
    if ((w = Wezel(i)))
      break;
  if (!w)
    return nullptr;
  // The node itself stays here as a weak handle: the tree may change while the drag runs.
  m_przeciagany = w;
  auto *dane = new QMimeData;
  dane->setData(TypPrzeciagania(), QByteArray::number(++m_numerPrzeciagania));
  return dane;
}

bool TModelDrzewa::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                const QModelIndex &parent)
{
  Q_UNUSED(column);
  if (action == Qt::IgnoreAction)
    return true;
  if (!m_drzewo || !data || action != Qt::MoveAction || !data->hasFormat(TypPrzeciagania()))
    return false;
  if (data->data(TypPrzeciagania()) != QByteArray::number(m_numerPrzeciagania))
    return false;
  TWezel *przeciagany = m_przeciagany;
  if (!przeciagany)
    return false;
  TWezel *cel = Wezel(parent);
  if (parent.isValid() && !cel)
    return false;
  return m_drzewo->Przenies(przeciagany, cel, row);
}

void TModelDrzewa::PrzedWstawieniem(TWezel *rodzic, int pozycja)
{
  beginInsertRows(Indeks(rodzic), pozycja, pozycja);
}

void TModelDrzewa::PoWstawieniu(TWezel *wezel)
{
  Q_UNUSED(wezel);
  endInsertRows();
}

void TModelDrzewa::PrzedUsunieciem(TWezel *rodzic, int pierwszy, int ostatni)
{
  beginRemoveRows(Indeks(rodzic), pierwszy, ostatni);
}

void TModelDrzewa::PoUsunieciu(TWezel *rodzic, int pierwszy, int ostatni)
{
  Q_UNUSED(rodzic);
  Q_UNUSED(pierwszy);
  Q_UNUSED(ostatni);
  endRemoveRows();
}

void TModelDrzewa::PrzedPrzeniesieniem(TWezel *wezel, TWezel *nowyRodzic, int pozycja)
{
  const QModelIndex zrodlo = Indeks(wezel->Rodzic());
  m_przeniesienieJakoReset =
      !beginMoveRows(zrodlo, wezel->Indeks(), wezel->Indeks(), Indeks(nowyRodzic), pozycja);
  if (m_przeniesienieJakoReset)
    beginResetModel(); // the tree refuses what Qt refuses; kept only as a safety net
}

void TModelDrzewa::PoPrzeniesieniu(TWezel *wezel)
{
  Q_UNUSED(wezel);
  if (m_przeniesienieJakoReset)
    endResetModel();
  else
    endMoveRows();
  m_przeniesienieJakoReset = false;
}

void TModelDrzewa::PrzedWyczyszczeniem()
{
  beginResetModel();
}

void TModelDrzewa::PoWyczyszczeniu()
{
  endResetModel();
}

void TModelDrzewa::Zmieniono(TWezel *wezel, unsigned co)
{
  const QModelIndex i = Indeks(wezel);
  if (co & ZmianaWezla::Rozwijanie) {
    // Only a new layout makes a view ask hasChildren again.
    const QList<QPersistentModelIndex> rodzice{QPersistentModelIndex(i)};
    emit layoutAboutToBeChanged(rodzice);
    emit layoutChanged(rodzice);
  }
  QList<int> role;
  if (co & ZmianaWezla::Tekst)
    role << Qt::DisplayRole << Qt::EditRole << Qt::AccessibleTextRole;
  if (co & ZmianaWezla::Obrazy)
    role << Qt::DecorationRole << RolaObraz << RolaObrazWybrany;
  if (co & ZmianaWezla::ObrazStanu)
    role << RolaObrazStanu << Qt::AccessibleDescriptionRole;
  if (co & ZmianaWezla::Stan)
    role << Qt::FontRole << Qt::ForegroundRole << RolaStan << RolaWyszarzony << RolaPogrubiony
         << Qt::AccessibleDescriptionRole;
  if (co & ZmianaWezla::Dane)
    role.clear(); // flags may change too: everything
  if (!role.isEmpty() || (co & ZmianaWezla::Dane))
    emit dataChanged(i, i, role);
}

void TModelDrzewa::PrzedUsunieciemWezla(TWezel *wezel)
{
  emit WezelUsuwany(wezel);
}

void TModelDrzewa::DrzewoNiszczone()
{
  beginResetModel();
  m_drzewo = nullptr;
  m_przeciagany.clear();
  endResetModel();
}
