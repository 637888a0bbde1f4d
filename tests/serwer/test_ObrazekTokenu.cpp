// The server's GIF encoder, checked by decoding its output with Qt's reader.

#include "common/Srodowisko.h"
#include "serwer/ObrazekTokenu.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTest>

#include <random>

class TestObrazekTokenu : public QObject {
  Q_OBJECT

private slots:
  // Sizes and contents that take the code table through its widths and past its end.
  void obrazekWracaBezZmian_data()
  {
    QTest::addColumn<int>("szerokosc");
    QTest::addColumn<int>("wysokosc");
    QTest::addColumn<int>("kolory");
    QTest::addColumn<int>("wzor"); // 0 noise, 1 stripes, 2 one colour
    QTest::newRow("jeden piksel") << 1 << 1 << 2 << 0;
    QTest::newRow("szum, 4 kolory") << 300 << 200 << 4 << 0;
    QTest::newRow("szum, 256 kolorów") << 160 << 120 << 256 << 0;
    QTest::newRow("pasy, 2 kolory") << 513 << 77 << 2 << 1;
    QTest::newRow("jednolity, długie ciągi") << 640 << 480 << 2 << 2;
    QTest::newRow("szum, 16 kolorów") << 97 << 301 << 16 << 0;
  }
  void obrazekWracaBezZmian()
  {
    QFETCH(int, szerokosc);
    QFETCH(int, wysokosc);
    QFETCH(int, kolory);
    QFETCH(int, wzor);
    std::mt19937 los(szerokosc * 31 + wysokosc);
    std::vector<std::uint8_t> paleta;
    for (int i = 0; i < kolory; ++i) {
      paleta.push_back(std::uint8_t(i * 37));
      paleta.push_back(std::uint8_t(255 - i));
      paleta.push_back(std::uint8_t(i * 5));
    }
    std::vector<std::uint8_t> piksele(std::size_t(szerokosc * wysokosc));
    for (std::size_t i = 0; i < piksele.size(); ++i)
      piksele[i] = wzor == 0   ? std::uint8_t(los() % unsigned(kolory))
                   : wzor == 1 ? std::uint8_t((i / 7) % unsigned(kolory))
                               : std::uint8_t(kolory - 1);
    const std::string gif = ZakodujGif(szerokosc, wysokosc, piksele, paleta);
    QByteArray bajty(gif.data(), qsizetype(gif.size()));
    QBuffer bufor(&bajty);
    QImageReader czytnik(&bufor, "gif");
    const QImage obraz = czytnik.read();
    QVERIFY2(!obraz.isNull(), qPrintable(czytnik.errorString()));
    QCOMPARE(obraz.size(), QSize(szerokosc, wysokosc));
    for (int y = 0; y < wysokosc; ++y)
      for (int x = 0; x < szerokosc; ++x) {
        const std::size_t k = piksele[std::size_t(y * szerokosc + x)];
        const QRgb oczekiwany = qRgb(paleta[3 * k], paleta[3 * k + 1], paleta[3 * k + 2]);
        if (obraz.pixel(x, y) != oczekiwany)
          QFAIL(qPrintable(QStringLiteral("piksel %1,%2").arg(x).arg(y)));
      }
  }

  void obrazekTokenuMaCyfry()
  {
    std::mt19937 los(7);
    const std::string a = ObrazekTokenu("12345", los);
    const std::string b = ObrazekTokenu("12345", los);
    QVERIFY(a != b); // drawn anew each time
    const QImage obraz = QImage::fromData(QByteArray(a.data(), qsizetype(a.size())), "GIF");
    QCOMPARE(obraz.size(), QSize(SzerokoscTokenu, WysokoscTokenu));
    // The digits take a fair share of the picture, in every fifth of its width.
    for (int piata = 0; piata < 5; ++piata) {
      int ciemne = 0;
      for (int x = piata * 20; x < piata * 20 + 20; ++x)
        for (int y = 0; y < obraz.height(); ++y)
          ciemne += qGray(obraz.pixel(x, y)) < 100;
      QVERIFY2(ciemne > 20, qPrintable(QString::number(ciemne)));
    }
  }
};

PAPLANKI_TEST_MAIN(TestObrazekTokenu)
#include "test_ObrazekTokenu.moc"
