#pragma once

#include <QStringView>

// Message resource strings of the shell and the frame. The printf patterns stay printf patterns.
inline constexpr QStringView TekstBlad = u"Błąd";
inline constexpr QStringView TekstBladPoczty = u"Błąd podczas uruchamiania poczty.";
inline constexpr QStringView TekstBladPrzegladarki = u"Błąd podczas uruchamiania przeglądarki.";
inline constexpr QStringView TekstBrakProgramu = u"Możliwe, że brak odpowiedniego programu.";
inline constexpr char TekstOProgramie[] = "O programie %s...";
inline constexpr char TekstLiniiWersji[] = "%s wersja %d.%.2d.%.2d.%.2d";
inline constexpr char TekstZapytanieO[] = "Zapytanie o %s";
inline constexpr QStringView TekstNowaWersja =
    u"Dostępna jest już nowsza wersja programu. Do uaktualnienia użyj: Pomoc, Uaktualnienie";
inline constexpr QStringView TekstInformacjaONowejWersji = u"Informacja o nowej wersji";
inline constexpr QStringView TekstInformacja = u"Informacja";

// Start-up switches and the publishing failure box.
inline constexpr QStringView PrzelacznikNaInternet = u"-nainternet";
inline constexpr QStringView PrzelacznikZarejestruj = u"-zarejestruj";
inline constexpr QStringView TekstBladTransferu = u"Błąd transferu";
inline constexpr QStringView TekstNieWyslanoPlikow =
    u"Któregoś z plików nie udało się wysłać. Instalacja wstrzymana !";
inline constexpr QStringView TytulSkrotu = u"Paplanki GG";
