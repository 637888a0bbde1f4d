#pragma once

#include "app/ui/FormaBezdokumentowa.h"

// The frame that reopens with the size, position and state it was closed with.
class TFormaBezdokumentowaPozycjonowana : public TFormaBezdokumentowa {
  Q_OBJECT
public:
  explicit TFormaBezdokumentowaPozycjonowana(QWidget *rodzic = nullptr);

protected:
  TFormaBezdokumentowaPozycjonowana(const QList<int> &szerokosciPaneli, QWidget *rodzic);
  void FormClose() override;

private:
  void FormCreate();
};

extern TFormaBezdokumentowaPozycjonowana *FormaBezdokumentowaPozycjonowana;
