#include "app/ui/FormaBezdokumentowa.h"

#include "app/Lokalizacje.h"
#include "app/Sciezki.h"

#include <QFileInfo>

TFormaBezdokumentowa *FormaBezdokumentowa = nullptr;

TFormaBezdokumentowa::TFormaBezdokumentowa(QWidget *rodzic)
    : TFormaBezdokumentowa(QList<int>(), rodzic)
{
}

TFormaBezdokumentowa::TFormaBezdokumentowa(const QList<int> &szerokosciPaneli, QWidget *rodzic)
    : TFormaStandardowa(szerokosciPaneli, rodzic)
{
  FormCreate();
}

TFormaBezdokumentowa::~TFormaBezdokumentowa()
{
  FormDestroy();
}

void TFormaBezdokumentowa::FormCreate()
{
  const QString plik = SciezkaUstawien(NazwaProduktu());
  ZabezpieczUstawienia(NazwaProduktu());
  m_rejestrOkna = std::make_unique<QSettings>(plik, QSettings::IniFormat);
  m_rejestrUstawien = std::make_unique<QSettings>(plik, QSettings::IniFormat);

  // F1 belongs to the program file itself, not to a host of another kind; a program file here
  // carries no extension, as ".exe" is the program's extension on Windows.
#ifdef Q_OS_WIN
  const QString rozszerzenieProgramu = QStringLiteral("exe");
#else
  const QString rozszerzenieProgramu;
#endif
  if (QFileInfo(SciezkaProgramu()).suffix().compare(rozszerzenieProgramu, Qt::CaseInsensitive) != 0)
    Contents1->setShortcut(QKeySequence());
}

void TFormaBezdokumentowa::FormDestroy()
{
  m_rejestrUstawien.reset();
  m_rejestrOkna.reset();
}
