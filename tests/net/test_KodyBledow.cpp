#include "common/Srodowisko.h"
#include "net/KodyBledow.h"

#include <cerrno>
#include <netdb.h>

class TestKodyBledow : public QObject {
  Q_OBJECT
private slots:
  void errnoNaNumeryWinsock_data()
  {
    QTest::addColumn<int>("numerErrno");
    QTest::addColumn<int>("kod");
    QTest::newRow("would block") << EWOULDBLOCK << 10035;
    QTest::newRow("in progress") << EINPROGRESS << 10036;
    QTest::newRow("aborted") << ECONNABORTED << 10053;
    QTest::newRow("reset") << ECONNRESET << 10054;
    QTest::newRow("broken pipe is a reset") << EPIPE << 10054;
    QTest::newRow("not connected") << ENOTCONN << 10057;
    QTest::newRow("timed out") << ETIMEDOUT << 10060;
    QTest::newRow("refused") << ECONNREFUSED << 10061;
  }
  void errnoNaNumeryWinsock()
  {
    QFETCH(int, numerErrno);
    QFETCH(int, kod);
    QCOMPARE(KodBleduZErrno(numerErrno), kod);
  }
  void nieznanaNazwaHosta()
  {
    QCOMPARE(KodBleduZGetaddrinfo(EAI_NONAME), 11001);
    QCOMPARE(OpisBledu(11001), QStringLiteral("Host not found"));
    QVERIFY(!OpisBledu(10061).isEmpty());
  }
};

PAPLANKI_TEST_MAIN(TestKodyBledow)
#include "test_KodyBledow.moc"
