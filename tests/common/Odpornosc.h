#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// What a hostile input costs the program while it runs: the longest time the event loop kept a
// 10 ms timer waiting beyond its period, and how far the process's resident memory grew.
class TPomiarOdpornosci : public QObject {
public:
  TPomiarOdpornosci();

  // Starts afresh: the gap is measured from now, the memory growth against the size now.
  void Rozpocznij();
  qint64 NajdluzszaPrzerwaMs() const { return m_najdluzszaPrzerwa; }
  // Largest resident size seen at the timer's ticks and at this call, minus the size at the start.
  qint64 PrzyrostPamieciKiB();

  // The process's resident set size now.
  static qint64 PamiecKiB();

private:
  void Tik();

  QTimer m_zegar;
  QElapsedTimer m_czas;
  qint64 m_ostatni = 0;
  qint64 m_najdluzszaPrzerwa = 0;
  qint64 m_pamiecNaPoczatku = 0;
  qint64 m_pamiecNajwieksza = 0;
  int m_tiki = 0;
};
