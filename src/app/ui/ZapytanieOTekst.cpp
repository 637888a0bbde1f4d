#include "app/ui/ZapytanieOTekst.h"

#include <QInputDialog>

bool InputQuery(const QString &podpis, const QString &pytanie, QString &wartosc, QWidget *rodzic)
{
  QInputDialog okno(rodzic);
  okno.setObjectName(QStringLiteral("InputQuery"));
  okno.setInputMode(QInputDialog::TextInput);
  okno.setWindowTitle(podpis);
  okno.setLabelText(pytanie);
  okno.setTextValue(wartosc);
  okno.setOkButtonText(QStringLiteral("OK"));
  okno.setCancelButtonText(QStringLiteral("Anuluj"));
  if (okno.exec() != QDialog::Accepted)
    return false;
  wartosc = okno.textValue();
  return true;
}
