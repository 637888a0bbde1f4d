#include "archiwum/Archiwum.h"

#include "archiwum/ZapisArchiwum.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <limits>

namespace {

// "PPKA": tells our file from another program's database.
constexpr int IdentyfikatorAplikacji = 0x50504B41;
constexpr int WersjaSchematu = 1;

const char16_t *const Schemat[] = {
    u"CREATE TABLE IF NOT EXISTS wiadomosci("
    u" id INTEGER PRIMARY KEY,"
    u" kierunek INTEGER NOT NULL," // 0 received, 1 sent
    u" numer INTEGER NOT NULL,"    // the other party
    u" sekwencja INTEGER NOT NULL,"
    u" czas_nadania INTEGER NOT NULL," // Unix seconds (received)
    u" czas_utworzenia INTEGER,"       // ms since the epoch (sent)
    u" czas_zapisu INTEGER NOT NULL,"  // ms since the epoch
    u" status INTEGER NOT NULL,"
    u" przeczytana INTEGER NOT NULL,"
    u" w_drzewie INTEGER NOT NULL,"
    u" odpowiedz_na INTEGER,"
    u" glebokosc INTEGER NOT NULL,"
    u" konferencja INTEGER NOT NULL," // how many participants are listed
    u" tekst TEXT NOT NULL)",
    u"CREATE INDEX IF NOT EXISTS wiadomosci_numer ON wiadomosci(numer, id)",
    // What start-up reads stays small however large the archive grows.
    u"CREATE INDEX IF NOT EXISTS wiadomosci_oczekujace ON wiadomosci(id) "
    u"WHERE kierunek = 1 AND w_drzewie = 1 AND status NOT IN (1, 2, 3)",
    u"CREATE INDEX IF NOT EXISTS wiadomosci_nieprzeczytane ON wiadomosci(id) "
    u"WHERE kierunek = 0 AND w_drzewie = 1 AND przeczytana = 0",
    u"CREATE TABLE IF NOT EXISTS uczestnicy("
    u" wiadomosc INTEGER NOT NULL, pozycja INTEGER NOT NULL, numer INTEGER NOT NULL,"
    u" PRIMARY KEY(wiadomosc, pozycja)) WITHOUT ROWID",
    u"CREATE TABLE IF NOT EXISTS potwierdzenia("
    u" id INTEGER PRIMARY KEY, czas INTEGER NOT NULL, sekwencja INTEGER NOT NULL,"
    u" status INTEGER NOT NULL, wiadomosc INTEGER)",
    // Holds the folded text only (rows are found by rowid = wiadomosci.id).
    u"CREATE VIRTUAL TABLE IF NOT EXISTS szukaj USING fts5(tekst, content='', "
    u"tokenize='unicode61 remove_diacritics 2')",
};

const QString Kolumny = QStringLiteral(
    "id, kierunek, numer, sekwencja, czas_nadania, czas_utworzenia, czas_zapisu, status, "
    "przeczytana, w_drzewie, COALESCE(odpowiedz_na, 0), glebokosc, konferencja, tekst");

// The file made owner-only before SQLite first opens it, so no other user can ever read it.
bool PrzygotujPlik(const QString &sciezka)
{
  if (!QDir().mkpath(QFileInfo(sciezka).absolutePath()))
    return false;
  const QByteArray nazwa = QFile::encodeName(sciezka);
  const int fd = ::open(nazwa.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0)
    return false;
  ::close(fd);
  return QFile::setPermissions(sciezka, QFile::ReadOwner | QFile::WriteOwner);
}

void TylkoDlaWlasciciela(const QString &sciezka)
{
  for (const QString &p :
       {sciezka, sciezka + QStringLiteral("-wal"), sciezka + QStringLiteral("-shm")})
    if (QFile::exists(p))
      QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

TArchiwum::TArchiwum() : m_zyje(std::make_shared<bool>(true)) {}

TArchiwum::~TArchiwum()
{
  Zapisz();
  m_zapis.reset(); // drains its queue
  Rozlacz();
  if (m_blokada >= 0)
    ::close(m_blokada);
}

QString TArchiwum::NazwaOdlozonego(const QString &plik, const QDate &dzien)
{
  const QString podstawa =
      plik + QStringLiteral(".uszkodzone-") + dzien.toString(QStringLiteral("yyyy-MM-dd"));
  QString nazwa = podstawa;
  for (int n = 2; QFile::exists(nazwa); ++n)
    nazwa = podstawa + u'-' + QString::number(n);
  return nazwa;
}

bool TArchiwum::Otworz(const QString &sciezka)
{
  m_sciezka = sciezka;
  if (!QDir().mkpath(QFileInfo(sciezka).absolutePath()))
    return false;
  // A lock file of its own: SQLite's locks on the database itself must not be touched.
  const QByteArray blokada = QFile::encodeName(sciezka + QStringLiteral("-blokada"));
  m_blokada = ::open(blokada.constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
  if (m_blokada < 0)
    return false;
  if (::flock(m_blokada, LOCK_EX | LOCK_NB) != 0) {
    ::close(m_blokada);
    m_blokada = -1;
    m_zajete = true;
    return false;
  }
  QString blad;
  if (!Polacz(sciezka, &blad)) {
    Rozlacz();
    if (!QFile::exists(sciezka))
      return false; // nothing to set aside: the folder cannot hold an archive at all
    const QString odlozony = NazwaOdlozonego(sciezka, QDate::currentDate());
    if (!QFile::rename(sciezka, odlozony))
      return false;
    // The journal files belong to the damaged file: they go with it, or SQLite would try to
    // apply them to the new one.
    for (const QString &k : {QStringLiteral("-wal"), QStringLiteral("-shm")})
      if (QFile::exists(sciezka + k) && !QFile::rename(sciezka + k, odlozony + k))
        QFile::remove(sciezka + k);
    m_odlozony = odlozony;
    if (!Polacz(sciezka, &blad)) {
      Rozlacz();
      return false;
    }
  }
  TylkoDlaWlasciciela(sciezka);
  m_otwarte = true;
  m_zapis = std::make_unique<TZapisArchiwum>(sciezka, [zyje = std::weak_ptr<bool>(m_zyje), this] {
    // From the writer thread to this one.
    if (QCoreApplication *aplikacja = QCoreApplication::instance())
      QMetaObject::invokeMethod(
          aplikacja,
          [zyje, this] {
            if (!zyje.expired() && m_przyBledzie)
              m_przyBledzie();
          },
          Qt::QueuedConnection);
  });
  return true;
}

bool TArchiwum::Polacz(const QString &sciezka, QString *blad)
{
  if (!PrzygotujPlik(sciezka)) {
    *blad = QStringLiteral("cannot create");
    return false;
  }
  m_polaczenie = QStringLiteral("odczyt-%1").arg(quintptr(this), 0, 16);
  QSqlDatabase baza = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_polaczenie);
  baza.setDatabaseName(sciezka);
  baza.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
  if (!baza.open()) {
    *blad = baza.lastError().text();
    return false;
  }
  QSqlQuery q(baza);
  q.setForwardOnly(true);
  const auto wykonaj = [&](const QString &tekst) {
    if (q.exec(tekst))
      return true;
    *blad = q.lastError().text();
    return false;
  };
  // A file that is no database, or another program's, fails here.
  if (!wykonaj(QStringLiteral("PRAGMA application_id")) || !q.next())
    return false;
  const int id = q.value(0).toInt();
  if (id != 0 && id != IdentyfikatorAplikacji) {
    *blad = QStringLiteral("foreign file");
    return false;
  }
  if (!wykonaj(QStringLiteral("PRAGMA journal_mode = WAL")) || !q.next() ||
      q.value(0).toString() != QStringLiteral("wal"))
    return false;
  if (!wykonaj(QStringLiteral("PRAGMA synchronous = NORMAL")))
    return false;
  baza.transaction();
  for (const char16_t *polecenie : Schemat)
    if (!wykonaj(QString::fromUtf16(polecenie))) {
      baza.rollback();
      return false;
    }
  if (!wykonaj(QStringLiteral("PRAGMA application_id = %1").arg(IdentyfikatorAplikacji)) ||
      !wykonaj(QStringLiteral("PRAGMA user_version = %1").arg(WersjaSchematu)) || !baza.commit())
    return false;
  // Reading the tables start-up needs also proves their pages sound.
  if (!wykonaj(QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM wiadomosci")) || !q.next())
    return false;
  m_ostatniId = q.value(0).toLongLong();
  for (const char *tabela : {"SELECT COUNT(*) FROM potwierdzenia WHERE id < 0",
                             "SELECT COUNT(*) FROM szukaj WHERE szukaj MATCH 'a'"})
    if (!wykonaj(QString::fromLatin1(tabela)))
      return false;
  return true;
}

void TArchiwum::Rozlacz()
{
  if (m_polaczenie.isEmpty())
    return;
  QSqlDatabase::database(m_polaczenie, false).close();
  QSqlDatabase::removeDatabase(m_polaczenie);
  m_polaczenie.clear();
}

// --- Changes ----------------------------------------------------------------------------------

void TArchiwum::Dopisz(const TWiadomoscArchiwum &w)
{
  TOperacjaArchiwum o;
  o.rodzaj = TOperacjaArchiwum::Wiadomosc;
  o.id = w.id;
  o.wiadomosc = w;
  m_kolejka.push_back(std::move(o));
  Zaplanuj();
}

void TArchiwum::UstawStatus(qint64 id, int status)
{
  TOperacjaArchiwum o;
  o.rodzaj = TOperacjaArchiwum::Status;
  o.id = id;
  o.status = status;
  m_kolejka.push_back(std::move(o));
  Zaplanuj();
}

void TArchiwum::DopiszPotwierdzenie(int sekwencja, int status, qint64 id)
{
  TOperacjaArchiwum o;
  o.rodzaj = TOperacjaArchiwum::Potwierdzenie;
  o.id = id;
  o.sekwencja = sekwencja;
  o.status = status;
  o.czas = QDateTime::currentMSecsSinceEpoch();
  m_kolejka.push_back(std::move(o));
  Zaplanuj();
}

void TArchiwum::OznaczPrzeczytana(qint64 id)
{
  TOperacjaArchiwum o;
  o.rodzaj = TOperacjaArchiwum::Przeczytana;
  o.id = id;
  m_kolejka.push_back(std::move(o));
  Zaplanuj();
}

void TArchiwum::OznaczUsunieta(qint64 id)
{
  TOperacjaArchiwum o;
  o.rodzaj = TOperacjaArchiwum::Usunieta;
  o.id = id;
  m_kolejka.push_back(std::move(o));
  Zaplanuj();
}

void TArchiwum::Zaplanuj()
{
  if (m_zaplanowane)
    return;
  m_zaplanowane = true;
  // After everything else this turn of the event loop does: one batch, one transaction.
  QTimer::singleShot(0, [zyje = std::weak_ptr<bool>(m_zyje), this] {
    if (!zyje.expired())
      Zapisz();
  });
}

void TArchiwum::Zapisz()
{
  m_zaplanowane = false;
  if (m_kolejka.empty())
    return;
  if (m_zapis)
    m_zapis->Przekaz(std::move(m_kolejka));
  m_kolejka.clear();
}

void TArchiwum::Zaczekaj()
{
  Zapisz();
  if (m_zapis)
    m_zapis->Zaczekaj();
}

int TArchiwum::BledyZapisu() const
{
  return m_zapis ? m_zapis->Bledy() : 0;
}

quint64 TArchiwum::Transakcje() const
{
  return m_zapis ? m_zapis->Transakcje() : 0;
}

// --- Reads ------------------------------------------------------------------------------------

QList<TWiadomoscArchiwum> TArchiwum::Wczytaj(const QString &zapytanie, const QVariantList &wartosci)
{
  QList<TWiadomoscArchiwum> wynik;
  if (!m_otwarte)
    return wynik;
  const QSqlDatabase baza = QSqlDatabase::database(m_polaczenie, false);
  QSqlQuery q(baza);
  q.setForwardOnly(true);
  q.prepare(QStringLiteral("SELECT ") + Kolumny + QStringLiteral(" FROM wiadomosci ") + zapytanie);
  for (int i = 0; i < wartosci.size(); ++i)
    q.bindValue(i, wartosci[i]);
  if (!q.exec())
    return wynik;
  bool saKonferencje = false;
  while (q.next()) {
    TWiadomoscArchiwum w;
    w.id = q.value(0).toLongLong();
    w.kierunek = q.value(1).toInt();
    w.numer = q.value(2).toInt();
    w.sekwencja = q.value(3).toInt();
    w.czasNadania = q.value(4).toLongLong();
    if (!q.value(5).isNull())
      w.czasUtworzenia = QDateTime::fromMSecsSinceEpoch(q.value(5).toLongLong());
    w.czasZapisu = QDateTime::fromMSecsSinceEpoch(q.value(6).toLongLong());
    w.status = q.value(7).toInt();
    w.przeczytana = q.value(8).toInt() != 0;
    w.wDrzewie = q.value(9).toInt() != 0;
    w.odpowiedzNa = q.value(10).toLongLong();
    w.glebokosc = q.value(11).toInt();
    if (q.value(12).toInt() > 0) {
      saKonferencje = true;
      w.uczestnicy.append(0); // marks it until the list is read below
    }
    w.tekst = q.value(13).toString();
    wynik.append(std::move(w));
  }
  if (saKonferencje) {
    QSqlQuery u(baza);
    u.setForwardOnly(true);
    u.prepare(QStringLiteral("SELECT numer FROM uczestnicy WHERE wiadomosc = ? ORDER BY pozycja"));
    for (TWiadomoscArchiwum &w : wynik) {
      if (w.uczestnicy.isEmpty())
        continue;
      w.uczestnicy.clear();
      u.bindValue(0, w.id);
      if (u.exec())
        while (u.next())
          w.uczestnicy.append(u.value(0).toInt());
    }
  }
  return wynik;
}

QList<TWiadomoscArchiwum> TArchiwum::Oczekujace()
{
  return Wczytaj(QStringLiteral("INDEXED BY wiadomosci_oczekujace WHERE kierunek = 1 AND "
                                "w_drzewie = 1 AND status NOT IN (1, 2, 3) ORDER BY id"),
                 {});
}

QList<TWiadomoscArchiwum> TArchiwum::Nieprzeczytane()
{
  return Wczytaj(QStringLiteral("INDEXED BY wiadomosci_nieprzeczytane WHERE kierunek = 0 AND "
                                "w_drzewie = 1 AND przeczytana = 0 ORDER BY id"),
                 {});
}

QList<TWiadomoscArchiwum> TArchiwum::Rozmowa(int numer, qint64 przedId, int ile)
{
  QList<TWiadomoscArchiwum> wynik =
      Wczytaj(QStringLiteral("WHERE numer = ? AND id < ? ORDER BY id DESC LIMIT ?"),
              {numer, przedId > 0 ? przedId : std::numeric_limits<qint64>::max(), ile});
  std::reverse(wynik.begin(), wynik.end());
  return wynik;
}

QList<TWiadomoscArchiwum> TArchiwum::RozmowaPo(int numer, qint64 poId, int ile)
{
  return Wczytaj(QStringLiteral("WHERE numer = ? AND id > ? ORDER BY id LIMIT ?"),
                 {numer, poId, ile});
}

qint64 TArchiwum::LiczbaWRozmowie(int numer)
{
  if (!m_otwarte)
    return 0;
  QSqlQuery q(QSqlDatabase::database(m_polaczenie, false));
  q.prepare(QStringLiteral("SELECT COUNT(*) FROM wiadomosci WHERE numer = ?"));
  q.bindValue(0, numer);
  return q.exec() && q.next() ? q.value(0).toLongLong() : 0;
}

TWiadomoscArchiwum TArchiwum::Wiadomosc(qint64 id)
{
  return Wczytaj(QStringLiteral("WHERE id = ?"), {id}).value(0);
}

QList<QPair<int, qint64>> TArchiwum::Rozmowcy()
{
  QList<QPair<int, qint64>> wynik;
  if (!m_otwarte)
    return wynik;
  QSqlQuery q(QSqlDatabase::database(m_polaczenie, false));
  q.setForwardOnly(true);
  if (q.exec(
          QStringLiteral("SELECT numer, COUNT(*) FROM wiadomosci GROUP BY numer ORDER BY numer")))
    while (q.next())
      wynik.append({q.value(0).toInt(), q.value(1).toLongLong()});
  return wynik;
}

QString TArchiwum::Zloz(const QString &tekst)
{
  const QString rozlozony = tekst.normalized(QString::NormalizationForm_D);
  QString wynik;
  wynik.reserve(rozlozony.size());
  for (QChar z : rozlozony) {
    if (z.category() == QChar::Mark_NonSpacing)
      continue;
    // Letters with a stroke do not decompose.
    if (z == u'ł' || z == u'Ł')
      z = u'l';
    wynik.append(z.toLower());
  }
  return wynik;
}

QList<TTrafienie> TArchiwum::Szukaj(const QString &zapytanie, int ile)
{
  QList<TTrafienie> wynik;
  if (!m_otwarte)
    return wynik;
  // Only letters and digits reach the query language: every word becomes a quoted prefix.
  QStringList slowa;
  QString slowo;
  const QString zlozone = Zloz(zapytanie);
  for (qsizetype i = 0; i <= zlozone.size(); ++i) {
    if (i < zlozone.size() && zlozone[i].isLetterOrNumber()) {
      slowo.append(zlozone[i]);
    } else if (!slowo.isEmpty()) {
      slowa.append(u'"' + slowo + QStringLiteral("\"*"));
      slowo.clear();
    }
  }
  if (slowa.isEmpty())
    return wynik;
  QSqlQuery q(QSqlDatabase::database(m_polaczenie, false));
  q.setForwardOnly(true);
  q.prepare(QStringLiteral(
      "SELECT w.id, w.numer, w.czas_zapisu, w.tekst FROM szukaj JOIN wiadomosci w "
      "ON w.id = szukaj.rowid WHERE szukaj MATCH ? ORDER BY szukaj.rowid DESC LIMIT ?"));
  q.bindValue(0, slowa.join(u' '));
  q.bindValue(1, ile);
  if (!q.exec())
    return wynik;
  while (q.next())
    wynik.append({q.value(0).toLongLong(), q.value(1).toInt(),
                  QDateTime::fromMSecsSinceEpoch(q.value(2).toLongLong()), q.value(3).toString()});
  return wynik;
}
