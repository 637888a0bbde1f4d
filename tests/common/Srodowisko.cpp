#include "common/Srodowisko.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <memory>

namespace {
QTemporaryDir *katalog = nullptr;
}

void PrzygotujSrodowiskoTestowe()
{
  if (katalog)
    return;
  katalog = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/paplanki-test-XXXXXX"));
  std::atexit([] {
    delete katalog;
    katalog = nullptr;
  });
  const QString dom = katalog->path();
  const auto ustaw = [&](const char *nazwa, const QString &podkatalog) {
    const QString sciezka = dom + podkatalog;
    QDir().mkpath(sciezka);
    qputenv(nazwa, QFile::encodeName(sciezka));
  };
  ustaw("HOME", QString());
  ustaw("XDG_CONFIG_HOME", QStringLiteral("/.config"));
  ustaw("XDG_DATA_HOME", QStringLiteral("/.local/share"));
  ustaw("XDG_CACHE_HOME", QStringLiteral("/.cache"));
  ustaw("XDG_DESKTOP_DIR", QStringLiteral("/Pulpit"));
  ustaw("XDG_DOCUMENTS_DIR", QStringLiteral("/Dokumenty"));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString KatalogTestowy()
{
  return katalog ? katalog->path() : QString();
}

void OdpowiedzNaOknoModalne(std::function<void(QWidget *)> odpowiedz, int limitMs)
{
  // Owned by the application, so that a timer still waiting when the test ends is freed with it.
  auto zegar = new QTimer(QCoreApplication::instance());
  auto pozostalo = std::make_shared<int>(limitMs / 10);
  zegar->setInterval(10);
  QObject::connect(zegar, &QTimer::timeout, [zegar, pozostalo, odpowiedz] {
    QWidget *okno = QApplication::activeModalWidget();
    if (okno && okno->isVisible()) {
      zegar->stop();
      zegar->deleteLater();
      odpowiedz(okno);
      return;
    }
    if (--*pozostalo <= 0) {
      zegar->stop();
      zegar->deleteLater();
    }
  });
  zegar->start();
}
