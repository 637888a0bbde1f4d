#include "archiwum/EksportRozmowy.h"

#include "archiwum/Archiwum.h"
#include "archiwum/ModelRozmowy.h"

#include <QSaveFile>

bool EksportujRozmowe(TArchiwum &archiwum, int numer, const QString &plik, bool html)
{
  QSaveFile f(plik);
  if (!f.open(QIODevice::WriteOnly))
    return false;
  const QString tytul = QStringLiteral("Rozmowa z %1").arg(numer);
  if (html)
    f.write(QStringLiteral("<!DOCTYPE html>\n<html lang=\"pl\"><head><meta charset=\"utf-8\">"
                           "<title>%1</title></head>\n<body>\n<h1>%1</h1>\n")
                .arg(tytul)
                .toUtf8());
  // Page by page: a conversation of any length never sits in memory whole.
  qint64 po = 0;
  for (;;) {
    const QList<TWiadomoscArchiwum> strona = archiwum.RozmowaPo(numer, po, 1000);
    for (const TWiadomoscArchiwum &w : strona) {
      const QString linia = TModelRozmowy::Linia(w);
      if (html)
        f.write((QStringLiteral("<p style=\"margin-left:%1em\">").arg(qMin(w.glebokosc, 8)) +
                 linia.trimmed().toHtmlEscaped() + QStringLiteral("</p>\n"))
                    .toUtf8());
      else
        f.write((linia + u'\n').toUtf8());
    }
    if (strona.size() < 1000)
      break;
    po = strona.last().id;
  }
  if (html)
    f.write("</body></html>\n");
  return f.commit();
}
