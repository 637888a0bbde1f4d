#pragma once

#include "app/ui/FormaStandardowa.h"

#include <QSettings>

#include <memory>

// The frame with the program's settings file opened twice: RejestrOkna for the frame's own
// values, RejestrUstawien for the descendant's settings.
class TFormaBezdokumentowa : public TFormaStandardowa {
  Q_OBJECT
public:
  explicit TFormaBezdokumentowa(QWidget *rodzic = nullptr);
  ~TFormaBezdokumentowa() override;

  QSettings *RejestrOkna() const { return m_rejestrOkna.get(); }
  QSettings *RejestrUstawien() const { return m_rejestrUstawien.get(); }

protected:
  TFormaBezdokumentowa(const QList<int> &szerokosciPaneli, QWidget *rodzic);

private:
  void FormCreate();
  void FormDestroy();

  std::unique_ptr<QSettings> m_rejestrOkna;
  std::unique_ptr<QSettings> m_rejestrUstawien;
};

extern TFormaBezdokumentowa *FormaBezdokumentowa;
