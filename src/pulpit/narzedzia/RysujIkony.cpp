// Build step: renders the program's icon into a hicolor tree for installing.
// Usage: paplanki_ikony <folder>   ->  <folder>/hicolor/<n>x<n>/apps/<name>.png

#include "pulpit/IkonaProgramu.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: paplanki_ikony <folder>\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication aplikacja(argc, argv);
  const QString korzen = QFile::decodeName(argv[1]) + QStringLiteral("/hicolor/");
  for (const int bok : RozmiaryIkony()) {
    const QString folder = korzen + QStringLiteral("%1x%1/apps").arg(bok);
    const QImage obraz = ObrazIkony(bok);
    if (obraz.isNull() || !QDir().mkpath(folder) ||
        !obraz.save(folder + u'/' + NazwaPulpitowa() + QStringLiteral(".png"))) {
      std::fprintf(stderr, "paplanki_ikony: cannot write the %dx%d icon\n", bok, bok);
      return 1;
    }
  }
  return 0;
}
