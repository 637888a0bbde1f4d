#pragma once

#include <QString>

// The maker's contact data and web addresses (the program's own constants).
inline constexpr char NazwaAutora[] = "Kolbiny";
inline constexpr char TelefonAutora[] = "+48225550167";
inline constexpr char AdresPocztyAutora[] = "mailto:paplanki@kolbiny.example";
inline constexpr char AdresWitrynyAutora[] = "http://www.kolbiny.example/";
inline constexpr char AdresLicznikaAutora[] = "http://licznik.kolbiny.example/";

// The maker's site and its counter address. The environment variables PAPLANKI_WITRYNA and
// PAPLANKI_LICZNIK replace them (for a staging copy of the site or a local mirror); both are read
// on every call, so the update check of each window sees the current value.
QString AdresWitryny();
QString AdresLicznika();

// `wzor` holds one "%s" (a message resource string); `napis` fills it.
QString Sformatuj(const char *wzor, const QString &napis);

// "mailto:" address with the subject "Zapytanie o <nazwa>", each space written as "%20" and
// nothing else encoded.
QString AdresPocztyDoAutora(const QString &nazwa);
