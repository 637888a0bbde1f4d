#include "app/Sciezki.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryFile>

QString SciezkaProgramu()
{
#ifdef Q_OS_LINUX
  // Works before the application object exists (the switch handler runs that early).
  const QString sciezka = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
  if (!sciezka.isEmpty())
    return sciezka;
#endif
  return QCoreApplication::applicationFilePath();
}

QString FolderSpecjalny(int folder)
{
  QStandardPaths::StandardLocation miejsce;
  switch (folder) {
  case Folder::Pulpit:
    miejsce = QStandardPaths::DesktopLocation;
    break;
  case Folder::Dokumenty:
    miejsce = QStandardPaths::DocumentsLocation;
    break;
  case Folder::DaneAplikacji:
    miejsce = QStandardPaths::GenericDataLocation;
    break;
  default:
    return {};
  }
  return QDir::cleanPath(QStandardPaths::writableLocation(miejsce));
}

TPolozeniePliku PodzielSciezke(const QString &sciezka)
{
  struct TWiersz {
    const char *litera;
    QString folder;
    const char *przedrostek;
  };
  const TWiersz tabela[] = {
      {"S", QStringLiteral("/usr/lib"), ""},
      {"W", QStringLiteral("/usr"), ""},
      {"P", QStringLiteral("/opt"), ""},
      {"P", FolderSpecjalny(Folder::Dokumenty) + u'/' + QLatin1String(FolderProjektow), "Kolbiny/"},
      {"C", QStringLiteral("/usr/local"), ""},
  };
  TPolozeniePliku wynik{QStringLiteral("~"), sciezka};
  for (const TWiersz &w : tabela) {
    QString folder = w.folder;
    if (!folder.endsWith(u'/'))
      folder += u'/';
    if (sciezka.left(folder.size()).compare(folder, Qt::CaseInsensitive) == 0) {
      wynik = {QLatin1String(w.litera), QLatin1String(w.przedrostek) + sciezka.mid(folder.size())};
      break;
    }
  }
  wynik.Sciezka.replace(u'\\', u'/');
  return wynik;
}

QString AdresWersji(const QString &sciezka, const QString &witryna)
{
  const TPolozeniePliku p = PodzielSciezke(sciezka);
  return witryna + QStringLiteral("datas/") + p.Litera + u'/' + p.Sciezka +
         QStringLiteral(".zawartosc") + QStringLiteral(".wersja");
}

QString NowyPlikTymczasowy()
{
  QTemporaryFile plik(QDir::tempPath() + QStringLiteral("/ptXXXXXX"));
  plik.setAutoRemove(false);
  if (!plik.open())
    return {};
  return plik.fileName();
}

QString SkrotJezyka(const QLocale &jezyk)
{
  // Windows names a locale by its language code and one letter for the country or variant.
  static const QHash<QString, QString> znane = {
      {QStringLiteral("pl"), QStringLiteral("PLK")},
      {QStringLiteral("en"), QStringLiteral("ENU")},
      {QStringLiteral("en_GB"), QStringLiteral("ENG")},
      {QStringLiteral("en_AU"), QStringLiteral("ENA")},
      {QStringLiteral("en_CA"), QStringLiteral("ENC")},
      {QStringLiteral("en_NZ"), QStringLiteral("ENZ")},
      {QStringLiteral("en_IE"), QStringLiteral("ENI")},
      {QStringLiteral("de"), QStringLiteral("DEU")},
      {QStringLiteral("de_AT"), QStringLiteral("DEA")},
      {QStringLiteral("de_CH"), QStringLiteral("DES")},
      {QStringLiteral("fr"), QStringLiteral("FRA")},
      {QStringLiteral("fr_BE"), QStringLiteral("FRB")},
      {QStringLiteral("fr_CA"), QStringLiteral("FRC")},
      {QStringLiteral("fr_CH"), QStringLiteral("FRS")},
      {QStringLiteral("es"), QStringLiteral("ESN")},
      {QStringLiteral("es_MX"), QStringLiteral("ESM")},
      {QStringLiteral("it"), QStringLiteral("ITA")},
      {QStringLiteral("pt"), QStringLiteral("PTB")},
      {QStringLiteral("pt_PT"), QStringLiteral("PTG")},
      {QStringLiteral("nl"), QStringLiteral("NLD")},
      {QStringLiteral("nl_BE"), QStringLiteral("NLB")},
      {QStringLiteral("sv"), QStringLiteral("SVE")},
      {QStringLiteral("nb"), QStringLiteral("NOR")},
      {QStringLiteral("nn"), QStringLiteral("NON")},
      {QStringLiteral("da"), QStringLiteral("DAN")},
      {QStringLiteral("fi"), QStringLiteral("FIN")},
      {QStringLiteral("cs"), QStringLiteral("CSY")},
      {QStringLiteral("sk"), QStringLiteral("SKY")},
      {QStringLiteral("hu"), QStringLiteral("HUN")},
      {QStringLiteral("ru"), QStringLiteral("RUS")},
      {QStringLiteral("uk"), QStringLiteral("UKR")},
      {QStringLiteral("be"), QStringLiteral("BEL")},
      {QStringLiteral("lt"), QStringLiteral("LTH")},
      {QStringLiteral("lv"), QStringLiteral("LVI")},
      {QStringLiteral("et"), QStringLiteral("ETI")},
      {QStringLiteral("ro"), QStringLiteral("ROM")},
      {QStringLiteral("bg"), QStringLiteral("BGR")},
      {QStringLiteral("hr"), QStringLiteral("HRV")},
      {QStringLiteral("sl"), QStringLiteral("SLV")},
      {QStringLiteral("el"), QStringLiteral("ELL")},
      {QStringLiteral("tr"), QStringLiteral("TRK")},
      {QStringLiteral("ja"), QStringLiteral("JPN")},
      {QStringLiteral("ko"), QStringLiteral("KOR")},
      {QStringLiteral("zh"), QStringLiteral("CHS")},
      {QStringLiteral("zh_TW"), QStringLiteral("CHT")},
      {QStringLiteral("he"), QStringLiteral("HEB")},
      {QStringLiteral("ar"), QStringLiteral("ARA")},
  };
  if (jezyk.language() == QLocale::C)
    return QStringLiteral("ENU");
  const QString kodJezyka = QLocale::languageToCode(jezyk.language());
  const QString kodKraju = QLocale::territoryToCode(jezyk.territory());
  const QString pelny = kodJezyka + u'_' + kodKraju;
  if (const auto it = znane.constFind(pelny); it != znane.constEnd())
    return *it;
  if (const auto it = znane.constFind(kodJezyka); it != znane.constEnd())
    return *it;
  return (kodJezyka.left(2) + kodKraju.left(1)).toUpper();
}

QString NazwaPlikuPomocy(const QString &sciezkaProgramu, const QString &rozszerzenie)
{
  const QFileInfo program(sciezkaProgramu);
  return program.absolutePath() + u'/' + program.completeBaseName() + SkrotJezyka(QLocale()) +
         rozszerzenie;
}
