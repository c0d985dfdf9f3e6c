#include "component/General.h"

#include "component/DatabaseConnection.h"

General::General() = default;
General::~General() = default;

bool General::Login(const QString& User, const QString& Password)
{
    // The record card is preloaded here once it exists.
    return DatabaseConnection::Login(User, Password, {});
}

bool General::SQLConnect(const QString& User, const QString& Password, const QString& cnUser,
                         const QString& cnPassword, const QString& cnInitialCatalog, const QString& cnDataSource,
                         const QString& cnDataSourceSecondary, qint32 Flags)
{
    return DatabaseConnection::SQLConnect(User, Password, cnUser, cnPassword, cnInitialCatalog, cnDataSource,
                                          cnDataSourceSecondary, Flags);
}

// The record card's entry points; they accept their calls and do nothing
// until the card is in place.
void General::ObjectOpen(RecordsetRef&, const vb::Variant&, const QString&, const QString&, const ObjectRef&, qint32,
                         qint32, qint32)
{
}

void General::Registo(RecordsetRef&, const vb::Variant&, const QString&, const QString&, const ObjectRef&) {}

void General::ObjectNew(const QString&, const vb::Variant&, qint32, const ObjectRef&, qint32, qint32, qint32) {}

void General::NovoRegisto(const QString&, const vb::Variant&, qint32, const ObjectRef&) {}

void General::NovoRegistoTelefone(const QString&, const vb::Variant&, const vb::Variant&, qint32, const ObjectRef&) {}

bool General::ApagaRegisto(RecordsetRef&, const vb::Variant&, const QString&)
{
    return false;
}

void General::ShutDown() {}

void General::EditarTabelas(const QString&) {}
