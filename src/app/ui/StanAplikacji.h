#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class TPodgladPomocy;

// Help commands, numbered as the Windows help mechanism numbers them.
namespace Pomoc {
inline constexpr int Zakoncz = 2;
inline constexpr int OPomocy = 4;
inline constexpr int Spis = 11;
} // namespace Pomoc

// What the whole application shares: its title, the current hint with the one hint handler, the
// help file with the one help handler. A handler belongs to a window and dies with it.
class TStanAplikacji : public QObject {
  Q_OBJECT
public:
  QString Tytul() const;
  void UstawTytul(const QString &tytul);

  const QString &Podpowiedz() const { return m_podpowiedz; }
  // Stores the hint and tells the hint handler.
  void UstawPodpowiedz(const QString &podpowiedz);
  void UstawObslugePodpowiedzi(QObject *wlasciciel, std::function<void()> obsluga);
  QObject *WlascicielPodpowiedzi() const { return m_wlascicielPodpowiedzi; }

  const QString &PlikPomocy() const { return m_plikPomocy; }
  void UstawPlikPomocy(const QString &plik) { m_plikPomocy = plik; }
  // A handler returning true has done the command; otherwise the plain-text viewer shows the
  // help file.
  void UstawObslugePomocy(QObject *wlasciciel, std::function<bool(int)> obsluga);
  QObject *WlascicielPomocy() const { return m_wlascicielPomocy; }
  void PolecaniePomocy(int polecenie);

  // Drops the handlers `wlasciciel` holds; a window calls it before its parts are torn down.
  void OdlaczObslugi(QObject *wlasciciel);

protected:
  bool eventFilter(QObject *obiekt, QEvent *zdarzenie) override;

private:
  friend TStanAplikacji &StanAplikacji();
  TStanAplikacji();

  QString m_tytul;
  QString m_podpowiedz;
  QPointer<QObject> m_wlascicielPodpowiedzi;
  std::function<void()> m_obslugaPodpowiedzi;
  QString m_plikPomocy;
  QPointer<QObject> m_wlascicielPomocy;
  std::function<bool(int)> m_obslugaPomocy;
  QPointer<TPodgladPomocy> m_podglad;
};

// The one instance (made on first use; the application object must exist).
TStanAplikacji &StanAplikacji();
