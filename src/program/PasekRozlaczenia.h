#pragma once

#include "gg/OpisRozlaczenia.h"

#include <QFrame>
#include <QList>
#include <QTimer>

#include <functional>

class QLabel;
class QPushButton;
class QWidget;

// The slim bar above the conversation tree: why the program is offline and when it tries again,
// with "Połącz teraz" and, after a refused login, "Moje dane"; below it the count of messages
// that "Tylko od przyjaciół" dropped, with a list of them. Hidden while it has nothing to say.
class TPasekRozlaczenia : public QFrame {
  Q_OBJECT
public:
  // Milliseconds until the next attempt, or negative while none is waiting.
  using TPozostalo = std::function<int()>;
  // The most dropped messages the list keeps (the count goes on).
  static constexpr int NajwiecejOdrzuconych = 200;

  explicit TPasekRozlaczenia(TPozostalo pozostalo, QWidget *rodzic = nullptr);

  // Zalogowano hides the offline line.
  void PokazPowod(TPowodRozlaczenia powod, const QString &host);
  void UkryjPowod() { PokazPowod(TPowodRozlaczenia::Zalogowano, QString()); }
  TPowodRozlaczenia Powod() const { return m_powod; }

  void DodajOdrzucona(const TOdrzuconaWiadomosc &wiadomosc);
  int LiczbaOdrzuconych() const { return m_liczbaOdrzuconych; }
  const QList<TOdrzuconaWiadomosc> &Odrzucone() const { return m_odrzucone; }
  // Forgets the dropped messages (the bar's "Zamknij").
  void WyczyscOdrzucone();

  // True while either line has something to show.
  bool Potrzebny() const;

  QLabel *PowodLbl = nullptr;
  QLabel *OdliczanieLbl = nullptr;
  QPushButton *PolaczTerazBtn = nullptr;
  QPushButton *MojeDaneBtn = nullptr;
  QLabel *OdrzuconeLbl = nullptr;
  QPushButton *PokazOdrzuconeBtn = nullptr;
  QPushButton *ZamknijOdrzuconeBtn = nullptr;

  // Opens the list of dropped messages (sender, time, first line); it closes with its window.
  void PokazOdrzucone();

signals:
  void PolaczTeraz();
  void MojeDane();
  // Potrzebny() may have changed.
  void Zmieniono();

private:
  void Odswiez();

  TPozostalo m_pozostalo;
  TPowodRozlaczenia m_powod = TPowodRozlaczenia::Zalogowano;
  QWidget *m_liniaPowodu = nullptr;
  QWidget *m_liniaOdrzuconych = nullptr;
  QList<TOdrzuconaWiadomosc> m_odrzucone;
  int m_liczbaOdrzuconych = 0;
  QTimer m_zegar;
};
