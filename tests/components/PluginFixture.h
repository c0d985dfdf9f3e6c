#pragma once
// The outside components on the demonstration catalog: the component is
// connected as "sa", and the logins "ana" (who may open every contact) and
// "rui" (who may open none of the file's contacts) exist with the password
// "senha". Boxes and reports nobody expected fail the test.
#include "connection/StringCipher.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/windows/MessageStyle.h"
#include "settings/modRegistry.h"
#include "tests/support/ComponentWorld.h"
#include <gtest/gtest.h>

namespace plugintest {

inline const QString catalog = QStringLiteral("Quarvenses");
inline const QString userPassword = QStringLiteral("senha");

// The eight connection values as a host passes them (by reference).
struct ConnectionValues {
    QString user, password, cnUser, cnPassword, catalog, dataSource, dataSourceSecondary;
    qint16 flags = 0;
};

class PluginFixture : public ::testing::Test, public testsupport::ComponentWorld {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(modRegistry::GarantirShadow());
        for (const char* user : {"ana", "rui"})
            ado::embedded::EmbeddedServer::createLogin(db.folder(), QString::fromLatin1(user), userPassword,
                                                       ado::embedded::HashStrength::Minimal);
    }
    // A test that expects reports checks them and clears them.
    void TearDown() override { EXPECT_TRUE(reporter.reports().empty()) << "reports nobody expected"; }

    ConnectionValues valuesFor(const QString& user, const QString& password = userPassword) const
    {
        return {user,
                StringCipher::Encipher(password),
                QStringLiteral("sa"),
                StringCipher::Encipher(QStringLiteral("pw")),
                catalog,
                db.folder(),
                {},
                0};
    }

    template <class Contract> static bool connect(Contract& component, ConnectionValues v)
    {
        return component.SQLConnect(v.user, v.password, v.cnUser, v.cnPassword, v.catalog, v.dataSource,
                                    v.dataSourceSecondary, v.flags);
    }
};

} // namespace plugintest
