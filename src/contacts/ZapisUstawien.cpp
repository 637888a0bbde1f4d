#include "contacts/ZapisUstawien.h"

#include "contacts/Rejestr.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPointer>
#include <QSettings>
#include <QThread>
#include <QTimer>

#include <vector>

namespace {

struct TZalegle {
  std::vector<QPointer<QSettings>> pliki;
  bool zaplanowane = false;
  bool podlaczone = false;
};

// Settings objects are written from the UI thread only.
TZalegle &Zalegle()
{
  static TZalegle zalegle;
  return zalegle;
}

void Podlacz(TZalegle &z)
{
  if (z.podlaczone)
    return;
  z.podlaczone = true;
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [] { ZapiszZalegle(); });
  if (QAbstractEventDispatcher *dyspozytor = QAbstractEventDispatcher::instance())
    QObject::connect(dyspozytor, &QAbstractEventDispatcher::aboutToBlock, dyspozytor,
                     [] { ZapiszZalegle(); });
}

} // namespace

void ZaplanujZapis(QSettings &rejestr, const QString &co)
{
  if (!QCoreApplication::instance()) {
    ZatwierdzZapis(rejestr, co);
    return;
  }
  TZalegle &z = Zalegle();
  bool jest = false;
  for (const QPointer<QSettings> &p : z.pliki)
    jest = jest || p == &rejestr;
  if (!jest) {
    // Refused at once, as a write that goes to disk at once would be.
    if (!rejestr.isWritable())
      throw ERejestr(QStringLiteral("Failed to set data for '%1'").arg(co));
    z.pliki.push_back(&rejestr);
  }
  Podlacz(z);
  if (!z.zaplanowane) {
    z.zaplanowane = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] { ZapiszZalegle(); });
  }
}

bool ZapiszZalegle()
{
  TZalegle &z = Zalegle();
  z.zaplanowane = false;
  if (z.pliki.empty())
    return true;
  const std::vector<QPointer<QSettings>> pliki = std::move(z.pliki);
  z.pliki.clear();
  bool wszystkie = true;
  for (const QPointer<QSettings> &p : pliki) {
    if (!p)
      continue; // a settings object writes its changes itself when it goes
    p->sync();
    if (p->status() != QSettings::NoError) {
      qWarning("Cannot write the settings file %s", qUtf8Printable(p->fileName()));
      wszystkie = false;
    }
  }
  return wszystkie;
}
