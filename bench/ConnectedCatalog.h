#pragma once
// A large catalog with the component connected to it as the host leaves it
// after signing in, made once per process (see LargeCatalog.h).
#include "bench/LargeCatalog.h"
#include "component/General.h"
#include "connection/StringCipher.h"
#include "settings/modRegistry.h"

namespace bench {

struct ConnectedCatalog {
    LargeCatalog catalog;
    General general;
    ConnectedCatalog(const QString& login, const QString& password) : catalog(login, password)
    {
        modRegistry::GarantirShadow();
        general.SQLConnect(login, StringCipher::Encipher(password), login, StringCipher::Encipher(password),
                           QString::fromLatin1(catalogName), catalog.folder());
    }
};

} // namespace bench
