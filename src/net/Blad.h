#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Base of the program's own exceptions. A failure inside a user command is thrown as one of these
// and ends the command; its Message() is what the error box shows.
class EBlad : public std::exception {
public:
  explicit EBlad(const QString &komunikat);
  const QString &Message() const noexcept { return m_komunikat; }
  // What the error box shows: the message, or a Polish text where the message is the runtime's.
  virtual QString KomunikatUzytkownika() const { return m_komunikat; }
  const char *what() const noexcept override { return m_utf8.constData(); }

private:
  QString m_komunikat;
  QByteArray m_utf8;
};

// A text the user typed could not be taken as a number (strict conversion).
class EConvertError : public EBlad {
public:
  using EBlad::EBlad;
  // The runtime's message, with the text that was not a number kept for the user's.
  EConvertError(const QString &komunikat, const QString &tekst);
  // "„<tekst>” nie jest liczbą" when the text is known.
  QString KomunikatUzytkownika() const override;

private:
  QString m_tekst;
  bool m_znanyTekst = false;
};

// Strict decimal conversion of user input: optional sign, digits only, must fit 32 bits.
// Throws EConvertError with the text "'<tekst>' is not a valid integer value" (the error box
// shows "„<tekst>” nie jest liczbą").
int StrToInt(const QString &tekst);

// The same rule, returning `domyslna` instead of throwing.
int StrToIntDef(const QString &tekst, int domyslna);
