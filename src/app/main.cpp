#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
  QApplication aplikacja(argc, argv);
  QLabel okno(QStringLiteral("Paplanki (GG)"));
  okno.setWindowTitle(QStringLiteral("Paplanki (GG)"));
  okno.resize(522, 342);
  okno.show();
  return aplikacja.exec();
}
