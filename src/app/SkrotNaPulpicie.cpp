#include "app/SkrotNaPulpicie.h"

#include "app/Sciezki.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A desktop entry value: backslash and line breaks escaped.
QString WartoscWpisu(QString tekst)
{
  tekst.replace(u'\\', QStringLiteral("\\\\"));
  tekst.replace(u'\n', QStringLiteral("\\n"));
  tekst.replace(u'\r', QStringLiteral("\\r"));
  tekst.replace(u'\t', QStringLiteral("\\t"));
  return tekst;
}

// The program path as the one argument of Exec: quoted when it holds a reserved character,
// field codes ("%") doubled, so a path with spaces or "%" still starts this very file.
QString PolecenieExec(const QString &program)
{
  static const QString zastrzezone = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  QString wynik;
  bool cudzyslow = false;
  for (const QChar c : program)
    if (zastrzezone.contains(c))
      cudzyslow = true;
  for (const QChar c : program) {
    if (cudzyslow && (c == u'"' || c == u'`' || c == u'$' || c == u'\\'))
      wynik += u'\\';
    wynik += c;
  }
  wynik.replace(u'%', QStringLiteral("%%"));
  if (cudzyslow)
    wynik = u'"' + wynik + u'"';
  return WartoscWpisu(wynik);
}

} // namespace

QByteArray TrescSkrotu(const QString &tytul, const QString &program)
{
  const QString folder = QFileInfo(program).absolutePath() + u'/';
  const QString tresc =
      QStringLiteral("[Desktop Entry]\n"
                     "Type=Application\n"
                     "Name=%1\n"
                     "Exec=%2\n"
                     "Path=%3\n"
                     "Icon=%4\n"
                     "Categories=Network;InstantMessaging;Chat;\n"
                     "StartupWMClass=%5\n")
          .arg(WartoscWpisu(tytul), PolecenieExec(program), WartoscWpisu(folder),
               NazwaPulpitowaProgramu.toString(), WartoscWpisu(QFileInfo(program).fileName()));
  return tresc.toUtf8();
}

void UtworzSkrotNaPulpicie(const QString &tytul)
{
  const QString pulpit = FolderSpecjalny(Folder::Pulpit);
  if (pulpit.isEmpty() || !QDir().mkpath(pulpit))
    return;
  QSaveFile plik(pulpit + u'/' + tytul + QStringLiteral(".desktop"));
  if (!plik.open(QIODevice::WriteOnly))
    return;
  plik.write(TrescSkrotu(tytul, SciezkaProgramu()));
  if (!plik.commit())
    return;
  QFile::setPermissions(plik.fileName(), QFile::permissions(plik.fileName()) | QFile::ExeOwner |
                                             QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther);
}
