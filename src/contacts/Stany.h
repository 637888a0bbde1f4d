#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The statuses of the network and how the program shows them: the codes, the named pictures of
// the tree's two image lists, and the one table that ties a status to its name, its menu item
// and its pictures. The tree, the session, the status dialog and the tray all read it here.

// GG status codes the client knows.
namespace StanGG {
constexpr quint32 Niedostepny = 1;
constexpr quint32 Dostepny = 2;
constexpr quint32 Zajety = 3;
constexpr quint32 DostepnyZOpisem = 4;
constexpr quint32 ZajetyZOpisem = 5;
constexpr quint32 Zablokowany = 6;
constexpr quint32 Niewidoczny = 20;
constexpr quint32 NiedostepnyZOpisem = 21;
constexpr quint32 NiewidocznyZOpisem = 22;
// Added to a status: seen only by the people on the own contact list.
constexpr quint32 TylkoDlaPrzyjaciol = 0x8000;
} // namespace StanGG

// Pictures of `ImageList1` (node images). Each pair: the even index coloured (the selected
// image), the odd index the same picture as a grey outline (the normal image).
namespace ObrazWezla {
constexpr int Osoba = 0;         // a contact whose status has not arrived yet
constexpr int Glosnik = 10;      // available
constexpr int GlosnikSzary = 11; // available, also not available and logged out
constexpr int Zakaz = 16;        // blocked
constexpr int ZakazSzary = 17;
constexpr int BudzikDzwoni = 26; // invisible
constexpr int BudzikDzwoniSzary = 27;
constexpr int Budzik = 28; // busy
constexpr int BudzikSzary = 29;
} // namespace ObrazWezla

// Pictures of `StateIL`, left of message nodes: what became of a message.
namespace ObrazStanu {
constexpr int BrakMiejsca = 0;      // prohibition sign: the recipient's mailbox is full
constexpr int Dostarczona = 2;      // check mark
constexpr int Zakolejkowana = 8;    // envelopes
constexpr int Niepotwierdzona = 10; // question mark: written or sent, no report yet
constexpr int Zablokowana = 12;     // prohibition sign over a figure: blocked by the server
} // namespace ObrazStanu

// One status of the table.
struct TOpisStanu {
  quint32 kod;             // the plain status
  quint32 zOpisem;         // its variant with a description or return time; 0 for none
  const char16_t *nazwa;   // the name in the status bar, the tray and status-change nodes
  const char16_t *pozycja; // the item of the status dialog
  int obraz;               // a contact's picture (normal image)
  int obrazWybrany;        // a contact's picture (selected image)
  int obrazWlasny;         // the own status's picture while logged in
};

// The five statuses in the order of the status dialog and the tray menu.
inline constexpr std::array<TOpisStanu, 5> TabelaStanow{{
    {StanGG::Niedostepny, StanGG::NiedostepnyZOpisem, u"Niedostępny", u"niedostępny",
     ObrazWezla::GlosnikSzary, ObrazWezla::Glosnik, ObrazWezla::GlosnikSzary},
    {StanGG::Dostepny, StanGG::DostepnyZOpisem, u"Dostępny", u"dostępny", ObrazWezla::GlosnikSzary,
     ObrazWezla::Glosnik, ObrazWezla::Glosnik},
    {StanGG::Zajety, StanGG::ZajetyZOpisem, u"Zajęty", u"zajęty", ObrazWezla::BudzikSzary,
     ObrazWezla::Budzik, ObrazWezla::Budzik},
    {StanGG::Niewidoczny, StanGG::NiewidocznyZOpisem, u"Niewidoczny", u"niewidoczny",
     ObrazWezla::BudzikDzwoniSzary, ObrazWezla::BudzikDzwoni, ObrazWezla::BudzikDzwoni},
    {StanGG::Zablokowany, 0, u"Zablokowany", u"zablokowany", ObrazWezla::ZakazSzary,
     ObrazWezla::Zakaz, ObrazWezla::Zakaz},
}};

// The row of a code, plain or described (exactly as given: flags must be taken off first); null
// for a code outside the table.
const TOpisStanu *OpisStanu(quint32 kod);

// The plain status of a described one (4 -> 2, 5 -> 3, 21 -> 1, 22 -> 20), without the
// friends-only bit; other codes only lose that bit.
quint32 StanBezOpisu(quint32 kod);

// Whether the code is one of the described variants (4, 5, 21, 22), exactly as given.
bool StanZOpisemJest(quint32 kod);

// The tree's picture of the own status: coloured while logged in, the grey outline otherwise
// and for not available or an unknown code.
int ObrazStanuWlasnego(quint32 kod, bool zalogowany);
