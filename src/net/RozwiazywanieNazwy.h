#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;

// Resolves one host name on a short-lived helper thread, so that the UI thread never waits for
// the resolver; the outcome comes back on the owner's thread as a call of `gotowe`. Destroying
// the object (or Anuluj) forgets the request: the helper thread finishes on its own.
class TRozwiazywanieNazwy : public QObject {
  Q_OBJECT
public:
  // ok, the address in network order, the Winsock error number when not ok.
  using TWynik = std::function<void(bool ok, quint32 adresSieciowy, int kodBledu)>;

  TRozwiazywanieNazwy(const QString &nazwa, TWynik gotowe, QObject *parent = nullptr);
  ~TRozwiazywanieNazwy() override;

  void Anuluj();

private:
  struct TWspolne;
  void Odbierz();

  std::shared_ptr<TWspolne> m_wspolne;
  QSocketNotifier *m_powiadamiacz = nullptr;
  TWynik m_gotowe;
};
