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
  void showEvent(QShowEvent *zdarzenie) override;

private:
  void FormCreate();

  // First run, no stored position: the frame goes to the top-left of the available area once
  // the window exists, so the title bar is not placed above the screen.
  bool m_ramkaWRogu = false;
};

extern TFormaBezdokumentowaPozycjonowana *FormaBezdokumentowaPozycjonowana;
