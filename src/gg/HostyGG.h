#pragma once

#include <QStringView>

// The HTTP hosts of the GG web services and their stand-ins on the local machine (the
// alternative-server switch). Both services use port 80.
inline constexpr QStringView HostInformacjiGG = u"appmsg.gadu-gadu.pl";
inline constexpr QStringView HostRejestracjiGG = u"register.gadu-gadu.pl";
inline constexpr QStringView HostInformacjiAlternatywny = u"localhost";
inline constexpr QStringView HostRejestracjiAlternatywny = u"127.0.0.1";
inline constexpr QStringView PortHttpGG = u"80";
